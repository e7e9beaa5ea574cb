#include "tests/support/TestPuzzles.h"

#include "engine/GP_Path.h"
#include "tests/support/TestFolder.h"

QImage CellPicture(int width, int height, int cell)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int column = x / cell, row = y / cell;
            picture.setPixel(x, y, qRgb((column * 83 + 40) & 0xFF, (row * 97 + 60) & 0xFF, ((column + row) * 51 + 90) & 0xFF));
        }
    }
    return picture;
}

boost::shared_ptr<CGP_Puzzle> MakeTestPuzzle(const TestPuzzleOptions& options)
{
    static CGP_Path pattern;
    if (pattern.IsEmpty())
        LoadPattern(&pattern, SourceFile(QStringLiteral("resources/game/PATTERNS/") + GP_PatternFileName(0)));
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_pImage.reset(new QImage(CellPicture(options.width, options.height, int(options.pieceSize))));
    puzzle->m_fPieceSize = options.pieceSize;
    puzzle->m_nPatternIndex = 0;
    puzzle->m_strTitle = puzzle->m_strStoredTitle = QStringLiteral("Meadow");
    puzzle->m_strCreator = QStringLiteral("Ada");
    puzzle->m_bOptions[CGP_Puzzle::kOptionBevel] = options.bevel;
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = options.shadows;
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = options.rotate;
    puzzle->CreateGrid(&pattern, GP_PatternHasRandomTabs(0), true);
    puzzle->MakeThumbnail();
    puzzle->m_nCutWidth = options.width;
    puzzle->m_nCutHeight = options.height;
    return puzzle;
}

bool WriteTestPuzzle(const QString& path, const TestPuzzleOptions& options)
{
    return MakeTestPuzzle(options)->WriteNewFile(path);
}
