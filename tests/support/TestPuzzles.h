#pragma once

// Real puzzles for the tests that open files as the game does: a picture of coloured cells cut
// with the first outline pattern and written as a puzzle file.
#include "engine/GP_Puzzle.h"

#include <QImage>
#include <QString>

#include <boost/shared_ptr.hpp>

struct TestPuzzleOptions
{
    int width = 300;
    int height = 200;
    float pieceSize = 100;
    bool rotate = false;
    bool bevel = false;
    bool shadows = false;
};

// A picture whose cells of `cell` pixels each have a colour of their own.
QImage CellPicture(int width, int height, int cell);
// A cut puzzle, not yet built, named "Meadow".
boost::shared_ptr<CGP_Puzzle> MakeTestPuzzle(const TestPuzzleOptions& options);
// Writes a fresh puzzle file of those options; false when it could not be written.
bool WriteTestPuzzle(const QString& path, const TestPuzzleOptions& options);
