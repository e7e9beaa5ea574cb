#include "tests/support/Waits.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {
bool OnMainThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

::testing::AssertionResult DidNotArrive(const char* what, std::chrono::milliseconds limit)
{
    return ::testing::AssertionFailure() << what << " did not arrive within " << limit.count() << " ms";
}
} // namespace

::testing::AssertionResult Eventually(const std::function<bool()>& condition, const char* what,
                                      std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit.count());
    const bool pumping = OnMainThread();
    for (;;) {
        if (condition())
            return ::testing::AssertionSuccess();
        if (deadline.hasExpired())
            return DidNotArrive(what, limit);
        if (pumping) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            // Objects deleted later (windows closing themselves) go now, as in the game's loop.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

::testing::AssertionResult Finishes(QProcess& process, const char* what, std::chrono::milliseconds limit)
{
    if (process.state() == QProcess::NotRunning || process.waitForFinished(static_cast<int>(limit.count())))
        return ::testing::AssertionSuccess();
    process.kill();
    process.waitForFinished(1000);
    return DidNotArrive(what, limit);
}

struct Deadline::Watch
{
    std::mutex mutex;
    std::condition_variable disarmed;
    bool done = false;
};

Deadline::Deadline(const char* what, std::chrono::milliseconds limit)
    : m_watch(std::make_shared<Watch>())
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string where = test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("a test");
    m_thread = std::thread([watch = m_watch, what = std::string(what), where, limit] {
        std::unique_lock<std::mutex> lock(watch->mutex);
        if (watch->disarmed.wait_for(lock, limit, [&watch] { return watch->done; }))
            return;
        std::fprintf(stderr, "\n%s: FAILED: %s did not arrive within %lld ms; the test program ends here\n",
                     where.c_str(), what.c_str(), static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(1);
    });
}

Deadline::~Deadline()
{
    {
        std::lock_guard<std::mutex> lock(m_watch->mutex);
        m_watch->done = true;
    }
    m_watch->disarmed.notify_one();
    m_thread.join();
}
