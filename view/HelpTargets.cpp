#include "view/HelpTargets.h"

#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/dialogs/TightCaptionPanel.h"
#include "skin/SkinableBase.h"
#include "skin/SkinableButton.h"
#include "view/CalendarScreen.h"
#include "view/ChildView.h"
#include "view/GameField.h"
#include "view/LibraryScreen.h"
#include "view/ScreenCanvas.h"
#include "view/TreasuryScreen.h"
#include "view/TrayWindows.h"

#include <algorithm>
#include <initializer_list>

namespace {
QRect OnView(const CChildView& view, const QWidget& control)
{
    return QRect(control.mapTo(&view, QPoint(0, 0)), control.size());
}

// The shown controls under a window with one of the numbers, as one rectangle.
QList<QRect> Together(const CChildView& view, const QWidget* window, std::initializer_list<int> controlIds)
{
    if (!window || !window->isVisible())
        return {};
    QRect all;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        const int id = WINSKIN::ControlId(control);
        if (control->isVisible() && std::find(controlIds.begin(), controlIds.end(), id) != controlIds.end())
            all |= OnView(view, *control);
    }
    if (all.isEmpty())
        return {};
    return {all};
}

// One control, when it is shown.
QList<QRect> Alone(const CChildView& view, const QWidget* control)
{
    if (!control || !control->isVisible())
        return {};
    return {OnView(view, *control)};
}

QList<QRect> TrayHandles(const CChildView& view)
{
    QList<QRect> handles;
    if (!view.Field())
        return handles;
    for (int location : {CGP_PuzzlePieceUnion::kLeftTray, CGP_PuzzlePieceUnion::kRightTray}) {
        if (const CTrayWindows* tray = view.Field()->TrayWindows(location))
            handles << Alone(view, tray->EmptyHandle()) << Alone(view, tray->FullHandle());
    }
    return handles;
}
} // namespace

QList<QRect> LocateHelpTarget(const CChildView& view, HelpTarget target)
{
    const QWidget* screens = view.Screens();
    const CTightCaptionPanel* band = view.TightCaptionPanel();
    switch (target) {
    case HelpTarget::ScreenTabs:
        return Together(view, screens,
                        {CScreenCanvas::kTabCalendar, CScreenCanvas::kTabTreasury, CScreenCanvas::kTabMyPuzzles});
    case HelpTarget::MakeOwnPuzzle:
        return Together(view, screens, {CLibraryScreen::kMakeOwn});
    case HelpTarget::MonthChooser:
        return Together(view, screens, {CCalendarScreen::kMonthUp, CCalendarScreen::kMonthDown});
    case HelpTarget::ThemeChooser:
        return Together(view, screens,
                        {CTreasuryScreen::kThemeLeft, CTreasuryScreen::kTheme, CTreasuryScreen::kThemeRight});
    case HelpTarget::GetSelected:
        return Together(view, screens, {CTreasuryScreen::kGetSelected});
    case HelpTarget::TrayHandles:
        return TrayHandles(view);
    case HelpTarget::GameMenu:
        return Alone(view, band ? band->Control(CTightCaptionPanel::kMenu) : nullptr);
    case HelpTarget::GameClock:
        return Alone(view, band ? band->Control(CTightCaptionPanel::kClock) : nullptr);
    }
    return {};
}
