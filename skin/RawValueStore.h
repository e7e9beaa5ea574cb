#pragma once

#include <QByteArray>
#include <QString>

namespace WINSKIN {

// Where skinned windows keep raw values by name between runs (the game's settings key). The skin
// engine sits below the settings store, so the store reaches it through this.
class RawValueStore
{
public:
    virtual ~RawValueStore() = default;

    // Stores the bytes under the name; false when they could not be kept.
    virtual bool SetBytes(const QString& name, const QByteArray& bytes) = 0;
    // At most maxWidth bytes stored under the name; false when there are none or more.
    virtual bool GetBytes(const QString& name, int maxWidth, QByteArray& bytes) const = 0;
};

// Any settings key with SetBytes and GetBytes of the same form (the game's registry key) seen
// as a RawValueStore.
template <typename Key>
class RawValueStoreOf : public RawValueStore
{
public:
    explicit RawValueStoreOf(Key& key)
        : m_key(key)
    {
    }

    bool SetBytes(const QString& name, const QByteArray& bytes) override { return m_key.SetBytes(name, bytes); }
    bool GetBytes(const QString& name, int maxWidth, QByteArray& bytes) const override
    {
        return m_key.GetBytes(name, maxWidth, bytes);
    }

private:
    Key& m_key;
};

} // namespace WINSKIN
