// random: the C runtime's rand, seeded lazily; zero marks "not seeded yet".
#include "foundation/random.h"

#include <cstdlib>
#include <ctime>

static int32_t seed = 0;

void Random_SetSeed(int32_t value)
{
    // Zero would read as unseeded and be replaced by the clock on the next draw.
    seed = value != 0 ? value : 1;
    srand(static_cast<unsigned>(seed));
}

int32_t Random_GetValue(void)
{
    if (seed == 0)
    {
        Random_SetSeed(static_cast<int32_t>(static_cast<uint32_t>(time(nullptr))));
    }
    return rand();
}

int32_t randomStateValueInt(uint64_t *state)
{
    *state = *state * 0x5851F42D4C957F2Dull + 1u;
    return static_cast<int32_t>((*state >> 32) & 0x7FFFFFFFu);
}
