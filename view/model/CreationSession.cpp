#include "view/model/CreationSession.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "resources/StringTable.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/FieldGeometry.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PuzzleLibrary.h"
#include "view/model/PuzzlePaths.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

using namespace CreationRules;

namespace {
// The picture as the engine fits a new puzzle's picture into the area; null when it cannot.
QImage FittedInto(const QImage& picture, const QSize& area)
{
    CGP_Puzzle fitter;
    try {
        fitter.LoadImage(picture, &area);
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("CCreationSession: %1\n").arg(QLatin1String(error.Message())));
        return {};
    }
    return fitter.m_pImage ? *fitter.m_pImage : QImage();
}
} // namespace

CCreationSession::CCreationSession(const CGP_Path* patterns, GP_ViewSettings& settings, Host host)
    : m_patterns(patterns)
    , m_settings(settings)
    , m_host(std::move(host))
    , m_puzzle(new CGP_Puzzle)
{
}

CCreationSession::~CCreationSession() = default;

void CCreationSession::StopWorkers() const
{
    if (m_host.stopWorkers)
        m_host.stopWorkers();
}

void CCreationSession::Changed() const
{
    if (m_host.changed)
        m_host.changed();
}

bool CCreationSession::HasPicture() const
{
    return m_puzzle && m_puzzle->m_pImage && !m_puzzle->m_pImage->isNull();
}

int CCreationSession::LoadPicture(const QString& path, const QRect& field)
{
    StopWorkers();
    const QImage decoded = CGP_Puzzle::DecodeImage(path);
    if (decoded.isNull())
        return IDS_IMAGE_LOAD_ERROR;
    const QSize area = FieldGeometry::FittingArea(field).size();
    if (!SmallPictureFits(decoded.size(), area))
        return IDS_IMAGE_SIZE_ERROR;
    const QImage fitted = FittedInto(decoded, area);
    if (fitted.isNull())
        return IDS_IMAGE_LOAD_ERROR;
    // A long thin picture fitted to the field's width could end up thinner than the rule.
    if (!FittedPictureFits(fitted.size()))
        return IDS_IMAGE_SIZE_ERROR;

    if (!m_puzzle)
        m_puzzle.reset(new CGP_Puzzle);
    m_fitted = fitted;
    m_pictureFile = path;
    m_puzzle->m_strTitle = m_puzzle->m_strStoredTitle = NameFromPictureFile(path);
    // A new picture gets its piece size chosen anew by the cut.
    m_puzzle->m_fPieceSize = 0;
    ApplyWidth(m_fitted.width());
    Recut();
    Changed();
    return 0;
}

QImage CCreationSession::ReadLibraryPicture(const QString& name)
{
    QFile file(GP_PuzzlePaths::LibraryFile(name));
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        GP_Log(QStringLiteral("OnMainModify: F == NULL errno = %1 %2 \n").arg(error).arg(QString::fromLocal8Bit(std::strerror(error))));
        return {};
    }
    CGP_Puzzle stored;
    stored.LoadPicture(file);
    if (!stored.m_pImage) {
        GP_Log(QStringLiteral("OnMainModify: m_pPuzzle->m_pImage == NULL \n"));
        return {};
    }
    if (stored.m_pImage->isNull()) {
        GP_Log(QStringLiteral("OnMainModify: m_pPuzzle->m_pImage->IsNull() == true \n"));
        return {};
    }
    return *stored.m_pImage;
}

