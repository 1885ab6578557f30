// In-place processing of decoded sample data: volume, the biquad filters against sox's own
// filters on the same files, and the equaliser, over all four PCM layouts.
#include "audio/audio.h"
#include "tests/audio/sample_fixture.h"

#include <cstring>

class ProcessingTest : public SampleTest
{
  protected:
    // A sound of exactly frames frames; its values are set by the test.
    void MakeFrames(const std::string &name, const Layout &layout, int32_t frames)
    {
        MakeSound(name, layout, 8000, std::to_string(frames) + "s sine 300");
    }

    // Creates the sample and sets its values; the value count must fill it.
    Sample *CreateWith(const std::string &name, const Layout &layout,
                       const std::vector<int32_t> &values)
    {
        Sample *sample = Create(name);
        EXPECT_EQ(Sample_GetSize(sample), static_cast<int32_t>(values.size()) * layout.width);
        SetValues(sample, layout, values);
        return sample;
    }
};

TEST_F(ProcessingTest, VolumeScalesEveryValueTowardZero)
{
    MakeFrames("m16.wav", mono16, 8);
    MakeFrames("m8.wav", mono8, 7);
    MakeFrames("s16.wav", stereo16, 3);
    MakeFrames("s8.wav", stereo8, 3);
    Open();

    // The last value is scaled like the others.
    Sample *m16 = CreateWith("m16.wav", mono16, {1000, -1000, 7, -7, 32767, -32768, 0, 2000});
    Sample_Volume(m16, 0.15f);
    EXPECT_EQ(Values(m16, mono16), (std::vector<int32_t>{150, -150, 1, -1, 4915, -4915, 0, 300}));

    // 8-bit values scale around their silence level 128.
    Sample *m8 = CreateWith("m8.wav", mono8, {128, 228, 28, 255, 0, 129, 127});
    Sample_Volume(m8, 0.15f);
    EXPECT_EQ(Values(m8, mono8), (std::vector<int32_t>{128, 143, 113, 147, 109, 128, 128}));

    // Left and right alike.
    Sample *s16 = CreateWith("s16.wav", stereo16, {1000, -1000, -1000, 1000, 7, 32767});
    Sample_Volume(s16, 0.15f);
    EXPECT_EQ(Values(s16, stereo16), (std::vector<int32_t>{150, -150, -150, 150, 1, 4915}));
    Sample *s8 = CreateWith("s8.wav", stereo8, {228, 28, 28, 228, 128, 128});
    Sample_Volume(s8, 0.15f);
    EXPECT_EQ(Values(s8, stereo8), (std::vector<int32_t>{143, 113, 113, 143, 128, 128}));
}

TEST_F(ProcessingTest, VolumeSaturatesInsteadOfWrappingAround)
{
    MakeFrames("m16.wav", mono16, 8);
    MakeFrames("s8.wav", stereo8, 3);
    Open();

    Sample *m16 =
        CreateWith("m16.wav", mono16, {20000, -20000, 100, -100, 16383, 16384, -16384, -16385});
    Sample_Volume(m16, 2.0f);
    EXPECT_EQ(Values(m16, mono16),
              (std::vector<int32_t>{32767, -32768, 200, -200, 32766, 32767, -32768, -32768}));

    Sample *s8 = CreateWith("s8.wav", stereo8, {228, 28, 150, 100, 160, 96});
    Sample_Volume(s8, 4.0f);
    EXPECT_EQ(Values(s8, stereo8), (std::vector<int32_t>{255, 0, 216, 16, 255, 0}));
}

// sox's WAV with extra bytes appended to its data chunk, so the data ends in part of a frame.
static std::vector<uint8_t> _WithTrailingBytes(const std::vector<uint8_t> &wave,
                                               const std::vector<uint8_t> &extra)
{
    size_t offset;
    uint32_t length;
    if (!FindWaveData(wave, &offset, &length) || offset + length != wave.size())
    {
        return {};
    }
    std::vector<uint8_t> patched = wave;
    patched.insert(patched.end(), extra.begin(), extra.end());
    const uint32_t newLength = length + static_cast<uint32_t>(extra.size());
    if (newLength & 1)
    {
        patched.push_back(0); // chunks are padded to even sizes
    }
    const auto put32 = [&patched](size_t at, uint32_t value)
    {
        for (int32_t i = 0; i < 4; i++)
        {
            patched[at + i] = static_cast<uint8_t>(value >> (8 * i));
        }
    };
    put32(offset - 4, newLength);
    put32(4, static_cast<uint32_t>(patched.size() - 8));
    return patched;
}

TEST_F(ProcessingTest, PartialTrailingFrameIsNeverTouched)
{
    struct Case
    {
        const Layout *layout;
        std::vector<uint8_t> tail;
    };
    const Case cases[] = {{&mono16, {0x7F}}, {&stereo16, {0x7F, 0x80, 0x55}}, {&stereo8, {0x00}}};
    for (int32_t i = 0; i < 3; i++)
    {
        const std::string made = "made" + std::to_string(i) + ".wav";
        MakeFrames(made, *cases[i].layout, 4);
        const std::vector<uint8_t> patched =
            _WithTrailingBytes(ReadBytes(folder.Path(made)), cases[i].tail);
        ASSERT_FALSE(patched.empty());
        AddFile("odd" + std::to_string(i) + ".wav", patched);
    }
    Open();
    for (int32_t i = 0; i < 3; i++)
    {
        const Layout &layout = *cases[i].layout;
        const std::vector<uint8_t> &tail = cases[i].tail;
        Sample *sample = Create("odd" + std::to_string(i) + ".wav");
        const int32_t whole = 4 * layout.channels * layout.width;
        ASSERT_EQ(Sample_GetSize(sample), whole + static_cast<int32_t>(tail.size()))
            << layout.label;
        const int32_t loud = layout.width == 1 ? 228 : 20000;
        SetValues(sample, layout, std::vector<int32_t>(4 * layout.channels, loud));

        Sample_Volume(sample, 0.5f);
        const int32_t half = layout.width == 1 ? 178 : 10000;
        const std::vector<int32_t> values = Values(sample, layout);
        for (int32_t v = 0; v < 4 * layout.channels; v++)
        {
            EXPECT_EQ(values[v], half) << layout.label << " value " << v;
        }
        Sample_LowPassFilter(sample, 1000, 1);
        Sample_3BandEQFilter(sample, 880, 3000, 2.0f, 2.0f, 2.0f);
        EXPECT_EQ(memcmp(Bytes(sample) + whole, tail.data(), tail.size()), 0) << layout.label;
    }
}

