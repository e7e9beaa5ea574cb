#include "skin/SkinableBase.h"

#include "shell/log/GP_LogFile.h"
#include "skin/Object.h"
#include "skin/Region.h"
#include "skin/Skin.h"

#include <QVariant>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>

namespace WINSKIN {

namespace {
constexpr char kControlIdProperty[] = "controlId";

CGP_FastContainer<SkinableBase*>& Registry()
{
    static CGP_FastContainer<SkinableBase*> registry;
    return registry;
}

int IndexOf(const CGP_FastContainer<SkinableBase*>& list, const SkinableBase* item)
{
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list[i] == item)
            return i;
    }
    return -1;
}

void RemoveFrom(CGP_FastContainer<SkinableBase*>& list, const SkinableBase* item)
{
    list.RemoveAt(IndexOf(list, item));
}
} // namespace

void SetControlId(QWidget* window, int controlId)
{
    if (window)
        window->setProperty(kControlIdProperty, controlId);
}

int ControlId(const QWidget* window)
{
    return window ? window->property(kControlIdProperty).toInt() : 0;
}

SkinableBase::SkinableBase(const QString& name, QWidget* window)
    : m_name(name)
    , m_window(window)
{
}

SkinableBase::~SkinableBase()
{
    // Children outlive their parent's skin part by a moment (the widget tree goes after it).
    for (SkinableBase* child : m_children)
        child->m_parent = nullptr;
    if (m_parent)
        RemoveFrom(m_parent->m_children, this);
    Unregister();
}

void SkinableBase::SetIDs(int id1, int id2)
{
    m_id1 = id1;
    m_id2 = id2;
}

Object* SkinableBase::GetObject() const
{
    if (!m_object || m_objectSkin != Skin::Current())
        return nullptr;
    return m_object;
}

void SkinableBase::AddOwnState(const QString& word)
{
    m_ownStates.Add(word);
    m_window->update();
}

void SkinableBase::RemoveOwnState(const QString& word)
{
    m_ownStates.Remove(word);
    m_window->update();
}

void SkinableBase::SetHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    // Only the control's own rectangle is drawn again; its dialog and neighbours stay as they are.
    if (!m_window->isWindow())
        m_window->update();
}

void SkinableBase::SetRedraw(bool on)
{
    m_redraw = on ? 1 : 0;
    m_window->setUpdatesEnabled(on);
}

void SkinableBase::Attach()
{
    if (m_attached)
        return;
    m_attached = true;
    FindIdentifiers();
    SaveStyle();
    Register();
    ApplySkin();
}

void SkinableBase::FindIdentifiers()
{
    if (m_id1 != 0)
        return;
    // The nearest skinned window above this one within its top-level window; a control inside
    // a plain container of a dialog still belongs to the dialog.
    for (QWidget* above = m_window->parentWidget(); above; above = above->parentWidget()) {
        if (SkinableBase* parent = Find(above)) {
            m_id1 = parent->m_id1;
            m_id2 = ControlId(m_window);
            m_parent = parent;
            if (parent->m_children.GetCount() < kMaxRegistered)
                parent->m_children.Add(this);
            return;
        }
        if (above->isWindow())
            return;
    }
}

void SkinableBase::SaveStyle()
{
    m_savedMinimum = m_window->minimumSize();
    m_savedMaximum = m_window->maximumSize();
    m_savedMargins = m_window->contentsMargins();
    m_appliedMargins = m_savedMargins;
    m_styleSaved = true;
}

void SkinableBase::RestoreStyle()
{
    if (!m_styleSaved)
        return;
    m_window->setMinimumSize(m_savedMinimum);
    m_window->setMaximumSize(m_savedMaximum);
    SetClientMargins(m_savedMargins);
}

