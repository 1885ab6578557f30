// Samples decoded from sox-made WAV files in a zip archive, their load lines, and the silent
// samples that broken entries or a missing device give.
#include "audio/audio.h"
#include "tests/audio/audio_test_support.h"

#include <cstring>
#include <gmock/gmock.h>
#include <tuple>

using testing::Contains;
using testing::ElementsAre;
using testing::StartsWith;

TEST_F(AudioTest, DecodesAllFourLayoutsWrittenBySox)
{
    const Layout *layouts[] = {&mono8, &mono16, &stereo8, &stereo16};
    const int32_t rates[] = {11025, 22050, 8000, 44100};
    for (int32_t i = 0; i < 4; i++)
    {
        // Two channels carry different tones, so a swapped or merged channel shows.
        const std::string name = std::to_string(i);
        Sox(name + ".wav", *layouts[i], rates[i], "0.05 sine 440 sine 660");
        ASSERT_TRUE(Run("sox " + name + ".wav -t raw " + name + ".raw"));
    }
    Open();
    for (int32_t i = 0; i < 4; i++)
    {
        SCOPED_TRACE(layouts[i]->label);
        const std::string name = std::to_string(i) + ".wav";
        const std::string data = ReadFile(Path(std::to_string(i) + ".raw"));
        // Loading is quiet at the game's Error level. At Info it says what was loaded, and the
        // archive's name scan (a Debug trace) stays out of it.
        EXPECT_EQ(CaptureOutput([&] { Sample_Destroy(Sample_Create(name.c_str())); }), "");
        Logging_SetLevel(LOGGING_LEVEL_INFO);
        Sample *sample = nullptr;
        const std::vector<std::string> log = CaptureMessages([&] { sample = Create(name); });
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        EXPECT_EQ(Sample_GetFormat(sample), layouts[i]->format);
        EXPECT_EQ(Sample_GetFrequence(sample), rates[i]);
        ASSERT_EQ(Sample_GetSize(sample), static_cast<int32_t>(data.size()));
        EXPECT_EQ(memcmp(Sample_GetData(sample), data.data(), data.size()), 0);
        EXPECT_THAT(log, ElementsAre("Loaded audio sample",
                                     " Filename: " + name + ", fileSize: " +
                                         std::to_string(ReadFile(Path(name)).size()) + ".",
                                     " format: " + std::string(layouts[i]->label) +
                                         ", size: " + std::to_string(data.size()) +
                                         ", freq: " + std::to_string(rates[i]) + ", loop: 0."));
    }
}

TEST_F(AudioTest, MissingOrUndecodableEntriesGiveSilentSamples)
{
    const std::string text = "these bytes are no WAV file at all";
    Add("broken.wav", std::vector<uint8_t>(text.begin(), text.end()));
    Open();
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    Sample *broken = nullptr, *missing = nullptr;
    const std::vector<std::string> log =
        CaptureMessages([&] { broken = Create("broken.wav"), missing = Create("missing.wav"); });
    for (Sample *sample : {broken, missing})
        EXPECT_EQ(std::make_tuple(Sample_GetFormat(sample), Sample_GetSize(sample),
                                  Sample_GetFrequence(sample), Sample_GetData(sample)),
                  std::make_tuple(0, 0, 0, nullptr));
    EXPECT_THAT(log, Contains(StartsWith("Audio error: ")).Times(1));
    EXPECT_THAT(log, Contains(" format: Unknown, size: 0, freq: 0, loop: 0.").Times(2));
    // Playing one is reported, not fatal.
    EXPECT_THAT(CaptureMessages([&] { Sample_Play(broken), Sample_Play(broken); }),
                Contains(StartsWith("Audio error: ")));
}

// A machine without sound: one Error line, then silence with no further complaint, and nothing
// left behind that would keep the default output from opening afterwards.
TEST_F(AudioTest, WithoutDeviceTheGameRunsOnSilently)
{
    Sox("shot.wav", stereo16, 22050, "0.02 sine 440");
    EXPECT_THAT(CaptureMessages(
                    [&]
                    {
                        Open("Zindrel test: no such device");
                        Sample *sample = Create("shot.wav");
                        Sample_Volume(sample, 0.15f);
                        Sample_LowPassFilter(sample, 1000, 1);
                        Sample_3BandEQFilter(sample, 880, 5000, 1, 1, 1);
                        Sample_Play(sample);
                        Sample_Play(sample);
                        Close();
                    }),
                ElementsAre("Failed to initialize audio device Zindrel test: no such device."));
    EXPECT_EQ(CaptureOutput([&] { Open(); }), "");
    EXPECT_EQ(Sample_GetFormat(Create("shot.wav")), AL_FORMAT_STEREO16);
}
