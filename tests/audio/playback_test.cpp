// Real playback through OpenAL Soft's wave-file writer: what a sample plays is read back from
// the rendered file. The writer renders in real time, so each test waits for its sounds.
#include "audio/audio.h"
#include "tests/audio/sample_fixture.h"

#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <thread>

// Plain 16-bit stereo at the sounds' own rate, so the output is each sample times its panning
// gain, value for value.
static constexpr const char *outputConfiguration = "[general]\n"
                                                   "channels = stereo\n"
                                                   "sample-type = int16\n"
                                                   "frequency = 44100\n"
                                                   "dither = false\n"
                                                   "output-limiter = false\n"
                                                   "hrtf = false\n"
                                                   "[wave]\n"
                                                   "file = ";

class PlaybackTest : public SampleTest
{
  protected:
    // OpenAL reads its configuration once per process, before the first device is opened.
    static void SetUpTestSuite()
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        outputFolder = std::make_unique<ScratchFolder>();
        std::ofstream(outputFolder->Path("alsoft.conf"))
            << outputConfiguration << outputFolder->Path("output.wav") << "\n";
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", outputFolder->Path("alsoft.conf").c_str(), 1);
    }

    static void TearDownTestSuite() { outputFolder.reset(); }

    // Opens the output with one sample of noise lasting seconds; its values go to sound.
    Sample *OpenWithNoise(double seconds, std::vector<int16_t> *sound)
    {
        MakeSound("noise.wav", mono16, 44100, std::to_string(seconds) + " whitenoise vol 0.5");
        Open();
        Sample *sample = Create("noise.wav");
        *sound = ToInt16(Bytes(sample), Sample_GetSize(sample) / 2);
        return sample;
    }

    static void Wait(double seconds)
    {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }

    // Closes the output, which completes the file, and returns its left channel.
    std::vector<int16_t> Rendered()
    {
        Close();
        WaveFile wave;
        EXPECT_TRUE(ParseWave(ReadBytes(outputFolder->Path("output.wav")), &wave));
        EXPECT_EQ(wave.channels, 2);
        EXPECT_EQ(wave.bits, 16);
        std::vector<int16_t> frames = ToInt16(wave.data.data(), wave.data.size() / 2);
        std::vector<int16_t> left(frames.size() / 2);
        for (size_t i = 0; i < left.size(); i++)
        {
            left[i] = frames[2 * i];
        }
        return left;
    }

    static std::unique_ptr<ScratchFolder> outputFolder;
};

std::unique_ptr<ScratchFolder> PlaybackTest::outputFolder;

// The first value at or after from that is not silent, or out.size().
static size_t _NextSound(const std::vector<int16_t> &out, size_t from)
{
    while (from < out.size() && out[from] == 0)
    {
        from++;
    }
    return from;
}

// The gain that best maps the first values of sound onto out from start (least squares).
static double _FitGain(const std::vector<int16_t> &out, size_t start,
                       const std::vector<int16_t> &sound)
{
    double cross = 0.0, power = 0.0;
    for (size_t k = 0; k < 2000 && k < sound.size() && start + k < out.size(); k++)
    {
        cross += double(out[start + k]) * sound[k];
        power += double(sound[k]) * sound[k];
    }
    return power > 0.0 ? cross / power : 0.0;
}

// How many values from start are the sound from its beginning, times gain (within rounding).
static size_t _MatchingRun(const std::vector<int16_t> &out, size_t start,
                           const std::vector<int16_t> &sound, double gain)
{
    size_t k = 0;
    while (k < sound.size() && start + k < out.size() &&
           std::fabs(out[start + k] - gain * sound[k]) <= 2.0)
    {
        k++;
    }
    return k;
}

static bool _SilentFrom(const std::vector<int16_t> &out, size_t from)
{
    return _NextSound(out, from) == out.size();
}

TEST_F(PlaybackTest, PlayedSampleIsRenderedWhole)
{
    std::vector<int16_t> sound;
    Sample *sample = OpenWithNoise(0.3, &sound);
    Sample_Play(sample);
    Wait(0.3 + 0.4);

    const std::vector<int16_t> out = Rendered();
    const size_t start = _NextSound(out, 0);
    ASSERT_LT(start, out.size()) << "nothing was rendered";
    const double gain = _FitGain(out, start, sound);
    EXPECT_GT(gain, 0.3);
    EXPECT_LT(gain, 1.01);
    EXPECT_EQ(_MatchingRun(out, start, sound, gain), sound.size());
    EXPECT_TRUE(_SilentFrom(out, start + sound.size()));
}

TEST_F(PlaybackTest, ReplayCutsTheRunningPlayOffAndStartsOver)
{
    std::vector<int16_t> sound;
    Sample *sample = OpenWithNoise(0.6, &sound);
    Sample_Play(sample);
    Wait(0.15);
    Sample_Play(sample);
    Wait(0.6 + 0.4);

    const std::vector<int16_t> out = Rendered();
    const size_t start = _NextSound(out, 0);
    ASSERT_LT(start, out.size()) << "nothing was rendered";
    const double gain = _FitGain(out, start, sound);
    // The first play is heard from its start until the second one begins...
    const size_t firstRun = _MatchingRun(out, start, sound, gain);
    ASSERT_GT(firstRun, 0u);
    ASSERT_LT(firstRun, sound.size()) << "the first play was not cut off";
    // ...which plays the sample again from its start, whole and alone: an overlap would add
    // the rest of the first play on top.
    EXPECT_EQ(_MatchingRun(out, start + firstRun, sound, gain), sound.size());
    EXPECT_TRUE(_SilentFrom(out, start + firstRun + sound.size()));
}

TEST_F(PlaybackTest, ScalingCountsOnlyBeforeTheFirstPlay)
{
    std::vector<int16_t> sound;
    Sample *reference = OpenWithNoise(0.25, &sound);
    Sample *early = Create("noise.wav");
    Sample *late = Create("noise.wav");

    Sample_Volume(early, 0.25f);
    for (Sample *sample : {reference, early, late})
    {
        Sample_Play(sample);
        Wait(0.25 + 0.2);
    }
    Sample_Volume(late, 0.25f);
    Sample_Play(late);
    Wait(0.25 + 0.4);

    const std::vector<int16_t> out = Rendered();
    std::vector<double> gains;
    size_t at = 0;
    while ((at = _NextSound(out, at)) < out.size())
    {
        const double gain = _FitGain(out, at, sound);
        ASSERT_EQ(_MatchingRun(out, at, sound, gain), sound.size()) << "play " << gains.size();
        gains.push_back(gain);
        at += sound.size();
    }
    ASSERT_EQ(gains.size(), 4u);
    EXPECT_NEAR(gains[1] / gains[0], 0.25, 0.01) << "scaling before the first play is heard";
    EXPECT_NEAR(gains[2] / gains[0], 1.0, 0.01);
    EXPECT_NEAR(gains[3] / gains[0], 1.0, 0.01) << "scaling after the first play is not";
}
