#include "tests/support/CapturedLog.h"

#include "tests/support/TestFolder.h"

#include <QFile>

namespace {
const QString kLogName = QStringLiteral("Exception.log");

QString PrivateLogPath(QTemporaryDir& folder)
{
    return folder.filePath(kLogName);
}
} // namespace

CapturedLog::CapturedLog()
    : m_private(std::make_unique<QTemporaryDir>())
    , m_log(PrivateLogPath(*m_private))
    , m_previous(g_pLogFile)
{
    m_log.Open();
    g_pLogFile = &m_log;
    m_seen = Text().size();
}

CapturedLog::CapturedLog(const TestFolder& folder)
    : m_log(folder.File(kLogName))
    , m_previous(g_pLogFile)
{
    m_log.Open();
    g_pLogFile = &m_log;
    m_seen = Text().size();
}

CapturedLog::~CapturedLog()
{
    g_pLogFile = m_previous;
}

QString CapturedLog::Text() const
{
    QFile file(m_log.Path());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString CapturedLog::NewText()
{
    const QString text = Text();
    const QString fresh = text.mid(m_seen);
    m_seen = text.size();
    return fresh;
}

QStringList CapturedLog::Lines(const QString& prefix) const
{
    QStringList lines;
    for (const QString& line : Text().split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix))
            lines << line;
    }
    return lines;
}
