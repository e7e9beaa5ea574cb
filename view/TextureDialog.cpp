#include "view/TextureDialog.h"

#include "skin/SkinableRadio.h"
#include "view/PanelControls.h"

#include <QAbstractButton>

namespace {
constexpr int kColumns = 3;
constexpr int kChoiceWidth = 140;
constexpr int kChoiceHeight = 40;
constexpr int kSampleSide = 32;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 30;
constexpr int kGap = 8;
constexpr int kMargin = 12;

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Pattern"));
    for (int i = 0; i < CTextureDialog::kPatterns; ++i) {
        auto* choice = new CSkinableRadio(&dialog, CTextureDialog::kFirstChoice + i);
        choice->setText(QStringLiteral("Pattern %1").arg(i + 1));
        choice->setIconSize(QSize(kSampleSide, kSampleSide));
    }
    panelcontrols::AddButton(dialog, CTextureDialog::kOk, QStringLiteral("OK"))->setDefault(true);
    panelcontrols::AddButton(dialog, CTextureDialog::kCancel, QStringLiteral("Cancel"));
}
} // namespace

CTextureDialog::CTextureDialog(int pattern, const QList<QImage>& textures, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_pattern(pattern)
    , m_textures(textures)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    Create();
}

void CTextureDialog::OnInitDialog()
{
    const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
    for (int i = 0; i < kPatterns; ++i) {
        auto* choice = ControlAs<QAbstractButton>(kFirstChoice + i);
        if (!choice)
            continue;
        if (i < m_textures.size() && !m_textures[i].isNull())
            choice->setIcon(QPixmap::fromImage(m_textures[i].scaled(kSampleSide, kSampleSide)));
        const QPoint at(i % kColumns * (kChoiceWidth + kGap), i / kColumns * (kChoiceHeight + kGap));
        choice->setGeometry(QRect(origin + at, QSize(kChoiceWidth, kChoiceHeight)));
    }
    const int rows = (kPatterns + kColumns - 1) / kColumns;
    const int width = kColumns * (kChoiceWidth + kGap) - kGap;
    const int buttonTop = rows * (kChoiceHeight + kGap) + kGap;
    if (QWidget* ok = Control(kOk))
        ok->setGeometry(QRect(origin + QPoint(width - 2 * kButtonWidth - kGap, buttonTop), QSize(kButtonWidth, kButtonHeight)));
    if (QWidget* cancel = Control(kCancel))
        cancel->setGeometry(QRect(origin + QPoint(width - kButtonWidth, buttonTop), QSize(kButtonWidth, kButtonHeight)));
    if (auto* ok = ControlAs<QAbstractButton>(kOk))
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    if (auto* cancel = ControlAs<QAbstractButton>(kCancel))
        connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    ResizeClient(QSize(width + 2 * kMargin, buttonTop + kButtonHeight + 2 * kMargin));
    SetPattern(m_pattern);
    CenterWindow();
}

int CTextureDialog::Pattern() const
{
    for (int i = 0; i < kPatterns; ++i) {
        if (auto* choice = ControlAs<QAbstractButton>(kFirstChoice + i); choice && choice->isChecked())
            return i;
    }
    return m_pattern;
}

void CTextureDialog::SetPattern(int pattern)
{
    m_pattern = pattern;
    if (auto* choice = ControlAs<QAbstractButton>(kFirstChoice + pattern))
        choice->setChecked(true);
}
