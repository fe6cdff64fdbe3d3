// Random numbers for the effects: the C library generator scaled to 0..32767,
// the range their formulas were written for (RAND_MAX where the show began).
// Each value costs exactly one rand() call, so seeding and counting calls
// still pin down every value drawn.
#pragma once

#include <cstdlib>

inline int showRandom() { return std::rand() / (RAND_MAX / 32768 + 1); }
