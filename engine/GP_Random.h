#pragma once

#include <cstdint>

// The generator the whole game draws from, in place of the run-time library's rand/srand:
// state = state * 214013 + 2531011 (mod 2^32), result = (state >> 16) & 0x7FFF.
// Every thread has its own state, starting at 1; GP_srand sets the calling thread's state.
constexpr int GP_RAND_MAX = 0x7FFF;

int GP_rand();
void GP_srand(uint32_t seed);
