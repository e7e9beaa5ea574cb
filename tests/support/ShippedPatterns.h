#pragma once

#include "engine/GP_Path.h"

// A pattern the game ships (index 0..15), read from the sources once for the whole test program.
const CGP_Path& ShippedPattern(int index);
