// random: the game's source of random numbers, seeded once per run from the clock.
#pragma once

#include <cstdint>

// A non-negative pseudo-random value (0 to RAND_MAX). The first call seeds from the clock.
int32_t Random_GetValue(void);

// Seeds the generator explicitly so a run can be repeated (tests, scripted play).
// A later Random_GetValue does not reseed from the clock.
void Random_SetSeed(int32_t seed);

// A second generator on state the caller holds: one 64-bit linear congruential step, then
// bits 32 to 62 of the new state (0 to 2147483647). Independent of Random_GetValue.
int32_t randomStateValueInt(uint64_t *state);
