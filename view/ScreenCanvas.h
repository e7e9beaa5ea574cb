#pragma once

#include "view/Screen.h"
#include "view/model/GameMode.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <memory>

class CBmpButton;
class CCalendarScreen;
class CChildView;
struct BmpButtonNotify;
class CGameCursors;
class CHoverBox;
class CLibraryScreen;
class CTreasuryScreen;

// The screens outside the game (library, calendar, Treasury) on one window over the main view:
// the backdrop, the three tabs with the current screen's pressed, the hover box, and the screen
// of the mode with its buttons, items and pointer. Minimise and close are the caption band's
// round buttons just above, so the canvas does not repeat them. The picture buttons tell the
// view (this window's parent) of their clicks, and the view hands them here: each writes its
// trace, plays the click (the scroll arrows excepted) and runs its action, the view's commands
// (tabs, close, minimise, making, the popup's commands) on the view.
class CScreenCanvas : public QWidget
{
public:
    static constexpr int kTabCalendar = 49302;
    static constexpr int kTabTreasury = 49303;
    static constexpr int kTabMyPuzzles = 49304;
    static constexpr int kTogglePanel = 49318;
    static constexpr int kHidePanel = 49319;
    static constexpr int kToggleLook = 49324;

    // Shows the view's library (scrolled as the settings keep it); top: the height of the caption
    // band over the view's top.
    CScreenCanvas(CChildView& view, const QString& pushCursorPath, int top);
    ~CScreenCanvas() override;

    // Shows the mode's screen with its tab pressed, or hides the canvas outside the screens.
    void ShowMode(GameMode mode);
    GameMode Mode() const { return m_mode; }
    CLibraryScreen& Library() { return *m_pLibrary; }
    CCalendarScreen& Calendar() { return *m_pCalendar; }
    CTreasuryScreen& Treasury() { return *m_pTreasury; }
    CHoverBox& HoverBox() { return *m_pHoverBox; }
    // The library scroll position, kept with the settings.
    float Scroll() const;

    // A picture button of the view was pressed, released or clicked.
    void OnButtonNotify(const BmpButtonNotify& notify);
    // A click of a picture button that is the screens' business; answers whether it was.
    bool OnButton(int buttonId, QWidget* button);
    // The library's popup menu and the hover box go (the game lost the focus).
    void HidePopups();
    // A tick of the screen animation (timer 4).
    void Animate();
    // The library changed: its screen shows it afresh.
    void LibraryChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The buttons whose actions are the view's commands; answers whether it was one.
    bool RunViewCommand(int buttonId);
    // The popup's "Modify": the one selected puzzle is cut afresh.
    void OnMainModify();
    CScreen* Current() const;
    bool HelpTakes(const QMouseEvent& event) const;
    void PlaceAll();

    CChildView& m_view;
    GP_ScreenHost m_host;
    int m_top;
    GameMode m_mode = GameMode::Startup;
    CHoverBox* m_pHoverBox;
    CGameCursors* m_pCursors;
    std::unique_ptr<CLibraryScreen> m_pLibrary;
    std::unique_ptr<CCalendarScreen> m_pCalendar;
    std::unique_ptr<CTreasuryScreen> m_pTreasury;
    std::array<CBmpButton*, 3> m_tabs{};
    QImage m_backdrop;
    QPixmap m_scaledBackdrop;
    QElapsedTimer m_animationClock;
};
