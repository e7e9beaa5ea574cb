#pragma once

#include <QProcess>
#include <QString>

// A private X server for one test: Xvfb on a display number it picks itself (a free one), at a
// screen size the game accepts, stopped when the object goes.
class XvfbDisplay
{
public:
    XvfbDisplay()
    {
        m_server.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                                QStringLiteral("0"), QStringLiteral("1280x800x24"),
                                                QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_server.waitForStarted(10000))
            return;
        while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
        }
        const QByteArray number = m_server.readLine().trimmed();
        if (!number.isEmpty())
            m_display = QLatin1Char(':') + QString::fromLatin1(number);
    }
    ~XvfbDisplay()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
        m_server.waitForFinished(5000);
    }

    // ":N", or empty when Xvfb did not start (install xvfb: ./dev.sh installs it).
    const QString& Display() const { return m_display; }

private:
    QProcess m_server;
    QString m_display;
};
