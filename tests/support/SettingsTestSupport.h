#pragma once

#include "shell/log/GP_LogFile.h"
#include "tests/support/TestFolder.h"

#include <QFile>
#include <QSettings>
#include <QString>

#include <memory>

// A session log in the test's folder for as long as the object lives.
class CapturedLog
{
public:
    explicit CapturedLog(const TestFolder& folder)
        : m_log(folder.File(QStringLiteral("Exception.log")))
    {
        m_log.Open();
        g_pLogFile = &m_log;
    }
    ~CapturedLog() { g_pLogFile = nullptr; }

    QString Text() const
    {
        QFile file(m_log.Path());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    CGP_LogFile m_log;
};

// What is stored under a value name, read straight from the settings file.
inline QVariant StoredValue(const QString& file, const QString& key)
{
    QSettings settings(file, QSettings::IniFormat);
    return settings.value(key);
}
