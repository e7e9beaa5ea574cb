#pragma once

#include <cstdint>

// The game's millisecond clock (monotonic; wraps like the multimedia clock after ~49 days).
// All game timing reads this one function.
uint32_t GP_TimeMs();

// For tests: the clock stands still at ms until released; while it stands only the test moves
// it, so a wait of seconds in the game takes none in the test.
void GP_HoldClockForTests(uint32_t ms);
void GP_ReleaseClockForTests();
