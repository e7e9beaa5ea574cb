#include "skin/SkinableEdit.h"

#include "skin/Font.h"
#include "skin/Text.h"

CSkinableEdit::CSkinableEdit(QWidget* parent, int controlId)
    : SkinableCtrl(QStringLiteral("Edit"), parent, controlId)
{
}

void CSkinableEdit::Attach()
{
    if (!m_attached) {
        m_ownFont = font();
        m_ownPalette = palette();
        m_ownFrame = hasFrame();
    }
    SkinableCtrl::Attach();
}

void CSkinableEdit::SetObject(WINSKIN::Object* object)
{
    if (!object) {
        RemoveSkin();
        return;
    }
    // The skin draws the frame; the field's own would show inside it.
    setFrame(false);
    if (const WINSKIN::Font* font = object->GetFont(); font && font->GetFont())
        setFont(*font->GetFont());
    m_background = QColor();
    QPalette colours = m_ownPalette;
    if (const WINSKIN::Text* text = object->FindText()) {
        m_background = WINSKIN::ColourFromRef(text->BgColour());
        colours.setColor(QPalette::Text, WINSKIN::ColourFromRef(text->TextColour()));
    }
    // The field paints its background over its whole rectangle; the skin's background colour
    // fills the client area before it, so the field's own stays clear.
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
    SkinableCtrl::SetObject(object);
}

void CSkinableEdit::RemoveSkin()
{
    if (m_attached) {
        setFont(m_ownFont);
        setPalette(m_ownPalette);
        setFrame(m_ownFrame);
    }
    m_background = QColor();
    SkinableCtrl::RemoveSkin();
}

void CSkinableEdit::FillOwnClient(QPainter& dc, const QRect& client)
{
    if (m_background.isValid())
        dc.fillRect(client, m_background);
}

void CSkinableEdit::SetClientMargins(const QMargins& margins)
{
    setTextMargins(margins);
}
