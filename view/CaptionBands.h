#pragma once

#include "view/model/GameMode.h"

#include <memory>

class CCaptionPanel;
class CMainViewCommands;
class CTightCaptionPanel;
class QWidget;

// The bands across the top of the main view: the library band (tabs, minimise, close) over the
// library, calendar and Treasury screens, and the game band (menu, clock, minimise, close) over
// the field. Each spans the view's width; only the current screen's band is shown, none during
// the creation steps.
class CCaptionBands
{
public:
    CCaptionBands(QWidget& view, CMainViewCommands& commands);
    // The bands wear the view's skin: they go before it.
    ~CCaptionBands();

    // At the view's first paint; the game band comes with the first game.
    void Build();
    // Shows the band of the mode, with the current screen's tab pressed.
    void ShowFor(GameMode mode);
    // The view moved or changed size.
    void Place();

    CCaptionPanel* Library() const { return m_pLibrary.get(); }
    CTightCaptionPanel* Game() const { return m_pGame.get(); }

private:
    QWidget& m_view;
    CMainViewCommands& m_commands;
    std::unique_ptr<CCaptionPanel> m_pLibrary;
    std::unique_ptr<CTightCaptionPanel> m_pGame;
};
