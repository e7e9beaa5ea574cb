#include "view/model/PuzzleImport.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Puzzle.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kExtension = QStringLiteral(".pzl");
const QString kCacheExtension = QStringLiteral(".cash");
constexpr int kMostClashes = 9999;

QString LibraryFile(const QString& name)
{
    return GP_FilePath(GP_Folder::PuzzlesSimple, name + kExtension);
}

bool IsWholePuzzle(const QString& path)
{
    CGP_Puzzle puzzle;
    try {
        return puzzle.OpenFile(path) && puzzle.m_pImage && !puzzle.m_pImage->isNull();
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("CPuzzleImport: %1: %2\n").arg(path, QLatin1String(error.Message())));
        return false;
    }
}

bool SameBytes(const QString& a, const QString& b)
{
    QFile first(a), second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    return first.readAll() == second.readAll();
}

bool InLibraryFolder(const QFileInfo& file)
{
    return file.suffix().compare(QLatin1String("pzl"), Qt::CaseInsensitive) == 0
        && file.absoluteDir().canonicalPath() == QDir(GP_FolderPath(GP_Folder::PuzzlesSimple)).canonicalPath();
}
} // namespace

QString CPuzzleImport::NameFor(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    if (file.endsWith(kExtension, Qt::CaseInsensitive) && file.size() > kExtension.size())
        return file.chopped(kExtension.size());
    return file;
}

QString CPuzzleImport::FreeName(const QString& wanted)
{
    if (!QFile::exists(LibraryFile(wanted)))
        return wanted;
    for (int n = 2; n <= kMostClashes; ++n) {
        const QString name = QStringLiteral("%1 (%2)").arg(wanted).arg(n);
        if (!QFile::exists(LibraryFile(name)))
            return name;
    }
    return QString();
}

CPuzzleImport::Result CPuzzleImport::Import(const QString& path)
{
    const QFileInfo file(path);
    if (file.isFile() && InLibraryFolder(file))
        return {Outcome::InLibrary, file.completeBaseName()};
    if (!file.isFile() || !IsWholePuzzle(path)) {
        GP_Log(QStringLiteral("CPuzzleImport: %1 is not a puzzle that can be played\n").arg(path));
        return {Outcome::Damaged, QString()};
    }
    const QString wanted = NameFor(path);
    // The same file opened twice is one puzzle, not two.
    if (SameBytes(path, LibraryFile(wanted)))
        return {Outcome::InLibrary, wanted};
    const QString name = FreeName(wanted);
    if (name.isEmpty())
        return {Outcome::CopyFailed, QString()};

    const QString target = LibraryFile(name);
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(path, part) || !QFile::rename(part, target)) {
        GP_Log(QStringLiteral("CPuzzleImport: cannot copy %1 to %2\n").arg(path, target));
        QFile::remove(part);
        return {Outcome::CopyFailed, QString()};
    }
    // Piece images left behind under this name belong to another puzzle.
    QFile::remove(GP_FilePath(GP_Folder::PuzzlesCash, name + kCacheExtension));
    return {Outcome::Imported, name};
}
