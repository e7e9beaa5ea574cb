#pragma once

// The view's screens. A plain integer in the game's traces, so the values are fixed. Scoped, so
// that "Play" or "Calendar" never clash with the classes of those screens.
enum class GameMode : int {
    MyPuzzles = 0,
    CreateImage = 1,
    CreateParameters = 2,
    Play = 3,
    Startup = 4,
    Calendar = 5,
    Treasury = 6,
};