int CCreationSession::BeginModify(const CGP_Puzzle& selected, const QRect& field)
{
    StopWorkers();
    if (selected.m_bOptions[CGP_Puzzle::kOptionNoModify])
        return IDS_MODIFY_NOT_ALLOWED;
    // The name comes from inside a file that may have come from anywhere.
    if (!IsSafeFileName(selected.m_strTitle)) {
        GP_Log(QStringLiteral("OnMainModify: \"%1\" names no library file \n").arg(selected.m_strTitle));
        return IDS_IMAGE_LOAD_ERROR;
    }
    const QImage stored = ReadLibraryPicture(selected.m_strTitle);
    if (stored.isNull())
        return IDS_IMAGE_LOAD_ERROR;
    const QSize area = FieldGeometry::FittingArea(field).size();
    if (!SmallPictureFits(stored.size(), area))
        return IDS_MODIFY_SCREEN_TOO_SMALL;
    // Re-fitted in memory: the stored picture never goes through a scratch file.
    const QImage fitted = FittedInto(stored, area);
    if (fitted.isNull() || !FittedPictureFits(fitted.size()))
        return IDS_MODIFY_SCREEN_TOO_SMALL;

    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_strTitle = selected.m_strTitle;
    puzzle->m_strStoredTitle = selected.m_strStoredTitle;
    puzzle->m_strCreator = selected.m_strCreator;
    puzzle->m_nThumbX = selected.m_nThumbX;
    puzzle->m_nThumbY = selected.m_nThumbY;
    puzzle->m_nPatternIndex = selected.m_nPatternIndex;
    std::copy(std::begin(selected.m_bOptions), std::end(selected.m_bOptions), std::begin(puzzle->m_bOptions));
    puzzle->m_fChaos = selected.m_fChaos;
    // A picture made smaller keeps its number of pieces.
    puzzle->m_fPieceSize = fitted.width() == stored.width()
        ? selected.m_fPieceSize
        : std::trunc(selected.m_fPieceSize * fitted.width() / stored.width());
    if (puzzle->m_nPatternIndex < 0 || puzzle->m_nPatternIndex >= kPatternCount)
        puzzle->m_nPatternIndex = kNewPattern;

    m_puzzle = puzzle;
    m_fitted = fitted;
    m_pictureFile.clear();
    m_modification = true;
    ApplyWidth(m_fitted.width());
    KeepPieceSizeInRange();
    Recut();
    Changed();
    return 0;
}

CCreationSession::Range CCreationSession::ImageWidthRange() const
{
    return CreationRules::ImageWidthRange(m_fitted.size());
}

int CCreationSession::ImageWidth() const
{
    return HasPicture() ? m_puzzle->m_pImage->width() : 0;
}

void CCreationSession::ChangeImageWidth(int width)
{
    if (!HasPicture())
        return;
    StopWorkers();
    ApplyWidth(ImageWidthRange().Clamp(width));
    KeepPieceSizeInRange();
    Recut();
    Changed();
}

void CCreationSession::ApplyWidth(int width)
{
    m_puzzle->UsePicture(m_fitted, ScaledToWidth(m_fitted.size(), width));
}

void CCreationSession::KeepPieceSizeInRange()
{
    // Zero still means "chosen by the cut".
    if (!HasPicture() || m_puzzle->m_fPieceSize == 0)
        return;
    const Range range = PieceSizeRange();
    if (m_puzzle->m_fPieceSize < range.minimum || m_puzzle->m_fPieceSize > range.maximum)
        m_puzzle->m_fPieceSize = static_cast<float>(range.Clamp(static_cast<int>(m_puzzle->m_fPieceSize)));
}

void CCreationSession::Recut()
{
    const int index = m_puzzle->m_nPatternIndex;
    m_puzzle->CreateGrid(&m_patterns[index], GP_PatternHasRandomTabs(index), true);
    ++m_revision;
}

CCreationSession::Range CCreationSession::PieceSizeRange() const
{
    return HasPicture() ? CreationRules::PieceSizeRange(m_puzzle->m_pImage->size()) : Range{};
}

int CCreationSession::PieceSizePosition() const
{
    return m_puzzle ? static_cast<int>(m_puzzle->m_fPieceSize) : 0;
}

int CCreationSession::CurvaturePosition() const
{
    return m_puzzle ? CreationRules::CurvaturePosition(m_puzzle->m_fChaos) : 0;
}

int CCreationSession::PatternIndex() const
{
    return m_puzzle ? m_puzzle->m_nPatternIndex : kNewPattern;
}

bool CCreationSession::Rotation() const
{
    return m_puzzle && m_puzzle->m_bOptions[CGP_Puzzle::kOptionRotation];
}

void CCreationSession::SetRotation(bool rotation)
{
    if (m_puzzle)
        m_puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = rotation;
}

int CCreationSession::PieceCount() const
{
    return m_puzzle ? m_puzzle->m_nColumns * m_puzzle->m_nRows : 0;
}

