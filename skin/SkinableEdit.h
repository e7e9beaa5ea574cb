#pragma once

#include "skin/SkinableCtrl.h"

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QPalette>

// An edit field that wears the skin's "Edit" Object: the skin draws its frame, the field draws
// its text in the client area, in the colours of the Object's Text item.
class CSkinableEdit : public WINSKIN::SkinableCtrl<QLineEdit>
{
public:
    explicit CSkinableEdit(QWidget* parent = nullptr, int controlId = 0);

    void Attach() override;
    void SetObject(WINSKIN::Object* object) override;
    void RemoveSkin() override;

    // The background colour the skin gives the field's client area; invalid when it gives none.
    QColor BackgroundColour() const { return m_background; }

protected:
    void FillOwnClient(QPainter& dc, const QRect& client) override;
    void SetClientMargins(const QMargins& margins) override;

private:
    QFont m_ownFont;
    QPalette m_ownPalette;
    bool m_ownFrame = true;
    QColor m_background;
};
