#include "view/model/PuzzleOpening.h"

#include "engine/GP_Path.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_PuzzleFile.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "resources/StringTable.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/CreationRules.h"
#include "view/model/PuzzlePaths.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cmath>
#include <cstring>

using Outcome = GP_OpenResult::Outcome;

namespace {
QString LogSafe(QString text)
{
    return text.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

int PieceCount(const CGP_Puzzle& puzzle)
{
    if (!puzzle.m_pGroups)
        return 0;
    int count = 0;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot())
        count += static_cast<int>(group->m_pieces.size());
    return count;
}

// The play state a freshly cut puzzle starts with.
void ResetProgress(CGP_Puzzle& puzzle)
{
    puzzle.m_bFresh = true;
    puzzle.m_bSolved = false;
    puzzle.m_nSolvingTime = 0;
    puzzle.m_fSolvedPercent = 0;
    puzzle.m_pGroups.reset();
}

// The picture block's bytes, as stored.
QByteArray ReadPictureBytes(const QString& path)
{
    QFile file(path);
    GP_PuzzleFile::Header header;
    if (!file.open(QIODevice::ReadOnly) || !GP_PuzzleFile::ReadCheckedHeader(file, header, "Recut")
        || !file.seek(header.pictureOffset))
        return {};
    const QByteArray bytes = file.read(header.pictureSize);
    return bytes.size() == int64_t(header.pictureSize) ? bytes : QByteArray();
}
} // namespace

QString CPuzzleOpening::NewerVersionText()
{
    return QStringLiteral("This puzzle needs a newer version of Velmora.");
}

CPuzzleOpening::CPuzzleOpening(CPuzzleOpeningHost& host, CGP_PieceWorkers& workers)
    : m_host(host), m_workers(workers)
{
}

bool CPuzzleOpening::NeedsRecut(const CGP_Puzzle& puzzle, const QSize& area)
{
    return puzzle.m_nCutWidth > area.width() || puzzle.m_nCutHeight > area.height();
}

bool CPuzzleOpening::PictureFitsArea(const QSize& picture, const QSize& area)
{
    // Opening and creation take a picture by the same rule.
    return CreationRules::SmallPictureFits(picture, area);
}

float CPuzzleOpening::RecutPieceSize(float pieceSize, int oldWidth, int newWidth)
{
    if (oldWidth <= 0)
        return pieceSize;
    return static_cast<float>(std::trunc(double(pieceSize) * newWidth / oldWidth));
}

GP_OpenResult CPuzzleOpening::Open(const GP_OpenRequest& request)
{
    GP_OpenResult result;
    CGP_Puzzle& puzzle = *request.puzzle;
    const QString name = puzzle.m_strTitle;
    const QString path = GP_PuzzlePaths::PuzzleFile(name, request.fromCalendar);
    if (path.isEmpty()) {
        GP_Log(QStringLiteral("OnMainPlay: \"%1\" names no puzzle file\n").arg(LogSafe(name)));
        return result;
    }
    if (NeedsRecut(puzzle, request.fittingArea)) {
        result.outcome = Recut(request, path);
        if (result.outcome != Outcome::Opened)
            return result;
        result.recut = true;
    }
    if (puzzle.m_bSolved) {
        switch (m_host.AskAlreadySolved(puzzle)) {
        case CPuzzleOpeningHost::SolvedAnswer::Cancel:
            result.outcome = Outcome::Cancelled;
            return result;
        case CPuzzleOpeningHost::SolvedAnswer::StartOver:
            m_host.StartOver(request.puzzle, path);
            break;
        case CPuzzleOpeningHost::SolvedAnswer::PlaySolved:
            break;
        }
    }
    // Nothing of an earlier game of this puzzle object may outlive the opening.
    m_workers.WaitForShadows();
    result.outcome = CheckFile(path);
    if (result.outcome == Outcome::Opened)
        result.outcome = Load(request, path);
    if (result.outcome == Outcome::Opened)
        result.outcome = BuildPieces(request, result.cacheExisted);
    if (result.outcome != Outcome::Opened)
        return result;
    if (puzzle.m_bFresh || puzzle.m_nSolvingTime == 0)
        puzzle.SpreadPieces(request.field);
    result.startSeconds = puzzle.m_nSolvingTime;
    return result;
}

