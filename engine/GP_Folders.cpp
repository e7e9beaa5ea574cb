#include "engine/GP_Folders.h"

#include <QDir>

#include <mutex>

namespace {
std::mutex s_lock;
QString s_appFolder;
bool s_appFolderSet = false;
}

QString GP_AppFolder()
{
    std::lock_guard<std::mutex> guard(s_lock);
    if (!s_appFolderSet) {
        s_appFolder = QDir::currentPath();
        s_appFolderSet = true;
    }
    return s_appFolder;
}

void GP_SetAppFolder(const QString& folder)
{
    QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    std::lock_guard<std::mutex> guard(s_lock);
    s_appFolder = clean;
    s_appFolderSet = true;
}

const char* GP_FolderName(GP_Folder folder)
{
    switch (folder) {
    case GP_Folder::Puzzles: return "Puzzles";
    case GP_Folder::PuzzlesSimple: return "Puzzles/simple";
    case GP_Folder::PuzzlesCalendar: return "Puzzles/calendar";
    case GP_Folder::PuzzlesCash: return "Puzzles/Cash";
    case GP_Folder::PuzzlesCCash: return "Puzzles/CCash";
    case GP_Folder::Temp: return "TEMP";
    case GP_Folder::Preview: return "Preview";
    case GP_Folder::Treasure: return "Treasure";
    case GP_Folder::Patterns: return "PATTERNS";
    case GP_Folder::Data: return "DATA";
    case GP_Folder::SkinNox: return "SKINS Nox";
    case GP_Folder::Skins: return "SKINS";
    }
    return "";
}

QString GP_FolderPath(GP_Folder folder)
{
    return GP_AppFolder() + QLatin1Char('/') + QLatin1String(GP_FolderName(folder));
}

QString GP_FilePath(GP_Folder folder, const QString& name)
{
    return GP_FolderPath(folder) + QLatin1Char('/') + name;
}

QString GP_AppFilePath(const QString& name)
{
    return GP_AppFolder() + QLatin1Char('/') + name;
}
