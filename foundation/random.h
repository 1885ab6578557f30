// random: the game's source of random numbers, seeded once per run from the clock.
#pragma once

#include <cstdint>

// A non-negative pseudo-random value (0 to RAND_MAX). The first call seeds from the clock.
int32_t Random_GetValue(void);

// Seeds the generator explicitly so a run can be repeated (tests, scripted play).
// A later Random_GetValue does not reseed from the clock.
void Random_SetSeed(int32_t seed);
