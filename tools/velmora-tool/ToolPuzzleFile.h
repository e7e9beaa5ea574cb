#pragma once

// What the make, info and play commands share: the outline patterns, the session log that
// tells why a file was refused, and a puzzle's groups as JSON.
#include "engine/GP_Folders.h"
#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/log/GP_LogFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <memory>

namespace toolpuzzle {

// The PATTERNS folder of the current folder, or else the one beside the tool.
inline QString PatternFolder(const QString& given)
{
    if (!given.isEmpty())
        return given;
    const QString here = GP_FolderPath(GP_Folder::Patterns);
    if (QDir(here).exists())
        return here;
    const QString patterns = QLatin1String(GP_FolderName(GP_Folder::Patterns));
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + patterns;
#ifdef VELMORA_INSTALLED_DATA
    // An installed tool: the patterns lie in the installed data, not beside the program.
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/" VELMORA_INSTALLED_DATA "/") + patterns;
    if (!QDir(beside).exists() && QDir(installed).exists())
        return installed;
#endif
    return beside;
}

// The sixteen patterns, loaded once for the run; null when the folder lacks the one asked for.
inline const CGP_Path* LoadedPattern(const QString& folder, int index)
{
    static CGP_Path patterns[kPatternCount];
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        LoadPatterns(patterns, folder);
    }
    if (index < 0 || index >= kPatternCount || patterns[index].IsEmpty())
        return nullptr;
    return &patterns[index];
}

// A session log of the run's own, so a refused file can be explained in one line.
class CapturedLog
{
public:
    CapturedLog() : m_log(m_dir.filePath(QStringLiteral("Exception.log")))
    {
        m_log.Open();
        g_pLogFile = &m_log;
    }
    ~CapturedLog() { g_pLogFile = nullptr; }

    QStringList Lines() const
    {
        QFile file(m_log.Path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                lines.append(line.trimmed());
        return lines;
    }
    // The last thing the engine said: why it refused.
    QString LastLine() const
    {
        const QStringList lines = Lines();
        return lines.isEmpty() ? QString() : CGP_LogFile::UnescapePercents(lines.last());
    }

private:
    QTemporaryDir m_dir;
    CGP_LogFile m_log;
};

// A float as the short decimal it was stored as (0.01, not 0.009999999776).
inline double Decimal(float value)
{
    return QString::number(value, 'g', 7).toDouble();
}

inline QJsonValue GroupsJson(CGP_Puzzle& puzzle)
{
    if (!puzzle.m_pGroups)
        return QJsonValue(QJsonValue::Null);
    QJsonArray groups;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot()) {
        QJsonArray pieces;
        for (const GP_PiecePtr& piece : group->m_pieces) {
            pieces.append(QJsonObject{{QStringLiteral("x"), piece->m_nX},
                                      {QStringLiteral("y"), piece->m_nY},
                                      {QStringLiteral("column"), piece->m_nColumn},
                                      {QStringLiteral("row"), piece->m_nRow},
                                      {QStringLiteral("index"), piece->m_nIndex},
                                      {QStringLiteral("rotation"), piece->m_nRotation}});
        }
        groups.append(QJsonObject{{QStringLiteral("location"), group->m_nLocation}, {QStringLiteral("pieces"), pieces}});
    }
    return groups;
}

} // namespace toolpuzzle
