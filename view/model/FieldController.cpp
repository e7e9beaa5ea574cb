#include "view/model/FieldController.h"

#include "engine/GP_PuzzlePieceUnion.h"

namespace {
constexpr int kFirstTraySlot = 2;
const QRect kWholeView;
} // namespace

FieldController::FieldController()
{
    m_trays[kFirstTraySlot] = std::make_unique<CPocket>(GP_TrayGeometry{CGP_PuzzlePieceUnion::kRightTray, {}, {}, {}, {}});
    m_trays[kFirstTraySlot + 1] = std::make_unique<CPocket>(GP_TrayGeometry{CGP_PuzzlePieceUnion::kLeftTray, {}, {}, {}, {}});
}

FieldController::~FieldController() = default;

void FieldController::SetPuzzle(const boost::shared_ptr<CGP_Puzzle>& puzzle)
{
    m_pPuzzle = puzzle;
    m_bLeftHeld = false;
    m_bRightHeld = false;
}

void FieldController::SetGeometry(const QRect& field, int handleSide)
{
    m_field = field;
    m_handleSide = handleSide;
    for (CPocket* tray : Trays())
        tray->SetGeometry(FieldGeometry::Tray(tray->Location(), field, handleSide));
}

GP_FieldAreas FieldController::Areas() const
{
    GP_FieldAreas areas;
    areas.field = m_field;
    areas.rightTray = TrayOf(CGP_PuzzlePieceUnion::kRightTray)->OpenRect();
    areas.leftTray = TrayOf(CGP_PuzzlePieceUnion::kLeftTray)->OpenRect();
    areas.trayButtonWidth = m_handleSide;
    return areas;
}

std::vector<CPocket*> FieldController::Trays() const
{
    std::vector<CPocket*> trays;
    for (const std::unique_ptr<CPocket>& slot : m_trays) {
        if (slot)
            trays.push_back(slot.get());
    }
    return trays;
}

CPocket* FieldController::TrayOf(int location) const
{
    for (CPocket* tray : Trays()) {
        if (tray->Location() == location)
            return tray;
    }
    return nullptr;
}

int FieldController::LocationAt(const QPoint& point) const
{
    for (CPocket* tray : Trays()) {
        if (tray->Contains(point))
            return tray->Location();
    }
    return CGP_PuzzlePieceUnion::kField;
}

int FieldController::TargetAt(const QPoint& point) const
{
    for (CPocket* tray : Trays()) {
        if (tray->HotContains(point))
            return tray->Location();
    }
    return CGP_PuzzlePieceUnion::kField;
}

bool FieldController::RefreshTrayHandles()
{
    bool changed = false;
    for (CPocket* tray : Trays())
        changed |= tray->SetFull(m_pPuzzle && !m_pPuzzle->LocationEmpty(tray->Location()));
    return changed;
}

void FieldController::CloseTrays()
{
    for (CPocket* tray : Trays())
        tray->Close();
}

FieldEffects FieldController::LeftPress(const QPoint& point, bool keepSelection)
{
    FieldEffects effects;
    if (!m_pPuzzle)
        return effects;
    const GP_Pick pick = m_pPuzzle->Pick(point, LocationAt(point), keepSelection);
    m_lastPoint = point;
    m_bLeftHeld = true;
    effects.repaintNow.push_back(kWholeView);
    effects.cursor = pick == GP_Pick::Band ? FieldCursor::Band : FieldCursor::Grab;
    effects.capture = true;
    return effects;
}

void FieldController::HoverTrays(const QPoint& point, FieldEffects& effects)
{
    for (CPocket* tray : Trays()) {
        effects.traysChanged |= tray->SetFull(!m_pPuzzle->LocationEmpty(tray->Location()));
        if (m_pPuzzle->m_band.active)
            continue;
        const CPocket::Hover hover = tray->HoverTest(point);
        if (hover == CPocket::Hover::Opened || hover == CPocket::Hover::Closed) {
            effects.traysChanged = true;
            effects.invalidate = true;
        }
        if (hover == CPocket::Hover::Opened || hover == CPocket::Hover::OverHandle)
            break;
    }
}

