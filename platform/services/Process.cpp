#include "Process.h"

#include "StandIn.h"
#include "SysUtils.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <utility>

namespace {

TProgramRunner& Runner() {
    static TProgramRunner runner;
    return runner;
}

// How long the system may take to start a program before it counts as not started.
constexpr int StartTimeoutMs = 10000;

} // namespace

TProgramRunner SetProgramRunner(TProgramRunner Runner_) {
    return std::exchange(Runner(), std::move(Runner_));
}

TProgramResult RunProgramAndWait(const TProgramRun& Run) {
    if (Runner()) return Runner()(Run);
    return ProcessProgramRunner(Run);
}

TProgramResult ProcessProgramRunner(const TProgramRun& Run) {
    // A started program opens its windows as it likes: they cannot be hidden from here.
    if (!Run.Shown) PlatformStandIn("TProgramRun::Shown = false");
    TProgramResult result;
    const String program = NativePath(Run.Program);
    if (program.isEmpty()) {
        result.Error = QStringLiteral("No program given");
        return result;
    }
    // Parented to the application, so that a program left running past the time bound keeps
    // its process object until it ends.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(program);
    process->setArguments(Run.Arguments);
    process->setWorkingDirectory(Run.WorkingDirectory.isEmpty() ? ExtractFileDir(program)
                                                                : NativePath(Run.WorkingDirectory));
    process->setStandardInputFile(QProcess::nullDevice());

    QElapsedTimer clock;
    clock.start();
    process->start(QIODevice::ReadOnly);
    if (!process->waitForStarted(StartTimeoutMs)) {
        result.Error = process->errorString();
        process->kill();
        process->waitForFinished(1000);
        delete process;
        return result;
    }

    result.ProcessId = process->processId();
    const auto remaining = [&] { return int(qMax<qint64>(qint64(Run.TimeoutMs) - clock.elapsed(), 0)); };
    bool ended = process->state() == QProcess::NotRunning;
    if (!ended) {
        if (Run.ProcessEvents) {
            QEventLoop loop;
            QTimer bound;
            bound.setSingleShot(true);
            QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
            QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
            bound.start(remaining());
            if (process->state() != QProcess::NotRunning) loop.exec();
        } else {
            process->waitForFinished(qMax(remaining(), 1));
        }
        ended = process->state() == QProcess::NotRunning;
    }
    if (!ended) {
        result.Outcome = poTimedOut;
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return result;
    }
    result.Output = process->readAllStandardOutput();
    result.ErrorOutput = process->readAllStandardError();
    if (process->exitStatus() == QProcess::CrashExit) {
        result.Outcome = poCrashed;
        result.Error = process->errorString();
    } else {
        result.Outcome = poFinished;
        result.ExitCode = process->exitCode();
    }
    delete process;
    return result;
}
