// The four sounds from the built archive: 16-bit PCM in the stated layouts, decoded by SoX and
// by ALUT (the game's decoder), short, and as loud as the game needs them.
#include "tests/tools/asset_files.h"

#include <AL/alut.h>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace
{
struct ExpectedSound
{
    const char *name;
    int32_t rate;
    int32_t channels;
    double minPeak; // of full scale
    double maxPeak;
};

const ExpectedSound kSounds[] = {
    {"mixkit-game-whip-shot-1512.wav", 22050, 1, 0.3, 0.99},
    {"mixkit-short-laser-gun-shot-1670.wav", 22050, 1, 0.3, 0.99},
    // Played at 0.15 of its volume, so it is made as loud as 16 bits go.
    {"mixkit-arcade-fast-game-over-233.wav", 44100, 2, 0.98, 1.0},
    {"mixkit-falling-hit-757.wav", 22050, 2, 0.3, 0.99},
};

class AssetSounds : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        for (ArchiveFile &file : ReadArchive(BuiltArchivePath()))
            if (file.name.ends_with(".wav"))
            {
                WriteFileBytes(scratch.File(file.name), file.data);
                data[file.name] = std::move(file.data);
            }
        ASSERT_EQ(data.size(), 4u);
    }
    ScratchFolder scratch;
    std::map<std::string, std::vector<uint8_t>> data;
};
} // namespace

TEST_F(AssetSounds, AreSixteenBitPcmOfTheStatedLayoutAndShort)
{
    for (const ExpectedSound &sound : kSounds)
    {
        std::string path = scratch.File(sound.name);
        auto [status, info] =
            RunCommand("soxi -r '" + path + "' && soxi -c '" + path + "' && soxi -b '" + path +
                       "' && soxi -e '" + path + "' && soxi -D '" + path + "'");
        ASSERT_EQ(status, 0) << sound.name;
        std::istringstream fields(info);
        int32_t rate = 0, channels = 0, bits = 0;
        std::string encoding, word;
        double seconds = 0;
        fields >> rate >> channels >> bits >> word;
        std::getline(fields, encoding);
        encoding = word + encoding;
        fields >> seconds;
        EXPECT_EQ(rate, sound.rate) << sound.name;
        EXPECT_EQ(channels, sound.channels) << sound.name;
        EXPECT_EQ(bits, 16) << sound.name;
        EXPECT_EQ(encoding, "Signed Integer PCM") << sound.name;
        EXPECT_GT(seconds, 0.05) << sound.name;
        EXPECT_LT(seconds, 1.5) << sound.name << ": effects are short";
    }
}

TEST_F(AssetSounds, PeakWhereTheGameNeedsThem)
{
    for (const ExpectedSound &sound : kSounds)
    {
        // "Pk lev dB" of the whole file, all channels together.
        auto [status, stats] = RunCommand("sox '" + scratch.File(sound.name) +
                                          "' -n stats 2>&1 | awk '/^Pk lev dB/ {print $4}'");
        ASSERT_EQ(status, 0) << sound.name;
        double peak = std::pow(10.0, std::stod(stats) / 20.0);
        EXPECT_GE(peak, sound.minPeak) << sound.name;
        EXPECT_LE(peak, sound.maxPeak + 1e-6) << sound.name;
    }
}

TEST_F(AssetSounds, AlutDecodesEachAsTheGameDoes)
{
    // ALUT decodes only with a current context; tests run with OpenAL's null device.
    ASSERT_EQ(alutInit(nullptr, nullptr), AL_TRUE) << alutGetErrorString(alutGetError());
    for (const ExpectedSound &sound : kSounds)
    {
        const std::vector<uint8_t> &bytes = data[sound.name];
        ALenum format = 0;
        ALsizei size = 0;
        ALfloat frequency = 0;
        void *pcm = alutLoadMemoryFromFileImage(bytes.data(), static_cast<ALsizei>(bytes.size()),
                                                &format, &size, &frequency);
        ASSERT_NE(pcm, nullptr) << sound.name << ": " << alutGetErrorString(alutGetError());
        EXPECT_EQ(format, sound.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16)
            << sound.name;
        EXPECT_EQ(frequency, static_cast<ALfloat>(sound.rate)) << sound.name;
        EXPECT_EQ(static_cast<size_t>(size), bytes.size() - 44) << sound.name;
        std::free(pcm);
    }
    alutExit();
}
