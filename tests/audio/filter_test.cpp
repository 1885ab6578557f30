// The biquad designs against sox's own filters, and the equaliser's reconstruction.
#include "audio/biquad.h"
#include "audio/eq3band.h"
#include "tests/audio/audio_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

static constexpr double sampleRate = 44100.0;
static constexpr double pi = 3.141592653589793;

// Steady-state gain in dB of a filter for a sine of the given frequency.
static double _SineGainDb(int32_t type, double frequency)
{
    BiQuadFilter *filter = BiQuad_new(type, 1.0, 1000.0, sampleRate, 1.0);
    EXPECT_NE(filter, nullptr);
    if (filter == nullptr)
    {
        return 0.0;
    }
    const int32_t settle = 44100;
    const int32_t measure = 44100;
    double inputPower = 0.0, outputPower = 0.0;
    for (int32_t i = 0; i < settle + measure; i++)
    {
        const double x = sin(2.0 * pi * frequency * i / sampleRate);
        const double y = BiQuad(x, filter);
        if (i >= settle)
        {
            inputPower += x * x;
            outputPower += y * y;
        }
    }
    free(filter);
    return 10.0 * log10(outputPower / inputPower);
}

TEST(BiQuad, RejectsUnknownTypesAndDegenerateSettings)
{
    EXPECT_EQ(BiQuad_new(7, 1.0, 1000.0, sampleRate, 1.0), nullptr);
    EXPECT_EQ(BiQuad_new(-1, 1.0, 1000.0, sampleRate, 1.0), nullptr);
    // sin ω = 0 and a zero sample rate have no finite design.
    EXPECT_EQ(BiQuad_new(BIQUAD_LOWPASS, 1.0, 0.0, sampleRate, 1.0), nullptr);
    EXPECT_EQ(BiQuad_new(BIQUAD_LOWPASS, 1.0, 1000.0, 0.0, 1.0), nullptr);
    for (int32_t type = 0; type <= 6; type++)
    {
        BiQuadFilter *filter = BiQuad_new(type, 6.0, 1000.0, sampleRate, 1.0);
        EXPECT_NE(filter, nullptr) << "type " << type;
        free(filter);
    }
}

TEST(BiQuad, LowPassPassesLowToneAndCutsHighTone)
{
    EXPECT_NEAR(_SineGainDb(BIQUAD_LOWPASS, 100.0), 0.0, 0.1);
    EXPECT_LE(_SineGainDb(BIQUAD_LOWPASS, 10000.0), -20.0);
    // And the high-pass the other way round.
    EXPECT_LE(_SineGainDb(BIQUAD_HIGHPASS, 100.0), -20.0);
    EXPECT_NEAR(_SineGainDb(BIQUAD_HIGHPASS, 10000.0), 0.0, 0.1);

    // Unity gain at zero frequency: a constant input settles at that input.
    BiQuadFilter *filter = BiQuad_new(BIQUAD_LOWPASS, 1.0, 1000.0, sampleRate, 1.0);
    ASSERT_NE(filter, nullptr);
    double y = 0.0;
    for (int32_t i = 0; i < 4410; i++)
    {
        y = BiQuad(0.75, filter);
    }
    EXPECT_NEAR(y, 0.75, 1e-9);
    free(filter);
}

struct SoxCase
{
    int32_t type;
    double gain;
    const char *effect; // the same filter as sox names it
};

static void PrintTo(const SoxCase &soxCase, std::ostream *stream)
{
    *stream << soxCase.effect;
}

class BiQuadAgainstSox : public ::testing::TestWithParam<SoxCase>
{
};

