#include "view/model/StarterLibrary.h"

#include "engine/GP_Folders.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/GP_Registry.h"

#include <QDir>
#include <QFile>

namespace {
const QString kPuzzleFilter = QStringLiteral("*.pzl");
// A copy in progress never looks like a puzzle to the library's listing.
const QString kPartSuffix = QStringLiteral(".part");

bool CopyWhole(const QString& from, const QString& to)
{
    const QString part = to + kPartSuffix;
    QFile::remove(part);
    if (!QFile::copy(from, part)) {
        GP_Log(QStringLiteral("CStarterLibrary: cannot copy %1 to %2\n").arg(from, part));
        return false;
    }
    if (!QFile::rename(part, to)) {
        GP_Log(QStringLiteral("CStarterLibrary: cannot rename %1 to %2\n").arg(part, to));
        QFile::remove(part);
        return false;
    }
    return true;
}

QString ThisFolder()
{
    const QDir folder(GP_AppFolder());
    const QString canonical = folder.canonicalPath();
    return canonical.isEmpty() ? folder.absolutePath() : canonical;
}

QStringList SettledFolders(const CGP_Registry& settings)
{
    QString text;
    if (!settings.GetText(QLatin1String(CStarterLibrary::kSeededValue), text))
        return {};
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool Settle(CGP_Registry& settings)
{
    const QStringList folders = SettledFolders(settings) << ThisFolder();
    return settings.SetText(QLatin1String(CStarterLibrary::kSeededValue), folders.join(QLatin1Char('\n')))
        && settings.Flush();
}
} // namespace

bool CStarterLibrary::IsSettled(const CGP_Registry& settings)
{
    return SettledFolders(settings).contains(ThisFolder());
}

QString CStarterLibrary::StarterFolder()
{
    return GP_FilePath(GP_Folder::Data, QStringLiteral("starter"));
}

CStarterLibrary::Outcome CStarterLibrary::SeedIfNeeded(CGP_Registry& settings, int* copied)
{
    if (copied)
        *copied = 0;
    if (IsSettled(settings))
        return Outcome::AlreadySettled;

    const QDir library(GP_FolderPath(GP_Folder::PuzzlesSimple));
    if (!library.exists() && !QDir().mkpath(library.path())) {
        GP_Log(QStringLiteral("CStarterLibrary: cannot make %1\n").arg(library.path()));
        return Outcome::CopyFailed;
    }
    if (!library.entryList({kPuzzleFilter}, QDir::Files).isEmpty()) {
        Settle(settings);
        return Outcome::LibraryInUse;
    }
    const QDir starter(StarterFolder());
    const QStringList puzzles = starter.entryList({kPuzzleFilter}, QDir::Files, QDir::Name);
    if (puzzles.isEmpty()) {
        GP_Log(QStringLiteral("CStarterLibrary: no starter puzzles in %1\n").arg(starter.path()));
        return Outcome::NothingToCopy;
    }
    QStringList done;
    for (const QString& name : puzzles) {
        if (!CopyWhole(starter.filePath(name), library.filePath(name))) {
            // A part of the starter library would count as the player's own next time: take it
            // back out, so that the next start tries again from an empty library.
            for (const QString& undo : done)
                QFile::remove(library.filePath(undo));
            return Outcome::CopyFailed;
        }
        done.append(name);
    }
    if (copied)
        *copied = int(done.size());
    GP_Log(QStringLiteral("CStarterLibrary: %1 starter puzzles copied into the library\n").arg(done.size()));
    if (!Settle(settings))
        GP_Log(QStringLiteral("CStarterLibrary: the starter library is in, but could not be recorded\n"));
    return Outcome::Seeded;
}
