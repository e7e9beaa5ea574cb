#pragma once

#include "skin/DropShadow.h"
#include "skin/SkinableCtrl.h"

#include <QDialog>
#include <QPointer>

// A dialog that wears the skin's "Dialog" Object for its template number: the skin places and
// sizes it on the screen and draws its caption and border, so it has no frame of its own. On a
// desktop that blends windows a shaped dialog is translucent: its rounded edges are drawn
// smoothly rather than cut out, and it casts a soft shadow.
class CSkinableDialog : public WINSKIN::SkinableCtrl<QDialog>
{
public:
    explicit CSkinableDialog(int templateId, QWidget* parent = nullptr);
    ~CSkinableDialog() override;

    void SetObject(WINSKIN::Object* object) override;
    void RemoveSkin() override;

    int TemplateId() const { return ID1(); }
    // The shadow under the dialog, or null (no blending desktop, or no shape).
    CDropShadow* Shadow() const { return m_shadow; }

protected:
    bool event(QEvent* event) override;
    bool ShapesByAlpha() const override;
    void ShapeChanged(const QRegion& shape) override;

private:
    void SetFrameless(bool frameless);

    Qt::WindowFlags m_ownFlags;
    bool m_flagsSaved = false;
    bool m_translucent = false;
    QPointer<CDropShadow> m_shadow;
};
