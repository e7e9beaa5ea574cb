#include "shell/dialogs/MessageBoxDialog.h"

#include "engine/GP_StringSet.h"
#include "shell/log/GP_LogFile.h"
#include "shell/dialogs/IconStatic.h"
#include "shell/dialogs/ModalRunner.h"
#include "skin/Font.h"
#include "skin/Object.h"
#include "skin/Rectangle.h"
#include "skin/Skin.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableStatic.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>

CMessageBoxDialog* g_pPauseBox = nullptr;
bool g_bPauseBoxShown = false;

namespace {

// The client area's layout; a skin's frame comes around it.
constexpr int kClientWidth = 400;
constexpr int kMargin = 12;
constexpr int kIconSize = 48;
constexpr int kTextLeft = kMargin + kIconSize + kMargin;
constexpr int kMinTextHeight = kIconSize;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 10;

constexpr int kButtonIds[3] = {CMessageBoxDialog::kFirstButton, CMessageBoxDialog::kSecondButton,
                               CMessageBoxDialog::kThirdButton};

CMessageBoxDialog::IconSource& IconSourceRef()
{
    static CMessageBoxDialog::IconSource source;
    return source;
}

// The picture at that index of the current skin's "Icons" item, when it is a Bitmap, drawn for a
// screen of that pixel ratio.
QPixmap SkinIcon(int index, qreal ratio)
{
    const WINSKIN::Skin* skin = WINSKIN::Skin::Current();
    WINSKIN::Rectangle* icons = skin ? skin->FindByName(QStringLiteral("Icons")) : nullptr;
    if (!icons || index < 0 || index >= icons->GetChildCount())
        return {};
    WINSKIN::Rectangle* child = icons->GetChild(index);
    if (!child || !child->AsBitmap())
        return {};
    QImage picture(QSize(kIconSize, kIconSize) * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    child->Draw(painter, QRect(0, 0, kIconSize, kIconSize), CGP_StringSet(), QString());
    painter.end();
    return QPixmap::fromImage(picture);
}

// Template 189: the icon, the message and the three buttons; OnInitDialog places them.
void BuildTemplate(CLDialog& dialog)
{
    new CIconStatic(&dialog, CMessageBoxDialog::kIconControl);
    auto* text = new CSkinableStatic(&dialog, CMessageBoxDialog::kTextControl);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    text->setTextFormat(Qt::PlainText);
    for (int id : kButtonIds)
        new CSkinableButton(&dialog, id);
}

} // namespace

CMessageBoxDialog::CMessageBoxDialog(const QString& text, const QString& caption, const QString& firstLabel,
                                     const QString& secondLabel, const QString& thirdLabel, unsigned flags,
                                     QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_text(text)
    , m_caption(caption)
    , m_labels{firstLabel, secondLabel, thirdLabel}
    , m_flags(flags)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
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
    for (int id : kButtonIds) {
        if (id == controlId)
            return ControlAs<QPushButton>(controlId);
    }
    return nullptr;
}

int CMessageBoxDialog::ButtonPlace(int controlId) const
{
    for (int i = 0; i < 3; ++i) {
        if (kButtonIds[i] == controlId)
            return m_places[i];
    }
    return 0;
}

void CMessageBoxDialog::OnInitDialog()
{
    m_pIcon = ControlAs<CIconStatic>(kIconControl);
    m_pText = ControlAs<CSkinableStatic>(kTextControl);
    const int results[3] = {IDOK, IDCANCEL, kThirdButton};
    for (int i = 0; i < 3; ++i) {
        m_pButtons[i] = Button(kButtonIds[i]);
        if (!m_pIcon || !m_pText || !m_pButtons[i]) {
            GP_Log(QStringLiteral("CMessageBoxDialog::OnInitDialog: template %1 lacks its controls\n").arg(kTemplateId));
            return;
        }
        const int result = results[i];
        connect(m_pButtons[i], &QPushButton::clicked, this, [this, result] { Answer(result); });
    }
    m_pButtons[0]->setDefault(true);

    setWindowTitle(m_caption);
    m_pText->setText(m_text);
    for (int i = 0; i < 3; ++i)
        m_pButtons[i]->setText(m_labels[i]);

    // The second and third buttons show only with a label; the others move right so that the
    // row always ends at the right edge.
    int places[3] = {1, 2, 3};
    const bool visible[3] = {true, !m_labels[1].isEmpty(), !m_labels[2].isEmpty()};
    if (!visible[2]) {
        places[0] = 2;
        places[1] = 3;
        if (!visible[1])
            places[0] = 3;
    }
    SetUpIcon();

    // The message takes its own font's room: the skin's font when the message wears one.
    m_pText->ensurePolished();
    m_pText->Attach();
    const QPoint origin = contentsRect().topLeft();
    const int textLeft = m_pIcon->Icon().isNull() ? kMargin : kTextLeft;
    const int textWidth = kClientWidth - textLeft - kMargin;
    // A short message stands level with the middle of the icon; a long one starts at its top.
    const int needed = TextHeight(textWidth);
    const int textHeight = std::max(kMinTextHeight, needed);
    const int textTop = kMargin + std::max(0, (kMinTextHeight - needed) / 2);
    m_pText->setGeometry(QRect(origin + QPoint(textLeft, textTop), QSize(textWidth, std::max(needed, 1))));

    const int buttonTop = kMargin + textHeight + kMargin;
    ResizeClient(QSize(kClientWidth, buttonTop + kButtonHeight + kMargin));
    // A skin may make the box wider than asked: the row still ends at the client area's right.
    const QRect client = contentsRect();
    for (int i = 0; i < 3; ++i) {
        m_places[i] = visible[i] ? places[i] : 0;
        m_pButtons[i]->setVisible(visible[i]);
        if (visible[i])
            PlaceButton(m_pButtons[i], places[i], client, buttonTop);
        m_pButtons[i]->update();
    }
    CenterWindow();
}

void CMessageBoxDialog::SetUpIcon()
{
    const qreal ratio = devicePixelRatioF();
    const QPixmap icon = IconSourceRef() ? IconSourceRef()(IconIndex(m_flags)) : SkinIcon(IconIndex(m_flags), ratio);
    QPixmap shown;
    if (!icon.isNull()) {
        // As many pixels as the screen shows in the icon's place: sharp on a dense screen.
        shown = icon.scaled(QSize(kIconSize, kIconSize) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        shown.setDevicePixelRatio(ratio);
    }
    m_pIcon->SetIcon(shown);
    m_pIcon->setGeometry(QRect(contentsRect().topLeft() + QPoint(kMargin, kMargin), QSize(kIconSize, kIconSize)));
    m_pIcon->setHidden(icon.isNull());
}

int CMessageBoxDialog::TextHeight(int width) const
{
    QFont font = m_pText->font();
    if (const WINSKIN::Object* object = m_pText->GetObject(); object && object->GetFont()
                                                               && object->GetFont()->GetFont())
        font = *object->GetFont()->GetFont();
    const QFontMetrics metrics(font);
    return metrics.boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, m_text).height();
}

void CMessageBoxDialog::PlaceButton(QPushButton* button, int place, const QRect& client, int top)
{
    const int stepsFromRight = kPlaces - place;
    const int right = client.width() - kMargin - stepsFromRight * (kButtonWidth + kButtonGap);
    button->setGeometry(QRect(client.topLeft() + QPoint(right - kButtonWidth, top), QSize(kButtonWidth, kButtonHeight)));
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
