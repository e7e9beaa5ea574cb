#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

// How a second start hands a puzzle file to the running game: a local socket in the runtime
// folder beside the instance lock ("Velmora.files"), listened on by the copy that holds the
// lock. A second start sends the file's full path, one line of UTF-8, and waits for the game's
// "ok" line before it ends.
class CInstanceChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr int kHandOverMs = 5000;

    CInstanceChannel();
    ~CInstanceChannel() override;

    // Starts listening; only the copy holding the instance lock may, since a socket left behind
    // by a copy that died is removed first. False (logged) when it cannot listen.
    bool Listen();

    // Sends path to the running game; true once the game has taken it.
    static bool HandOver(const QString& path, int timeoutMs = kHandOverMs);

    // "<runtime folder>/Velmora.files".
    static QString ChannelPath();

signals:
    // A file handed over by a second start, as the full path it sent.
    void FileHanded(const QString& path);

private:
    void Accept();
    void ReadFrom(QLocalSocket* socket);

    std::unique_ptr<QLocalServer> m_server;
};
