#include "skin/Rectangle.h"

#include "shell/log/GP_LogFile.h"
#include "skin/Skin.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <tinyxml.h>

#include <algorithm>

namespace WINSKIN {

namespace {
// Resolved edges stay well inside 32 bits whatever the owner rectangle is.
constexpr int64_t kMaxEdge = 1 << 24;

int ResolveEdge(const Coordinate& coordinate, int nearEdge, int farEdge)
{
    const int64_t edge = coordinate.anchor == 0 ? int64_t(nearEdge) + coordinate.offset
                                                : int64_t(farEdge) - coordinate.offset;
    return static_cast<int>(std::clamp(edge, -kMaxEdge, kMaxEdge));
}
} // namespace

Rectangle::Rectangle(Skin* skin)
    : m_skin(skin)
{
}

Rectangle::~Rectangle() = default;

void Rectangle::Read(const TiXmlElement& element)
{
    ReadCommon(element);
    ReadChildren(element);
}

QByteArray Rectangle::Attribute(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    if (!value)
        return {};
    return QByteArray(value);
}

QString Rectangle::SourcePath(const QByteArray& src) const
{
    // Skins written on Windows separate folders with backslashes.
    QString name = QString::fromUtf8(src);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir(m_skin ? m_skin->Folder() : QString()).filePath(name);
}

bool Rectangle::IsPlainFile(const QString& path, const char* what)
{
    if (QFileInfo(path).isFile())
        return true;
    GP_Log(QStringLiteral("WINSKIN: the %1 \"%2\" is not a file that can be read\n").arg(QLatin1String(what), path));
    return false;
}

void Rectangle::ReadCommon(const TiXmlElement& element)
{
    const QByteArray name = Attribute(element, "Name");
    m_name = name.isNull() ? QString() : QString::fromUtf8(name);
    if (m_skin)
        m_skin->NameRead(this);
    m_attributes = CGP_StringSet(QString::fromUtf8(Attribute(element, "Attributes")));
    const QByteArray hitResult = Attribute(element, "HitResult");
    m_hitResult = ReadDecimal(hitResult);
    if (m_hitResult == 0 && !hitResult.isNull()) {
        bool known = false;
        const int code = HitTestCode(hitResult, &known);
        if (known)
            m_hitResult = code;
    }
    m_x1 = ReadCoordinate(Attribute(element, "X1"));
    m_y1 = ReadCoordinate(Attribute(element, "Y1"));
    m_x2 = ReadCoordinate(Attribute(element, "X2"));
    m_y2 = ReadCoordinate(Attribute(element, "Y2"));
}

void Rectangle::ReadChildren(const TiXmlElement& element)
{
    if (!m_skin)
        return;
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
        Rectangle* item = m_skin->ReadItem(*child);
        if (!item)
            continue;
        if (m_skin->IsBeingRead(item)) {
            GP_Log(QStringLiteral("WINSKIN: \"%1\" cannot hold \"%2\", which holds it\n").arg(m_name, item->Name()));
            continue;
        }
        AddChild(item);
    }
}

bool Rectangle::AddChild(Rectangle* child)
{
    if (m_children.GetCount() >= kMaxChildren) {
        if (!m_childrenFull)
            GP_Log(QStringLiteral("WINSKIN: \"%1\" has more than %2 children\n").arg(m_name).arg(kMaxChildren));
        m_childrenFull = true;
        return false;
    }
    if (!CountInTree(child))
        return false;
    m_children.Add(child);
    return true;
}

bool Rectangle::CountInTree(const Rectangle* item)
{
    if (int64_t(m_treeItems) + item->m_treeItems > kMaxTreeItems || item->m_treeDepth + 1 > kMaxTreeDepth) {
        GP_Log(QStringLiteral("WINSKIN: \"%1\" left out of \"%2\": the item tree grows too large\n")
                   .arg(item->m_name, m_name));
        return false;
    }
    m_treeItems += item->m_treeItems;
    m_treeDepth = std::max(m_treeDepth, item->m_treeDepth + 1);
    return true;
}

bool Rectangle::Matches(const CGP_StringSet& states) const
{
    for (int i = 0; i < m_attributes.GetCount(); ++i) {
        if (!states.Contains(m_attributes[i]))
            return false;
    }
    return true;
}

QRect Rectangle::Resolve(const QRect& ownerRect) const
{
    const int ownerRight = ownerRect.x() + ownerRect.width();
    const int ownerBottom = ownerRect.y() + ownerRect.height();
    int left = ResolveEdge(m_x1, ownerRect.x(), ownerRight);
    int right = ResolveEdge(m_x2, ownerRect.x(), ownerRight);
    int top = ResolveEdge(m_y1, ownerRect.y(), ownerBottom);
    int bottom = ResolveEdge(m_y2, ownerRect.y(), ownerBottom);
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

void Rectangle::Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text)
{
    if (!Matches(states))
        return;
    const QRect childOwner = m_attributes.Contains(QStringLiteral("Client")) ? ownerRect : Resolve(ownerRect);
    DrawChildren(dc, childOwner, states, text);
}

void Rectangle::DrawChildren(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text)
{
    for (Rectangle* child : m_children)
        child->Draw(dc, ownerRect, states, text);
}

Text* Rectangle::FindText()
{
    if (Text* text = AsText())
        return text;
    for (Rectangle* child : m_children) {
        if (Text* text = child->FindText())
            return text;
    }
    return nullptr;
}

int Rectangle::HitTestChildren(const QRect& ownerRect, const QPoint& point)
{
    for (int i = m_children.GetCount() - 1; i >= 0; --i) {
        if (const int result = m_children[i]->HitTest(ownerRect, point))
            return result;
    }
    return 0;
}

int Rectangle::HitTest(const QRect& ownerRect, const QPoint& point)
{
    const QRect rect = Resolve(ownerRect);
    if (const int result = HitTestChildren(rect, point))
        return result;
    return rect.contains(point) ? m_hitResult : 0;
}

Rectangle* Rectangle::FindMatch(const CGP_StringSet& words)
{
    bool all = true;
    for (int i = 0; i < words.GetCount() && all; ++i)
        all = m_attributes.Contains(words[i]);
    if (all)
        return this;
    for (Rectangle* child : m_children) {
        if (Rectangle* found = child->FindMatch(words))
            return found;
    }
    return nullptr;
}

} // namespace WINSKIN
