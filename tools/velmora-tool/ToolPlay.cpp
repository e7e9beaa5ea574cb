// velmora-tool play: opens a puzzle file as the game does, scatters a fresh puzzle, then plays
// moves as a careful player would: each picks up a group, turns it to match a neighbouring
// group, drops it within 3 pixels of its place beside it, and lets the join pass run. Prints
// what happened as JSON, then saves the progress and the piece-image cache as leaving the
// game does.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzleFile.h"
#include "engine/GP_Random.h"
#include "engine/PieceBuilderThread.h"
#include "shell/log/GP_Exeption.h"

#include <QBuffer>
#include <QJsonDocument>

#include <cstdio>
#include <unordered_map>

namespace {
// The field the pieces are scattered over: a full-HD view below the play panel's 50 pixels,
// larger for pictures that would not leave room to scatter.
constexpr int kFieldWidth = 1920;
constexpr int kFieldHeight = 1080;
constexpr int kPanelHeight = 50;
// A drop lands this close to its place, in each direction: within 3 pixels.
constexpr int kDropSpread = 5;

struct PlayOptions
{
    QString file;
    QString cache;
    int steps = -1; // until solved
    uint32_t seed = 1;
    QString patterns;
};

QString ParsePlayOptions(const QStringList& args, PlayOptions& options)
{
    const QString problem = ToolParseArguments(args, QStringLiteral("puzzle file"), options.file,
                                               [&options](const QString& arg, const QString& value) {
        bool ok = true;
        if (arg == QLatin1String("--cache")) {
            options.cache = value;
        } else if (arg == QLatin1String("--steps")) {
            options.steps = value.toInt(&ok);
            ok = ok && options.steps >= 0;
        } else if (arg == QLatin1String("--seed")) {
            options.seed = value.toUInt(&ok);
        } else if (arg == QLatin1String("--patterns")) {
            options.patterns = value;
        } else {
            return QStringLiteral("unknown option %1").arg(arg);
        }
        return ok ? QString() : QStringLiteral("bad value for %1: \"%2\"").arg(arg, value);
    });
    if (!problem.isEmpty())
        return problem;
    return options.file.isEmpty() ? QStringLiteral("no puzzle file given") : QString();
}

QRect Field(const CGP_Puzzle& puzzle)
{
    const int width = std::max(kFieldWidth, puzzle.m_pImage->width() * 3 / 2);
    const int height = std::max(kFieldHeight, puzzle.m_pImage->height() * 3 / 2);
    return QRect(0, kPanelHeight, width, height - kPanelHeight);
}

struct Neighbourly
{
    GP_GroupPtr group;
    GP_PiecePtr piece;
    GP_GroupPtr otherGroup;
    GP_PiecePtr other;
};

// A group, starting from a random one, with a piece whose grid neighbour lies in another group.
bool FindNeighbours(CGP_Puzzle& puzzle, Neighbourly& found)
{
    const std::deque<GP_GroupPtr> groups = puzzle.m_pGroups->Snapshot();
    if (groups.size() < 2)
        return false;
    std::unordered_map<int, std::pair<GP_GroupPtr, GP_PiecePtr>> byIndex;
    for (const GP_GroupPtr& group : groups)
        for (const GP_PiecePtr& piece : group->m_pieces)
            byIndex[piece->m_nIndex] = {group, piece};
    const size_t start = static_cast<size_t>(GP_rand()) % groups.size();
    const int offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (size_t k = 0; k < groups.size(); ++k) {
        const GP_GroupPtr& group = groups[(start + k) % groups.size()];
        for (const GP_PiecePtr& piece : group->m_pieces) {
            for (const auto& offset : offsets) {
                const int column = piece->m_nColumn + offset[0];
                const int row = piece->m_nRow + offset[1];
                if (column < 0 || row < 0 || column >= puzzle.m_nColumns || row >= puzzle.m_nRows)
                    continue;
                const auto it = byIndex.find(row * puzzle.m_nColumns + column);
                if (it == byIndex.end() || it->second.first == group)
                    continue;
                found = Neighbourly{group, piece, it->second.first, it->second.second};
                return true;
            }
        }
    }
    return false;
}

// Picks up a group, turns it the neighbour's way and puts it down almost at its place.
bool PickUpAndPlace(CGP_Puzzle& puzzle)
{
    Neighbourly n;
    if (!FindNeighbours(puzzle, n))
        return false;
    const int turns = (n.other->m_nRotation - n.piece->m_nRotation + 4) % 4;
    if (turns) {
        const QRect bounds = puzzle.GroupBounds(n.group, false);
        puzzle.RotateGroup(n.group, turns, bounds.left() + bounds.width() / 2, bounds.top() + bounds.height() / 2);
    }
    const int r = n.other->m_nRotation;
    const int jitterX = GP_rand() % kDropSpread - kDropSpread / 2;
    const int jitterY = GP_rand() % kDropSpread - kDropSpread / 2;
    const int dx = n.other->m_nX + n.piece->m_nHomeX[r] - n.other->m_nHomeX[r] + jitterX - n.piece->m_nX;
    const int dy = n.other->m_nY + n.piece->m_nHomeY[r] - n.other->m_nHomeY[r] + jitterY - n.piece->m_nY;
    for (const GP_PiecePtr& piece : n.group->m_pieces) {
        piece->m_nX += dx;
        piece->m_nY += dy;
    }
    n.group->m_nShadowLeft += dx;
    n.group->m_nShadowTop += dy;
    n.group->m_nLocation = n.otherGroup->m_nLocation;
    puzzle.m_pHeldGroup = n.group;
    return true;
}

int PieceCount(CGP_Puzzle& puzzle)
{
    int count = 0;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot())
        count += static_cast<int>(group->m_pieces.size());
    return count;
}

