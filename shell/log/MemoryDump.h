#pragma once

#include <QString>

// The game's last word on a crash. Initialize() installs a handler for fatal signals and for
// std::terminate; when one fires it logs "MemoryDump::topLevelFilter: evelmora.dmp" and writes a
// dump file "<temp>/AppName/v1.0-YYYYMMDD-HHMMSS-<pid>-<tid>.dmp" with the signal, the fault
// address, the thread and a stack trace. Everything that allocates is prepared at
// initialisation: the handler itself uses async-signal-safe calls only.
// After memory ran out no dump is written; the no-memory notice runs instead.
class MemoryDump
{
public:
    using Notice = void (*)();
    using AfterDump = void (*)(int signal);

    static void Initialize();
    static bool IsInitialized();

    // Shown instead of a dump once memory ran out (the shell installs its dialog here).
    static void SetNoMemoryNotice(Notice notice);
    // Runs after the dump of a fatal signal, before the process dies of it.
    static void SetAfterDump(AfterDump hook);

    // The top-level filter: the dump (or the notice) for the given signal and fault address.
    // signal 0 means a caught exception or std::terminate. Async-signal-safe.
    static void TopLevelFilter(int signal, const void* faultAddress);

    // The folder dumps go to: the temporary folder + "/AppName".
    static QString DumpFolder();
    // The path the last dump was written to (empty when none was).
    static QString LastDumpPath();
};

// What a thread's entry guard does with an exception that escaped the thread: logs
// "ERROR!!\n", the tag and " thread exception.\n", writes the dump, and ends the process with
// exit code 0.
[[noreturn]] void GP_ThreadCrashed(const QString& tag);
