#pragma once

#include <QImage>
#include <QString>

// The pictures, sounds, cursors, picture-button looks and the embedded font compiled into the
// game (resources/velmora.qrc). The library that holds them is static, so the program asks for
// them once at start before it opens any ":/..." path.
void GP_InitResources();

// The paths the game opens them by: ":/bitmap/167", ":/wave/239", ":/cursor/104",
// ":/gif/49302/hover", ":/icon/128", ":/font/buttons".
QString GP_BitmapPath(const QString& nameOrNumber);
QString GP_WavePath(int number);
QString GP_CursorPath(int number);
QString GP_IconPath(int number);
// A compiled-in picture for a screen of that pixel ratio: its double-size version
// (":/bitmap/167@2x") on a screen of 1.5 or more when the game has one, else the picture itself;
// the image carries the ratio it was made for, so it is drawn at the same size either way.
// Null when the game has no such picture.
QImage GP_LoadBitmap(const QString& nameOrNumber, qreal devicePixelRatio);
// look: "normal", "hover", "pressed" or "disabled".
QString GP_ButtonLookPath(int buttonId, const QString& look);
QString GP_ButtonFontPath();
