// The four sounds from the built archive, decoded by ALUT (the game's decoder) and measured by
// SoX: 16-bit PCM in the stated layouts, short, as loud as the game needs them, a destroyed ship
// heard among the shots (the jingle scaled as the world scales it) and nothing clipping.
#include "game/world.h"
#include "tests/tools/asset_files.h"

#include <AL/alut.h>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace
{

TEST(AssetSounds, SixteenBitPcmOfTheStatedLayoutsShortLoudEnoughAndNeverClipped)
{
    struct Sound
    {
        const char *name;
        int32_t rate, channels;
        double minPeak, maxPeak, volume; // peaks of full scale, the volume the game plays at
    };
    // The jingle is played at a fraction of its volume, so it is made as loud as 16 bits go.
    const Sound sounds[] = {
        {"mixkit-short-laser-gun-shot-1670.wav", 22050, 1, 0.3, 0.99, 1.0},
        {"mixkit-game-whip-shot-1512.wav", 22050, 1, 0.3, 0.99, 1.0},
        {"mixkit-falling-hit-757.wav", 22050, 2, 0.3, 0.99, 1.0},
        {"mixkit-arcade-fast-game-over-233.wav", 44100, 2, 0.98, 1.0, WORLD_ENEMY_KILLED_VOLUME}};
    double rms[4] = {}; // dB of full scale as played, all channels together
    // ALUT decodes only with a current context; tests run with OpenAL's null device.
    ASSERT_EQ(alutInit(nullptr, nullptr), AL_TRUE) << alutGetErrorString(alutGetError());
    for (size_t i = 0; i < 4; i++)
    {
        const Sound &sound = sounds[i];
        SCOPED_TRACE(sound.name);
        const std::vector<uint8_t> bytes = ReadFileBytes(UnpackedEntry(sound.name));
        ALenum format = 0;
        ALsizei size = 0;
        ALfloat frequency = 0;
        void *pcm = alutLoadMemoryFromFileImage(bytes.data(), static_cast<ALsizei>(bytes.size()),
                                                &format, &size, &frequency);
        ASSERT_NE(pcm, nullptr) << alutGetErrorString(alutGetError());
        std::free(pcm);
        EXPECT_EQ(format, sound.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16);
        EXPECT_EQ(frequency, static_cast<ALfloat>(sound.rate));
        EXPECT_EQ(static_cast<size_t>(size), bytes.size() - 44);
        const double seconds = size / (2.0 * sound.channels * sound.rate);
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 1.5) << "effects are short";
        // The flat factor is above 0 when runs of samples sit at the peak, as clipping leaves.
        std::istringstream stats(RunCommand("sox '" + UnpackedEntry(sound.name) +
                                            "' -n stats 2>&1 | awk '/^Pk lev dB/ {print $4} "
                                            "/^RMS lev dB/ {print $4} /^Flat factor/ {print $3}'")
                                     .second);
        double peak = 0, flatFactor = -1;
        ASSERT_TRUE(stats >> peak >> rms[i] >> flatFactor);
        EXPECT_GE(std::pow(10.0, peak / 20.0), sound.minPeak);
        EXPECT_LE(std::pow(10.0, peak / 20.0), sound.maxPeak + 1e-6);
        EXPECT_EQ(flatFactor, 0.0);
        rms[i] += 20.0 * std::log10(sound.volume);
    }
    alutExit();
    EXPECT_NEAR(rms[3], rms[0], 3.0);
    EXPECT_LT(rms[1], rms[3]) << "the enemies' fire drowns the kill";
}

} // namespace
