#pragma once

#include "skin/SkinableCtrl.h"

#include <QDialog>

// A dialog that wears the skin's "Dialog" Object for its template number: the skin places and
// sizes it on the screen and draws its caption and border, so it has no frame of its own.
class CSkinableDialog : public WINSKIN::SkinableCtrl<QDialog>
{
public:
    explicit CSkinableDialog(int templateId, QWidget* parent = nullptr);

    void SetObject(WINSKIN::Object* object) override;
    void RemoveSkin() override;

    int TemplateId() const { return ID1(); }

private:
    void SetFrameless(bool frameless);

    Qt::WindowFlags m_ownFlags;
    bool m_flagsSaved = false;
};
