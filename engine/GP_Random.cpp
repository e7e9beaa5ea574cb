#include "engine/GP_Random.h"

namespace {
thread_local uint32_t t_state = 1;
}

int GP_rand()
{
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFF);
}

void GP_srand(uint32_t seed)
{
    t_state = seed;
}
