// Started by the crash tests: sets up the log and the crash handler like the game does, then
// fails in the way its first argument names.
#include "engine/GP_Folders.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "shell/log/MemoryDump.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {
// Not null, so that the undefined-behaviour checker lets the store reach the hardware.
volatile int* volatile s_nowhere = reinterpret_cast<volatile int*>(std::uintptr_t{16});

[[gnu::noinline]] void FaultHere()
{
    *s_nowhere = 42;
}

void NoMemoryNotice()
{
    std::printf("NO MEMORY NOTICE\n");
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 3;
    const std::string how = argv[1];

    CGP_LogFile log(GP_AppFilePath(QStringLiteral("Exception.log")));
    log.Open();
    g_pLogFile = &log;
    MemoryDump::Initialize();
    MemoryDump::SetNoMemoryNotice(NoMemoryNotice);

    if (how == "main") {
        FaultHere();
    } else if (how == "worker") {
        std::thread worker([] { FaultHere(); });
        worker.join();
    } else if (how == "terminate") {
        std::thread worker([] { throw std::runtime_error("nobody catches this"); });
        worker.join();
    } else if (how == "thread-exception") {
        std::thread worker([] {
            try {
                GP_THROW("Error CImage::Create");
            } catch (const CGP_Exeption&) {
                GP_ThreadCrashed(QStringLiteral("Worker"));
            }
        });
        worker.join();
    } else if (how == "oom") {
        try {
            GPNewErrorHandler(4096);
        } catch (const CGP_FatalExeption&) {
        }
        FaultHere();
    }
    return 4;
}
