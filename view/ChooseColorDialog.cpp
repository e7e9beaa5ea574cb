#include "view/ChooseColorDialog.h"

#include "shell/dialogs/ModalRunner.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableStatic.h"
#include "view/PanelControls.h"
#include "view/Swatch.h"
#include "view/TextureDialog.h"
#include "view/model/BoardBackgrounds.h"
#include "view/model/GP_SettingsStore.h"

#include <QColorDialog>

#include <functional>
#include <tuple>

namespace {
constexpr int kMargin = 12;
constexpr int kLabelWidth = 120;
constexpr int kSwatchSide = 30;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 30;
constexpr int kGap = 8;
constexpr int kRowHeight = 38;
constexpr int kWidth = kLabelWidth + 2 * (kSwatchSide + kGap + kButtonWidth + kGap) - kGap;

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Color"));
    auto* sound = new CSkinableCheckBox(&dialog, CChooseColorDialog::kSoundFX);
    sound->setText(QStringLiteral("Sound FX"));
    panelcontrols::AddButton(dialog, CChooseColorDialog::kDefault, QStringLiteral("Default"));
    panelcontrols::AddButton(dialog, CChooseColorDialog::kApply, QStringLiteral("Apply"))->setDefault(true);
    panelcontrols::AddButton(dialog, CChooseColorDialog::kCancel, QStringLiteral("Cancel"));
}
} // namespace

CChooseColorDialog::CChooseColorDialog(const GP_BoardLook& look, int skinIndex, const QList<QImage>& textures,
                                       QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_look(look)
    , m_skinIndex(skinIndex)
    , m_textures(textures)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    Create();
}

void CChooseColorDialog::BuildRow(int top, const char* label, int colorButton, int colorSwatch, int patternButton,
                                  int patternSwatch)
{
    const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin + top);
    auto* text = new CSkinableStatic(this);
    text->setText(QString::fromLatin1(label));
    text->setGeometry(QRect(origin, QSize(kLabelWidth, kSwatchSide)));
    int x = kLabelWidth;
    for (const auto& [buttonId, swatchId, caption] :
         {std::tuple{colorButton, colorSwatch, "Color..."}, std::tuple{patternButton, patternSwatch, "Pattern..."}}) {
        auto* swatch = new CSwatch(this, swatchId);
        swatch->setGeometry(QRect(origin + QPoint(x, 0), QSize(kSwatchSide, kSwatchSide)));
        x += kSwatchSide + kGap;
        auto* button = panelcontrols::AddButton(*this, buttonId, QString::fromLatin1(caption));
        button->setGeometry(QRect(origin + QPoint(x, 0), QSize(kButtonWidth, kButtonHeight)));
        x += kButtonWidth + kGap;
    }
}

void CChooseColorDialog::OnInitDialog()
{
    BuildRow(0, "Primary Board", kBoardColor, kBoardColorSwatch, kBoardPattern, kBoardPatternSwatch);
    BuildRow(kRowHeight, "Pockets", kTrayColor, kTrayColorSwatch, kTrayPattern, kTrayPatternSwatch);
    const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
    if (QWidget* sound = Control(kSoundFX))
        sound->setGeometry(QRect(origin + QPoint(0, 2 * kRowHeight), QSize(kLabelWidth, kButtonHeight)));
    const int buttonTop = 3 * kRowHeight + kGap;
    const int ids[] = {kDefault, kApply, kCancel};
    for (int i = 0; i < 3; ++i) {
        if (QWidget* button = Control(ids[i]))
            button->setGeometry(QRect(origin + QPoint(kWidth - (3 - i) * (kButtonWidth + kGap) + kGap, buttonTop),
                                      QSize(kButtonWidth, kButtonHeight)));
    }
    const std::pair<int, std::function<void()>> actions[] = {
        {kBoardColor, [this] { ChooseColor(GP_Table::Board); }},
        {kBoardColorSwatch, [this] { ChooseColor(GP_Table::Board); }},
        {kTrayColor, [this] { ChooseColor(GP_Table::Trays); }},
        {kTrayColorSwatch, [this] { ChooseColor(GP_Table::Trays); }},
        {kBoardPattern, [this] { ChoosePattern(GP_Table::Board); }},
        {kBoardPatternSwatch, [this] { ChoosePattern(GP_Table::Board); }},
        {kTrayPattern, [this] { ChoosePattern(GP_Table::Trays); }},
        {kTrayPatternSwatch, [this] { ChoosePattern(GP_Table::Trays); }},
        {kDefault, [this] { RestoreDefaults(); }},
        {kApply, [this] { accept(); }},
        {kCancel, [this] { reject(); }},
    };
    for (const auto& [id, action] : actions) {
        if (auto* button = ControlAs<QAbstractButton>(id))
            connect(button, &QAbstractButton::clicked, this, action);
    }
    if (auto* sound = ControlAs<QAbstractButton>(kSoundFX))
        connect(sound, &QAbstractButton::toggled, this, [this](bool on) { m_look.soundFX = on; });
    ResizeClient(QSize(kWidth + 2 * kMargin, buttonTop + kButtonHeight + 2 * kMargin));
    ShowLook();
    CenterWindow();
}

QImage CChooseColorDialog::PatternImage(quint32 pattern) const
{
    return pattern < quint32(m_textures.size()) ? m_textures[qsizetype(pattern)] : QImage();
}

void CChooseColorDialog::ShowLook()
{
    if (auto* sound = ControlAs<QAbstractButton>(kSoundFX))
        sound->setChecked(m_look.soundFX);
    const std::pair<int, quint32> colors[] = {{kBoardColorSwatch, m_look.boardColor}, {kTrayColorSwatch, m_look.trayColor}};
    for (const auto& [id, color] : colors) {
        if (auto* swatch = ControlAs<CSwatch>(id))
            swatch->SetColor(CBoardBackgrounds::ColorOf(color));
    }
    const std::pair<int, quint32> patterns[] = {{kBoardPatternSwatch, m_look.boardPattern},
                                                {kTrayPatternSwatch, m_look.trayPattern}};
    for (const auto& [id, pattern] : patterns) {
        if (auto* swatch = ControlAs<CSwatch>(id))
            swatch->SetPattern(PatternImage(pattern));
    }
}

void CChooseColorDialog::ChooseColor(GP_Table table)
{
    quint32& color = table == GP_Table::Board ? m_look.boardColor : m_look.trayColor;
    QColorDialog dialog(CBoardBackgrounds::ColorOf(color), this);
    if (GP_RunModal(dialog) != QDialog::Accepted || !dialog.currentColor().isValid())
        return;
    color = GP_BoardLook::ColorRef(dialog.currentColor());
    ShowLook();
}

void CChooseColorDialog::ChoosePattern(GP_Table table)
{
    quint32& pattern = table == GP_Table::Board ? m_look.boardPattern : m_look.trayPattern;
    CTextureDialog dialog(int(pattern), m_textures, this);
    if (GP_RunModal(dialog) != QDialog::Accepted)
        return;
    pattern = quint32(dialog.Pattern());
    ShowLook();
}

void CChooseColorDialog::RestoreDefaults()
{
    m_look = GP_BoardLook::Defaults(m_skinIndex);
    ShowLook();
}