// An impulse through our filter and through sox's at the same settings (sox designs its
// biquads from the same cookbook: width in octaves, shelves with slope 1).
TEST_P(BiQuadAgainstSox, ImpulseResponsesAgree)
{
    const SoxCase &soxCase = GetParam();
    ScratchFolder folder;
    const int32_t length = 4096;
    const float amplitude = 0.25f;
    std::vector<float> impulse(length, 0.0f);
    impulse[0] = amplitude;
    std::vector<uint8_t> bytes(length * sizeof(float));
    memcpy(bytes.data(), impulse.data(), bytes.size());
    WriteBytes(folder.Path("impulse.f32"), bytes);
    const std::string raw = "-t raw -e floating-point -b 32 -r 44100 -c 1";
    ASSERT_TRUE(
        RunIn(folder, "sox -D " + raw + " impulse.f32 " + raw + " response.f32 " + soxCase.effect));
    const std::vector<uint8_t> soxBytes = ReadBytes(folder.Path("response.f32"));
    ASSERT_EQ(soxBytes.size(), bytes.size());
    std::vector<float> soxResponse(length);
    memcpy(soxResponse.data(), soxBytes.data(), soxBytes.size());

    BiQuadFilter *filter = BiQuad_new(soxCase.type, soxCase.gain, 1000.0, sampleRate, 1.0);
    ASSERT_NE(filter, nullptr);
    double largest = 0.0;
    for (int32_t i = 0; i < length; i++)
    {
        const double ours = BiQuad(impulse[i], filter);
        largest = std::max(largest, std::fabs(ours));
        ASSERT_NEAR(ours, soxResponse[i], 2e-6) << "at " << i;
    }
    // The comparison means something only if the response is not negligible.
    EXPECT_GT(largest, 0.01);
    free(filter);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, BiQuadAgainstSox,
                         ::testing::Values(SoxCase{BIQUAD_LOWPASS, 1.0, "lowpass 1000 1o"},
                                           SoxCase{BIQUAD_HIGHPASS, 1.0, "highpass 1000 1o"},
                                           SoxCase{BIQUAD_BANDPASS, 1.0, "bandpass 1000 1o"},
                                           SoxCase{BIQUAD_NOTCH, 1.0, "bandreject 1000 1o"},
                                           SoxCase{BIQUAD_PEAKING, 6.0, "equalizer 1000 1o 6"},
                                           SoxCase{BIQUAD_LOWSHELF, 6.0, "bass 6 1000 1s"},
                                           SoxCase{BIQUAD_HIGHSHELF, -6.0, "treble -6 1000 1s"}),
                         [](const ::testing::TestParamInfo<SoxCase> &info)
                         { return std::string("Type") + std::to_string(info.param.type); });

TEST(ThreeBand, UnityGainsReturnTheInputThreeCallsLater)
{
    ThreeBandState state;
    init_3band_state(&state, 880, 5000, 44100);
    srand(7);
    std::vector<double> input(2000);
    for (double &x : input)
    {
        x = rand() / double(RAND_MAX) * 2.0 - 1.0;
    }
    for (size_t i = 0; i < input.size(); i++)
    {
        const double output = do_3band(&state, input[i]);
        const double expected = i < 3 ? 0.0 : input[i - 3];
        ASSERT_NEAR(output, expected, 1e-9) << "at " << i;
    }
}

// Steady-state gain in dB of the equaliser for a sine, with the given band gains.
static double _ThreeBandGainDb(double frequency, double low, double mid, double high)
{
    ThreeBandState state;
    init_3band_state(&state, 880, 5000, 44100);
    state.lowGain = low;
    state.midGain = mid;
    state.highGain = high;
    double inputPower = 0.0, outputPower = 0.0;
    for (int32_t i = 0; i < 2 * 44100; i++)
    {
        const double x = sin(2.0 * pi * frequency * i / sampleRate);
        const double y = do_3band(&state, x);
        if (i >= 44100)
        {
            inputPower += x * x;
            outputPower += y * y;
        }
    }
    return 10.0 * log10(outputPower / inputPower);
}

TEST(ThreeBand, EachGainActsOnItsOwnBand)
{
    // Split at 880 Hz and 5 kHz: each band alone passes a tone inside it nearly whole and
    // keeps tones of the other bands well down.
    EXPECT_GT(_ThreeBandGainDb(50.0, 1, 0, 0), -1.0);
    EXPECT_LT(_ThreeBandGainDb(50.0, 0, 1, 0), -6.0);
    EXPECT_LT(_ThreeBandGainDb(50.0, 0, 0, 1), -6.0);
    EXPECT_LT(_ThreeBandGainDb(2000.0, 1, 0, 0), -6.0);
    EXPECT_GT(_ThreeBandGainDb(2000.0, 0, 1, 0), -1.0);
    EXPECT_LT(_ThreeBandGainDb(2000.0, 0, 0, 1), -6.0);
    EXPECT_LT(_ThreeBandGainDb(15000.0, 1, 0, 0), -6.0);
    EXPECT_LT(_ThreeBandGainDb(15000.0, 0, 1, 0), -6.0);
    EXPECT_GT(_ThreeBandGainDb(15000.0, 0, 0, 1), -1.0);
}
