// Samples decoded from WAV files in a zip archive, made by sox or written here, and their
// processing against sox's.
#include "audio/audio.h"
#include "audio/audio_openal.h"
#include "audio/biquad.h"
#include "audio/eq3band.h"
#include "foundation/logging.h"
#include "resources/resource_win.h"
#include "tests/support/support.h"

#include <AL/al.h>
#include <gmock/gmock.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using testing::Contains, testing::ElementsAre, testing::StartsWith;

struct Layout
{
    const char *label;
    int32_t format, channels, width; // width: bytes per value
};

const Layout mono8 = {"Mono 8bit", AL_FORMAT_MONO8, 1, 1};
const Layout mono16 = {"Mono 16bit", AL_FORMAT_MONO16, 1, 2};
const Layout stereo8 = {"Stereo 8bit", AL_FORMAT_STEREO8, 2, 1};
const Layout stereo16 = {"Stereo 16bit", AL_FORMAT_STEREO16, 2, 2};

// PCM values as stored: 8-bit ones unsigned, 16-bit ones signed little-endian.
static std::vector<int32_t> _Values(const std::string &data, const Layout &layout)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    std::vector<int32_t> values(data.size() / layout.width);
    for (size_t i = 0; i < values.size(); i++)
        values[i] = layout.width == 1 ? bytes[i] : int16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return values;
}

static std::string _Bytes(Sample *sample)
{
    return {static_cast<const char *>(Sample_GetData(sample)), size_t(Sample_GetSize(sample))};
}

// A plain PCM WAV file at 8 kHz holding values, then extra bytes that make no whole frame.
static std::string _Wave(const Layout &layout, const std::vector<int32_t> &values,
                         const std::vector<uint8_t> &extra)
{
    const uint32_t size = values.size() * layout.width + extra.size(), padded = size + (size & 1);
    const uint32_t frame = layout.channels * layout.width, rate = 8000;
    const uint32_t header[] = {0x46464952, 36 + padded,  0x45564157,
                               0x20746d66, 16,           1u | layout.channels << 16,
                               rate,       rate * frame, frame | 8 * layout.width << 16,
                               0x61746164, size};
    std::string wave(reinterpret_cast<const char *>(header), sizeof(header));
    for (const int32_t value : values)
        for (int32_t i = 0; i < layout.width; i++)
            wave.push_back(static_cast<char>(value >> 8 * i));
    wave.insert(wave.end(), extra.begin(), extra.end());
    wave.resize(sizeof(header) + padded); // chunks are padded to even sizes
    return wave;
}

