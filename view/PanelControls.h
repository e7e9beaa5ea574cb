#pragma once

#include "skin/LDialog.h"
#include "skin/SkinableButton.h"

#include <QString>

#include <initializer_list>

// What the game's own panels and dialogs build their templates from.
namespace panelcontrols {

// A push button of a panel: Enter in a panel never presses it for the player, and it never
// takes the keyboard from the game field.
inline CSkinableButton* AddButton(CLDialog& dialog, int controlId, const QString& label)
{
    auto* button = new CSkinableButton(&dialog, controlId);
    button->setText(label);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A panel over the game field: a click on it never takes the keyboard, nor the game's being
// the active window.
inline void KeepFocusOnTheGame(CLDialog& dialog)
{
    dialog.setAttribute(Qt::WA_ShowWithoutActivating);
    dialog.setWindowFlag(Qt::WindowDoesNotAcceptFocus);
}

// Places the controls one under the other in the client area, from its top left corner plus
// the margin, each of the given size; answers the client size they take with the margin round
// them.
inline QSize StackControls(CLDialog& dialog, std::initializer_list<int> ids, const QSize& size, int gap, int margin)
{
    const QPoint origin = dialog.contentsRect().topLeft() + QPoint(margin, margin);
    int y = 0;
    for (int id : ids) {
        if (QWidget* control = dialog.Control(id))
            control->setGeometry(QRect(origin + QPoint(0, y), size));
        y += size.height() + gap;
    }
    return QSize(size.width() + 2 * margin, y - gap + 2 * margin);
}

} // namespace panelcontrols
