#include "view/ThumbWnd.h"

#include "view/PanelControls.h"
#include "view/PlayCommands.h"

#include <QCloseEvent>
#include <QPainter>

namespace {
// Without a skin the two buttons sit in the top right corner, as the skin puts them.
constexpr int kButtonSize = 28;
constexpr int kButtonInset = 6;
constexpr int kButtonGap = 4;

// The picture, scaled smoothly to fill the window's client area.
class PictureView : public QWidget
{
public:
    PictureView(const QImage& picture, QWidget* parent)
        : QWidget(parent)
        , m_picture(picture)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        // Presses fall through to the window, which the skin lets the player drag.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (m_picture.isNull())
            painter.fillRect(rect(), Qt::black);
        else
            painter.drawImage(rect(), m_picture);
    }

private:
    const QImage& m_picture;
};

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Picture"));
    panelcontrols::AddButton(dialog, CThumbWnd::kClose, QStringLiteral("X"));
    panelcontrols::AddButton(dialog, CThumbWnd::kZoom, QStringLiteral("Z"));
}
} // namespace

CThumbWnd::CThumbWnd(CPlayCommands* commands, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_pCommands(commands)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    panelcontrols::KeepFocusOnTheGame(*this);
    Create();
}

void CThumbWnd::OnInitDialog()
{
    m_pView = new PictureView(m_picture, this);
    m_pView->lower();
    if (auto* close = ControlAs<QAbstractButton>(kClose)) {
        connect(close, &QAbstractButton::clicked, this, [this] {
            if (m_pCommands)
                m_pCommands->OnPlayPicture();
        });
    }
    if (auto* zoom = ControlAs<QAbstractButton>(kZoom)) {
        connect(zoom, &QAbstractButton::clicked, this, [this] {
            if (m_pCommands)
                m_pCommands->OnPlayZoom();
        });
    }
    PlaceControls();
}

void CThumbWnd::SetPicture(const QImage& picture)
{
    m_picture = picture;
    if (m_pView)
        m_pView->update();
}

void CThumbWnd::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

void CThumbWnd::resizeEvent(QResizeEvent* event)
{
    CLDialog::resizeEvent(event);
    PlaceControls();
}

void CThumbWnd::moveEvent(QMoveEvent* event)
{
    CLDialog::moveEvent(event);
    emit Moved();
}

void CThumbWnd::PlaceControls()
{
    if (m_pView)
        m_pView->setGeometry(contentsRect());
    // A skin places the buttons itself.
    if (GetObject())
        return;
    const int right = width() - kButtonInset;
    if (QWidget* close = Control(kClose))
        close->setGeometry(right - kButtonSize, kButtonInset, kButtonSize, kButtonSize);
    if (QWidget* zoom = Control(kZoom))
        zoom->setGeometry(right - 2 * kButtonSize - kButtonGap, kButtonInset, kButtonSize, kButtonSize);
}
