// The call message: a worker's call runs on the view's thread, ahead of the events already
// waiting there, and the worker goes on only once it has run; a view that goes first lets the
// worker go.
#include "tests/support/Waits.h"
#include "view/model/CallMessage.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

namespace {
// Notes the order in which its events and the call arrive.
class Recorder : public QObject
{
public:
    QStringList seen;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        seen << QStringLiteral("waiting event");
        return true;
    }
};
} // namespace

TEST(CallMessage, AWorkersCallRunsOnTheViewsThreadAheadOfWaitingEvents)
{
    CCallMessage view;
    Recorder recorder;
    std::atomic<bool> posted{false};
    std::atomic<int> answer{-1};
    QThread* ranOn = nullptr;
    std::thread worker([&] {
        QCoreApplication::postEvent(&recorder, new QEvent(QEvent::User));
        posted = true;
        answer = view.Send([&] {
            ranOn = QThread::currentThread();
            recorder.seen << QStringLiteral("call");
        });
    });
    // No events are handled until the worker has posted both its event and its call.
    for (int waited = 0; !posted && waited < 5000; waited += 10)
        QThread::msleep(10);
    ASSERT_TRUE(posted) << "the worker never posted its event";
    QThread::msleep(300);
    EXPECT_EQ(answer.load(), -1) << "the worker must wait for the view";
    const ::testing::AssertionResult answered = Eventually([&] { return answer.load() >= 0; }, "the call's answer");
    {
        Deadline deadline("the worker's end");
        worker.join();
    }
    ASSERT_TRUE(answered);
    EXPECT_EQ(answer.load(), 1);
    EXPECT_EQ(ranOn, QThread::currentThread());
    EXPECT_EQ(recorder.seen, (QStringList{QStringLiteral("call"), QStringLiteral("waiting event")}));
}

TEST(CallMessage, AViewThatGoesFirstLetsTheWorkerGo)
{
    auto view = std::make_unique<CCallMessage>();
    static int calls = 0;
    // On the view's own thread the call runs at once.
    EXPECT_EQ(view->Send([](void* count) { ++*static_cast<int*>(count); }, &calls), 1);
    EXPECT_EQ(calls, 1);
    std::atomic<int> answer{-1};
    std::thread worker([&] { answer = view->Send([] { ++calls; }); });
    QThread::msleep(200);
    view.reset();
    Deadline deadline("the worker's end after the view went");
    worker.join();
    EXPECT_EQ(answer.load(), 0);
    EXPECT_EQ(calls, 1) << "the call of a view that went never runs";
}
