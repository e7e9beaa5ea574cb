#include "tests/support/TestFolder.h"

#include "engine/GP_Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestFolder::TestFolder()
    : m_previousAppFolder(GP_AppFolder())
{
    GP_SetAppFolder(m_dir.path());
}

TestFolder::~TestFolder()
{
    GP_SetAppFolder(m_previousAppFolder);
}

QString TestFolder::Write(const QString& name, const QByteArray& bytes) const
{
    const QString path = File(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray TestFolder::Read(const QString& name) const
{
    QFile file(File(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString SourceFile(const QString& relativePath)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/") + relativePath;
}
