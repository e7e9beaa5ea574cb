#pragma once

#include <cstdint>

// The game's millisecond clock (monotonic; wraps like the multimedia clock after ~49 days).
// All game timing reads this one function.
uint32_t GP_TimeMs();
