#pragma once

#include "skin/LDialog.h"

class CPlayCommands;

// The game menu ("Game Menu"): Hint, Picture, Ghost, Pull Apart, Settings and Exit. A modeless
// panel over the field; every entry hides the menu before it does its work.
class CPlayDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1003;
    static constexpr int kHint = 1035;
    static constexpr int kPicture = 1011;
    static constexpr int kGhost = 1037;
    static constexpr int kPullApart = 1039;
    static constexpr int kSettings = 1091;
    static constexpr int kExit = 1013;

    CPlayDialog(CPlayCommands* commands, QWidget* parent);

    // The menu stays until the game hides it: Escape does not close it.
    void reject() override {}

protected:
    void OnInitDialog() override;

private:
    void OnCommand(int commandId);

    CPlayCommands* m_pCommands;
};
