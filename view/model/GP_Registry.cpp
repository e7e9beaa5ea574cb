#include "view/model/GP_Registry.h"

#include "shell/log/GP_LogFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QVariant>
#include <QtEndian>

#include <cstring>
#include <map>

namespace {

const char kOrganisation[] = "Quorvik";
const char kApplication[] = "Velmora";
constexpr int kNumberWidth = 4;
constexpr int kFlagWidth = 1;

// The settings file treats "/" as a group separator; the game's names are flat, so the few
// characters that would split a name are escaped ("%" first, so that no two names meet).
QString KeyFor(const QString& name)
{
    QString key = name;
    key.replace(QLatin1Char('%'), QStringLiteral("%25"));
    key.replace(QLatin1Char('/'), QStringLiteral("%2F"));
    return key;
}

QByteArray LittleEndian(quint32 value, int width)
{
    QByteArray bytes(kNumberWidth, '\0');
    qToLittleEndian(value, bytes.data());
    bytes.truncate(width);
    return bytes;
}

void Log(const QString& text)
{
    GP_Log(QStringLiteral("CGP_Registry: ") + text + QLatin1Char('\n'));
}

// A save killed between creating its lock file and writing its owner into it leaves an empty
// lock that nobody can prove stale, and the settings file would wait half a minute for it at the
// next save. A lock with no owner whose file lock nobody holds any more is removed at once.
void RemoveAbandonedLock(const QString& settingsPath)
{
    const QString lockPath = settingsPath + QStringLiteral(".lock");
    if (!QFileInfo::exists(lockPath))
        return;
    QLockFile lock(lockPath);
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock.getLockInfo(&pid, &host, &application))
        return;
    if (lock.removeStaleLockFile())
        Log(QStringLiteral("removed the lock an interrupted save left beside ") + settingsPath);
}

void SyncSettings(QSettings& key, const QString& settingsPath)
{
    RemoveAbandonedLock(settingsPath);
    key.sync();
}

} // namespace

CGP_Registry::CGP_Registry()
    : CGP_Registry(UserSettingsPath())
{
}

CGP_Registry::CGP_Registry(const QString& filePath)
    : m_path(filePath)
{
    Open();
}

CGP_Registry::~CGP_Registry()
{
    Flush();
}

QString CGP_Registry::UserSettingsPath()
{
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kOrganisation),
                          QString::fromLatin1(kApplication));
    return probe.fileName();
}

QString CGP_Registry::DamagedCopyPath(const QString& filePath)
{
    return filePath + QStringLiteral(".damaged");
}

void CGP_Registry::Open()
{
    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !QDir().mkpath(info.absolutePath())) {
        Log(QStringLiteral("cannot create the settings folder of ") + m_path);
        return;
    }
    if (info.exists() && (!info.isFile() || !info.isReadable())) {
        Log(QStringLiteral("cannot read the settings file ") + m_path);
        return;
    }
    auto key = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    // Only whole-file replacement: never fall back to rewriting the file in place.
    key->setAtomicSyncRequired(true);
    if (key->status() == QSettings::AccessError) {
        Log(QStringLiteral("cannot open the settings file ") + m_path);
        return;
    }
    if (key->status() == QSettings::FormatError)
        key = RecoverDamagedFile(std::move(key));
    m_key = std::move(key);
}

// A file that does not parse would never be written again, so the game would lose every later
// change. What still reads is kept, the damaged file is moved aside for whoever wants to look at
// it, and the key starts afresh with the values that survived.
std::unique_ptr<QSettings> CGP_Registry::RecoverDamagedFile(std::unique_ptr<QSettings> damaged)
{
    Log(QStringLiteral("the settings file is damaged, unreadable values take their defaults: ") + m_path);
    std::map<QString, QVariant> survivors;
    for (const QString& key : damaged->childKeys()) {
        const QVariant value = damaged->value(key);
        if (value.isValid())
            survivors.emplace(key, value);
    }
    damaged.reset();

    const QString aside = DamagedCopyPath(m_path);
    QFile::remove(aside);
    if (!QFile::rename(m_path, aside)) {
        Log(QStringLiteral("cannot move the damaged settings file aside to ") + aside);
        return nullptr;
    }
    auto fresh = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    fresh->setAtomicSyncRequired(true);
    for (const auto& [key, value] : survivors)
        fresh->setValue(key, value);
    SyncSettings(*fresh, m_path);
    if (fresh->status() != QSettings::NoError) {
        Log(QStringLiteral("cannot write the settings file ") + m_path);
        return nullptr;
    }
    return fresh;
}

bool CGP_Registry::IsOpen() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_key != nullptr;
}

bool CGP_Registry::Write(const QString& name, const QVariant& value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_key || name.isEmpty())
        return false;
    m_key->setValue(KeyFor(name), value);
    return true;
}

bool CGP_Registry::SetText(const QString& name, const QString& text)
{
    return Write(name, text);
}

bool CGP_Registry::SetFlag(const QString& name, quint8 value)
{
    return Write(name, LittleEndian(value, kFlagWidth));
}

bool CGP_Registry::SetNumber(const QString& name, quint32 value)
{
    return Write(name, LittleEndian(value, kNumberWidth));
}

bool CGP_Registry::SetBytes(const QString& name, const QByteArray& bytes)
{
    return Write(name, bytes);
}

bool CGP_Registry::GetText(const QString& name, QString& text) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_key || name.isEmpty())
        return false;
    const QVariant value = m_key->value(KeyFor(name));
    // Raw bytes are not a text, even when they would decode as one.
    if (value.typeId() != QMetaType::QString)
        return false;
    // A deep copy: the caller may be another thread, and the stored text must not be shared
    // with it beyond the lock.
    const QString stored = value.toString();
    text = QString(stored.constData(), stored.size());
    return true;
}

bool CGP_Registry::GetBytes(const QString& name, int maxWidth, QByteArray& bytes) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_key || name.isEmpty())
        return false;
    const QVariant value = m_key->value(KeyFor(name));
    if (value.typeId() != QMetaType::QByteArray)
        return false;
    const QByteArray stored = value.toByteArray();
    if (stored.size() > maxWidth)
        return false;
    bytes = QByteArray(stored.constData(), stored.size());
    return true;
}

bool CGP_Registry::GetNumber(const QString& name, quint32& value) const
{
    QByteArray bytes;
    if (!GetBytes(name, kNumberWidth, bytes))
        return false;
    unsigned char buffer[kNumberWidth] = {};
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    value = qFromLittleEndian<quint32>(buffer);
    return true;
}

bool CGP_Registry::GetFlag(const QString& name, quint8& value) const
{
    QByteArray bytes;
    if (!GetBytes(name, kFlagWidth, bytes))
        return false;
    value = bytes.isEmpty() ? 0 : static_cast<quint8>(bytes.at(0));
    return true;
}

bool CGP_Registry::HasValue(const QString& name) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_key && !name.isEmpty() && m_key->contains(KeyFor(name));
}

bool CGP_Registry::Flush()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_key)
        return false;
    SyncSettings(*m_key, m_path);
    if (m_key->status() == QSettings::NoError)
        return true;
    Log(QStringLiteral("cannot write the settings file ") + m_path);
    return false;
}
