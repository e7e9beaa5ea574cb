#include "view/Screen.h"

#include "skin/BmpButton.h"
#include "skin/SkinableBase.h"

#include <QPainter>
#include <QWidget>

namespace {
const QColor kShadow(0, 0, 0, 170);
const QColor kText(244, 236, 214);
} // namespace

CScreen::CScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host)
    : QObject(canvas)
    , m_canvas(canvas)
    , m_hoverBox(hoverBox)
    , m_host(host)
{
}

void CScreen::SetShown(bool shown)
{
    m_shown = shown;
    for (CBmpButton* button : m_buttons)
        button->setVisible(shown);
}

CBmpButton* CScreen::MakeButton(QWidget* canvas, int buttonId)
{
    // The canvas holds the button; the canvas's parent, the view, hears its clicks.
    auto* button = new CBmpButton(canvas, buttonId);
    button->SetBkColor(Qt::transparent);
    button->LoadLooks(buttonId);
    button->hide();
    return button;
}

CBmpButton* CScreen::AddButton(int buttonId)
{
    CBmpButton* button = MakeButton(m_canvas, buttonId);
    m_buttons.push_back(button);
    return button;
}

CBmpButton* CScreen::Button(int buttonId) const
{
    for (CBmpButton* button : m_buttons) {
        if (WINSKIN::ControlId(button) == buttonId)
            return button;
    }
    return nullptr;
}

void CScreen::PlaceButton(int buttonId, const QRect& rect) const
{
    if (CBmpButton* button = Button(buttonId))
        button->setGeometry(rect);
}

void CScreen::DrawShadowedText(QPainter& painter, const QRect& rect, int flags, const QString& text)
{
    painter.setPen(kShadow);
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(kText);
    painter.drawText(rect, flags, text);
}