void SkinableBase::Register()
{
    auto& registry = Registry();
    if (IndexOf(registry, this) >= 0)
        return;
    if (registry.GetCount() >= kMaxRegistered) {
        GP_Log(QStringLiteral("SkinableBase::Attach: more than %1 skinned windows, \"%2\" is not re-skinned\n")
                   .arg(kMaxRegistered).arg(m_name));
        return;
    }
    if (registry.IsEmpty()) {
        static bool handlerSet = false;
        if (!handlerSet)
            Skin::SetReloadHandler([](Skin&) { ReskinAll(); });
        handlerSet = true;
    }
    registry.Add(this);
}

void SkinableBase::Unregister()
{
    RemoveFrom(Registry(), this);
}

int SkinableBase::RegisteredCount()
{
    return Registry().GetCount();
}

SkinableBase* SkinableBase::Registered(int index)
{
    return Registry()[index];
}

SkinableBase* SkinableBase::Find(const QWidget* window)
{
    for (SkinableBase* item : Registry()) {
        if (item->m_window == window)
            return item;
    }
    return nullptr;
}

void SkinableBase::ReskinAll()
{
    // A copy: nothing below removes windows, but the list must not move under the loop.
    const CGP_FastContainer<SkinableBase*> windows = Registry();
    for (SkinableBase* item : windows) {
        item->m_object = nullptr;
        item->m_objectSkin = nullptr;
    }
    for (SkinableBase* item : windows)
        item->ApplySkin();
}

void SkinableBase::ApplySkin()
{
    const Skin* skin = Skin::Current();
    Object* object = skin ? skin->FindObject(m_name, m_id1, m_id2) : nullptr;
    if (object)
        SetObject(object);
    else
        RemoveSkin();
}

void SkinableBase::SetObject(Object* object)
{
    if (!object) {
        RemoveSkin();
        return;
    }
    m_object = object;
    m_objectSkin = object->GetSkin();
    const auto limit = [](int skinLimit, int own) { return skinLimit > 0 ? skinLimit : own; };
    m_window->setMinimumSize(limit(object->MinWidth(), m_savedMinimum.width()),
                             limit(object->MinHeight(), m_savedMinimum.height()));
    m_window->setMaximumSize(limit(object->MaxWidth(), m_savedMaximum.width()),
                             limit(object->MaxHeight(), m_savedMaximum.height()));
    QRect place = m_window->geometry();
    if (!m_window->isWindow() && m_window->parentWidget())
        place = ChildPlace(*object);
    MoveWindow(place);
}

void SkinableBase::RemoveSkin()
{
    m_object = nullptr;
    m_objectSkin = nullptr;
    RestoreStyle();
    m_shape = QRegion();
    m_window->clearMask();
    ShapeChanged(m_shape);
    m_window->update();
}

QRect SkinableBase::ChildPlace(const Object& object) const
{
    const QWidget* parent = m_window->parentWidget();
    if (!parent)
        return m_window->geometry();
    const QRect client = parent->contentsRect();
    const QRect resolved = object.Resolve(client);
    // An Object that reaches the parent's right and bottom edges spans the parent: the control
    // stays where its dialog put it. So does one without a size, which would hide the control.
    const bool spansRight = resolved.x() + resolved.width() == client.x() + client.width();
    const bool spansBottom = resolved.y() + resolved.height() == client.y() + client.height();
    if ((!spansRight || !spansBottom) && !resolved.isEmpty())
        return resolved;
    return m_window->geometry();
}

void SkinableBase::MoveWindow(const QRect& rect)
{
    // The shape is rebuilt even when the size does not change (a new Object, the same size).
    m_window->setGeometry(rect);
    OnSized();
    m_window->update();
}

QRect SkinableBase::ClientRect() const
{
    return ClientRectIn(m_window->rect());
}

QRect SkinableBase::ClientRectIn(const QRect& whole) const
{
    const Object* object = GetObject();
    if (!object)
        return whole;
    CGP_StringSet client;
    client.Add(QStringLiteral("Client"));
    const Rectangle* item = const_cast<Object*>(object)->FindMatch(client);
    return item ? item->Resolve(whole) : whole;
}

QMargins SkinableBase::ClientMargins() const
{
    return ClientMarginsAt(m_window->size());
}

