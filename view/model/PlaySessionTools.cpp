// The play tools of a game: the solving clock, the hint and its blink, "Pull Apart", the
// picture window, the pause box and leaving.
#include "view/model/PlaySession.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"

namespace {
// Until the player moves it, the picture window sits this far inside the field's top right.
constexpr int kPictureInset = 10;
} // namespace

bool PlaySession::PictureAllowed() const
{
    return m_pPuzzle && m_pPuzzle->m_pImage && !m_pPuzzle->m_bOptions[CGP_Puzzle::kOptionHidePicture];
}

QSize PlaySession::PictureSize() const
{
    if (!m_pPuzzle || !m_pPuzzle->m_pImage)
        return {};
    return CThumbGeometry::PictureSize(m_pPuzzle->m_nColumns, m_pPuzzle->m_nRows, m_pPuzzle->m_fPieceSize,
                                       m_pPuzzle->m_pImage->size());
}

QImage PlaySession::PictureCut() const
{
    if (!m_pPuzzle || !m_pPuzzle->m_pImage)
        return {};
    const QImage& picture = *m_pPuzzle->m_pImage;
    const QSize cut = PictureSize();
    return picture.copy(QRect(QPoint((picture.width() - cut.width()) / 2, (picture.height() - cut.height()) / 2), cut));
}

QRect PlaySession::PictureWindowRect(const QRect& current) const
{
    const QSize size = m_thumb.WindowSize(PictureSize());
    const QRect field = Field();
    QRect place(QPoint(field.x() + field.width() - kPictureInset - size.width(), field.y() + kPictureInset), size);
    if (!current.isEmpty() && m_view.contains(current))
        place = QRect(current.topLeft(), size);
    return CThumbGeometry::Place(place, size, m_view);
}

void PlaySession::StartPlay(bool pictureWanted, const QRect& view, const QRect& pictureRect)
{
    m_view = view;
    m_clock.Start(m_pPuzzle ? m_pPuzzle->m_nSolvingTime : 0);
    m_thumb = CThumbGeometry();
    m_pictureRect = PictureWindowRect(pictureRect);
    m_bPictureShown = pictureWanted && PictureAllowed();
    m_host.ShowPictureWindow(m_bPictureShown, m_pictureRect);
    m_host.ShowTime(m_clock.Seconds());
}

void PlaySession::SpreadClearOfPicture()
{
    if (m_pPuzzle && m_bPictureShown)
        m_pPuzzle->SpreadInitial(Field(), m_controller.HandleSide(), m_pictureRect);
}

void PlaySession::UpdateClock(uint32_t now, bool frameActive)
{
    if (!m_pPuzzle || m_pPuzzle->m_bSolved || m_bModalBoxUp || m_bPauseBoxShown || !frameActive)
        return;
    if (m_clock.Update(now))
        m_host.ShowTime(m_clock.Seconds());
}

void PlaySession::BlinkHint(uint32_t elapsed)
{
    if (!m_pPuzzle)
        return;
    const QRect redraw = m_pPuzzle->BlinkHint(static_cast<int>(elapsed));
    if (!redraw.isEmpty())
        m_host.RepaintNow(redraw.adjusted(-kHintReach, -kHintReach, kHintReach, kHintReach));
}

void PlaySession::OnPlayHint()
{
    ClosePauseBox();
    if (!m_pPuzzle)
        return;
    m_pPuzzle->Hint(CGP_PuzzlePieceUnion::kField);
    m_host.RepaintNow(QRect());
}

void PlaySession::OnPlayArrangeAtEdge()
{
    ClosePauseBox();
    if (!m_pPuzzle)
        return;
    m_pPuzzle->ArrangeAtEdge(Field(), m_bPictureShown ? m_pictureRect : QRect());
    m_host.Invalidate();
}

void PlaySession::OnPlayPicture()
{
    ClosePauseBox();
    if (!PictureAllowed())
        return;
    m_bPictureShown = !m_bPictureShown;
    m_host.ShowPictureWindow(m_bPictureShown, m_pictureRect);
}

void PlaySession::OnPlayZoom()
{
    if (!PictureAllowed())
        return;
    m_thumb.PressZoom();
    m_pictureRect = CThumbGeometry::Place(m_pictureRect, m_thumb.WindowSize(PictureSize()), m_view);
    m_host.ShowPictureWindow(m_bPictureShown, m_pictureRect);
}

void PlaySession::OnPlayPause()
{
    if (m_bPauseBoxShown) {
        ClosePauseBox();
        return;
    }
    if (m_bModalBoxUp)
        return;
    m_host.Invalidate();
    m_host.ShowPauseBox();
}

CGameSaver::LeaveResult PlaySession::Leave(const QString& puzzleFile, const QString& cacheFile,
                                           const std::function<void()>& step)
{
    ClosePauseBox();
    if (!m_pPuzzle)
        return {};
    return CGameSaver::Leave(*m_pPuzzle, m_clock.Seconds(), puzzleFile, cacheFile, step);
}
