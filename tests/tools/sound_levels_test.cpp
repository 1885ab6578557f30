// The sounds as the game plays them (the jingle scaled as the world scales it), measured by SoX:
// a destroyed ship is heard among the shots, and nothing clips.
#include "tests/tools/asset_files.h"

#include "game/world.h"

#include <gtest/gtest.h>
#include <sstream>

namespace
{
struct Levels
{
    double rms = 0; // dB of full scale, all channels together
    double peak = 0;
    double flatFactor = -1; // above 0 when runs of samples sit at the peak, as clipping leaves
};

Levels Measure(const ScratchFolder &scratch, const std::string &name, double volume)
{
    for (ArchiveFile &file : ReadArchive(BuiltArchivePath()))
    {
        if (file.name == name)
        {
            WriteFileBytes(scratch.File(name), file.data);
        }
    }
    auto [status, out] =
        RunCommand("sox '" + scratch.File(name) + "' -n vol " + std::to_string(volume) +
                   " stats 2>&1 | awk '/^Pk lev dB/ {print $4} "
                   "/^RMS lev dB/ {print $4} /^Flat factor/ {print $3}'");
    Levels levels;
    std::istringstream(out) >> levels.peak >> levels.rms >> levels.flatFactor;
    EXPECT_EQ(status, 0) << name;
    return levels;
}
} // namespace

TEST(SoundLevels, AKillIsHeardAmongTheShotsAndNothingClips)
{
    ScratchFolder scratch;
    const Levels playerShot = Measure(scratch, "mixkit-short-laser-gun-shot-1670.wav", 1.0);
    const Levels enemyShot = Measure(scratch, "mixkit-game-whip-shot-1512.wav", 1.0);
    const Levels playerHit = Measure(scratch, "mixkit-falling-hit-757.wav", 1.0);
    const Levels kill =
        Measure(scratch, "mixkit-arcade-fast-game-over-233.wav", WORLD_ENEMY_KILLED_VOLUME);
    EXPECT_NEAR(kill.rms, playerShot.rms, 3.0);
    EXPECT_LT(enemyShot.rms, kill.rms) << "the enemies' fire drowns the kill";
    for (const Levels &sound : {playerShot, enemyShot, playerHit, kill})
    {
        EXPECT_LE(sound.peak, 0.0);
        EXPECT_EQ(sound.flatFactor, 0.0);
    }
}
