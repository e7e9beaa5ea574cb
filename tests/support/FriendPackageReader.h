#pragma once

#include <QString>
#include <QStringList>

// Opens a "send to friend" package as a friend's archive tool would: it must be a Windows
// program ("MZ") that 7-Zip unpacks (7-Zip reads NSIS installers). Answers the puzzle files
// inside, by their paths in the package, sorted; a failure is reported to the running test.
QStringList UnpackedPuzzleFiles(const QString& package, const QString& into);
