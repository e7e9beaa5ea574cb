#include "view/model/PuzzlePaths.h"

#include "engine/GP_Folders.h"

namespace {
QString InFolder(GP_Folder folder, const QString& name, const char* extension)
{
    if (!GP_PuzzlePaths::IsSafeName(name))
        return {};
    return GP_FilePath(folder, name + QLatin1String(extension));
}
} // namespace

bool GP_PuzzlePaths::IsSafeName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

QString GP_PuzzlePaths::LibraryFile(const QString& name)
{
    return InFolder(GP_Folder::PuzzlesSimple, name, kPuzzleExtension);
}

QString GP_PuzzlePaths::CalendarFile(const QString& name)
{
    return InFolder(GP_Folder::PuzzlesCalendar, name, kPuzzleExtension);
}

QString GP_PuzzlePaths::CacheFile(const QString& name)
{
    return InFolder(GP_Folder::PuzzlesCash, name, kCacheExtension);
}

QString GP_PuzzlePaths::PackingCopy(const QString& name)
{
    return InFolder(GP_Folder::Temp, name, kPuzzleExtension);
}

QString GP_PuzzlePaths::PuzzleFile(const QString& name, bool fromCalendar)
{
    return fromCalendar ? CalendarFile(name) : LibraryFile(name);
}
