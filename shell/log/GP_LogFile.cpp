#include "shell/log/GP_LogFile.h"

#include "shell/log/VersionText.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

CGP_LogFile* g_pLogFile = nullptr;
std::atomic<int> CGP_LogFile::s_crashFd{-1};

namespace {
const char kSeparator[] = "---------------------------------------------------------\r\n";
}

CGP_LogFile::CGP_LogFile(const QString& path)
    : m_path(path), m_version(GP_VersionText())
{
}

CGP_LogFile::~CGP_LogFile()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_file)
        return;
    const QString end = QStringLiteral("END SESSION: %1 %2\r\n").arg(m_version, DateTimeText());
    WriteRaw(end.toUtf8());
    WriteRaw(QByteArray(kSeparator));
    s_crashFd.store(-1);
    std::fclose(m_file);
    m_file = nullptr;
}

QString CGP_LogFile::DateTimeText()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("  ")
           + now.time().toString(QStringLiteral("HH:mm:ss"));
}

QString CGP_LogFile::UnescapePercents(const QString& text)
{
    if (!text.contains(QLatin1Char('%')))
        return text;
    QString out = text;
    out.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return out;
}

void CGP_LogFile::OpenWithMode(const char* mode)
{
    const QByteArray name = QFile::encodeName(m_path);
    m_file = std::fopen(name.constData(), mode);
    if (m_file)
        std::fseek(m_file, 0, SEEK_END); // the size check of every write reads the position
    s_crashFd.store(m_file ? fileno(m_file) : -1);
}

void CGP_LogFile::Open()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_file)
        return;
    const char* mode = "wb";
    const QByteArray name = QFile::encodeName(m_path);
    if (FILE* existing = std::fopen(name.constData(), "rb")) {
        std::fseek(existing, 0, SEEK_END);
        const long size = std::ftell(existing);
        std::fclose(existing);
        if (size >= 0 && size <= kMaxSize)
            mode = "ab";
    }
    OpenWithMode(mode);
    if (!m_file)
        return;
    WriteRaw(QByteArray(kSeparator));
    const QString begin = QStringLiteral("BEGIN SESSION: %1 %2\r\n").arg(m_version, DateTimeText());
    WriteRaw(begin.toUtf8());
}

bool CGP_LogFile::IsOpen() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_file != nullptr;
}

void CGP_LogFile::WriteRaw(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), m_file);
    std::fflush(m_file);
}

CGP_LogFile& CGP_LogFile::Write(const QString& text)
{
    const QByteArray bytes = UnescapePercents(text).toUtf8();
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_file)
        return *this;
    if (std::ftell(m_file) > kMaxSize) {
        std::fclose(m_file);
        OpenWithMode("wb");
        if (!m_file)
            return *this;
    }
    WriteRaw(bytes);
    return *this;
}

CGP_LogFile& CGP_LogFile::Write(const char* text)
{
    return Write(QString::fromUtf8(text));
}

bool GP_Log(const QString& text)
{
    CGP_LogFile* log = g_pLogFile;
    if (!log)
        return false;
    log->Write(text);
    return true;
}
