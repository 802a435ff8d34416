#include "Process.h"

#include "StandIn.h"
#include "SysUtils.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include <set>
#include <utility>

namespace {

TProgramRunner& Runner() {
    static TProgramRunner runner;
    return runner;
}

// How long the system may take to start a program before it counts as not started.
constexpr int StartTimeoutMs = 10000;

// The process objects of programs left running past their time bound, until they end. They are
// kept out of the application's object tree, whose end would kill them with it, and reachable
// from here; the set itself is never freed, so a program still running when this one closes
// keeps going.
std::set<QProcess*>& LeftRunning() {
    static auto* processes = new std::set<QProcess*>;
    return *processes;
}

QByteArray ReadAll(const QString& FileName) {
    QFile f(FileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
    auto* process = new QProcess();
    process->setProgram(program);
    process->setArguments(Run.Arguments);
    process->setWorkingDirectory(Run.WorkingDirectory.isEmpty() ? ExtractFileDir(program)
                                                                : NativePath(Run.WorkingDirectory));
    process->setStandardInputFile(QProcess::nullDevice());
    // The output goes to files that vanish with this call: a pipe would close when this program
    // ends and stop a program left running at its next write.
    QTemporaryFile output, errorOutput;
    if (output.open() && errorOutput.open()) {
        process->setStandardOutputFile(output.fileName());
        process->setStandardErrorFile(errorOutput.fileName());
    } else {
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
    }

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
        LeftRunning().insert(process);
        QObject::connect(process, &QProcess::finished, process, [process] {
            LeftRunning().erase(process);
            process->deleteLater();
        });
        result.StillRunning = [left = QPointer<QProcess>(process)] {
            if (!left || left->state() == QProcess::NotRunning) return false;
            left->waitForFinished(0); // takes in an end the event loop has not seen yet
            return left && left->state() != QProcess::NotRunning;
        };
        return result;
    }
    result.Output = ReadAll(output.fileName());
    result.ErrorOutput = ReadAll(errorOutput.fileName());
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
