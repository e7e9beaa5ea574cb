#include "shell/MessageBoxDialog.h"

#include "engine/GP_StringSet.h"
#include "shell/ModalRunner.h"
#include "skin/Rectangle.h"
#include "skin/Skin.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

CMessageBoxDialog* g_pPauseBox = nullptr;
bool g_bPauseBoxShown = false;

namespace {

constexpr int kWidth = 420;
constexpr int kMargin = 14;
constexpr int kIconSize = 48;
constexpr int kTextLeft = kMargin + kIconSize + kMargin;
constexpr int kMinTextHeight = kIconSize;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 10;

CMessageBoxDialog::IconSource& IconSourceRef()
{
    static CMessageBoxDialog::IconSource source;
    return source;
}

// The picture at that index of the current skin's "Icons" item, when it is a Bitmap.
QPixmap SkinIcon(int index)
{
    const WINSKIN::Skin* skin = WINSKIN::Skin::Current();
    WINSKIN::Rectangle* icons = skin ? skin->FindByName(QStringLiteral("Icons")) : nullptr;
    if (!icons || index < 0 || index >= icons->GetChildCount())
        return {};
    WINSKIN::Rectangle* child = icons->GetChild(index);
    if (!child || !child->AsBitmap())
        return {};
    QImage picture(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    child->Draw(painter, picture.rect(), CGP_StringSet(), QString());
    painter.end();
    return QPixmap::fromImage(picture);
}

} // namespace

CMessageBoxDialog::CMessageBoxDialog(const QString& text, const QString& caption, const QString& firstLabel,
                                     const QString& secondLabel, const QString& thirdLabel, unsigned flags,
                                     QWidget* parent)
    : CTemplateDialog(kTemplateId, parent)
    , m_text(text)
    , m_caption(caption)
    , m_labels{firstLabel, secondLabel, thirdLabel}
    , m_flags(flags)
{
    m_pIcon = new QLabel(this);
    SetControlId(m_pIcon, kIconControl);
    m_pText = new QLabel(this);
    SetControlId(m_pText, kTextControl);
    m_pText->setWordWrap(true);
    m_pText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const int ids[3] = {kFirstButton, kSecondButton, kThirdButton};
    const int results[3] = {IDOK, IDCANCEL, kThirdButton};
    for (int i = 0; i < 3; ++i) {
        m_pButtons[i] = new QPushButton(this);
        SetControlId(m_pButtons[i], ids[i]);
        const int result = results[i];
        connect(m_pButtons[i], &QPushButton::clicked, this, [this, result] { Answer(result); });
    }
    m_pButtons[0]->setDefault(true);
}

int CMessageBoxDialog::IconIndex(unsigned flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONHAND: return 3;
    case MB_ICONQUESTION: return 2;
    case MB_ICONEXCLAMATION: return 0;
    case MB_ICONASTERISK: return 1;
    default: return 0;
    }
}

void CMessageBoxDialog::SetIconSource(IconSource source)
{
    IconSourceRef() = std::move(source);
}

QPushButton* CMessageBoxDialog::Button(int controlId) const
{
    for (QPushButton* button : m_pButtons) {
        if (button->property("controlId").toInt() == controlId)
            return button;
    }
    return nullptr;
}

int CMessageBoxDialog::ButtonPlace(int controlId) const
{
    for (int i = 0; i < 3; ++i) {
        if (m_pButtons[i]->property("controlId").toInt() == controlId)
            return m_places[i];
    }
    return 0;
}

void CMessageBoxDialog::OnInitDialog()
{
    setWindowTitle(m_caption);
    m_pText->setText(m_text);
    m_pButtons[0]->setText(m_labels[0]);

    // The second and third buttons show only with a label; the others move right so that the
    // row always ends at the right edge.
    int places[3] = {1, 2, 3};
    bool visible[3] = {true, !m_labels[1].isEmpty(), !m_labels[2].isEmpty()};
    if (!visible[2]) {
        places[0] = 2;
        places[1] = 3;
        if (!visible[1])
            places[0] = 3;
    }
    for (int i = 1; i < 3; ++i)
        m_pButtons[i]->setText(m_labels[i]);

    const QPixmap icon = IconSourceRef() ? IconSourceRef()(IconIndex(m_flags)) : SkinIcon(IconIndex(m_flags));
    m_pIcon->setPixmap(icon.isNull() ? QPixmap() : icon.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio,
                                                                 Qt::SmoothTransformation));
    m_pIcon->setGeometry(kMargin, kMargin, kIconSize, kIconSize);
    m_pIcon->setVisible(!icon.isNull());

    const int textLeft = icon.isNull() ? kMargin : kTextLeft;
    const int textWidth = kWidth - textLeft - kMargin;
    const int textHeight = std::max(kMinTextHeight, m_pText->heightForWidth(textWidth));
    m_pText->setGeometry(textLeft, kMargin, textWidth, textHeight);

    const int buttonTop = kMargin + textHeight + kMargin;
    setFixedSize(kWidth, buttonTop + kButtonHeight + kMargin);
    for (int i = 0; i < 3; ++i) {
        m_places[i] = visible[i] ? places[i] : 0;
        m_pButtons[i]->setVisible(visible[i]);
        if (visible[i])
            PlaceButton(m_pButtons[i], places[i]);
        m_pButtons[i]->move(m_pButtons[i]->x(), buttonTop);
        m_pButtons[i]->update();
    }
}

void CMessageBoxDialog::PlaceButton(QPushButton* button, int place)
{
    const int stepsFromRight = kPlaces - place;
    const int right = kWidth - kMargin - stepsFromRight * (kButtonWidth + kButtonGap);
    button->setGeometry(right - kButtonWidth, button->y(), kButtonWidth, kButtonHeight);
}

void CMessageBoxDialog::Answer(int result)
{
    m_result = result;
    done(result);
}

void CMessageBoxDialog::reject()
{
    Answer(IDCANCEL);
}

int CMessageBoxDialog::Ask(QWidget* parent, const QString& text, const QString& caption, const QString& firstLabel,
                           const QString& secondLabel, const QString& thirdLabel, unsigned flags)
{
    CMessageBoxDialog box(text, caption, firstLabel, secondLabel, thirdLabel, flags, parent);
    return GP_RunModal(box);
}
