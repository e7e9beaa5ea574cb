#include "view/model/OpenForPlay.h"

#include "engine/GP_Folders.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Puzzle.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"

#include <QFile>
#include <QFileInfo>

namespace {
OpenForPlay::Result Failed(const QString& why)
{
    GP_Log(QStringLiteral("OpenForPlay: %1\n").arg(why));
    OpenForPlay::Result result;
    result.error = why;
    return result;
}
} // namespace

QString OpenForPlay::CachePath(const QString& puzzlePath)
{
    return GP_FilePath(GP_Folder::PuzzlesCash, QFileInfo(puzzlePath).completeBaseName() + QStringLiteral(".cash"));
}

OpenForPlay::Result OpenForPlay::Open(const Request& request)
{
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    try {
        if (!puzzle->OpenFile(request.path))
            return Failed(QStringLiteral("%1 is not a puzzle that can be read").arg(request.path));
    } catch (const CGP_Exeption& error) {
        return Failed(QStringLiteral("%1 is damaged: %2").arg(request.path, QLatin1String(error.Message())));
    }
    const CGP_Path* pattern = request.patterns ? request.patterns(puzzle->m_nPatternIndex) : nullptr;
    if (!pattern)
        return Failed(QStringLiteral("pattern %1 of %2 is missing").arg(puzzle->m_nPatternIndex).arg(request.path));
    puzzle->CreateGrid(pattern, GP_PatternHasRandomTabs(puzzle->m_nPatternIndex), false);

    const bool fresh = !puzzle->m_pGroups;
    const QString cachePath = CachePath(request.path);
    QFile cache(cachePath);
    const bool fromCache = !fresh && cache.exists() && cache.open(QIODevice::ReadOnly);
    if (request.workers)
        request.workers->BuildPieces(*puzzle, fromCache ? &cache : nullptr);
    cache.close();
    if (!puzzle->m_pGroups || puzzle->m_pGroups->Size() == 0) {
        if (fromCache)
            QFile::remove(cachePath);
        return Failed(QStringLiteral("no piece of %1 could be built").arg(request.path));
    }
    if (puzzle->m_bFresh || puzzle->m_nSolvingTime == 0)
        puzzle->SpreadPieces(request.field);
    if (!fromCache && !puzzle->m_bSolved)
        puzzle->SpreadInitial(request.field, request.handleSide, request.avoid);
    puzzle->UpdateSolved();
    Result result;
    result.puzzle = puzzle;
    result.fromCache = fromCache;
    return result;
}
