// Samples decoded from sox-made WAV files in a zip archive, over OpenAL's null output, and the
// in-place processing of their data.
#include "audio/audio.h"
#include "audio/audio_openal.h"
#include "tests/audio/sample_fixture.h"

#include <cstring>

TEST_F(SampleTest, DecodesAllFourLayoutsWrittenBySox)
{
    const int32_t rates[] = {11025, 22050, 8000, 44100};
    for (int32_t i = 0; i < 4; i++)
    {
        // Two channels carry different tones, so a swapped or merged channel shows.
        MakeSound("layout" + std::to_string(i) + ".wav", *allLayouts[i], rates[i],
                  "0.05 sine 440 sine 660");
    }
    Open();
    for (int32_t i = 0; i < 4; i++)
    {
        const Layout &layout = *allLayouts[i];
        const std::string name = "layout" + std::to_string(i) + ".wav";
        const std::vector<uint8_t> file = ReadBytes(folder.Path(name));
        WaveFile wave;
        ASSERT_TRUE(ParseWave(file, &wave));

        // The load line is an Info line: quiet at the game's Error level.
        testing::internal::CaptureStdout();
        Sample_Destroy(Sample_Create(name.c_str()));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        Logging_SetLevel(LOGGING_LEVEL_INFO);
        testing::internal::CaptureStdout();
        Sample *sample = Sample_Create(name.c_str());
        const std::string log = testing::internal::GetCapturedStdout();
        Logging_SetLevel(LOGGING_LEVEL_ERROR);

        EXPECT_EQ(Sample_GetFormat(sample), layout.format) << layout.label;
        EXPECT_EQ(Sample_GetFrequence(sample), rates[i]) << layout.label;
        ASSERT_EQ(Sample_GetSize(sample), static_cast<int32_t>(wave.data.size())) << layout.label;
        EXPECT_EQ(wave.data.size() % (layout.channels * layout.width), 0u);
        ASSERT_NE(Sample_GetData(sample), nullptr);
        EXPECT_EQ(memcmp(Sample_GetData(sample), wave.data.data(), wave.data.size()), 0)
            << layout.label;
        EXPECT_EQ(Sample_GetLooping(sample), 0);

        const std::string message = "Loaded audio sample\n Filename: " + name +
                                    ", fileSize: " + std::to_string(file.size()) +
                                    ".\n format: " + layout.label +
                                    ", size: " + std::to_string(wave.data.size()) +
                                    ", freq: " + std::to_string(rates[i]) + ", loop: 0.";
        EXPECT_NE(log.find(message), std::string::npos) << log;
        EXPECT_EQ(CountLinesWith(log, "Audio error"), 0) << log;

        Sample_Destroy(sample);
    }
}

TEST_F(SampleTest, MissingOrUndecodableEntriesGiveSilentSamples)
{
    const std::string text = "these bytes are no WAV file at all";
    AddFile("broken.wav", std::vector<uint8_t>(text.begin(), text.end()));
    MakeSound("good.wav", mono16, 22050, "0.02 sine 440");
    Open();

    Logging_SetLevel(LOGGING_LEVEL_INFO);
    testing::internal::CaptureStdout();
    Sample *broken = Create("broken.wav");
    Sample *missing = Create("missing.wav");
    const std::string log = testing::internal::GetCapturedStdout();
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    for (Sample *sample : {broken, missing})
    {
        EXPECT_EQ(Sample_GetFormat(sample), 0);
        EXPECT_EQ(Sample_GetSize(sample), 0);
        EXPECT_EQ(Sample_GetFrequence(sample), 0);
        EXPECT_EQ(Sample_GetData(sample), nullptr);
    }
    EXPECT_EQ(CountLinesWith(log, "Audio error: "), 1) << log;
    EXPECT_EQ(CountLinesWith(log, "format: Unknown, size: 0, freq: 0, loop: 0."), 2) << log;

    // Processing leaves them alone without complaint; playing one is reported, not fatal.
    testing::internal::CaptureStdout();
    Sample_Volume(broken, 0.5f);
    Sample_LowPassFilter(broken, 1000, 1);
    Sample_3BandEQFilter(missing, 880, 5000, 1.0f, 0.5f, 1.0f);
    Sample_Play(broken);
    Sample_Play(broken);
    const std::string playLog = testing::internal::GetCapturedStdout();
    EXPECT_EQ(CountLinesWith(playLog, "Unsupported audio format"), 0) << playLog;
    EXPECT_GE(CountLinesWith(playLog, "Audio error: "), 1) << playLog;

    // The good sample next to them still decodes.
    EXPECT_EQ(Sample_GetFormat(Create("good.wav")), AL_FORMAT_MONO16);
}

TEST_F(SampleTest, WithoutDeviceTheGameRunsOnSilently)
{
    MakeSound("shot.wav", stereo16, 22050, "0.02 sine 440");
    testing::internal::CaptureStdout();
    Open("Zindrel test: no such device");
    Sample *sample = Create("shot.wav");
    Sample_SetLooping(sample, 1);
    Sample_Volume(sample, 0.15f);
    Sample_LowPassFilter(sample, 1000, 1);
    Sample_3BandEQFilter(sample, 880, 5000, 1.0f, 1.0f, 1.0f);
    Sample_Play(sample);
    Sample_Play(sample);
    Sample_Destroy(sample);
    samples.clear();
    Audio_Deinitialize();
    opened = false;
    const std::string log = testing::internal::GetCapturedStdout();

    EXPECT_EQ(CountLinesWith(log, "Failed to initialize audio device Zindrel test: no such "
                                  "device."),
              1)
        << log;
    EXPECT_EQ(CountLinesWith(log, "Audio error"), 0) << log;
    EXPECT_EQ(CountLinesWith(log, "Unsupported audio format"), 0) << log;

    // Nothing is left behind: the default output opens afterwards and decodes as usual.
    testing::internal::CaptureStdout();
    Audio_Initialize(nullptr);
    opened = true;
    Sample *again = Create("shot.wav");
    const std::string reopenLog = testing::internal::GetCapturedStdout();
    EXPECT_EQ(Sample_GetFormat(again), AL_FORMAT_STEREO16);
    EXPECT_EQ(CountLinesWith(reopenLog, "Failed to initialize"), 0) << reopenLog;
}
