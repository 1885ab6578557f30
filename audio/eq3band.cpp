// eq3band: the mid band is whatever of the input, delayed by three values, is left once the low
// and high bands are taken out, so with unity gains the three bands sum back to that input.
#include "audio/eq3band.h"

#include <cmath>
#include <cstring>

static constexpr double pi = 3.141592653589793;
// Keeps the chains' poles away from denormal values during silence.
static constexpr double denormalGuard = 1.0 / 4294967295.0;

void init_3band_state(ThreeBandState *state, int32_t lowFrequency, int32_t highFrequency,
                      int32_t mixFrequency)
{
    memset(state, 0, sizeof(ThreeBandState));
    state->lowGain = 1.0;
    state->midGain = 1.0;
    state->highGain = 1.0;
    state->lowCoefficient = 2.0 * sin(pi * (static_cast<double>(lowFrequency) / mixFrequency));
    state->highCoefficient = 2.0 * sin(pi * (static_cast<double>(highFrequency) / mixFrequency));
}

// Runs one value through a four-stage one-pole low-pass chain; returns its last pole.
static double _RunChain(double *poles, double coefficient, double sample)
{
    poles[0] += coefficient * (sample - poles[0]) + denormalGuard;
    poles[1] += coefficient * (poles[0] - poles[1]);
    poles[2] += coefficient * (poles[1] - poles[2]);
    poles[3] += coefficient * (poles[2] - poles[3]);
    return poles[3];
}

double do_3band(ThreeBandState *state, double sample)
{
    const double low = _RunChain(state->lowPoles, state->lowCoefficient, sample);
    const double delayed = state->delayed[2];
    const double high = delayed - _RunChain(state->highPoles, state->highCoefficient, sample);
    const double mid = delayed - (low + high);

    const double output = (low * state->lowGain + mid * state->midGain) + high * state->highGain;

    state->delayed[2] = state->delayed[1];
    state->delayed[1] = state->delayed[0];
    state->delayed[0] = sample;
    return output;
}
