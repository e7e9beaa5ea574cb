#pragma once

#include "skin/LDialog.h"

class CPlayCommands;

// The in-game panel: "Game Menu" shows or hides the game menu, "Boards" glows ("tray_full")
// while pieces lie in the trays, "Exit" leaves the game and "Time Line" does nothing. It can be
// dragged anywhere over the view.
class CPlayPanel : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1002;
    static constexpr int kGameMenu = 1098;
    static constexpr int kBoards = 1096;
    static constexpr int kExit = 1013;
    static constexpr int kTimeLine = 1100;
    static constexpr const char* kTrayFullLook = "tray_full";

    CPlayPanel(CPlayCommands* commands, QWidget* parent);

    // The "Boards" button's look: "tray_full" while any piece lies outside the field.
    void SetTrayFull(bool full);
    bool IsTrayFull() const { return m_bTrayFull; }

    void reject() override {}

protected:
    void OnInitDialog() override;

private:
    void OnCommand(int commandId);

    CPlayCommands* m_pCommands;
    bool m_bTrayFull = false;
};
