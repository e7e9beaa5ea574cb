#include "view/PauseBox.h"

#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"

#include <QWidget>

namespace {
constexpr char kCaption[] = "Velmora";
}

CPauseBox::CPauseBox(QWidget* parent)
    : m_pParent(parent)
{
}

CPauseBox::~CPauseBox()
{
    Close();
}

bool CPauseBox::IsShown() const
{
    return m_pBox && g_bPauseBoxShown;
}

void CPauseBox::Show(std::function<void()> onClosed)
{
    if (m_pBox)
        return;
    QWidget* owner = m_pParent ? m_pParent->window() : nullptr;
    auto* box = new CMessageBoxDialog(GP_LoadString(IDS_GAME_PAUSED), QLatin1String(kCaption), GP_LoadString(IDS_OK),
                                      QString(), QString(), MB_OK | MB_ICONINFORMATION, owner);
    box->setModal(false);
    box->Create();
    m_pBox = box;
    g_pPauseBox = box;
    g_bPauseBoxShown = true;
    connect(box, &QDialog::finished, this, [this, box, onClosed = std::move(onClosed)](int) {
        // Closed by the game itself: nothing more to do.
        if (m_pBox != box)
            return;
        m_bClosingItself = true;
        if (onClosed)
            onClosed();
        Close();
        m_bClosingItself = false;
    });
    box->show();
}

void CPauseBox::Close()
{
    // The game's pause box, whoever showed it.
    CMessageBoxDialog* box = m_pBox ? m_pBox.data() : g_pPauseBox;
    m_pBox = nullptr;
    g_pPauseBox = nullptr;
    g_bPauseBoxShown = false;
    if (!box)
        return;
    box->hide();
    // A box that is closing itself goes once its own signal has returned.
    if (m_bClosingItself)
        box->deleteLater();
    else
        delete box;
}

QRect CPauseBox::Rect() const
{
    return m_pBox && m_pBox->isVisible() ? m_pBox->frameGeometry() : QRect();
}

QRect CPauseBox::CloseArea(const QRect& box)
{
    return box.adjusted(0, kCloseInset, 0, -kCloseInset);
}

bool CPauseBox::ClosesAt(const QPoint& globalPos) const
{
    return IsShown() && CloseArea(Rect()).contains(globalPos);
}
