#pragma once

// The bug-report question after a fault on the main thread. A process that has just faulted
// cannot safely run dialogs from its signal handler, so it asks through a fresh copy of the game
// started in question mode (the environment variable VELMORA_CRASH_QUESTION=1): that copy shows
// only the "Application error" question and, on YES, starts the crash reporter.
class CrashQuestion
{
public:
    // Prepares, while the game is healthy, everything the signal path needs.
    static void Prepare();
    // Async-signal-safe: starts the question copy and waits for it. False when it could not start.
    static bool AskFromSignalHandler();

    // In main(): whether this process is the question copy.
    static bool IsQuestionProcess();
    // The question copy's whole work; answers the exit code.
    static int RunQuestion();
};
