#pragma once

#include "shell/log/GP_LogFile.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TestFolder;

// The game's session log for as long as the object lives: "Exception.log" in the test's folder,
// or in a private one, put back as it was afterwards.
class CapturedLog
{
public:
    CapturedLog();
    explicit CapturedLog(const TestFolder& folder);
    ~CapturedLog();

    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    // Everything in the file.
    QString Text() const;
    // What was written since the previous call (or since the log was opened).
    QString NewText();
    // The lines that start with prefix, without their line ends.
    QStringList Lines(const QString& prefix) const;

private:
    std::unique_ptr<QTemporaryDir> m_private;
    CGP_LogFile m_log;
    CGP_LogFile* m_previous = nullptr;
    qsizetype m_seen = 0;
};
