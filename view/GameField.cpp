#include "view/GameField.h"

#include "engine/GP_Clock.h"
#include "engine/GP_Folders.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/PieceBuilderThread.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/log/GP_LogFile.h"
#include "skin/ClickSoundPlayer.h"
#include "view/GameCursors.h"
#include "view/PlayWindows.h"
#include "view/TrayWindows.h"
#include "view/model/BoardBackgrounds.h"
#include "view/model/GP_SettingsStore.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <utility>

namespace {
constexpr int kTrayLocations[2] = {CGP_PuzzlePieceUnion::kRightTray, CGP_PuzzlePieceUnion::kLeftTray};
} // namespace

CGameField::CGameField(QWidget* view, CGP_SettingsStore& settings, TimerControl startTimer,
                       std::function<void(int)> stopTimer)
    : m_view(view)
    , m_settings(settings)
    , m_startTimer(std::move(startTimer))
    , m_stopTimer(std::move(stopTimer))
{
    if (LoadPatterns(m_patterns, GP_FolderPath(GP_Folder::Patterns)) < kPatternCount)
        GP_Log(QStringLiteral("CGameField: not every outline pattern could be read\n"));
}

CGameField::~CGameField()
{
    // The workers and the trays' windows use the game: they go before it.
    m_pWorkers.reset();
    for (CTrayWindows* windows : m_trays)
        delete windows;
}

void CGameField::BuildControls(const QString& pushCursorPath)
{
    if (!m_view || m_pCursors)
        return;
    for (size_t i = 0; i < m_trays.size(); ++i) {
        m_trays[i] = new CTrayWindows(m_view, kTrayLocations[i], m_painter, [this] { return Session(); },
                                      [this](int location) {
                                          if (m_pSession && m_bInPlay)
                                              m_pSession->ToggleTray(location);
                                      });
    }
    m_pCursors = new CGameCursors(m_view);
    m_pCursors->Load(pushCursorPath);
    SetGeometry(m_field, m_handleSide);
}

void CGameField::SetGeometry(const QRect& field, int handleSide)
{
    m_field = field;
    m_handleSide = handleSide;
    if (m_pSession)
        m_pSession->SetGeometry(field, handleSide);
    TraysChanged();
}

void CGameField::RebuildBackgrounds(const QList<QImage>& textures)
{
    CBoardBackgrounds backgrounds;
    backgrounds.Rebuild(m_settings, textures);
    m_painter.SetBackgrounds(backgrounds.Board(), backgrounds.Trays());
}

CGP_PieceWorkers& CGameField::Workers()
{
    if (!m_pWorkers) {
        m_pWorkers = std::make_unique<CGP_PieceWorkers>(GP_PieceBuilderCount());
        // Shadows arrive on the shadow builder's thread; the view repaints on its own.
        QPointer<QWidget> view = m_view;
        m_pWorkers->SetRepaint([view] { QMetaObject::invokeMethod(view, [view] { if (view) view->update(); }, Qt::QueuedConnection); });
    }
    return *m_pWorkers;
}

void CGameField::StartGame(const boost::shared_ptr<CGP_Puzzle>& puzzle)
{
    if (m_pWorkers)
        m_pWorkers->WaitForShadows();
    m_pSession.reset();
    if (!puzzle)
        return;
    m_pSession = std::make_unique<PlaySession>(puzzle, *this);
    m_pSession->SetGeometry(m_field, m_handleSide);
    m_pSession->SetSoundOn(m_settings.Settings().SoundFXEnable);
    m_pSession->SetGhostVisible(m_settings.Settings().GhostVisible);
    m_pSession->ResetIdleClock(GP_TimeMs());
    if (!m_pWorkers)
        return;
    CGP_PieceWorkers* workers = m_pWorkers.get();
    CGP_Puzzle* played = puzzle.get();
    m_pSession->Controller().SetShadowRequest([workers, played](const boost::shared_ptr<GP_GroupDeque>& groups) {
        const std::deque<GP_GroupPtr> list = groups->Snapshot();
        workers->RequestShadows(played, std::vector<GP_GroupPtr>(list.begin(), list.end()));
    });
}

CTrayWindows* CGameField::TrayWindows(int location) const
{
    for (CTrayWindows* windows : m_trays) {
        if (windows && windows->Location() == location)
            return windows;
    }
    return nullptr;
}

void CGameField::EnterPlay()
{
    m_bInPlay = true;
    if (m_pSession)
        m_pSession->ShowTrays();
    if (m_pCursors)
        m_pCursors->Show(FieldCursor::Normal);
    TraysChanged();
}

void CGameField::LeavePlay()
{
    m_bInPlay = false;
    if (m_pSession)
        m_pSession->CloseTrays();
    for (CTrayWindows* windows : m_trays) {
        if (windows)
            windows->Hide();
    }
    if (m_pCursors)
        m_pCursors->Clear();
}

