#pragma once

#include <QString>

// The folders below the application folder. Every path to one of them is formed here.
enum class GP_Folder {
    Puzzles,        // "Puzzles"
    PuzzlesSimple,  // "Puzzles/simple"
    PuzzlesCalendar,// "Puzzles/calendar"
    PuzzlesCash,    // "Puzzles/Cash"
    PuzzlesCCash,   // "Puzzles/CCash"
    Temp,           // "TEMP"
    Preview,        // "Preview"
    Treasure,       // "Treasure"
    Patterns,       // "PATTERNS"
    Data,           // "DATA"
    SkinNox,        // "SKINS Nox"
    Skins,          // "SKINS"
};

// The application folder: the current folder when the game started, without a trailing
// separator. Fixed on first use unless set explicitly (tests and tools point it elsewhere).
QString GP_AppFolder();
void GP_SetAppFolder(const QString& folder);

// The folder's name relative to the application folder, e.g. "Puzzles/simple".
const char* GP_FolderName(GP_Folder folder);
// The folder's full path, without a trailing separator.
QString GP_FolderPath(GP_Folder folder);
// A file in the folder: GP_FolderPath(folder) + "/" + name.
QString GP_FilePath(GP_Folder folder, const QString& name);
// A file directly in the application folder.
QString GP_AppFilePath(const QString& name);
