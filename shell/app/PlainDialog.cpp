#include "shell/app/PlainDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMargin = 12;
constexpr int kSpacing = 8;
constexpr int kMinButtonWidth = 80;
} // namespace

CPlainDialog::CPlainDialog(int templateId, const QString& caption, QWidget* parent)
    : CTemplateDialog(templateId, parent)
{
    setWindowTitle(caption);
    setWindowIcon(GP_ProgramIcon());
    QFont font(QStringLiteral("MS Sans Serif"), kFontPoints);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLabel* CPlainDialog::AddText(const QString& text)
{
    auto* label = new QLabel(text, this);
    layout()->addWidget(label);
    return label;
}

QPushButton* CPlainDialog::AddButton(const QString& label, int controlId, int result, bool isDefault)
{
    auto* button = new QPushButton(label, this);
    SetControlId(button, controlId);
    button->setMinimumWidth(kMinButtonWidth);
    button->setDefault(isDefault);
    button->setAutoDefault(isDefault);
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    m_buttons.append(button);
    return button;
}

void CPlainDialog::FinishLayout()
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : m_buttons)
        row->addWidget(button);
    row->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}
