#include "skin/Skin.h"

#include "engine/GP_Folders.h"
#include "shell/log/GP_LogFile.h"
#include "skin/Bitmap.h"
#include "skin/Font.h"
#include "skin/Object.h"
#include "skin/Rectangle.h"
#include "skin/Region.h"
#include "skin/SkinFileCheck.h"
#include "skin/SkinValues.h"
#include "skin/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <tinyxml.h>

#include <algorithm>
#include <utility>

namespace WINSKIN {

namespace {
Skin* s_current = nullptr;

Skin::ReloadHandler& Handler()
{
    static Skin::ReloadHandler handler;
    return handler;
}

int ElementId(const TiXmlElement& element, const char* name)
{
    return ReadDecimal(element.Attribute(name));
}

QString LogName(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

Skin::Skin() = default;

Skin::~Skin()
{
    Clear();
    if (s_current == this)
        s_current = nullptr;
}

Skin* Skin::Current()
{
    return s_current;
}

void Skin::SetCurrent(Skin* skin)
{
    s_current = skin;
}

Skin::ReloadHandler Skin::SetReloadHandler(ReloadHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}

void Skin::Clear()
{
    // Items point at each other; none may outlive the list while another still points at it.
    m_firstByName.clear();
    m_items.Clear();
    m_reading.clear();
    m_pictures.clear();
    m_itemLimitLogged = false;
}

void Skin::Finish()
{
    // Every item holds its own cut of the pictures by now.
    m_pictures.clear();
    if (Handler())
        Handler()(*this);
}

bool Skin::Load(const QString& path)
{
    Clear();
    const QString fullPath = QDir(GP_AppFolder()).absoluteFilePath(path);
    m_folder = QFileInfo(fullPath).absolutePath();
    m_filePath = fullPath;
    QFile file(fullPath);
    // Only a regular file: a pipe or a device would block the game or never end.
    if (!QFileInfo(fullPath).isFile() || !file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("WINSKIN::Skin::Load: cannot open \"%1\": %2, the skin stays empty\n").arg(LogName(fullPath), file.errorString()));
        Finish();
        return false;
    }
    if (file.size() > kMaxSkinFileBytes) {
        GP_Log(QStringLiteral("WINSKIN::Skin::Load: \"%1\": file larger than %2 bytes, the skin stays empty\n")
                   .arg(LogName(fullPath)).arg(kMaxSkinFileBytes));
        Finish();
        return false;
    }
    return ReadText(file.readAll(), fullPath);
}

bool Skin::LoadText(const QByteArray& text, const QString& folder, const QString& sourceName)
{
    Clear();
    m_folder = folder;
    m_filePath.clear();
    return ReadText(text, sourceName);
}

bool Skin::ReadText(const QByteArray& text, const QString& sourceName)
{
    const QString name = sourceName.isEmpty() ? QStringLiteral("skin text") : LogName(sourceName);
    const QString problem = CheckSkinText(text);
    if (!problem.isEmpty()) {
        GP_Log(QStringLiteral("WINSKIN::Skin::Load: \"%1\": %2, the skin stays empty\n").arg(name, problem));
        Finish();
        return false;
    }
    TiXmlDocument document;
    document.Parse(text.constData(), nullptr, TIXML_ENCODING_UTF8);
    if (document.Error()) {
        GP_Log(QStringLiteral("WINSKIN::Skin::Load: \"%1\": XML error \"%2\" at line %3 column %4, the skin stays empty\n")
                   .arg(name, QString::fromUtf8(document.ErrorDesc()))
                   .arg(document.ErrorRow())
                   .arg(document.ErrorCol()));
        Finish();
        return false;
    }
    // The items are the children of the last top-level node; a comment after the root
    // element therefore leaves the skin without items.
    const TiXmlNode* root = document.LastChild();
    for (const TiXmlElement* element = root ? root->FirstChildElement() : nullptr; element;
         element = element->NextSiblingElement())
        ReadItem(*element);
    if (m_items.IsEmpty())
        GP_Log(QStringLiteral("WINSKIN::Skin::Load: \"%1\" has no items\n").arg(name));
    Finish();
    return true;
}

Rectangle* Skin::FindMatching(const TiXmlElement& element) const
{
    const char* name = element.Attribute("Name");
    if (!name)
        return nullptr;
    Rectangle* first = FindByName(QString::fromUtf8(name));
    if (!first)
        return nullptr;
    if (const Object* object = first->AsObject()) {
        if (object->ID1() != ElementId(element, "ID1") || object->ID2() != ElementId(element, "ID2"))
            return nullptr;
    }
    return first;
}

std::unique_ptr<Rectangle> Skin::Create(const char* kind)
{
    const QByteArray name(kind ? kind : "");
    if (name == "Object")
        return std::make_unique<Object>(this);
    if (name == "Bitmap")
        return std::make_unique<Bitmap>(this);
    if (name == "Font")
        return std::make_unique<Font>(this);
    if (name == "Text")
        return std::make_unique<Text>(this);
    if (name == "Region")
        return std::make_unique<Region>(this);
    return std::make_unique<Rectangle>(this);
}

Rectangle* Skin::ReadItem(const TiXmlElement& element)
{
    if (Rectangle* existing = FindMatching(element))
        return existing;
    if (m_items.GetCount() >= kMaxSkinItems) {
        if (!m_itemLimitLogged)
            GP_Log(QStringLiteral("WINSKIN::Skin::Load: more than %1 items, the rest left out\n").arg(kMaxSkinItems));
        m_itemLimitLogged = true;
        return nullptr;
    }
    m_items.Add(Create(element.Value()));
    Rectangle* item = m_items[m_items.GetCount() - 1].get();
    m_reading.push_back(item);
    item->Read(element);
    m_reading.pop_back();
    return item;
}

QImage Skin::ReadPicture(const QString& path, QString* error)
{
    auto found = m_pictures.constFind(path);
    if (found == m_pictures.constEnd()) {
        QImageReader reader(path);
        QImage image = reader.read();
        found = m_pictures.insert(path, {image, image.isNull() ? reader.errorString() : QString()});
    }
    if (error)
        *error = found->second;
    return found->first;
}

bool Skin::IsBeingRead(const Rectangle* item) const
{
    return std::find(m_reading.begin(), m_reading.end(), item) != m_reading.end();
}

void Skin::NameRead(Rectangle* item)
{
    // Items are appended before they read their names, so the first to register a name is
    // also the first in list order.
    if (!item->Name().isNull() && !m_firstByName.contains(item->Name()))
        m_firstByName.insert(item->Name(), item);
}

Rectangle* Skin::FindByName(const QString& name) const
{
    return m_firstByName.value(name, nullptr);
}

Object* Skin::FindObject(const QString& name, int id1, int id2) const
{
    Object* fallback = nullptr;
    for (const auto& item : m_items) {
        Object* object = item->AsObject();
        if (!object || object->Name() != name)
            continue;
        if (object->ID1() == id1 && object->ID2() == id2)
            return object;
        if (!fallback && object->ID1() == 0 && object->ID2() == 0)
            fallback = object;
    }
    return fallback;
}

} // namespace WINSKIN
