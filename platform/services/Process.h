// Starting another program and waiting for its end, with a time bound.
//
// The program is started directly (never through a shell, so no argument is ever interpreted
// as a command), with the arguments given as a list. The wait either blocks the calling thread
// or keeps the event loop running, so that windows stay painted; in the latter case the caller
// makes sure that user input can do no harm meanwhile (disabled controls, a modal window).
//
// A program still running when the time bound passes is left running: the caller stops
// waiting, nothing is killed, and the result can tell later whether it still runs. Such a
// program also goes on when the caller's program closes (its output goes to files, not to pipes
// that would close with the caller). The runner can be replaced for tests.
#pragma once

#include "System.h"

#include <QByteArray>
#include <QStringList>

#include <functional>

enum TProgramOutcome {
    poFinished,      // ended on its own; ExitCode holds its exit code
    poFailedToStart, // could not be started (missing, not executable ...); Error says why
    poTimedOut,      // still running when the time bound passed; left running
    poCrashed        // ended by a signal or a crash
};

struct TProgramRun {
    String Program;             // the program file; "\" separators are accepted
    QStringList Arguments;      // passed as they are, one argument each
    String WorkingDirectory;    // empty: the program's own folder
    int TimeoutMs = 150000;     // bound of the wait from the start
    bool Shown = true;          // a visible window is asked for (false is a stand-in: not hidden)
    bool ProcessEvents = false; // keep the event loop running while waiting
};

struct TProgramResult {
    TProgramOutcome Outcome = poFailedToStart;
    int ExitCode = -1;
    String Error;           // why the program failed to start or crashed
    qint64 ProcessId = 0;   // of the started program (0 when it did not start)
    QByteArray Output;      // what it wrote to its standard output (when it ended)
    QByteArray ErrorOutput; // and to its standard error
    // For a program left running past the bound (poTimedOut): answers whether it still runs.
    // Empty for the other outcomes.
    std::function<bool()> StillRunning;
};

// Runs one program and answers how it went.
using TProgramRunner = std::function<TProgramResult(const TProgramRun& Run)>;

// Replaces the runner used by RunProgramAndWait (an empty function restores the real one);
// answers the previous replacement.
TProgramRunner SetProgramRunner(TProgramRunner Runner);

// Starts the program and waits for its end or the time bound, through the current runner.
TProgramResult RunProgramAndWait(const TProgramRun& Run);

// The real runner, over QProcess.
TProgramResult ProcessProgramRunner(const TProgramRun& Run);
