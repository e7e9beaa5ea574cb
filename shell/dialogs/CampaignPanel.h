#pragma once

#include "shell/dialogs/CaptionPanel.h"

// The calendar screen's panel. Two of its buttons answer nothing yet; the third repaints the
// main view.
class CCampaignPanel : public CCaptionPanel
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1011;
    static constexpr int kFirstIdle = 1095;
    static constexpr int kSecondIdle = 1156;
    static constexpr int kRepaint = 1048;

    CCampaignPanel(CMainViewCommands* view, QWidget* parent);

protected:
    void Command(int commandId) override;
    void PlaceButtons() override;
};