void CGameField::Paint(QPainter& painter, const QRect& update)
{
    if (!m_pSession) {
        FieldPainter::Tile(painter, update, m_painter.BoardTile());
        return;
    }
    SyncPauseBox();
    m_painter.PaintField(painter, *m_pSession, update);
}

void CGameField::SyncPauseBox()
{
    if (!m_pSession || !m_view)
        return;
    const bool shown = g_pPauseBox && g_bPauseBoxShown;
    const QRect box = shown ? QRect(m_view->mapFromGlobal(g_pPauseBox->frameGeometry().topLeft()), g_pPauseBox->frameGeometry().size())
                            : QRect();
    m_pSession->SetPauseBox(shown, box);
}

void CGameField::Pointer(const QMouseEvent& event)
{
    const QPoint point = event.position().toPoint();
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        Press(event.button(), point, event.modifiers().testFlag(Qt::ControlModifier));
        return;
    case QEvent::MouseMove:
        Move(point);
        return;
    case QEvent::MouseButtonRelease:
        Release(event.button(), point);
        return;
    default:
        return;
    }
}

void CGameField::Press(Qt::MouseButton button, const QPoint& point, bool ctrl)
{
    m_pointer = point;
    if (!m_pSession)
        return;
    SyncPauseBox();
    if (button == Qt::LeftButton)
        m_pSession->LeftPress(point, ctrl);
    else if (button == Qt::RightButton)
        m_pSession->RightPress(point, point);
}

void CGameField::Move(const QPoint& point)
{
    m_pointer = point;
    if (m_pSession)
        m_pSession->LeftMove(point);
}

void CGameField::Release(Qt::MouseButton button, const QPoint& point)
{
    m_pointer = point;
    if (!m_pSession)
        return;
    SyncPauseBox();
    if (button == Qt::LeftButton)
        m_pSession->LeftRelease(point);
    else if (button == Qt::RightButton)
        m_pSession->RightRelease(GP_TimeMs());
}

void CGameField::OnTimer(int id)
{
    if (m_pSession)
        m_pSession->OnTimer(id, GP_TimeMs(), m_pointer);
}

void CGameField::Idle(bool frameActive)
{
    if (m_pSession)
        m_pSession->IdleStep(GP_TimeMs(), frameActive);
}

void CGameField::ResetIdleClock()
{
    if (m_pSession)
        m_pSession->ResetIdleClock(GP_TimeMs());
}

void CGameField::OnPlayGhost()
{
    if (!m_pSession)
        return;
    SyncPauseBox();
    m_pSession->OnPlayGhost();
    m_settings.Settings().GhostVisible = m_pSession->IsGhostVisible();
}

void CGameField::RepaintNow(const QRect& rect)
{
    if (!m_view)
        return;
    if (rect.isEmpty())
        m_view->repaint();
    else
        m_view->repaint(rect);
}

void CGameField::Invalidate()
{
    if (m_view)
        m_view->update();
}

void CGameField::PlaySound(int wave)
{
    CClickSoundPlayer::Instance().Play(wave);
}

void CGameField::SetFieldCursor(FieldCursor cursor)
{
    if (m_pCursors && m_bInPlay)
        m_pCursors->Show(cursor);
}

void CGameField::SetCapture(bool on)
{
    // Qt keeps the pointer with the window its button went down on until that button comes up,
    // which is the capture a drag and a push need; an explicit grab would only outlive a lost
    // release.
    m_bCaptured = on;
}

void CGameField::SetTrayButtonFull(bool full)
{
    // The play panel wears the look once it exists; until then the field remembers it.
    m_bTrayButtonFull = full;
    if (m_pPlayWindows)
        m_pPlayWindows->SetTrayButtonFull(full);
}

void CGameField::TraysChanged()
{
    for (CTrayWindows* windows : m_trays) {
        if (!windows)
            continue;
        CPocket* tray = m_pSession ? m_pSession->Controller().TrayOf(windows->Location()) : nullptr;
        if (tray)
            windows->Follow(*tray, m_bInPlay);
        else
            windows->Hide();
    }
    Invalidate();
}

void CGameField::StartViewTimer(int id, int periodMs)
{
    if (m_startTimer)
        m_startTimer(id, periodMs);
}

void CGameField::StopViewTimer(int id)
{
    if (m_stopTimer)
        m_stopTimer(id);
}

void CGameField::ClosePauseBox()
{
    if (m_pPlayWindows)
        m_pPlayWindows->ClosePauseBox();
}

void CGameField::PuzzleSolved()
{
    if (m_pPlayWindows)
        m_pPlayWindows->PuzzleSolved();
}

void CGameField::ShowPauseBox()
{
    if (m_pPlayWindows)
        m_pPlayWindows->ShowPauseBox();
}

void CGameField::ShowPictureWindow(bool shown, const QRect& rect)
{
    if (m_pPlayWindows)
        m_pPlayWindows->ShowPictureWindow(shown, rect);
}

void CGameField::ShowTime(int seconds)
{
    if (m_pPlayWindows)
        m_pPlayWindows->ShowTime(seconds);
}
