#include "view/PuzzleCompleteDialog.h"

#include "skin/Font.h"
#include "skin/Object.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableStatic.h"
#include "view/PanelControls.h"

#include <QFontMetrics>

#include <algorithm>
#include <climits>

namespace {
constexpr int kWidth = 360;
constexpr int kMargin = 14;
constexpr int kHeadingHeight = 34;
constexpr int kCheckHeight = 26;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kGap = 10;

// The height the text takes at that width in the font it is drawn with: the skin's, when the
// static wears one.
int TextHeight(CSkinableStatic& text, int width)
{
    text.ensurePolished();
    text.Attach();
    QFont font = text.font();
    if (const WINSKIN::Object* object = text.GetObject(); object && object->GetFont() && object->GetFont()->GetFont())
        font = *object->GetFont()->GetFont();
    return QFontMetrics(font).boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, text.text()).height();
}

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Puzzle is solved"));
    auto* heading = new CSkinableStatic(&dialog, CPuzzleCompleteDialog::kHeading);
    heading->setText(QStringLiteral("Puzzle is solved!"));
    heading->setAlignment(Qt::AlignCenter);
    auto* text = new CSkinableStatic(&dialog, CPuzzleCompleteDialog::kText);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* send = new CSkinableCheckBox(&dialog, CPuzzleCompleteDialog::kSendToFriend);
    send->setText(QStringLiteral("Send puzzle to a friend"));
    panelcontrols::AddButton(dialog, CPuzzleCompleteDialog::kOk, QStringLiteral("OK"))->setDefault(true);
}
} // namespace

CPuzzleCompleteDialog::CPuzzleCompleteDialog(const QString& text, bool canSend, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_text(text)
    , m_bCanSend(canSend)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    Create();
}

void CPuzzleCompleteDialog::OnInitDialog()
{
    const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
    const int width = kWidth - 2 * kMargin;
    int y = 0;
    if (QWidget* heading = Control(kHeading))
        heading->setGeometry(QRect(origin, QSize(width, kHeadingHeight)));
    y += kHeadingHeight + kGap;
    if (auto* text = ControlAs<CSkinableStatic>(kText)) {
        text->setText(m_text);
        const int height = TextHeight(*text, width);
        text->setGeometry(QRect(origin + QPoint(0, y), QSize(width, height)));
        y += height + kGap;
    }
    if (auto* send = ControlAs<QAbstractButton>(kSendToFriend)) {
        send->setChecked(false);
        send->setVisible(m_bCanSend);
        send->setGeometry(QRect(origin + QPoint(0, y), QSize(width, kCheckHeight)));
        if (m_bCanSend)
            y += kCheckHeight + kGap;
    }
    if (auto* ok = ControlAs<QAbstractButton>(kOk)) {
        ok->setGeometry(QRect(origin + QPoint(width - kButtonWidth, y), QSize(kButtonWidth, kButtonHeight)));
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    }
    ResizeClient(QSize(kWidth, y + kButtonHeight + 2 * kMargin));
    CenterWindow();
}

bool CPuzzleCompleteDialog::SendToFriend() const
{
    const auto* send = ControlAs<QAbstractButton>(kSendToFriend);
    return m_bCanSend && send && send->isChecked();
}
