#include "skin/LDialog.h"

#include "resources/StringTable.h"
#include "shell/log/GP_LogFile.h"
#include "skin/ClickSoundPlayer.h"
#include "skin/RawValueStore.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHash>
#include <QHelpEvent>
#include <QRadioButton>
#include <QScreen>
#include <QToolTip>
#include <QtEndian>

#include <climits>
#include <utility>

namespace {
constexpr char kClickConnected[] = "clickSoundConnected";
constexpr int kEdgeBytes = 4;

bool s_soundOn = true;

QHash<std::pair<int, int>, CLDialog::TemplateBuilder>& Templates()
{
    static QHash<std::pair<int, int>, CLDialog::TemplateBuilder> templates;
    return templates;
}
} // namespace

CLDialog::CLDialog(int templateId, QWidget* parent, int language)
    : CSkinableDialog(templateId, parent)
    , m_language(language)
{
}

void CLDialog::RegisterTemplate(int templateId, int language, TemplateBuilder builder)
{
    Templates().insert({templateId, language}, std::move(builder));
}

int CLDialog::TemplateLanguage(int templateId, int language)
{
    if (Templates().contains({templateId, language}))
        return language;
    if (Templates().contains({templateId, kDefaultLanguage}))
        return kDefaultLanguage;
    return 0;
}

void CLDialog::Create()
{
    if (m_created)
        return;
    m_created = true;
    if (const int language = TemplateLanguage(TemplateId(), m_language))
        Templates().value({TemplateId(), language})(*this);
    Attach();
    OnInitDialog();
    AttachControls();
    ConnectControls();
}

int CLDialog::DoModal()
{
    Create();
    return exec();
}

void CLDialog::AttachControls()
{
    // Parents before children, so that every control finds its dialog's identifiers.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (auto* skinable = dynamic_cast<WINSKIN::SkinableBase*>(child); skinable && !child->isWindow())
            skinable->Attach();
    }
}

void CLDialog::ConnectControls()
{
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button->property(kClickConnected).toBool())
            continue;
        button->setProperty(kClickConnected, true);
        QObject::connect(button, &QAbstractButton::clicked, this, [this, button] { OnControlClicked(button); });
    }
}

void CLDialog::OnControlClicked(QAbstractButton* button)
{
    if (s_soundOn)
        CClickSoundPlayer::Instance().Play(ClickSoundFor(button));
}

int CLDialog::ClickSoundFor(const QWidget* control)
{
    if (const auto* radio = qobject_cast<const QRadioButton*>(control); radio && radio->autoExclusive())
        return kSoundRadio;
    // A three-state box is not the automatic check box: it clicks like a button.
    if (const auto* box = qobject_cast<const QCheckBox*>(control); box && !box->isTristate())
        return kSoundCheckBox;
    return kSoundClick;
}

QString CLDialog::ToolTipText(int controlId)
{
    if (controlId == 0)
        return QString();
    return GP_LoadString(controlId).left(kMaxToolTip);
}

void CLDialog::SetSoundOn(bool on)
{
    s_soundOn = on;
}

bool CLDialog::IsSoundOn()
{
    return s_soundOn;
}

bool CLDialog::ShowToolTip(QHelpEvent* event)
{
    for (QWidget* control = childAt(event->pos()); control && control != this; control = control->parentWidget()) {
        const int controlId = WINSKIN::ControlId(control);
        if (controlId == 0)
            continue;
        const QString text = ToolTipText(controlId);
        if (text.isEmpty())
            return false;
        QToolTip::showText(event->globalPos(), text, control);
        return true;
    }
    return false;
}

bool CLDialog::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        if (ShowToolTip(static_cast<QHelpEvent*>(event)))
            return true;
        break;
    case QEvent::ChildPolished:
        ConnectControls();
        break;
    case QEvent::Move:
        // A move by the platform has already happened: the window is put back inside.
        if (IsSystemMoving()) {
            QRect rect = frameGeometry();
            Moving(rect);
            if (rect.topLeft() != frameGeometry().topLeft())
                move(rect.topLeft());
        }
        break;
    default:
        break;
    }
    return CSkinableDialog::event(event);
}

