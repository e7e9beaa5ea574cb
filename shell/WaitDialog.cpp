#include "shell/WaitDialog.h"

#include <QProcess>
#include <QProgressBar>
#include <QTimerEvent>

CWaitDialog* g_pWaitDialog = nullptr;

namespace {
constexpr int kWidth = 320;
constexpr int kMargin = 14;
constexpr int kBarHeight = 20;
constexpr int kBarEnd = 100;
} // namespace

CWaitDialog::CWaitDialog(QProcess* process, QWidget* window, QWidget* parent)
    : CTemplateDialog(kTemplateId, parent)
    , m_pProcess(process)
    , m_pWindow(window)
    , m_pProgress(new QProgressBar(this))
{
    SetControlId(m_pProgress, kProgressControl);
    m_pProgress->setTextVisible(false);
    m_pProgress->setGeometry(kMargin, kMargin, kWidth - 2 * kMargin, kBarHeight);
    setFixedSize(kWidth, kBarHeight + 2 * kMargin);
    setWindowTitle(QStringLiteral("Creating..."));
    g_pWaitDialog = this;
}

CWaitDialog::~CWaitDialog()
{
    if (g_pWaitDialog == this)
        g_pWaitDialog = nullptr;
}

int CWaitDialog::Position() const
{
    return m_pProgress->value();
}

void CWaitDialog::OnInitDialog()
{
    m_pProgress->setRange(0, kBarEnd);
    m_pProgress->setValue(0);
    m_timer = startTimer(kTickMs);
}

bool CWaitDialog::ProcessRunning() const
{
    return m_pProcess && m_pProcess->state() != QProcess::NotRunning;
}

void CWaitDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer) {
        CTemplateDialog::timerEvent(event);
        return;
    }
    ++m_ticks;
    const int next = m_pProgress->value() + 1;
    m_pProgress->setValue(next > kBarEnd ? 0 : next);
    if (!ProcessRunning()) {
        m_bDone = true;
        killTimer(m_timer);
        m_timer = 0;
        done(QDialog::Accepted);
        return;
    }
    RepaintWindowBehind();
}

void CWaitDialog::RepaintWindowBehind()
{
    if (!m_pWindow)
        return;
    if (m_ticks % kFullRepaintEvery == 0) {
        m_pWindow->update();
        return;
    }
    const QRect under(m_pWindow->mapFromGlobal(frameGeometry().topLeft()), frameGeometry().size());
    m_pWindow->update(under);
}