struct FilterCase
{
    const Layout *layout;
    const char *synth;
    void (*filter)(Sample *, int32_t, int32_t);
    const char *soxEffect;
    bool clips; // the filtered signal exceeds the sample width
};

static void PrintTo(const FilterCase &filterCase, std::ostream *stream)
{
    *stream << filterCase.layout->label << ", " << filterCase.soxEffect;
}

class FilterAgainstSox : public ProcessingTest, public ::testing::WithParamInterface<FilterCase>
{
};

// The same file through our filter and through sox's: sox rounds where we truncate, so values
// may differ by one step, never more. Where the output overshoots the width both clip.
TEST_P(FilterAgainstSox, MatchesSoxValueForValue)
{
    const FilterCase &filterCase = GetParam();
    const Layout &layout = *filterCase.layout;
    MakeSound("input.wav", layout, 44100, filterCase.synth);
    ASSERT_TRUE(RunIn(folder, std::string("sox -D input.wav reference.wav ") +
                                  filterCase.soxEffect + " 2>/dev/null"));
    WaveFile reference;
    ASSERT_TRUE(ParseWave(ReadBytes(folder.Path("reference.wav")), &reference));
    Open();

    Sample *sample = Create("input.wav");
    const std::vector<int32_t> input = Values(sample, layout);
    filterCase.filter(sample, 1000, 1);
    const std::vector<int32_t> ours = Values(sample, layout);
    ASSERT_EQ(static_cast<size_t>(Sample_GetSize(sample)), reference.data.size());

    std::vector<int32_t> expected(reference.data.size() / layout.width);
    for (size_t i = 0; i < expected.size(); i++)
    {
        expected[i] =
            layout.width == 1
                ? reference.data[i]
                : static_cast<int16_t>(reference.data[2 * i] | reference.data[2 * i + 1] << 8);
    }
    int32_t changed = 0, clipped = 0;
    const int32_t top = layout.width == 1 ? 255 : 32767;
    const int32_t bottom = layout.width == 1 ? 0 : -32768;
    for (size_t i = 0; i < ours.size(); i++)
    {
        ASSERT_NEAR(ours[i], expected[i], 1) << "value " << i;
        changed += std::abs(ours[i] - input[i]) > 2;
        clipped += ours[i] == top || ours[i] == bottom;
    }
    // The filter must have done something for the comparison to mean anything.
    EXPECT_GT(changed, static_cast<int32_t>(ours.size() / 10));
    if (filterCase.clips)
    {
        EXPECT_GT(clipped, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FilterAgainstSox,
    ::testing::Values(
        // Noise on the left, a tone on the right: each channel keeps its own history.
        FilterCase{&stereo16, "0.1 whitenoise sine 3000 vol 0.5", Sample_LowPassFilter,
                   "lowpass 1000 1o", false},
        FilterCase{&mono8, "0.1 sine 300 vol 0.8", Sample_HighPassFilter, "highpass 1000 1o",
                   false},
        FilterCase{&stereo8, "0.1 whitenoise sine 200 vol 0.8", Sample_BandPassFilter,
                   "bandpass 1000 1o", false},
        FilterCase{&mono16, "0.1 sine 1000 vol 0.6", Sample_NotchPassFilter, "bandreject 1000 1o",
                   false},
        // A full-scale square wave rings above full scale after the low-pass.
        FilterCase{&mono16, "0.1 square 150 vol 0.98", Sample_LowPassFilter, "lowpass 1000 1o",
                   true},
        FilterCase{&stereo8, "0.1 square 150 square 300 vol 0.98", Sample_LowPassFilter,
                   "lowpass 1000 1o", true}),
    [](const ::testing::TestParamInfo<FilterCase> &info)
    { return "Case" + std::to_string(info.index); });

TEST_F(ProcessingTest, EqualiserWithUnityGainsDelaysByThreeFrames)
{
    MakeSound("s16.wav", stereo16, 22050, "0.05 whitenoise sine 500 vol 0.7");
    MakeSound("m8.wav", mono8, 22050, "0.05 sine 500 vol 0.7");
    Open();
    for (const auto &[name, layout] :
         {std::pair<std::string, const Layout *>{"s16.wav", &stereo16}, {"m8.wav", &mono8}})
    {
        Sample *sample = Create(name);
        const std::vector<int32_t> input = Values(sample, *layout);
        Sample_3BandEQFilter(sample, 880, 5000, 1.0f, 1.0f, 1.0f);
        const std::vector<int32_t> output = Values(sample, *layout);
        const int32_t silence = layout->width == 1 ? 128 : 0;
        const size_t lag = 3 * layout->channels;
        for (size_t i = 0; i < output.size(); i++)
        {
            const int32_t expected = i < lag ? silence : input[i - lag];
            ASSERT_NEAR(output[i], expected, 1) << layout->label << " value " << i;
        }
    }
}
