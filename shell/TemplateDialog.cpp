#include "shell/TemplateDialog.h"

#include <QFile>
#include <QIcon>
#include <QVariant>

namespace {
const char kControlIdProperty[] = "controlId";
}

CTemplateDialog::CTemplateDialog(int templateId, QWidget* parent)
    : QDialog(parent)
    , m_templateId(templateId)
{
}

QWidget* CTemplateDialog::Control(int controlId) const
{
    const auto children = findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->property(kControlIdProperty).toInt() == controlId)
            return child;
    }
    return nullptr;
}

void CTemplateDialog::InitDialog()
{
    if (m_bInitialized)
        return;
    m_bInitialized = true;
    OnInitDialog();
}

void CTemplateDialog::SetControlId(QWidget* control, int controlId)
{
    control->setObjectName(QString::number(controlId));
    control->setProperty(kControlIdProperty, controlId);
}

void CTemplateDialog::showEvent(QShowEvent* event)
{
    InitDialog();
    QDialog::showEvent(event);
}

QIcon GP_ProgramIcon()
{
    // The art keeps the icon under its number; the names differ by how it was packed.
    static const char* const kCandidates[] = {":/icons/128.png", ":/icons/128.ico", ":/128.png", ":/icon/128.png"};
    for (const char* name : kCandidates) {
        if (QFile::exists(QLatin1String(name)))
            return QIcon(QLatin1String(name));
    }
    return QIcon();
}
