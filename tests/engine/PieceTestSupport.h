#pragma once

#include "engine/GP_Path.h"
#include "engine/GP_PuzzlePiece.h"
#include "engine/GP_Puzzle.h"

#include <QImage>

#include <boost/shared_ptr.hpp>

#include <vector>

// Piece images made the plain way: every sample of the alpha counted against every crossing of
// the whole outline, every bevel distance asked of every arc. Slow, and the measure of the
// builder: both must give the same pixels. One premultiplied image per rotation step, turned.
std::vector<QImage> ReferencePieceImages(const GP_PieceSource& source);

// A group shadow's alpha made the plain way: silhouettes, mask, and the blur sample by sample.
QImage ReferenceShadowAlpha(const CGP_Puzzle& puzzle, const std::vector<GP_PiecePtr>& pieces);

// A one-arc straight outline from (x1, y1) to (x2, y2).
std::unique_ptr<CGP_Path> StraightEdge(double x1, double y1, double x2, double y2);
// The pattern of a straight side, for cutting a grid of plain squares.
CGP_Path StraightPattern();

// A photo-like test picture: smooth colour ramps with fine noise, every pixel opaque.
QImage TestPicture(int width, int height);

// A puzzle of the picture cut with the pattern at the piece size (no pieces built yet).
boost::shared_ptr<CGP_Puzzle> CutPuzzle(const QImage& picture, const CGP_Path* pattern, float pieceSize,
                                        float chaos, bool bevel, bool rotate, bool shadows);

// The source BuildPiece would use for the piece in row, column.
GP_PieceSource SourceOf(const CGP_Puzzle& puzzle, int row, int column);

// The raw words of an image.
std::vector<uint32_t> Words(const QImage& image);
