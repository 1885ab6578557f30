// audio: every operation walks the frames with its own per-channel processor; the walk owns
// the details of the four layouts (widths, the 8-bit silence offset, saturation), so the
// processors only ever see signed values.
#include "audio/audio.h"

#include "audio/audio_openal.h"
#include "audio/biquad.h"
#include "audio/eq3band.h"
#include "foundation/logging.h"

#include <AL/al.h>

#include <cmath>
#include <cstdlib>

namespace
{
struct FrameLayout
{
    int32_t channels;
    int32_t width; // bytes per value
};
} // namespace

static bool _GetLayout(int32_t format, FrameLayout *layout)
{
    switch (format)
    {
    case AL_FORMAT_MONO8:
        *layout = {1, 1};
        return true;
    case AL_FORMAT_MONO16:
        *layout = {1, 2};
        return true;
    case AL_FORMAT_STEREO8:
        *layout = {2, 1};
        return true;
    case AL_FORMAT_STEREO16:
        *layout = {2, 2};
        return true;
    default:
        return false;
    }
}

// The layout of a sample worth processing. A sample that decoded nothing has nothing to process
// and nothing worth reporting; any other format is logged with the caller's message.
static bool _GetWalkableLayout(Sample *sample, const char *unsupportedMessage, FrameLayout *layout)
{
    if (Sample_GetData(sample) == nullptr || Sample_GetSize(sample) <= 0)
    {
        return false;
    }
    if (!_GetLayout(Sample_GetFormat(sample), layout))
    {
        LOG_ERROR("%s", unsupportedMessage);
        return false;
    }
    return true;
}

// Truncates toward zero and clips to the width's range; a NaN becomes silence.
static int32_t _Saturate(double value, int32_t lowest, int32_t highest)
{
    if (std::isnan(value))
    {
        return 0;
    }
    if (value <= lowest)
    {
        return lowest;
    }
    if (value >= highest)
    {
        return highest;
    }
    return static_cast<int32_t>(value);
}

// Calls processor(channel, value) for every value of every whole frame and stores its result.
template <typename Processor>
static void _Walk(Sample *sample, const FrameLayout &layout, Processor &&processor)
{
    auto *bytes = static_cast<uint8_t *>(Sample_GetData(sample));
    const int32_t frameSize = layout.channels * layout.width;
    const int32_t frames = Sample_GetSize(sample) / frameSize;
    for (int32_t frame = 0; frame < frames; frame++)
    {
        for (int32_t channel = 0; channel < layout.channels; channel++)
        {
            uint8_t *value = bytes + frame * frameSize + channel * layout.width;
            if (layout.width == 1)
            {
                const double result = processor(channel, static_cast<double>(value[0]) - 128.0);
                value[0] = static_cast<uint8_t>(_Saturate(result, -128, 127) + 128);
            }
            else
            {
                const auto input = static_cast<int16_t>(value[0] | (value[1] << 8));
                const double result = processor(channel, static_cast<double>(input));
                const auto output = static_cast<uint16_t>(_Saturate(result, -32768, 32767));
                value[0] = static_cast<uint8_t>(output & 0xFF);
                value[1] = static_cast<uint8_t>(output >> 8);
            }
        }
    }
}

void Sample_Volume(Sample *sample, float factor)
{
    FrameLayout layout;
    if (!_GetWalkableLayout(sample, "Sample_Volume: Unsupported audio format", &layout))
    {
        return;
    }
    _Walk(sample, layout,
          [factor](int32_t, double value)
          { return static_cast<double>(static_cast<float>(value) * factor); });
}

static void _BandFilter(Sample *sample, int32_t type, int32_t frequency, int32_t bandwidth)
{
    FrameLayout layout;
    if (!_GetWalkableLayout(sample, "Sample_BandFilter: Unsupported audio format", &layout))
    {
        return;
    }
    const double rate = Sample_GetFrequence(sample);
    BiQuadFilter *filters[2] = {BiQuad_new(type, 1.0, frequency, rate, bandwidth),
                                BiQuad_new(type, 1.0, frequency, rate, bandwidth)};
    if (filters[0] != nullptr && filters[1] != nullptr)
    {
        _Walk(sample, layout,
              [&filters](int32_t channel, double value)
              { return BiQuad(value, filters[channel]); });
    }
    free(filters[0]);
    free(filters[1]);
}

void Sample_LowPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth)
{
    _BandFilter(sample, BIQUAD_LOWPASS, frequency, bandwidth);
}

void Sample_HighPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth)
{
    _BandFilter(sample, BIQUAD_HIGHPASS, frequency, bandwidth);
}

void Sample_BandPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth)
{
    _BandFilter(sample, BIQUAD_BANDPASS, frequency, bandwidth);
}

void Sample_NotchPassFilter(Sample *sample, int32_t frequency, int32_t bandwidth)
{
    _BandFilter(sample, BIQUAD_NOTCH, frequency, bandwidth);
}

void Sample_3BandEQFilter(Sample *sample, int32_t lowFrequency, int32_t highFrequency,
                          float lowGain, float midGain, float highGain)
{
    FrameLayout layout;
    if (!_GetWalkableLayout(sample, "Sample_3BandFilter: Unsupported audio format", &layout))
    {
        return;
    }
    ThreeBandState states[2];
    for (ThreeBandState &state : states)
    {
        init_3band_state(&state, lowFrequency, highFrequency, Sample_GetFrequence(sample));
        state.lowGain = lowGain;
        state.midGain = midGain;
        state.highGain = highGain;
    }
    _Walk(sample, layout,
          [&states](int32_t channel, double value) { return do_3band(&states[channel], value); });
}
