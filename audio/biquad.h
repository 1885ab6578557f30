// biquad: second-order IIR filters designed with the RBJ audio-EQ cookbook formulas, run one
// value at a time in double precision.
#pragma once

#include <cstdint>

struct BiQuadFilter;

// Filter types accepted by BiQuad_new.
enum BiQuadType : int32_t
{
    BIQUAD_LOWPASS = 0,
    BIQUAD_HIGHPASS = 1,
    BIQUAD_BANDPASS = 2,
    BIQUAD_NOTCH = 3,
    BIQUAD_PEAKING = 4,
    BIQUAD_LOWSHELF = 5,
    BIQUAD_HIGHSHELF = 6,
};

// A filter of the given type with its history cleared. gain (dB) shapes only the peaking and
// shelving types; bandwidth is in octaves between the -3 dB points. Returns null when memory
// runs out, the type is outside 0 to 6, or the settings give no finite coefficients (a
// frequency of 0 or of exactly half the sample rate, a sample rate of 0).
// Ownership: the caller; the filter comes from malloc, release it with free.
BiQuadFilter *BiQuad_new(int32_t type, double gain, double frequency, double sampleRate,
                         double bandwidth);

// Filters one input value and advances the filter's history. Returns the output value.
double BiQuad(double sample, BiQuadFilter *filter);
