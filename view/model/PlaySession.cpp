#include "view/model/PlaySession.h"

#include "engine/GP_Puzzle.h"
#include "shell/log/GP_LogFile.h"

#include <QDate>

#include <algorithm>

PlaySession::PlaySession(const boost::shared_ptr<CGP_Puzzle>& puzzle, CPlaySessionHost& host)
    : m_pPuzzle(puzzle)
    , m_host(host)
{
    m_controller.SetPuzzle(puzzle);
}

PlaySession::~PlaySession() = default;

void PlaySession::SetGeometry(const QRect& field, int handleSide)
{
    m_controller.SetGeometry(field, handleSide);
}

void PlaySession::SetPauseBox(bool shown, const QRect& rect)
{
    m_bPauseBoxShown = shown;
    m_pauseBoxRect = rect;
}

std::optional<int> PlaySession::SparkleFrame() const
{
    if (m_sparkleFrame < 0 || m_sparkleFrame >= kSparkleFrames)
        return std::nullopt;
    return static_cast<int>(m_sparkleFrame);
}

QRect PlaySession::SparkleRect() const
{
    return QRect(m_sparkleAnchor, QSize(kSparkleSize, kSparkleSize));
}

void PlaySession::Apply(const FieldEffects& effects)
{
    for (const QRect& rect : effects.repaintNow)
        m_host.RepaintNow(rect);
    if (effects.sparkleAt) {
        m_sparkleFrame = 0;
        m_sparkleAnchor = *effects.sparkleAt;
    }
    if (m_bSoundOn) {
        for (int wave : effects.sounds)
            m_host.PlaySound(wave);
    }
    if (effects.capture)
        m_host.SetCapture(*effects.capture);
    if (effects.cursor)
        m_host.SetFieldCursor(*effects.cursor);
    if (effects.traysChanged)
        m_host.TraysChanged();
    if (effects.pushTimer) {
        if (*effects.pushTimer)
            m_host.StartViewTimer(FieldController::kPushTimerId, FieldController::kPushPeriodMs);
        else
            m_host.StopViewTimer(FieldController::kPushTimerId);
    }
    if (effects.becameSolved) {
        m_sparkleFrame = kNoSparkle;
        m_host.Invalidate();
        PuzzleSolved();
    } else if (effects.invalidate) {
        m_host.Invalidate();
    }
    if (effects.trayFullLook)
        m_host.SetTrayButtonFull(*effects.trayFullLook);
}

void PlaySession::LeftPress(const QPoint& point, bool keepSelection)
{
    // The press that closes the pause box still picks.
    if (m_bPauseBoxShown && m_pauseBoxRect.adjusted(0, kPauseBoxMargin, 0, -kPauseBoxMargin).contains(point))
        ClosePauseBox();
    Apply(m_controller.LeftPress(point, keepSelection));
}

void PlaySession::LeftMove(const QPoint& point)
{
    Apply(m_controller.LeftMove(point));
}

void PlaySession::LeftRelease(const QPoint& point)
{
    if (m_bPauseBoxShown && m_pauseBoxRect.adjusted(0, kPauseBoxMargin, 0, -kPauseBoxMargin).contains(point))
        ClosePauseBox();
    const size_t groupsBefore = m_pPuzzle && m_pPuzzle->m_pGroups ? m_pPuzzle->m_pGroups->Size() : 0;
    const FieldEffects effects = m_controller.LeftRelease(point);
    const size_t groupsAfter = m_pPuzzle && m_pPuzzle->m_pGroups ? m_pPuzzle->m_pGroups->Size() : 0;
    if (groupsAfter < groupsBefore)
        GP_Log(QStringLiteral("PlaySession: a drop joined pieces, %1 groups left\n").arg(groupsAfter));
    Apply(effects);
}

void PlaySession::RightPress(const QPoint& point, const QPoint& cursor)
{
    ClosePauseBox();
    Apply(m_controller.RightPress(point, cursor));
}

void PlaySession::RightRelease(uint32_t now)
{
    Apply(m_controller.RightRelease(now));
}

void PlaySession::OnTimer(int id, uint32_t now, const QPoint& cursor)
{
    if (id == FieldController::kPushTimerId)
        Apply(m_controller.PushTick(now, cursor));
}

void PlaySession::ToggleTray(int location)
{
    Apply(m_controller.ToggleTray(location));
}

void PlaySession::ShowTrays()
{
    m_controller.CloseTrays();
    m_controller.RefreshTrayHandles();
    m_host.TraysChanged();
}

void PlaySession::CloseTrays()
{
    m_controller.CloseTrays();
    m_host.TraysChanged();
}

void PlaySession::IdleStep(uint32_t now, bool frameActive)
{
    if (!frameActive)
        return;
    const uint32_t elapsed = m_lastIdle ? std::min(now - *m_lastIdle, kMaxIdleStepMs) : 0;
    m_lastIdle = now;
    UpdateClock(now, frameActive);
    BlinkHint(elapsed);
    if (!m_pPuzzle || m_sparkleFrame > kSparkleFrames)
        return;
    m_sparkleFrame += kSparkleFramesPerMs * static_cast<float>(elapsed);
    m_host.RepaintNow(SparkleRect());
}

void PlaySession::OnPlayGhost()
{
    ClosePauseBox();
    if (!m_pPuzzle || m_pPuzzle->m_bOptions[CGP_Puzzle::kOptionNoGhost])
        return;
    m_bGhostVisible = !m_bGhostVisible;
    m_host.Invalidate();
}

void PlaySession::ClosePauseBox()
{
    if (!m_bPauseBoxShown)
        return;
    m_bPauseBoxShown = false;
    m_host.ClosePauseBox();
    m_host.Invalidate();
    m_clock.RequestReset();
}

void PlaySession::PuzzleSolved()
{
    const QDate today = QDate::currentDate();
    m_pPuzzle->m_nSolveYear = static_cast<uint16_t>(today.year());
    m_pPuzzle->m_nSolveMonth = static_cast<uint16_t>(today.month());
    m_pPuzzle->m_nSolveDay = static_cast<uint16_t>(today.day());
    m_pPuzzle->CentreSolved(m_controller.Field());
    // The last group lies on the field now: both trays are empty.
    m_controller.CloseTrays();
    m_controller.RefreshTrayHandles();
    m_host.TraysChanged();
    m_host.Invalidate();
    if (m_bSoundOn)
        m_host.PlaySound(kSolvedSound);
    m_pPuzzle->m_nSolvingTime = m_clock.Seconds();
    m_host.PuzzleSolved();
}
