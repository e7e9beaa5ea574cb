#include "view/model/GameSaver.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzleFile.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString LogSafe(const QString& text)
{
    QString doubled = text;
    return doubled.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// The trace of a failed save: where it failed, as the game's errors name it.
void LogDiskFull(int line)
{
    const CGP_Exeption error("Disk Full!", line, GP_ModuleName(__FILE__));
    GP_Log(QString::fromStdString(error.FormatText()) + QLatin1Char('\n'));
}
} // namespace

CGameSaver::LeaveResult CGameSaver::Leave(CGP_Puzzle& puzzle, int seconds, const QString& puzzleFile,
                                          const QString& cacheFile, const std::function<void()>& step)
{
    LeaveResult result;
    puzzle.ClearHint();
    puzzle.m_nSolvingTime = seconds;
    puzzle.m_bFresh = false;
    if (puzzle.m_bSolved) {
        QFile::remove(cacheFile);
    } else {
        result.cacheWritten = WriteCache(puzzle, cacheFile, step);
        // A cache that does not match the pieces would build wrong pieces: none at all is better.
        if (!result.cacheWritten)
            QFile::remove(cacheFile);
    }
    result.progressSaved = SaveProgress(puzzle, puzzleFile);
    return result;
}

bool CGameSaver::WriteCache(CGP_Puzzle& puzzle, const QString& cacheFile, const std::function<void()>& step)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (!puzzle.WritePieceCache(buffer, step)) {
        GP_Log(QStringLiteral("CGameSaver: the piece images of %1 could not be put together\n").arg(LogSafe(cacheFile)));
        return false;
    }
    buffer.close();
    // The cache folder may be missing (a first game, a tidied disk): it is made again.
    QDir().mkpath(QFileInfo(cacheFile).absolutePath());
    return GP_ReplaceFile(cacheFile, bytes);
}

bool CGameSaver::SaveProgress(CGP_Puzzle& puzzle, const QString& puzzleFile)
{
    if (puzzle.SaveProgress(puzzleFile))
        return true;
    LogDiskFull(__LINE__);
    return false;
}

bool CGameSaver::StartOver(CGP_Puzzle& puzzle, const QString& puzzleFile)
{
    // The puzzle is known by its file's name, whatever title its settings store.
    const QString name = puzzle.m_strTitle;
    {
        QFile file(puzzleFile);
        if (!file.open(QIODevice::ReadOnly) || !puzzle.ReadSettings(file) || !puzzle.ReadPieces(file)) {
            GP_Log(QStringLiteral("CGameSaver::StartOver: cannot read the saved game of %1\n").arg(LogSafe(puzzleFile)));
            puzzle.m_strTitle = name;
            return false;
        }
    }
    puzzle.m_strTitle = name;
    puzzle.ClearHint();
    puzzle.m_pHeldGroup.reset();
    puzzle.SeparateGroups();
    puzzle.m_bSolved = false;
    puzzle.m_nSolvingTime = 0;
    puzzle.m_nHintsUsed = 0;
    puzzle.m_fSolvedPercent = 0;
    return SaveProgress(puzzle, puzzleFile);
}