QMargins SkinableBase::ClientMarginsAt(const QSize& size) const
{
    const QRect whole(QPoint(0, 0), size);
    const QRect client = ClientRectIn(whole);
    return QMargins(std::max(0, client.left() - whole.left()), std::max(0, client.top() - whole.top()),
                    std::max(0, whole.x() + whole.width() - client.x() - client.width()),
                    std::max(0, whole.y() + whole.height() - client.y() - client.height()));
}

void SkinableBase::SetClientMargins(const QMargins& margins)
{
    if (margins == m_appliedMargins)
        return;
    const QPoint shift(margins.left() - m_appliedMargins.left(), margins.top() - m_appliedMargins.top());
    m_appliedMargins = margins;
    m_window->setContentsMargins(margins);
    if (!m_window->isWindow() || shift.isNull())
        return;
    // A window's controls sit in its client area: when the frame grows, they move with it.
    for (QObject* item : m_window->children()) {
        QWidget* child = qobject_cast<QWidget*>(item);
        if (child && !child->isWindow())
            child->move(child->pos() + shift);
    }
}

void SkinableBase::OnSized()
{
    Object* object = GetObject();
    if (!object)
        return;
    SetClientMargins(ClientMargins());
    std::optional<QRegion> shape;
    if (Region* region = object->GetRegion())
        shape = region->Build(m_window->rect(), BuildStates());
    m_shape = shape ? *shape : QRegion();
    if (!m_shape.isEmpty() && !ShapesByAlpha())
        m_window->setMask(m_shape);
    else
        m_window->clearMask();
    ShapeChanged(m_shape);
    for (SkinableBase* child : m_children) {
        const Object* childObject = child->GetObject();
        if (!childObject || child->m_window->isWindow())
            continue;
        const QRect place = child->ChildPlace(*childObject);
        if (place != child->m_window->geometry())
            child->MoveWindow(place);
    }
}

CGP_StringSet SkinableBase::BuildStates() const
{
    CGP_StringSet states = m_ownStates;
    if (m_window->hasFocus())
        states.Add(QStringLiteral("Focused"));
    if (IsMouseHeld())
        states.Add(QStringLiteral("Pushed"));
    if (!m_window->isEnabled())
        states.Add(QStringLiteral("Disabled"));
    else if (m_hovered && !m_window->isWindow())
        states.Add(QStringLiteral("Hover"));
    return states;
}

int SkinableBase::SizingEdgeOf(int hitCode)
{
    if (hitCode < HTLEFT || hitCode > HTBOTTOMRIGHT)
        return 0;
    return hitCode - HTLEFT + WMSZ_LEFT;
}

void SkinableBase::ApplySizeLimits(const Object& object, int edge, QRect& rect)
{
    // The edge being dragged gives way; the opposite edge stays where it is.
    const bool leftSide = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    const bool topSide = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    int left = rect.x();
    int top = rect.y();
    int right = left + rect.width();
    int bottom = top + rect.height();
    const auto fit = [](int& near, int& far, bool nearMoves, int size) {
        if (nearMoves)
            near = far - size;
        else
            far = near + size;
    };
    if (object.MinWidth() > 0 && right - left < object.MinWidth())
        fit(left, right, leftSide, object.MinWidth());
    if (object.MaxWidth() > 0 && right - left > object.MaxWidth())
        fit(left, right, leftSide, object.MaxWidth());
    if (object.MinHeight() > 0 && bottom - top < object.MinHeight())
        fit(top, bottom, topSide, object.MinHeight());
    if (object.MaxHeight() > 0 && bottom - top > object.MaxHeight())
        fit(top, bottom, topSide, object.MaxHeight());
    rect = QRect(left, top, right - left, bottom - top);
}

QRect SkinableBase::MeterRect(const QRect& bar, qint64 position, qint64 low, qint64 high, bool vertical)
{
    if (high == low)
        return QRect();
    const qint64 extent = vertical ? bar.height() : bar.width();
    const qint64 filled = std::clamp((position - low) * extent / (high - low), qint64(0), extent);
    if (vertical)
        return QRect(bar.x(), bar.y() + bar.height() - int(filled), bar.width(), int(filled));
    return QRect(bar.x(), bar.y(), int(filled), bar.height());
}

