#include "shell/LoadingDialog.h"

#include "resources/StringTable.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace {
constexpr int kWidth = 380;
constexpr int kMargin = 14;
constexpr int kTextHeight = 36;
constexpr int kBarHeight = 20;
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
    : CTemplateDialog(kTemplateId, parent)
    , m_pText(new QLabel(this))
    , m_pProgress(new QProgressBar(this))
{
    SetControlId(m_pText, kTextControl);
    SetControlId(m_pProgress, kProgressControl);
    m_pText->setText(MessageText(messageId, argument));
    m_pText->setWordWrap(true);
    m_pText->setGeometry(kMargin, kMargin, kWidth - 2 * kMargin, kTextHeight);
    m_pProgress->setGeometry(kMargin, kMargin + kTextHeight + kMargin / 2, kWidth - 2 * kMargin, kBarHeight);
    m_pProgress->setTextVisible(false);
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    setFixedSize(kWidth, kMargin + kTextHeight + kMargin / 2 + kBarHeight + kMargin);
}

QString CLoadingDialog::MessageText(int messageId, const QString& argument)
{
    if (messageId == 0 || messageId == IDS_DOWNLOADING_UPDATE)
        return GP_LoadString(IDS_DOWNLOADING_UPDATE);
    return GP_FillString(GP_LoadString(messageId), argument);
}

void CLoadingDialog::SetRange(int count)
{
    m_pProgress->setRange(0, std::max(0, count));
    m_step = 1;
    m_pProgress->setValue(0);
}

void CLoadingDialog::Step()
{
    const int low = m_pProgress->minimum();
    const int high = m_pProgress->maximum();
    int next = m_pProgress->value() + m_step;
    if (next > high)
        next = high > low ? (next - low) % (high - low) + low : low;
    m_pProgress->setValue(next);
}

int CLoadingDialog::Position() const
{
    return m_pProgress->value();
}

int CLoadingDialog::Maximum() const
{
    return m_pProgress->maximum();
}

QString CLoadingDialog::Text() const
{
    return m_pText->text();
}
