#include "shell/dialogs/TightCaptionPanel.h"

#include "shell/dialogs/MainViewCommands.h"

#include <QAbstractButton>

namespace {
constexpr int kMenuLeft = 170;
constexpr int kMenuWidth = 110;
constexpr int kClockWidth = 130;
constexpr int kButtonHeight = 32;
constexpr int kCaptionButtonTop = 8;
} // namespace

CTightCaptionPanel::CTightCaptionPanel(CMainViewCommands* view, QWidget* parent)
    : CCaptionPanel(kTemplateId, {{kMenu, "Menu"}, {kClock, "0:00:00"}, {kMinimize, "_"}, {kClose, "X"}}, kHeight,
                    view, parent)
{
    Create();
}

QString CTightCaptionPanel::TimeText(int seconds)
{
    const int total = seconds > 0 ? seconds : 0;
    return QStringLiteral("%1:%2:%3")
        .arg(total / 3600)
        .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(total % 60, 2, 10, QLatin1Char('0'));
}

void CTightCaptionPanel::ShowTime(int seconds)
{
    auto* clock = ControlAs<QAbstractButton>(kClock);
    const QString text = TimeText(seconds);
    if (clock && clock->text() != text)
        clock->setText(text);
}

void CTightCaptionPanel::PlaceButtons()
{
    PlaceRow({kMenu}, kMenuLeft, kMenuWidth, kButtonHeight);
    PlaceRow({kClock}, kMenuLeft + kMenuWidth + kMenuWidth / 4, kClockWidth, kButtonHeight);
    PlaceCaptionButtons(contentsRect().y() + kCaptionButtonTop);
}

void CTightCaptionPanel::Command(int commandId)
{
    if (commandId != kMenu && commandId != kClock && commandId != kMinimize && commandId != kClose)
        return;
    if (View()->StoreHelpFlag("HlpGame1"))
        return;
    switch (commandId) {
    case kMenu:
        View()->OnPlayMenu();
        return;
    case kClock:
        View()->OnPlayPause();
        return;
    case kMinimize:
        View()->OnMainMinimize();
        return;
    case kClose:
        // In a game, X leaves it without a question.
        View()->OnPlayExit();
        return;
    }
}
