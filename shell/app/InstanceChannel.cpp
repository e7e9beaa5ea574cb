#include "shell/app/InstanceChannel.h"

#include "shell/app/ROruzoz.h"
#include "shell/log/GP_LogFile.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
const char kChannelSuffix[] = ".files";
const char kTaken[] = "ok\n";
// A path longer than this is not a path a file manager sends: the sender is dropped.
constexpr qint64 kLongestLine = 64 * 1024;
} // namespace

CInstanceChannel::CInstanceChannel() = default;

CInstanceChannel::~CInstanceChannel() = default;

QString CInstanceChannel::ChannelPath()
{
    return CROruzozApp::InstanceLockPath() + QLatin1String(kChannelSuffix);
}

bool CInstanceChannel::Listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(ChannelPath());
    if (!m_server->listen(ChannelPath())) {
        GP_Log(QStringLiteral("CInstanceChannel: cannot listen on %1: %2\n").arg(ChannelPath(), m_server->errorString()));
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &CInstanceChannel::Accept);
    return true;
}

void CInstanceChannel::Accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        ReadFrom(socket);
    }
}

void CInstanceChannel::ReadFrom(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestLine)
            socket->abort();
        return;
    }
    QByteArray line = socket->readLine();
    line.chop(1);  // the line's end; a path may end in spaces of its own
    const QString path = QString::fromUtf8(line);
    socket->write(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    if (!path.isEmpty())
        emit FileHanded(path);
}

bool CInstanceChannel::HandOver(const QString& path, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(ChannelPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine() == kTaken;
}
