// audio: in-place processing of a Sample's decoded PCM data (volume, biquad filters, a
// three-band equaliser). Only whole frames are touched; 8-bit values are processed around
// their silence level 128. Results beyond the sample width saturate at its limits.
// Processing is heard only when done before the sample's first play.
#pragma once

#include <cstdint>

struct Sample;

// Multiplies every value by factor, in single precision, truncated toward zero.
void Sample_Volume(Sample *sample, float factor);

// Biquad filters at frequency (Hz) with bandwidth (octaves), one filter history per channel.
// Settings that give no usable filter (see BiQuad_new) leave the data unchanged.
void Sample_LowPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth);
void Sample_HighPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth);
void Sample_BandPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth);
void Sample_NotchPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth);

// Splits each channel at lowFrequency and highFrequency (Hz) and weights the low, mid and high
// bands by the linear gains. The equaliser delays the data by three frames.
void Sample_3BandEQFilter(Sample *sample, int32_t lowFrequency, int32_t highFrequency,
                          float lowGain, float midGain, float highGain);
