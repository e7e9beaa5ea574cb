#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

class QSettings;
class QVariant;

// The game's settings key of the current user: one settings file, one entry per value name.
// Numbers and flags are raw bytes of their exact width (a number is 4 little-endian bytes, a
// flag 1), texts are texts. While the key could not be opened every operation fails and
// changes nothing, so the game runs on its defaults.
//
// The file is only ever replaced whole: the new contents go to a file beside it, reach the
// disk, and are then renamed over the old one, so a crash while saving leaves either the old
// settings or the new ones, never a mix. Safe to use from several threads.
class CGP_Registry
{
public:
    // The settings file of the current user (organisation "Quorvik", application "Velmora").
    CGP_Registry();
    // A settings file at the given path (tests and tools).
    explicit CGP_Registry(const QString& filePath);
    virtual ~CGP_Registry();

    CGP_Registry(const CGP_Registry&) = delete;
    CGP_Registry& operator=(const CGP_Registry&) = delete;

    static QString UserSettingsPath();

    bool IsOpen() const;
    const QString& FilePath() const { return m_path; }

    virtual bool SetText(const QString& name, const QString& text);
    virtual bool SetFlag(const QString& name, quint8 value);
    virtual bool SetNumber(const QString& name, quint32 value);
    // Raw bytes of any width ("Language" is 2, a panel position 16).
    virtual bool SetBytes(const QString& name, const QByteArray& bytes);

    virtual bool GetText(const QString& name, QString& text) const;
    // Up to 4 raw bytes, little-endian; a shorter value fills the low bytes.
    virtual bool GetNumber(const QString& name, quint32& value) const;
    // A 1-byte flag; a wider value does not fit and fails.
    virtual bool GetFlag(const QString& name, quint8& value) const;
    // At most maxWidth raw bytes; a wider value fails.
    virtual bool GetBytes(const QString& name, int maxWidth, QByteArray& bytes) const;

    bool HasValue(const QString& name) const;

    // Writes what was set to the file now. False, with a log line, when it could not be
    // written; the file then still holds what the last successful write left there.
    bool Flush();

    // Where a damaged settings file is moved before the key starts afresh.
    static QString DamagedCopyPath(const QString& filePath);

private:
    void Open();
    std::unique_ptr<QSettings> RecoverDamagedFile(std::unique_ptr<QSettings> damaged);
    bool Write(const QString& name, const QVariant& value);

    QString m_path;
    std::unique_ptr<QSettings> m_key;
    mutable std::mutex m_lock;
};