QString CCreationSession::PiecesText() const
{
    return QStringLiteral("Pieces: %1").arg(PieceCount());
}

void CCreationSession::ChangePathIndex(int index)
{
    GP_Log(QStringLiteral("OnCreateChangePathIndex %1 \n").arg(index));
    if (!HasPicture() || index < 0 || index >= kPatternCount)
        return;
    StopWorkers();
    m_puzzle->m_nPatternIndex = index;
    Recut();
    Changed();
}

void CCreationSession::ChangePieceSize(int size)
{
    GP_Log(QStringLiteral("OnCreateChangePieceSize %1 \n").arg(size));
    if (!HasPicture())
        return;
    StopWorkers();
    m_puzzle->m_fPieceSize = static_cast<float>(PieceSizeRange().Clamp(size));
    Recut();
    Changed();
}

void CCreationSession::ChangeChaotic(int position)
{
    const float chaos = ChaosAt(Range{0, kCurvatureSteps}.Clamp(position));
    GP_Log(QString::asprintf("OnCreateChangeChaotic %.3f \n", double(chaos)));
    if (!HasPicture())
        return;
    StopWorkers();
    m_puzzle->m_fChaos = chaos;
    Recut();
    Changed();
}

QString CCreationSession::ProposedName() const
{
    return m_puzzle ? m_puzzle->m_strTitle : QString();
}

QString CCreationSession::ProposedAuthor() const
{
    return m_settings.CreatorName;
}

int CCreationSession::CheckName(const QString& name, const QString& author) const
{
    return NameRefusal(name, author, m_host.nameTaken);
}

int CCreationSession::MakeNew(const QString& name, const QString& author, bool sendToFriend)
{
    if (!HasPicture() || m_modification)
        return IDS_DISK_FULL;
    if (const int refusal = CheckName(name, author))
        return refusal;
    m_settings.CreatorName = author;
    m_sendToFriend = sendToFriend;
    m_puzzle->m_strCreator = author;
    return Finish(name, true);
}

int CCreationSession::MakeModified()
{
    if (!HasPicture() || !m_modification)
        return IDS_DISK_FULL;
    m_sendToFriend = false;
    return Finish(m_puzzle->m_strTitle, false);
}

int CCreationSession::Finish(const QString& name, bool added)
{
    CGP_Puzzle& puzzle = *m_puzzle;
    FixMadeOptions(puzzle, puzzle.m_bOptions[CGP_Puzzle::kOptionRotation]);
    puzzle.m_strTitle = puzzle.m_strStoredTitle = name;
    // A made puzzle is unplayed: its pieces are built and spread the first time it is opened.
    puzzle.m_pGroups.reset();
    puzzle.m_pHeldGroup.reset();
    puzzle.m_pHintGroup1.reset();
    puzzle.m_pHintGroup2.reset();
    puzzle.m_bFresh = true;
    puzzle.m_bSolved = false;
    puzzle.m_nSolvingTime = 0;
    puzzle.m_nHintsUsed = 0;
    puzzle.m_fSolvedPercent = 0;
    puzzle.m_nSolveYear = puzzle.m_nSolveMonth = puzzle.m_nSolveDay = 0;
    puzzle.m_nCutWidth = puzzle.m_pImage->width();
    puzzle.m_nCutHeight = puzzle.m_pImage->height();

    const QString file = GP_PuzzlePaths::LibraryFile(name);
    bool written = false;
    try {
        puzzle.MakeThumbnail();
        written = QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesSimple)) && puzzle.WriteNewFile(file);
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("CCreationSession: %1\n").arg(QLatin1String(error.Message())));
    }
    if (!written) {
        GP_LOG_DISK_FULL();
        return IDS_DISK_FULL;
    }
    // Piece images kept for the old cut would be laid over the new one.
    if (!added)
        QFile::remove(GP_PuzzlePaths::CacheFile(name));
    m_madeFile = file;
    puzzle.ReleaseImages();
    const boost::shared_ptr<CGP_Puzzle> made = std::move(m_puzzle);
    m_puzzle.reset();
    m_fitted = QImage();
    if (m_host.puzzleMade)
        m_host.puzzleMade(made, file, added);
    return 0;
}
