#pragma once

#include <QDialog>

// A dialog made from one of the game's dialog templates: it knows its template number and finds
// its controls by their control numbers. The skinned dialogs of the game will take their look
// from the skin through the skinnable dialog base; until then they wear the plain Qt look, which
// is also what the dialogs that must work without a skin always wear.
class CTemplateDialog : public QDialog
{
    Q_OBJECT

public:
    CTemplateDialog(int templateId, QWidget* parent);

    int TemplateId() const { return m_templateId; }

    // The control with that number, or null.
    QWidget* Control(int controlId) const;
    template <typename T>
    T* ControlAs(int controlId) const { return qobject_cast<T*>(Control(controlId)); }

    // Runs OnInitDialog once; showing the dialog does it too.
    void InitDialog();

protected:
    // Gives a control its number (its object name and the "controlId" property).
    static void SetControlId(QWidget* control, int controlId);
    virtual void OnInitDialog() {}
    void showEvent(QShowEvent* event) override;

private:
    int m_templateId;
    bool m_bInitialized = false;
};

// The program icon (icon 128) where the resources have it, else a null icon.
QIcon GP_ProgramIcon();
