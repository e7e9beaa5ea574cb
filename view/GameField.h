#pragma once

#include "engine/GP_Path.h"
#include "view/FieldPainter.h"
#include "view/model/PlaySession.h"

#include <QPointer>
#include <QRect>

#include <array>
#include <functional>
#include <memory>

class CGameCursors;
class CPlayWindows;
class CGP_PieceWorkers;
class CGP_SettingsStore;
class CTrayWindows;
class QMouseEvent;
class QPainter;
class QWidget;

// The game field's part of the main view: the game being played, the painter that shows it,
// the trays' windows and the field's cursors. It is the game's host: it turns what the game
// asks for into repaints, sounds, cursors and the mouse capture on the view.
class CGameField : public CPlaySessionHost
{
public:
    // How the field starts and stops the view's timers.
    using TimerControl = std::function<void(int id, int periodMs)>;

    CGameField(QWidget* view, CGP_SettingsStore& settings, TimerControl startTimer, std::function<void(int id)> stopTimer);
    ~CGameField() override;

    CGameField(const CGameField&) = delete;
    CGameField& operator=(const CGameField&) = delete;

    // Builds the trays' windows and loads the cursors (the view's first paint).
    void BuildControls(const QString& pushCursorPath);
    // The field rectangle and the trays' handle side, after the view's size changed.
    void SetGeometry(const QRect& field, int handleSide);
    // The board and tray tiles from the settings' colours and the skin's patterns.
    void RebuildBackgrounds(const QList<QImage>& textures);

    // What opening a puzzle for play needs of the field: its rectangle and trays' handle side,
    // the sixteen outline patterns (a creation cuts with them too) and the piece builders (made at
    // the first opening).
    QRect FieldRect() const { return m_field; }
    int HandleSide() const { return m_handleSide; }
    const CGP_Path* Patterns() const { return m_patterns; }
    CGP_PieceWorkers& Workers();
    // A game takes the field (null: none); the one before goes, once no worker builds for it.
    void StartGame(const boost::shared_ptr<CGP_Puzzle>& puzzle);
    PlaySession* Session() const { return m_pSession.get(); }
    const FieldPainter& Painter() const { return m_painter; }
    CTrayWindows* TrayWindows(int location) const;

    // Entering and leaving the play mode: the trays shown or closed and hidden.
    void EnterPlay();
    void LeavePlay();
    bool IsShownInPlay() const { return m_bInPlay; }

    void Paint(QPainter& painter, const QRect& update);

    // The pointer and the timers while in play. The second press of a quick double click is a
    // press like any other.
    void Pointer(const QMouseEvent& event);
    void Press(Qt::MouseButton button, const QPoint& point, bool ctrl);
    void Move(const QPoint& point);
    void Release(Qt::MouseButton button, const QPoint& point);
    void OnTimer(int id);
    void Idle(bool frameActive);
    void ResetIdleClock();
    void OnPlayGhost();

    bool TrayButtonFull() const { return m_bTrayButtonFull; }
    bool HoldsPointer() const { return m_bCaptured; }

    // CPlaySessionHost
    void RepaintNow(const QRect& rect) override;
    void Invalidate() override;
    void PlaySound(int wave) override;
    void SetFieldCursor(FieldCursor cursor) override;
    void SetCapture(bool on) override;
    void SetTrayButtonFull(bool full) override;
    void TraysChanged() override;
    void StartViewTimer(int id, int periodMs) override;
    void StopViewTimer(int id) override;
    void ClosePauseBox() override;
    void PuzzleSolved() override;
    void ShowPauseBox() override;
    void ShowPictureWindow(bool shown, const QRect& rect) override;
    void ShowTime(int seconds) override;

    // The play tools' windows, which show what the game asks of them.
    void SetPlayWindows(CPlayWindows* windows) { m_pPlayWindows = windows; }

private:
    void SyncPauseBox();

    QPointer<QWidget> m_view;
    CGP_SettingsStore& m_settings;
    TimerControl m_startTimer;
    std::function<void(int)> m_stopTimer;
    FieldPainter m_painter;
    CGP_Path m_patterns[kPatternCount];
    std::unique_ptr<PlaySession> m_pSession;
    // The builders make the pieces and shadows of the game: they stop before the game goes.
    std::unique_ptr<CGP_PieceWorkers> m_pWorkers;
    std::array<CTrayWindows*, 2> m_trays{};
    CGameCursors* m_pCursors = nullptr;
    CPlayWindows* m_pPlayWindows = nullptr;
    QRect m_field;
    int m_handleSide = 0;
    QPoint m_pointer;
    bool m_bInPlay = false;
    bool m_bTrayButtonFull = false;
    bool m_bCaptured = false;
};
