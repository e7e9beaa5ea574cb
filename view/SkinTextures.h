#pragma once

#include <QImage>
#include <QList>

// The current skin's board patterns: the pictures of its "Textures" collection, pattern 1
// first. Empty without a skin or without the collection; a child that is not a picture gives a
// null image in its place, so the numbers of the others stay right.
QList<QImage> GP_SkinTextures();
