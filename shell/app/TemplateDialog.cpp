#include "shell/app/TemplateDialog.h"

#include "resources/GP_Resources.h"

#include <QFile>
#include <QIcon>
#include <QVariant>

namespace {
const char kControlIdProperty[] = "controlId";
constexpr int kProgramIcon = 128;
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
    GP_InitResources();
    const QString path = GP_IconPath(kProgramIcon);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}
