#include "shell/dialogs/WaitDialog.h"

#include "shell/log/GP_LogFile.h"
#include "skin/SkinableProgressCtrl.h"

#include <QProcess>
#include <QTimerEvent>

CWaitDialog* g_pWaitDialog = nullptr;

namespace {
// The client area's layout; a skin's frame comes around it.
constexpr int kClientWidth = 320;
constexpr int kMargin = 12;
constexpr int kBarHeight = 22;
constexpr int kBarEnd = 100;

// Template 250: the bar alone.
void BuildTemplate(CLDialog& dialog)
{
    auto* bar = new CSkinableProgressCtrl(&dialog, CWaitDialog::kProgressControl);
    bar->setTextVisible(false);
    dialog.setWindowTitle(QStringLiteral("Creating..."));
}

} // namespace

CWaitDialog::CWaitDialog(QProcess* process, QWidget* window, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_pProcess(process)
    , m_pWindow(window)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
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
    return m_pProgress ? m_pProgress->value() : 0;
}

void CWaitDialog::OnInitDialog()
{
    m_pProgress = ControlAs<QProgressBar>(kProgressControl);
    if (m_pProgress) {
        m_pProgress->setRange(0, kBarEnd);
        m_pProgress->setValue(0);
        m_pProgress->setGeometry(QRect(contentsRect().topLeft() + QPoint(kMargin, kMargin),
                                       QSize(kClientWidth - 2 * kMargin, kBarHeight)));
    } else {
        GP_Log(QStringLiteral("CWaitDialog::OnInitDialog: template %1 lacks its bar\n").arg(kTemplateId));
    }
    ResizeClient(QSize(kClientWidth, kBarHeight + 2 * kMargin));
    CenterWindow();
    // The wait goes on without the bar: the program's end still closes the dialog.
    m_timer = startTimer(kTickMs);
}

bool CWaitDialog::ProcessRunning() const
{
    return m_pProcess && m_pProcess->state() != QProcess::NotRunning;
}

void CWaitDialog::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timer) {
        CLDialog::timerEvent(event);
        return;
    }
    ++m_ticks;
    if (m_pProgress) {
        const int next = m_pProgress->value() + 1;
        m_pProgress->setValue(next > kBarEnd ? 0 : next);
    }
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