// Leaving the game: the progress into the puzzle file, the piece images into the cache (or
// no cache once the puzzle is solved). Returns an error text, empty on success.
QString SaveAsLeaving(CGP_Puzzle& puzzle, const PlayOptions& options, const toolpuzzle::CapturedLog& log)
{
    puzzle.m_bFresh = false;
    if (!puzzle.SaveProgress(options.file))
        return QStringLiteral("cannot save progress into %1: %2").arg(options.file, log.LastLine());
    if (options.cache.isEmpty())
        return {};
    if (puzzle.m_bSolved) {
        QFile::remove(options.cache);
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (!puzzle.WritePieceCache(buffer) || !GP_ReplaceFile(options.cache, bytes)) {
        QFile::remove(options.cache);
        return QStringLiteral("cannot write the cache %1: %2").arg(options.cache, log.LastLine());
    }
    return {};
}

int RunPlay(const QStringList& args)
{
    PlayOptions options;
    const QString problem = ParsePlayOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("play: %1").arg(problem));
    toolpuzzle::CapturedLog log;
    CGP_Puzzle puzzle;
    try {
        if (!puzzle.OpenFile(options.file))
            return ToolFail(QStringLiteral("play: %1 is damaged: %2").arg(options.file, log.LastLine()));
    } catch (const CGP_Exeption& error) {
        return ToolFail(QStringLiteral("play: %1 is damaged: %2").arg(options.file, QLatin1String(error.Message())));
    }
    const CGP_Path* pattern = toolpuzzle::LoadedPattern(toolpuzzle::PatternFolder(options.patterns), puzzle.m_nPatternIndex);
    if (!pattern)
        return ToolFail(QStringLiteral("play: pattern %1 missing").arg(puzzle.m_nPatternIndex));
    puzzle.CreateGrid(pattern, GP_PatternHasRandomTabs(puzzle.m_nPatternIndex), false);

    const bool fresh = !puzzle.m_pGroups;
    QFile cache(options.cache);
    const bool fromCache = !fresh && !options.cache.isEmpty() && cache.open(QIODevice::ReadOnly);
    const int missesBefore = log.Lines().filter(QStringLiteral("not in the cache")).size();
    {
        CGP_PieceWorkers workers(GP_PieceBuilderCount());
        workers.BuildPieces(puzzle, fromCache ? &cache : nullptr);
    }
    cache.close();
    const int misses = log.Lines().filter(QStringLiteral("not in the cache")).size() - missesBefore;
    const int pieces = PieceCount(puzzle);
    if (pieces == 0)
        return ToolFail(QStringLiteral("play: no piece of %1 could be built: %2").arg(options.file, log.LastLine()));

    GP_srand(options.seed);
    const QRect field = Field(puzzle);
    if (fresh)
        puzzle.SpreadPieces(field);
    int moves = 0;
    int joins = 0;
    int shadowRequests = 0;
    // Shadows are only ever drawn, never saved: the tool counts the requests the view would get.
    const CGP_Puzzle::ShadowRequest requestShadows = [&](const boost::shared_ptr<GP_GroupDeque>&) { ++shadowRequests; };
    puzzle.UpdateSolved();
    while (!puzzle.m_bSolved && (options.steps < 0 || moves < options.steps)) {
        if (!PickUpAndPlace(puzzle))
            break;
        ++moves;
        const size_t before = puzzle.m_pGroups->Size();
        puzzle.DropHeldGroup({}, requestShadows);
        joins += static_cast<int>(before - puzzle.m_pGroups->Size());
        puzzle.UpdateSolved();
    }
    if (puzzle.m_bSolved)
        puzzle.CentreSolved(field);

    QJsonObject report{{QStringLiteral("file"), options.file},
                       {QStringLiteral("fresh"), fresh},
                       {QStringLiteral("pieces"), pieces},
                       {QStringLiteral("piecesFromCache"), fromCache ? pieces - misses : 0},
                       {QStringLiteral("moves"), moves},
                       {QStringLiteral("joins"), joins},
                       {QStringLiteral("groups"), int(puzzle.m_pGroups->Size())},
                       {QStringLiteral("shadowRequests"), shadowRequests},
                       {QStringLiteral("solvedPercent"), toolpuzzle::Decimal(puzzle.m_fSolvedPercent)},
                       {QStringLiteral("solved"), puzzle.m_bSolved}};
    const QString saveProblem = SaveAsLeaving(puzzle, options, log);
    if (!saveProblem.isEmpty())
        return ToolFail(QStringLiteral("play: %1").arg(saveProblem));
    std::fputs(QJsonDocument(report).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(play, "play", "play FILE.pzl [--cache FILE.cash] [--steps K] [--seed S] [--patterns DIR]", RunPlay);