void CLDialog::setVisible(bool visible)
{
    if (visible && !m_created)
        Create();
    CSkinableDialog::setVisible(visible);
}

QRect CLDialog::ParentClientArea() const
{
    if (const QWidget* parent = parentWidget()) {
        const QRect client = parent->contentsRect();
        return QRect(parent->mapToGlobal(client.topLeft()), client.size());
    }
    return screen() ? screen()->geometry() : QRect();
}

QWidget* CLDialog::Control(int controlId) const
{
    for (QWidget* child : findChildren<QWidget*>()) {
        if (WINSKIN::ControlId(child) == controlId)
            return child;
    }
    return nullptr;
}

void CLDialog::ResizeClient(const QSize& clientSize)
{
    // The margins the window has now may be squeezed ones of a window smaller than its frame:
    // take the skin's margins at the size the window is about to have.
    QMargins frame = contentsMargins();
    if (GetObject()) {
        for (int pass = 0; pass < 2; ++pass)
            frame = ClientMarginsAt(clientSize.grownBy(frame));
    }
    resize(clientSize.grownBy(frame));
}

void CLDialog::CenterWindow()
{
    const QWidget* parent = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = parent ? parent->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isEmpty())
        return;
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

QRect CLDialog::KeepInside(const QRect& rect, const QRect& area)
{
    QRect kept = rect;
    if (kept.left() < area.left())
        kept.moveLeft(area.left());
    if (kept.top() < area.top())
        kept.moveTop(area.top());
    if (kept.x() + kept.width() > area.x() + area.width())
        kept.moveLeft(area.x() + area.width() - kept.width());
    if (kept.y() + kept.height() > area.y() + area.height())
        kept.moveTop(area.y() + area.height() - kept.height());
    return kept;
}

void CLDialog::Moving(QRect& rect)
{
    const QRect area = ParentClientArea();
    if (!area.isEmpty())
        rect = KeepInside(rect, area);
}

QString CLDialog::PositionName() const
{
    return QString::number(quint32(TemplateId()), 16).toUpper();
}

bool CLDialog::SavePosition(WINSKIN::RawValueStore& key) const
{
    const QRect rect = frameGeometry();
    const qint32 edges[] = {rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height()};
    QByteArray bytes(kPositionBytes, '\0');
    for (int i = 0; i < 4; ++i)
        qToLittleEndian(edges[i], bytes.data() + i * kEdgeBytes);
    if (key.SetBytes(PositionName(), bytes))
        return true;
    GP_Log(QStringLiteral("CLDialog::SavePosition: %1 not stored\n").arg(PositionName()));
    return false;
}

bool CLDialog::RestorePosition(const WINSKIN::RawValueStore& key)
{
    QByteArray bytes;
    if (!key.GetBytes(PositionName(), kPositionBytes, bytes))
        return false;
    if (bytes.size() != kPositionBytes) {
        GP_Log(QStringLiteral("CLDialog::RestorePosition: %1 is not a window rectangle\n").arg(PositionName()));
        return false;
    }
    qint64 edges[4];
    for (int i = 0; i < 4; ++i)
        edges[i] = qFromLittleEndian<qint32>(bytes.constData() + i * kEdgeBytes);
    if (edges[2] <= edges[0] || edges[3] <= edges[1] || edges[2] - edges[0] > INT_MAX || edges[3] - edges[1] > INT_MAX)
        return false;
    const QRect rect{int(edges[0]), int(edges[1]), int(edges[2] - edges[0]), int(edges[3] - edges[1])};
    if (!ParentClientArea().contains(rect))
        return false;
    move(rect.topLeft());
    return true;
}