Outcome CPuzzleOpening::Recut(const GP_OpenRequest& request, const QString& path)
{
    CGP_Puzzle& puzzle = *request.puzzle;
    const QByteArray bytes = ReadPictureBytes(path);
    const QSize oldSize = GP_PuzzleFile::PictureSize(bytes);
    if (!oldSize.isValid()) {
        GP_Log(QStringLiteral("Puzzle Resided: the picture of %1 cannot be read\n").arg(LogSafe(path)));
        return Outcome::Unreadable;
    }
    if (!PictureFitsArea(oldSize, request.fittingArea)) {
        m_host.ShowMessage(IDS_MODIFY_SCREEN_TOO_SMALL);
        return Outcome::ScreenTooSmall;
    }
    // The picture is fitted by loading it again from a file of its own.
    QTemporaryFile picture;
    if (!picture.open() || picture.write(bytes) != bytes.size() || !picture.flush()) {
        GP_Log(QStringLiteral("Puzzle Resided: no room for the picture of %1\n").arg(LogSafe(path)));
        return Outcome::Unreadable;
    }
    try {
        puzzle.LoadImage(picture.fileName(), &request.fittingArea);
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("Puzzle Resided: %1\n").arg(QLatin1String(error.Message())));
        puzzle.m_pImage.reset();
    }
    if (!puzzle.m_pImage) {
        CPuzzleLibrary::ReadForList(path, puzzle.m_strTitle, puzzle);
        return Outcome::Unreadable;
    }
    const QSize newSize = puzzle.m_pImage->size();
    puzzle.m_nCutWidth = newSize.width();
    puzzle.m_nCutHeight = newSize.height();
    puzzle.m_fPieceSize = RecutPieceSize(puzzle.m_fPieceSize, oldSize.width(), newSize.width());
    ResetProgress(puzzle);
    const int pattern = puzzle.m_nPatternIndex;
    puzzle.CreateGrid(request.patterns ? &request.patterns[pattern] : nullptr, GP_PatternHasRandomTabs(pattern), true);
    GP_Log(QStringLiteral("Puzzle Resided\n"));
    if (puzzle.m_pCorners.empty() || !puzzle.WriteNewFile(path)) {
        GP_LOG_DISK_FULL();
        m_host.ShowMessage(IDS_DISK_FULL);
        // The list shows the puzzle as its file still has it.
        Release(puzzle);
        CPuzzleLibrary::ReadForList(path, puzzle.m_strTitle, puzzle);
        return Outcome::SaveFailed;
    }
    // The cached piece images belong to the old cut.
    QFile::remove(GP_PuzzlePaths::CacheFile(puzzle.m_strTitle));
    Release(puzzle);
    return Outcome::Opened;
}

Outcome CPuzzleOpening::CheckFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("OnMainPlay: cannot open %1 (%2)\n").arg(LogSafe(path), LogSafe(file.errorString())));
        return Outcome::Unreadable;
    }
    const QByteArray header = file.read(GP_PuzzleFile::kHeaderSize);
    const bool damaged = file.size() < GP_PuzzleFile::kHeaderSize
        || (header.size() == GP_PuzzleFile::kHeaderSize && std::memcmp(header.constData() + 1, GP_PuzzleFile::kMagic + 1, 3) != 0);
    file.close();
    if (damaged) {
        GP_Log(QStringLiteral("OnMainPlay: %1 is not a puzzle file; deleted\n").arg(LogSafe(path)));
        QFile::remove(path);
        return Outcome::Deleted;
    }
    if (header.size() != GP_PuzzleFile::kHeaderSize) {
        GP_Log(QStringLiteral("OnMainPlay: cannot read the header of %1\n").arg(LogSafe(path)));
        return Outcome::Unreadable;
    }
    if (static_cast<uint8_t>(header[0]) > GP_PuzzleFile::kVersion) {
        GP_Log(QStringLiteral("OnMainPlay: %1 is of a newer version\n").arg(LogSafe(path)));
        m_host.ShowText(NewerVersionText());
        return Outcome::NewerVersion;
    }
    return Outcome::Opened;
}

Outcome CPuzzleOpening::Load(const GP_OpenRequest& request, const QString& path)
{
    CGP_Puzzle& puzzle = *request.puzzle;
    // The name is the file's; reading the settings would put the stored title in its place.
    const QString name = puzzle.m_strTitle;
    Release(puzzle);
    bool loaded = false;
    try {
        loaded = puzzle.OpenFile(path);
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("OnMainPlay: %1: %2\n").arg(LogSafe(path), QLatin1String(error.Message())));
    }
    puzzle.m_strTitle = name;
    const int pattern = puzzle.m_nPatternIndex;
    if (loaded && request.patterns && !request.patterns[pattern].IsEmpty())
        puzzle.CreateGrid(&request.patterns[pattern], GP_PatternHasRandomTabs(pattern), false);
    if (!loaded || puzzle.m_pVerticalEdges.empty()) {
        GP_Log(QStringLiteral("OnMainPlay: %1 could not be loaded\n").arg(LogSafe(path)));
        Release(puzzle);
        return Outcome::Unreadable;
    }
    return Outcome::Opened;
}

Outcome CPuzzleOpening::BuildPieces(const GP_OpenRequest& request, bool& cacheExisted)
{
    CGP_Puzzle& puzzle = *request.puzzle;
    const QString cachePath = GP_PuzzlePaths::CacheFile(puzzle.m_strTitle);
    QFile cache(cachePath);
    cacheExisted = QFileInfo(cachePath).size() > 0 && cache.open(QIODevice::ReadOnly);
    const int pieces = puzzle.m_nColumns * puzzle.m_nRows;
    m_host.BeginProgress(puzzle.m_bSolved ? IDS_LOADING_PUZZLE : IDS_SCRAMBLING_PUZZLE, puzzle.m_strTitle, pieces);
    bool built = false;
    try {
        m_workers.BuildPieces(puzzle, cacheExisted ? &cache : nullptr, [this] { m_host.StepProgress(); });
        built = PieceCount(puzzle) == pieces;
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("OnMainPlay: %1\n").arg(QLatin1String(error.Message())));
    }
    cache.close();
    m_host.EndProgress();
    if (built)
        return Outcome::Opened;
    GP_Log(QStringLiteral("OnMainPlay: the pieces of %1 could not be built\n").arg(LogSafe(puzzle.m_strTitle)));
    QFile::remove(cachePath);
    Release(puzzle);
    return Outcome::BuildFailed;
}

void CPuzzleOpening::Release(CGP_Puzzle& puzzle)
{
    puzzle.m_pHeldGroup.reset();
    puzzle.m_pHintGroup1.reset();
    puzzle.m_pHintGroup2.reset();
    puzzle.m_pGroups.reset();
    puzzle.ReleaseImages();
}
