#pragma once

#include "view/model/FieldController.h"
#include "view/model/GameSaver.h"
#include "view/model/PlayClock.h"
#include "view/model/ThumbGeometry.h"

#include <QPoint>
#include <QImage>
#include <QRect>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <functional>
#include <optional>

class CGP_Puzzle;

// What a game asks of the window that shows it.
class CPlaySessionHost
{
public:
    virtual ~CPlaySessionHost() = default;

    // Paints the rectangle at once; an empty rectangle paints the whole view.
    virtual void RepaintNow(const QRect& rect) = 0;
    // Paints the whole view at the next chance.
    virtual void Invalidate() = 0;
    virtual void PlaySound(int wave) = 0;
    virtual void SetFieldCursor(FieldCursor cursor) = 0;
    virtual void SetCapture(bool on) = 0;
    // The play panel's tray button: the "tray_full" look, or its normal one.
    virtual void SetTrayButtonFull(bool full) = 0;
    // The trays' windows follow their trays (open, closed, "empty" or "full" handle).
    virtual void TraysChanged() = 0;
    virtual void StartViewTimer(int id, int periodMs) = 0;
    virtual void StopViewTimer(int id) = 0;
    // The pause box goes (a press on it, or a play command).
    virtual void ClosePauseBox() = 0;
    // The game has just been solved and put in its final place.
    virtual void PuzzleSolved() = 0;

    // The play tools' windows. The pause box comes up; the view answers with SetPauseBox.
    virtual void ShowPauseBox() {}
    // The picture window shown at its rectangle (view coordinates), or hidden.
    virtual void ShowPictureWindow(bool shown, const QRect& rect) {}
    // The solving clock shows a new time.
    virtual void ShowTime(int seconds) {}
};


// One game on the field: the puzzle, the field's pointer protocol, the join sparkle and the
// idle step that drives it, and the switches the field paints by (ghost, pause box). It never
// touches a widget; its host paints, sounds and points for it.
class PlaySession
{
public:
    // The sparkle: 16 frames of 24 x 24, one frame per 50 ms.
    static constexpr int kSparkleFrames = 16;
    static constexpr int kSparkleSize = 24;
    static constexpr float kSparkleFramesPerMs = 0.02f;
    // An idle step never counts more than this, so a stall does not jump the animations.
    static constexpr uint32_t kMaxIdleStepMs = 20;
    static constexpr int kSolvedSound = 240;
    // A press this far inside the pause box's top and bottom edges closes it.
    static constexpr int kPauseBoxMargin = 30;
    // The hint's ring reaches this far past the pair's outlines.
    static constexpr int kHintReach = 5;

    PlaySession(const boost::shared_ptr<CGP_Puzzle>& puzzle, CPlaySessionHost& host);
    virtual ~PlaySession();

    PlaySession(const PlaySession&) = delete;
    PlaySession& operator=(const PlaySession&) = delete;

    const boost::shared_ptr<CGP_Puzzle>& Puzzle() const { return m_pPuzzle; }
    FieldController& Controller() { return m_controller; }
    const FieldController& Controller() const { return m_controller; }
    void SetGeometry(const QRect& field, int handleSide);
    const QRect& Field() const { return m_controller.Field(); }

    void SetSoundOn(bool on) { m_bSoundOn = on; }
    bool IsSoundOn() const { return m_bSoundOn; }
    bool IsGhostVisible() const { return m_bGhostVisible; }
    void SetGhostVisible(bool visible) { m_bGhostVisible = visible; }
    // The pause box as the view shows it: while it is up the field shows no pieces.
    bool IsPauseBoxShown() const { return m_bPauseBoxShown; }
    void SetPauseBox(bool shown, const QRect& rect = QRect());

    // The join sparkle: its frame now, or none.
    std::optional<int> SparkleFrame() const;
    QRect SparkleRect() const;

    // The pointer on the field (view coordinates; the cursor is where the pointer is now).
    void LeftPress(const QPoint& point, bool keepSelection);
    void LeftMove(const QPoint& point);
    void LeftRelease(const QPoint& point);
    void RightPress(const QPoint& point, const QPoint& cursor);
    void RightRelease(uint32_t now);
    void OnTimer(int id, uint32_t now, const QPoint& cursor);
    // A tray's handle was clicked.
    void ToggleTray(int location);
    // Entering and leaving the field: the trays start closed, their handles as full as the
    // trays are.
    void ShowTrays();
    void CloseTrays();

