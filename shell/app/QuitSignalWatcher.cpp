#include "shell/app/QuitSignalWatcher.h"

#include "shell/log/GP_LogFile.h"

#include <QSocketNotifier>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

int s_pipe[2] = {-1, -1};
constexpr int kQuitSignals[] = {SIGINT, SIGTERM};

void OnQuitSignal(int)
{
    const char byte = 1;
    if (::write(s_pipe[1], &byte, 1) < 0)
        return;
}

} // namespace

CQuitSignalWatcher::CQuitSignalWatcher(std::function<void()> onQuit, QObject* parent)
    : QObject(parent)
    , m_onQuit(std::move(onQuit))
{
    if (s_pipe[0] < 0 && ::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        GP_Log(QStringLiteral("CQuitSignalWatcher: no pipe; Ctrl+C ends the game without its END SESSION lines\n"));
        return;
    }
    m_pNotifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &CQuitSignalWatcher::OnSignalled);
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : kQuitSignals)
        sigaction(signal, &action, nullptr);
}

CQuitSignalWatcher::~CQuitSignalWatcher()
{
    for (int signal : kQuitSignals)
        ::signal(signal, SIG_DFL);
}

void CQuitSignalWatcher::OnSignalled()
{
    char bytes[16];
    while (::read(s_pipe[0], bytes, sizeof bytes) > 0) {
    }
    GP_Log(QStringLiteral("CQuitSignalWatcher: asked to end\n"));
    if (m_onQuit)
        m_onQuit();
}
