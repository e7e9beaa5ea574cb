#include "shell/dialogs/LoadingDialog.h"

#include "resources/StringTable.h"
#include "shell/log/GP_LogFile.h"
#include "skin/SkinableProgressCtrl.h"
#include "skin/SkinableStatic.h"

#include <algorithm>

namespace {
// The client area's layout; a skin's frame comes around it.
constexpr int kClientWidth = 380;
constexpr int kMargin = 12;
constexpr int kTextHeight = 40;
constexpr int kBarHeight = 22;
constexpr int kBarEnd = 100;

// Template 138: the message over the bar.
void BuildTemplate(CLDialog& dialog)
{
    auto* text = new CSkinableStatic(&dialog, CLoadingDialog::kTextControl);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    text->setTextFormat(Qt::PlainText);
    auto* bar = new CSkinableProgressCtrl(&dialog, CLoadingDialog::kProgressControl);
    bar->setTextVisible(false);
}

} // namespace

QString GP_FillString(const QString& text, const QString& argument)
{
    const int at = text.indexOf(QLatin1String("%s"));
    if (at < 0)
        return text;
    QString filled = text;
    filled.replace(at, 2, argument);
    return filled;
}

CLoadingDialog::CLoadingDialog(int messageId, const QString& argument, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_message(MessageText(messageId, argument))
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    Create();
}

void CLoadingDialog::OnInitDialog()
{
    m_pText = ControlAs<QLabel>(kTextControl);
    m_pProgress = ControlAs<QProgressBar>(kProgressControl);
    if (!m_pText || !m_pProgress) {
        GP_Log(QStringLiteral("CLoadingDialog::OnInitDialog: template %1 lacks its controls\n").arg(kTemplateId));
        return;
    }
    m_pText->setText(m_message);
    m_pProgress->setRange(0, kBarEnd);
    m_pProgress->setValue(0);
    const QPoint origin = contentsRect().topLeft();
    const int width = kClientWidth - 2 * kMargin;
    m_pText->setGeometry(QRect(origin + QPoint(kMargin, kMargin), QSize(width, kTextHeight)));
    m_pProgress->setGeometry(QRect(origin + QPoint(kMargin, kMargin + kTextHeight + kMargin / 2), QSize(width, kBarHeight)));
    ResizeClient(QSize(kClientWidth, kMargin + kTextHeight + kMargin / 2 + kBarHeight + kMargin));
    CenterWindow();
}

QString CLoadingDialog::MessageText(int messageId, const QString& argument)
{
    if (messageId == 0 || messageId == IDS_DOWNLOADING_UPDATE)
        return GP_LoadString(IDS_DOWNLOADING_UPDATE);
    return GP_FillString(GP_LoadString(messageId), argument);
}

void CLoadingDialog::SetRange(int count)
{
    if (!m_pProgress)
        return;
    m_pProgress->setRange(0, std::max(0, count));
    m_step = 1;
    m_pProgress->setValue(0);
}

void CLoadingDialog::Step()
{
    if (!m_pProgress)
        return;
    const int low = m_pProgress->minimum();
    const int high = m_pProgress->maximum();
    int next = m_pProgress->value() + m_step;
    if (next > high)
        next = high > low ? (next - low) % (high - low) + low : low;
    m_pProgress->setValue(next);
}

int CLoadingDialog::Position() const
{
    return m_pProgress ? m_pProgress->value() : 0;
}

int CLoadingDialog::Maximum() const
{
    return m_pProgress ? m_pProgress->maximum() : 0;
}

QString CLoadingDialog::Text() const
{
    return m_pText ? m_pText->text() : QString();
}
