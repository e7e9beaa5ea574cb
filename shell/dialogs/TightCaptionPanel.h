#pragma once

#include "shell/dialogs/CaptionPanel.h"

// The band across the top of the game field: "Menu", the clock (which doubles as the pause
// button), minimise and close. Every button first marks the first in-game help as seen. The
// clock shows what the game's solving clock counts; the band only displays it.
class CTightCaptionPanel : public CCaptionPanel
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1001;
    static constexpr int kMenu = 1198;
    static constexpr int kClock = 1200;
    // The game field starts below the band.
    static constexpr int kHeight = 50;

    CTightCaptionPanel(CMainViewCommands* view, QWidget* parent);

    // The solving clock on the clock button: hours, then minutes and seconds of two digits.
    void ShowTime(int seconds);
    static QString TimeText(int seconds);

protected:
    void Command(int commandId) override;
    void PlaceButtons() override;
};
