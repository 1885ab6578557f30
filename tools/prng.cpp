// prng: splitmix64, which is tiny, fast and well mixed even for neighbouring seeds.
#include "tools/prng.h"

Prng Prng_Make(uint64_t seed)
{
    return Prng{seed};
}

uint32_t Prng_Next(Prng &prng)
{
    prng.state += 0x9E3779B97F4A7C15ull;
    uint64_t z = prng.state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

float Prng_Unit(Prng &prng)
{
    return static_cast<float>(Prng_Next(prng) >> 8) / 16777216.0f;
}

int32_t Prng_Range(Prng &prng, int32_t low, int32_t high)
{
    uint32_t span = static_cast<uint32_t>(high - low) + 1u;
    return low + static_cast<int32_t>(Prng_Next(prng) % span);
}

bool Prng_Chance(Prng &prng, float probability)
{
    return Prng_Unit(prng) < probability;
}