FieldEffects FieldController::LeftMove(const QPoint& point)
{
    FieldEffects effects;
    if (!m_pPuzzle || !m_bLeftHeld)
        return effects;
    HoverTrays(point, effects);
    m_pPuzzle->Retarget(TargetAt(point));
    const QRect dirty = m_pPuzzle->MoveBy(point.x() - m_lastPoint.x(), point.y() - m_lastPoint.y());
    m_lastPoint = point;
    if (!dirty.isEmpty())
        effects.repaintNow.push_back(dirty);
    return effects;
}

FieldEffects FieldController::LeftRelease(const QPoint& point)
{
    FieldEffects effects;
    // A release without its press (the press went to a help overlay or another window) drops
    // nothing.
    if (!m_pPuzzle || !m_bLeftHeld)
        return effects;
    for (CPocket* tray : Trays())
        tray->KeepOpenFor(point);
    const bool wasSolved = m_pPuzzle->m_bSolved;
    const bool joined = m_pPuzzle->Drop(Areas(), m_requestShadows);
    m_bLeftHeld = false;
    if (joined && !m_pPuzzle->m_bSolved) {
        effects.sparkleAt = QPoint(point.x() - kSparkleOffset, point.y());
        effects.sounds.push_back(kJoinSound);
    }
    effects.capture = false;
    effects.cursor = FieldCursor::Normal;
    effects.invalidate = true;
    effects.becameSolved = m_pPuzzle->m_bSolved && !wasSolved;
    effects.traysChanged = RefreshTrayHandles();
    if (!m_pPuzzle->m_bSolved)
        effects.trayFullLook = m_pPuzzle->AnyOutsideField();
    return effects;
}

FieldEffects FieldController::RightPress(const QPoint& point, const QPoint& cursor)
{
    FieldEffects effects;
    if (!m_pPuzzle)
        return effects;
    m_pPuzzle->RotateHeld();
    m_lastPoint = point;
    effects.repaintNow.push_back(kWholeView);
    // A push already in its tail is taken up again by the new press.
    if (m_bRightHeld || m_pPuzzle->m_band.active || m_bLeftHeld)
        return effects;
    m_bRightHeld = true;
    m_pushPoint = cursor;
    effects.cursor = FieldCursor::Push;
    effects.capture = true;
    if (!m_bPushTimer) {
        m_bPushTimer = true;
        effects.pushTimer = true;
    }
    return effects;
}

FieldEffects FieldController::RightRelease(uint32_t now)
{
    FieldEffects effects;
    if (!m_bRightHeld)
        return effects;
    m_bRightHeld = false;
    m_releaseTime = now;
    m_pushLocation = LocationAt(m_pushPoint);
    effects.capture = false;
    effects.cursor = FieldCursor::Normal;
    return effects;
}

FieldEffects FieldController::PushTick(uint32_t now, const QPoint& cursor)
{
    FieldEffects effects;
    if (!m_bPushTimer)
        return effects;
    if (!m_bRightHeld && now - m_releaseTime > kPushTailMs) {
        m_bPushTimer = false;
        effects.pushTimer = false;
        return effects;
    }
    if (!m_pPuzzle)
        return effects;
    if (m_bRightHeld) {
        m_pushPoint = cursor;
        m_pushLocation = LocationAt(cursor);
    }
    const QRect dirty = m_pPuzzle->PushStep(m_pushPoint, m_pushLocation, Areas());
    if (!dirty.isEmpty())
        effects.repaintNow.push_back(dirty.adjusted(-1, -1, 1, 1));
    return effects;
}

FieldEffects FieldController::ToggleTray(int location)
{
    FieldEffects effects;
    CPocket* tray = TrayOf(location);
    if (!tray)
        return effects;
    if (tray->IsOpen())
        tray->Close();
    else
        tray->Open(false);
    effects.traysChanged = true;
    effects.invalidate = true;
    return effects;
}