    // The idle step between messages: the time since the last one (0 to 20 ms, counted only
    // while the game's window is active) drives the join sparkle.
    void IdleStep(uint32_t now, bool frameActive);
    // The next idle step counts from now.
    void ResetIdleClock(uint32_t now) { m_lastIdle = now; }

    // G: the ghost picture on or off, for puzzles that allow it; a shown pause box closes.
    void OnPlayGhost();
    // Closes a shown pause box; the clock then counts on from that moment.
    void ClosePauseBox();

    // The play tools (the game menu, the in-game panel, the picture window and the keys).
    // A game starts with the clock at the puzzle's solving time and the picture window shown
    // when the player last had it and the puzzle allows it, at the place it had (when that
    // lies inside the view, else in the field's top right corner).
    void StartPlay(bool pictureWanted, const QRect& view, const QRect& pictureRect = QRect());
    // A fresh game was scattered before its picture window was placed: the loose pieces are
    // scattered again clear of the window, when it is shown.
    void SpreadClearOfPicture();
    // The hint: a connectable pair of groups on the field blinks for six phases.
    void OnPlayHint();
    // "Pull Apart": the loose pieces of the field go to its edges, never under the picture window.
    void OnPlayArrangeAtEdge();
    // P and the picture window's X: the picture window shown or hidden, for puzzles that allow it.
    void OnPlayPicture();
    // The picture window's Z: the next zoom, the window's bottom right kept.
    void OnPlayZoom();
    bool IsPictureShown() const { return m_bPictureShown; }
    const QRect& PictureRect() const { return m_pictureRect; }
    int PictureZoom() const { return m_thumb.WasZoomed() ? m_thumb.ZoomState() : -1; }
    // The picture window was dragged to a new place (view coordinates).
    void PictureMoved(const QRect& rect) { m_pictureRect = rect; }
    // Pause: a shown pause box closes, else one comes up unless a modal box is up.
    void OnPlayPause();
    // A modal box of the view is up: the clock stops and no pause box comes up.
    void SetModalBoxUp(bool up) { m_bModalBoxUp = up; }
    // Time passed that must not count (the board settings, another application, the focus
    // came back): the clock counts on from its next update.
    void RequestClockReset() { m_clock.RequestReset(); }
    int Seconds() const { return m_clock.Seconds(); }
    // Whether the puzzle's picture may be shown in the picture window, and what it shows: the
    // cut part of the picture, from its middle.
    bool PictureAllowed() const;
    QImage PictureCut() const;
    // Leaving the game: the pause box closes and the progress and the piece images are saved
    // (step runs once per piece saved); see CGameSaver.
    CGameSaver::LeaveResult Leave(const QString& puzzleFile, const QString& cacheFile,
                                  const std::function<void()>& step = {});

protected:
    // The drop that solved the puzzle: the solve date, the final place, both trays closed and
    // the completion sound, then the host's completion.
    virtual void PuzzleSolved();
    void Apply(const FieldEffects& effects);
    CPlaySessionHost& Host() { return m_host; }

private:
    static constexpr float kNoSparkle = kSparkleFrames + 1;

    boost::shared_ptr<CGP_Puzzle> m_pPuzzle;
    CPlaySessionHost& m_host;
    FieldController m_controller;
    bool m_bSoundOn = true;
    bool m_bGhostVisible = false;
    bool m_bPauseBoxShown = false;
    QRect m_pauseBoxRect;
    // The play tools.
    void UpdateClock(uint32_t now, bool frameActive);
    void BlinkHint(uint32_t elapsed);
    QRect PictureWindowRect(const QRect& current) const;
    QSize PictureSize() const;
    CPlayClock m_clock;
    CThumbGeometry m_thumb;
    QRect m_view;
    QRect m_pictureRect;
    bool m_bPictureShown = false;
    bool m_bModalBoxUp = false;
    float m_sparkleFrame = kNoSparkle;
    QPoint m_sparkleAnchor;
    std::optional<uint32_t> m_lastIdle;
};
