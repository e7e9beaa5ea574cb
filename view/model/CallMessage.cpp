#include "view/model/CallMessage.h"

#include "shell/log/GP_LogFile.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace {
const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Where the sender waits for its answer.
struct CallAnswer
{
    std::mutex lock;
    std::condition_variable done;
    int result = -1;

    void Give(int value)
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (result >= 0)
                return;
            result = value;
        }
        done.notify_all();
    }
};

int RunHere(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        GP_Log(QStringLiteral("CCallMessage: the call failed: %1\n").arg(QString::fromLocal8Bit(error.what())));
    }
    return 1;
}

// The event carries the call; destroyed unrun (its receiver went), it answers 0.
class CallEvent : public QEvent
{
public:
    CallEvent(std::function<void()> call, std::shared_ptr<CallAnswer> answer)
        : QEvent(kCallEvent)
        , m_call(std::move(call))
        , m_answer(std::move(answer))
    {
    }
    ~CallEvent() override { m_answer->Give(0); }

    void Run() { m_answer->Give(RunHere(m_call)); }

private:
    std::function<void()> m_call;
    std::shared_ptr<CallAnswer> m_answer;
};
} // namespace

CCallMessage::CCallMessage(QObject* parent)
    : QObject(parent)
{
}

int CCallMessage::Send(Function function, void* argument)
{
    if (!function)
        return 0;
    return Send([function, argument] { function(argument); });
}

int CCallMessage::Send(std::function<void()> call)
{
    if (QThread::currentThread() == thread())
        return RunHere(call);
    auto answer = std::make_shared<CallAnswer>();
    // Ahead of every event already waiting, as a sent message is answered before posted ones.
    QCoreApplication::postEvent(this, new CallEvent(std::move(call), answer), Qt::HighEventPriority);
    std::unique_lock<std::mutex> guard(answer->lock);
    answer->done.wait(guard, [&] { return answer->result >= 0; });
    return answer->result;
}

bool CCallMessage::event(QEvent* event)
{
    if (event->type() != kCallEvent)
        return QObject::event(event);
    static_cast<CallEvent*>(event)->Run();
    return true;
}
