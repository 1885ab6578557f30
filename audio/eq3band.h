// eq3band: a three-band equaliser for one channel. Two four-stage one-pole low-pass chains
// split the input into low, mid and high bands, which are weighted and summed again.
#pragma once

#include <cstdint>

// One channel's equaliser; plain data that lives in the caller's storage.
struct ThreeBandState
{
    double lowCoefficient;
    double lowPoles[4];
    double highCoefficient;
    double highPoles[4];
    double delayed[3]; // the input one, two and three values back
    double lowGain;    // linear factors
    double midGain;
    double highGain;
};

// Clears the state, sets all three gains to 1.0 and the two split points (Hz) for data
// sampled at mixFrequency (Hz).
void init_3band_state(ThreeBandState *state, int32_t lowFrequency, int32_t highFrequency,
                      int32_t mixFrequency);

// Equalises one value and advances the state. The output lags the input by three values: with
// all gains at 1.0 it is the input of three calls earlier.
double do_3band(ThreeBandState *state, double sample);
