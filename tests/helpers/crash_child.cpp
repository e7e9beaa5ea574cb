// Started by the crash tests: sets up the log and the crash handler like the game does, then
// fails in the way its first argument names.
#include "engine/GP_Folders.h"
#include "engine/GP_Thread.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "shell/log/MemoryDump.h"

#include <QCoreApplication>
#include <QDir>

#include <chrono>
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

// A game thread whose work throws: its entry routine's guard must catch it.
class ThrowingThread : public CGP_Thread
{
public:
    ~ThrowingThread() override { Stop(); }
    const char* ThreadTag() const override { return "CrashChildThread"; }
    int Run() override { GP_THROW("Error CImage::Create"); }
};

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

    if (how == "main") {
        FaultHere();
    } else if (how == "worker") {
        std::thread worker([] { FaultHere(); });
        worker.join();
    } else if (how == "terminate") {
        std::thread worker([] { throw std::runtime_error("nobody catches this"); });
        worker.join();
    } else if (how == "thread-exception") {
        ThrowingThread worker;
        worker.Start();
        std::this_thread::sleep_for(std::chrono::seconds(5)); // the thread's guard ends the program first
    }
    return 4;
}
