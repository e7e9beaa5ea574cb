#pragma once

#include <QWidget>

class CChildView;

// The game's one top-level window: frameless, full screen, holding the main view. The game is
// left only through its own menu, so the window system's close requests are refused.
class CMainFrame : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Velmora";

    CMainFrame();
    ~CMainFrame() override;

    CChildView* View() const { return m_pView; }
    bool IsActive() const { return m_bActive; }

    // The game became (or stopped being) the active application.
    void OnActivateApp(bool active);
    // The display mode changed: the game asks to be started again, once, and ends.
    void OnDisplayChange();
    bool DisplayChangeHandled() const { return m_bDisplayChangeHandled; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void WatchDisplay();
    void ReleaseHalfDoneDrag();

    bool m_bActive = false;
    bool m_bDisplayChangeHandled = false;
    CChildView* m_pView;
};
