#pragma once

#include "engine/GP_FastContainer.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TiXmlElement;

namespace WINSKIN {

class Rectangle;
class Object;

// Items one skin may hold; the rest of a larger file is left out (with one log line). Every
// item starts with room for 128 words and children, a few kilobytes, so this also bounds the
// memory a hostile file can claim. A real skin has a few hundred items.
constexpr int kMaxSkinItems = 1 << 14;

// One skin file in memory: the flat list of its items, which it owns. One skin is current for
// the whole program (Current); the main view loads it and makes it current.
class Skin
{
public:
    // Runs after every load, so that the skinned windows drop their items and look them up again.
    using ReloadHandler = std::function<void(Skin&)>;

    Skin();
    virtual ~Skin();

    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

    // Reads a skin file (relative to the application folder) in place of the present items.
    // A missing, damaged or hostile file leaves the skin empty, with one log line; answers
    // whether the file was read.
    bool Load(const QString& path);
    // The same from a skin file's text; "Src" names are taken relative to folder, and the
    // log names the text by sourceName.
    bool LoadText(const QByteArray& text, const QString& folder, const QString& sourceName = QString());

    // The first item with that exact name, or none.
    Rectangle* FindByName(const QString& name) const;
    // The Object with that name and both identifiers; else the one with identifiers 0, 0;
    // else none.
    Object* FindObject(const QString& name, int id1, int id2) const;

    int GetCount() const { return m_items.GetCount(); }
    Rectangle* GetItem(int index) const { return m_items[index].get(); }
    // The folder of the skin file that was loaded last; "Src" names are relative to it.
    const QString& Folder() const { return m_folder; }
    // The skin file that was loaded last, as a full path; empty for a skin read from text.
    const QString& FilePath() const { return m_filePath; }

    // While loading: the item an element stands for, either the matching item defined earlier
    // or a new one appended to the list and read in place; none past kMaxSkinItems.
    Rectangle* ReadItem(const TiXmlElement& element);
    // Called by an item as soon as it knows its name, so that lookups by name stay quick.
    void NameRead(Rectangle* item);
    // Whether the item is still being read (so that making it a child would make a loop).
    bool IsBeingRead(const Rectangle* item) const;
    // While loading: a picture file, read once however many items cut parts of it. A null
    // image when it cannot be read; error then says why.
    QImage ReadPicture(const QString& path, QString* error);

    static Skin* Current();
    static void SetCurrent(Skin* skin);
    // Installs the handler; answers the one it replaces.
    static ReloadHandler SetReloadHandler(ReloadHandler handler);

private:
    // Reads the items from a skin file's text (the list is empty, the folder set).
    bool ReadText(const QByteArray& text, const QString& sourceName);
    void Clear();
    void Finish();
    Rectangle* FindMatching(const TiXmlElement& element) const;
    std::unique_ptr<Rectangle> Create(const char* kind);

    CGP_FastContainer<std::unique_ptr<Rectangle>> m_items;
    std::vector<const Rectangle*> m_reading;
    QHash<QString, Rectangle*> m_firstByName;
    // The pictures read during the present load, with the reason for those that failed.
    QHash<QString, std::pair<QImage, QString>> m_pictures;
    QString m_folder;
    QString m_filePath;
    bool m_itemLimitLogged = false;
};

} // namespace WINSKIN
