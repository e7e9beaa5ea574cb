#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Ctrl+C in a terminal and the desktop's "please end" (SIGINT, SIGTERM) end the game the way
// its own Close does: a game being played is left with its progress saved, the session log gets
// its END SESSION lines and an update still starts.
// The signal handler only writes a byte to a pipe; the main thread does the rest.
class CQuitSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit CQuitSignalWatcher(std::function<void()> onQuit, QObject* parent = nullptr);
    ~CQuitSignalWatcher() override;

private:
    void OnSignalled();

    std::function<void()> m_onQuit;
    QSocketNotifier* m_pNotifier = nullptr;
};
