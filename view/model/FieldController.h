#pragma once

#include "engine/GP_Puzzle.h"
#include "view/model/Pocket.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The pointer the field shows: the open hand over the field, the closed hand while a group is
// held, the cross-hair while a selection band is drawn, the animated push cursor while pushing.
enum class FieldCursor { Normal, Grab, Band, Push };

// What one pointer event or timer tick asks of the view. The controller only decides; the view
// paints, sounds and points.
struct FieldEffects
{
    // Painted at once, in order; an empty rectangle stands for the whole view.
    std::vector<QRect> repaintNow;
    // The whole view, at the next paint.
    bool invalidate = false;
    std::optional<FieldCursor> cursor;
    // Take (true) or let go of (false) the mouse.
    std::optional<bool> capture;
    // Wave resources, before the player's sound switch is applied.
    std::vector<int> sounds;
    // A drop joined pieces: the join sparkle starts with its top-left corner here.
    std::optional<QPoint> sparkleAt;
    bool becameSolved = false;
    // A tray opened or closed, or its handle changed between "empty" and "full".
    bool traysChanged = false;
    // The play panel's tray button: "tray_full" while pieces lie outside the field.
    std::optional<bool> trayFullLook;
    // Start (true) or stop (false) the push timer.
    std::optional<bool> pushTimer;
};

// The pointer protocol of the game field and its two trays: picking up, dragging over the
// trays, dropping, turning and pushing, with the time passed in so that it runs the same in the
// game, in the tool and in tests.
class FieldController
{
public:
    static constexpr int kPushTimerId = 5;
    static constexpr int kPushPeriodMs = 20;
    // A push goes on this long after the right button is let go.
    static constexpr uint32_t kPushTailMs = 400;
    // The join sparkle is anchored this far left of the drop point.
    static constexpr int kSparkleOffset = 24;
    static constexpr int kJoinSound = 239;
    // Slots 0 and 1 of the tray table stay empty; 2 holds tray 3 and 3 holds tray 4, so tray 3
    // is met first wherever both would answer.
    static constexpr int kTraySlots = 4;

    FieldController();
    virtual ~FieldController();

    void SetPuzzle(const boost::shared_ptr<CGP_Puzzle>& puzzle);
    const boost::shared_ptr<CGP_Puzzle>& Puzzle() const { return m_pPuzzle; }
    // The field rectangle and the handle side the trays are built from.
    void SetGeometry(const QRect& field, int handleSide);
    const QRect& Field() const { return m_field; }
    int HandleSide() const { return m_handleSide; }
    GP_FieldAreas Areas() const;
    // Where the join pass hands groups that need a new shadow.
    void SetShadowRequest(CGP_Puzzle::ShadowRequest request) { m_requestShadows = std::move(request); }

    // The trays in slot order (tray 3, then tray 4).
    std::vector<CPocket*> Trays() const;
    CPocket* TrayOf(int location) const;

    FieldEffects LeftPress(const QPoint& point, bool keepSelection);
    FieldEffects LeftMove(const QPoint& point);
    FieldEffects LeftRelease(const QPoint& point);
    // cursor: where the pointer is now, which becomes the push point.
    FieldEffects RightPress(const QPoint& point, const QPoint& cursor);
    FieldEffects RightRelease(uint32_t now);
    // Timer 5: one push step while the push lasts.
    FieldEffects PushTick(uint32_t now, const QPoint& cursor);
    // A click on a tray's handle opens or closes it.
    FieldEffects ToggleTray(int location);
    // Every tray closed (a mode change, a solved puzzle).
    void CloseTrays();
    // Each tray's handle follows its location's emptiness; answers whether one changed.
    bool RefreshTrayHandles();

    bool IsLeftHeld() const { return m_bLeftHeld; }
    bool IsPushHeld() const { return m_bRightHeld; }
    bool IsPushTimerRunning() const { return m_bPushTimer; }
    const QPoint& LastPoint() const { return m_lastPoint; }
    // Where presses, releases and pushes act: the first open tray that holds the point, else
    // the field.
    int LocationAt(const QPoint& point) const;
    // Where a drag takes what it holds: the same with the trays' widened areas.
    int TargetAt(const QPoint& point) const;

private:
    void HoverTrays(const QPoint& point, FieldEffects& effects);

    boost::shared_ptr<CGP_Puzzle> m_pPuzzle;
    std::array<std::unique_ptr<CPocket>, kTraySlots> m_trays;
    QRect m_field;
    int m_handleSide = 0;
    CGP_Puzzle::ShadowRequest m_requestShadows;
    QPoint m_lastPoint;
    bool m_bLeftHeld = false;
    bool m_bRightHeld = false;
    bool m_bPushTimer = false;
    QPoint m_pushPoint;
    int m_pushLocation = 0;
    uint32_t m_releaseTime = 0;
};