// Scratch folder, audio output (OpenAL's null driver by default) and samples, released after.
class AudioTest : public ::testing::Test
{
  protected:
    AudioTest() { setenv("ALSOFT_DRIVERS", "null", 1), Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    ~AudioTest() override { Close(); }

    void Close()
    {
        for (Sample *sample : std::exchange(samples, {}))
            Sample_Destroy(sample);
        if (std::exchange(opened, false))
            Audio_Deinitialize();
        Resource_Unload();
    }

    std::string Contents(const std::string &name) const { return FileContents(scratch.File(name)); }
    bool Run(const std::string &command) const
    {
        return !std::system(("cd " + scratch.Path() + " && " + command).c_str());
    }
    Sample *Create(const std::string &name)
    {
        return samples.emplace_back(Sample_Create(name.c_str()));
    }

    // The WAV file name made by sox, and name.raw: its values after the effect, by sox too.
    void Sox(const std::string &name, const Layout &layout, int32_t rate, const std::string &synth,
             const std::string &effect = "")
    {
        // WAV itself holds 8-bit values unsigned and 16-bit ones signed.
        ASSERT_TRUE(Run("sox -D -r " + std::to_string(rate) + " -n -c " +
                        std::to_string(layout.channels) + " -b " +
                        std::to_string(8 * layout.width) + " " + name + " synth " + synth));
        ASSERT_TRUE(Run("sox -V1 -D " + name + " -t raw " + name + ".raw " + effect));
        files += " " + name;
    }

    void Add(const std::string &name, const std::string &bytes)
    {
        std::ofstream(scratch.File(name), std::ios::binary) << bytes;
        files += " " + name;
    }

    void Open(const char *device = nullptr)
    {
        ASSERT_TRUE(Run("zip -q -X sounds.zip" + files));
        Resource_Load(scratch.File("sounds.zip").c_str());
        Audio_Initialize(device);
        opened = true;
    }

    const ScratchFolder scratch;
    std::string files;
    std::vector<Sample *> samples;
    bool opened = false;
};

// Broken and missing entries give silent samples whose playing is reported, not fatal.
TEST_F(AudioTest, DecodesAllFourLayoutsWrittenBySoxAndNothingElse)
{
    const Layout *layouts[] = {&mono8, &mono16, &stereo8, &stereo16};
    const int32_t rates[] = {11025, 22050, 8000, 44100};
    // Two channels carry different tones, so a swapped or merged channel shows.
    for (int32_t i = 0; i < 4; i++)
        Sox(std::to_string(i) + ".wav", *layouts[i], rates[i], "0.05 sine 440 sine 660");
    Add("broken.wav", "these bytes are no WAV file at all");
    Open();
    for (int32_t i = 0; i < 4; i++)
    {
        SCOPED_TRACE(layouts[i]->label);
        const std::string name = std::to_string(i) + ".wav", data = Contents(name + ".raw");
        // Quiet at the Error level; at Info the load lines without the archive's Debug trace.
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        EXPECT_EQ(CaptureOutput([&] { Sample_Destroy(Sample_Create(name.c_str())); }), "");
        Logging_SetLevel(LOGGING_LEVEL_INFO);
        Sample *sample = nullptr;
        const std::vector<std::string> log = CaptureMessages([&] { sample = Create(name); });
        EXPECT_EQ(Sample_GetFormat(sample), layouts[i]->format);
        EXPECT_EQ(Sample_GetFrequence(sample), rates[i]);
        EXPECT_TRUE(_Bytes(sample) == data) << "values or size differ from sox's";
        EXPECT_THAT(log, ElementsAre("Loaded audio sample",
                                     " Filename: " + name + ", fileSize: " +
                                         std::to_string(Contents(name).size()) + ".",
                                     " format: " + std::string(layouts[i]->label) +
                                         ", size: " + std::to_string(data.size()) +
                                         ", freq: " + std::to_string(rates[i]) + ", loop: 0."));
    }
    Sample *broken = nullptr, *missing = nullptr;
    const std::vector<std::string> log =
        CaptureMessages([&] { broken = Create("broken.wav"), missing = Create("missing.wav"); });
    for (Sample *sample : {broken, missing})
        EXPECT_EQ(std::make_tuple(Sample_GetFormat(sample), Sample_GetSize(sample),
                                  Sample_GetFrequence(sample), Sample_GetData(sample)),
                  std::make_tuple(0, 0, 0, nullptr));
    EXPECT_THAT(log, Contains(StartsWith("Audio error: ")).Times(1));
    EXPECT_THAT(log, Contains(" format: Unknown, size: 0, freq: 0, loop: 0.").Times(2));
    EXPECT_THAT(CaptureMessages([&] { Sample_Play(broken), Sample_Play(broken); }),
                Contains(StartsWith("Audio error: ")));
}

// One Error line, then silence, and nothing left that keeps the default output from opening.
TEST_F(AudioTest, WithoutDeviceTheGameRunsOnSilently)
{
    Sox("shot.wav", stereo16, 22050, "0.02 sine 440");
    EXPECT_THAT(CaptureMessages(
                    [&]
                    {
                        Open("Zindrel test: no such device");
                        Sample *shot = Create("shot.wav");
                        Sample_Volume(shot, 0.15f), Sample_LowPassFilter(shot, 1000, 1);
                        Sample_3BandEQFilter(shot, 880, 5000, 1, 1, 1);
                        Sample_Play(shot), Sample_Play(shot), Close();
                    }),
                ElementsAre("Failed to initialize audio device Zindrel test: no such device."));
    EXPECT_EQ(CaptureOutput([&] { Open(); }), "");
    EXPECT_EQ(Sample_GetFormat(Create("shot.wav")), AL_FORMAT_STEREO16);
}

// Layout, factor, values in and out, and a partial frame after the whole ones.
using VolumeCase = std::tuple<const Layout *, float, std::vector<int32_t>, std::vector<int32_t>,
                              std::vector<uint8_t>>;

static const VolumeCase volumeCases[] = {
    {&mono16, 0.15f, {1000, -1000, 7, -7, 32767, -32768}, {150, -150, 1, -1, 4915, -4915}, {0x7F}},
    {&mono8, 0.15f, {128, 228, 28, 255, 0, 129, 127}, {128, 143, 113, 147, 109, 128, 128}, {}},
    {&stereo16, 0.15f, {1000, -1000, 7, 32767}, {150, -150, 1, 4915}, {0x7F, 0x80, 0x55}},
    {&stereo8, 0.15f, {228, 28, 28, 228, 128, 128}, {143, 113, 113, 143, 128, 128}, {0x00}},
    {&mono16, 2.0f, {-100, 16383, 16384, -16384, -16385}, {-200, 32766, 32767, -32768, -32768}, {}},
    {&stereo8, 4.0f, {228, 28, 150, 100, 160, 96}, {255, 0, 216, 16, 255, 0}, {}}};

static void _UnityEqualiser(Sample *sample, int32_t, int32_t)
{
    Sample_3BandEQFilter(sample, 880, 5000, 1, 1, 1);
}

// Volume: truncation toward zero, 8-bit around 128, saturation, and a trailing partial frame
// untouched. Filters against sox's own effect: sox rounds where we truncate, so values may
// differ by one step.
TEST_F(AudioTest, VolumeScalesWholeFramesAndFiltersMatchSox)
{
    struct Case
    {
        const Layout *layout;
        const char *synth;
        void (*filter)(Sample *, int32_t, int32_t);
        const char *effect;
    };
    const Case cases[] = {
        {&stereo16, "0.1 whitenoise sine 3000 vol 0.5", Sample_LowPassFilter, "lowpass 1000 1o"},
        // A full-scale square wave overshoots the width after a low-pass or high-pass.
        {&mono16, "0.1 square 150 vol 0.98", Sample_LowPassFilter, "lowpass 1000 1o"},
        {&mono8, "0.1 square 150 vol 0.98", Sample_HighPassFilter, "highpass 1000 1o"},
        {&stereo8, "0.1 whitenoise sine 200 vol 0.8", Sample_BandPassFilter, "bandpass 1000 1o"},
        {&mono16, "0.1 sine 1000 vol 0.6", Sample_NotchPassFilter, "bandreject 1000 1o"},
        // Unity gains give the input back three frames late.
        {&stereo8, "0.1 whitenoise sine 500 vol 0.7", _UnityEqualiser, "delay 3s 3s trim 0 4410s"},
    };
    for (size_t i = 0; i < std::size(cases); i++)
        Sox(std::to_string(i) + ".wav", *cases[i].layout, 44100, cases[i].synth, cases[i].effect);
    for (size_t i = 0; i < std::size(volumeCases); i++)
    {
        const auto &[layout, factor, in, out, tail] = volumeCases[i];
        Add("v" + std::to_string(i) + ".wav", _Wave(*layout, in, tail));
    }
    Open();
    for (size_t i = 0; i < std::size(volumeCases); i++)
    {
        const auto &[layout, factor, in, out, tail] = volumeCases[i];
        SCOPED_TRACE(std::string(layout->label) + " times " + std::to_string(factor));
        Sample *sample = Create("v" + std::to_string(i) + ".wav");
        const size_t whole = in.size() * layout->width;
        ASSERT_EQ(Sample_GetSize(sample), static_cast<int32_t>(whole + tail.size()));
        Sample_Volume(sample, factor);
        EXPECT_EQ(_Values(_Bytes(sample).substr(0, whole), *layout), out);

        Sample_LowPassFilter(sample, 1000, 1);
        Sample_3BandEQFilter(sample, 880, 3000, 2, 2, 2);
        EXPECT_EQ(_Bytes(sample).substr(whole), std::string(tail.begin(), tail.end()));
    }
    for (size_t i = 0; i < std::size(cases); i++)
    {
        const Case &c = cases[i];
        SCOPED_TRACE(std::string(c.layout->label) + ", " + c.effect);
        Sample *sample = Create(std::to_string(i) + ".wav");
        const std::vector<int32_t> input = _Values(_Bytes(sample), *c.layout);
        c.filter(sample, 1000, 1);
        const std::vector<int32_t> ours = _Values(_Bytes(sample), *c.layout);
        const auto expected = _Values(Contents(std::to_string(i) + ".wav.raw"), *c.layout);
        ASSERT_EQ(ours.size(), expected.size());
        size_t changed = 0;
        for (size_t v = 0; v < ours.size(); v++)
        {
            ASSERT_NEAR(ours[v], expected[v], 1) << "value " << v;
            changed += std::abs(ours[v] - input[v]) > 2;
        }
        EXPECT_GT(changed, ours.size() / 10);
    }
}

TEST(ThreeBand, EachGainActsOnItsOwnBandAndBadBiQuadsAreRefused)
{
    // Each band alone passes a tone inside it nearly whole and keeps other bands' tones down.
    const double tones[] = {50.0, 2000.0, 15000.0};
    for (int32_t i = 0; i < 9; i++)
    {
        ThreeBandState state;
        init_3band_state(&state, 880, 5000, 44100);
        state.lowGain = i / 3 == 0, state.midGain = i / 3 == 1, state.highGain = i / 3 == 2;
        double in = 0.0, out = 0.0;
        for (int32_t t = 0; t < 2 * 44100; t++)
        {
            const double x = sin(2.0 * M_PI * tones[i % 3] * t / 44100.0), y = do_3band(&state, x);
            in += t >= 44100 ? x * x : 0.0, out += t >= 44100 ? y * y : 0.0;
        }
        const double db = 10.0 * log10(out / in);
        EXPECT_TRUE(i / 3 == i % 3 ? db > -1.0 : db < -6.0) << "band " << i / 3 << ": " << db;
    }
    // Unknown types, sin ω = 0 and a zero sample rate have no finite design.
    for (const auto &[type, frequency, rate] : {std::tuple{7, 1000.0, 44100.0},
                                                {-1, 1000.0, 44100.0},
                                                {BIQUAD_LOWPASS, 0.0, 44100.0},
                                                {BIQUAD_LOWPASS, 1000.0, 0.0}})
        EXPECT_EQ(BiQuad_new(type, 1.0, frequency, rate, 1.0), nullptr) << type;
}
