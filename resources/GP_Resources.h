#pragma once

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
// look: "normal", "hover", "pressed" or "disabled".
QString GP_ButtonLookPath(int buttonId, const QString& look);
QString GP_ButtonFontPath();
