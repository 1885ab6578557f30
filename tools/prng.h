// prng: a small seeded generator of our own, so that every build draws the same pictures and
// sounds whatever the C library's rand does and whoever else draws from it.
#pragma once

#include <cstdint>

struct Prng
{
    uint64_t state;
};

Prng Prng_Make(uint64_t seed);
uint32_t Prng_Next(Prng &prng);
// Uniform in [0, 1).
float Prng_Unit(Prng &prng);
// Uniform integer in [low, high], both inclusive.
int32_t Prng_Range(Prng &prng, int32_t low, int32_t high);
// True with the given probability.
bool Prng_Chance(Prng &prng, float probability);