void SkinableBase::DrawWindow(Object& object, QPainter& dc, const QRect& whole, const CGP_StringSet& states,
                              const QString& text)
{
    CGP_StringSet frame = states;
    frame.Add(QStringLiteral("NonClient"));
    frame.Add(QStringLiteral("Active"));
    CGP_StringSet client;
    client.Add(QStringLiteral("Client"));
    Rectangle* clientItem = object.FindMatch(client);
    if (!clientItem)
        frame.Add(QStringLiteral("Client"));
    object.Draw(dc, whole, frame, text);
    if (!clientItem)
        return;
    CGP_StringSet inside = states;
    inside.Add(QStringLiteral("Client"));
    object.Draw(dc, clientItem->Resolve(whole), inside, text);
}

int SkinableBase::HitTest(const QPoint& point) const
{
    Object* object = GetObject();
    if (!object)
        return 0;
    // A mask keeps the pointer out of the cut-away corners; drawn with alpha they answer here.
    if (ShapesByAlpha() && !m_shape.isEmpty() && !m_shape.contains(point))
        return HTTRANSPARENT;
    return object->HitTest(m_window->rect(), point);
}

void SkinableBase::RefreshObject()
{
    const Skin* skin = Skin::Current();
    if (!skin || !GetObject())
        return;
    Object* now = skin->FindObject(m_name, m_id1, m_id2);
    if (now != m_object)
        now ? SetObject(now) : RemoveSkin();
}

bool SkinableBase::BeginDrag(int hitCode, const QPoint& globalPos)
{
    const int edge = SizingEdgeOf(hitCode);
    if (hitCode != HTCAPTION && edge == 0)
        return false;
    EndDrag();
    if (m_window->isWindow() && m_window->windowHandle()) {
        QWindow* window = m_window->windowHandle();
        static const Qt::Edges kEdges[] = {Qt::LeftEdge, Qt::RightEdge, Qt::TopEdge, Qt::TopEdge | Qt::LeftEdge,
                                           Qt::TopEdge | Qt::RightEdge, Qt::BottomEdge, Qt::BottomEdge | Qt::LeftEdge,
                                           Qt::BottomEdge | Qt::RightEdge};
        const bool started = edge == 0 ? window->startSystemMove() : window->startSystemResize(kEdges[edge - 1]);
        if (started) {
            m_systemMove = edge == 0;
            return true;
        }
    }
    m_dragMode = edge == 0 ? DragMove : DragSize;
    m_dragEdge = edge;
    m_dragStartGlobal = globalPos;
    m_dragStartRect = m_window->isWindow() ? m_window->frameGeometry() : m_window->geometry();
    return true;
}

void SkinableBase::DragTo(const QPoint& globalPos)
{
    const QPoint delta = globalPos - m_dragStartGlobal;
    if (m_dragMode == DragMove) {
        QRect rect = m_dragStartRect.translated(delta);
        Moving(rect);
        m_window->move(rect.topLeft());
        return;
    }
    if (m_dragMode != DragSize)
        return;
    int left = m_dragStartRect.x();
    int top = m_dragStartRect.y();
    int right = left + m_dragStartRect.width();
    int bottom = top + m_dragStartRect.height();
    const int edge = m_dragEdge;
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
        left += delta.x();
    if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT)
        right += delta.x();
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
        top += delta.y();
    if (edge >= WMSZ_BOTTOM)
        bottom += delta.y();
    QRect rect(left, top, std::max(0, right - left), std::max(0, bottom - top));
    if (const Object* object = GetObject())
        ApplySizeLimits(*object, edge, rect);
    m_window->setGeometry(rect);
}

void SkinableBase::EndDrag()
{
    m_dragMode = DragNone;
    m_dragEdge = 0;
}

} // namespace WINSKIN
