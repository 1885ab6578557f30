// A monkey hammering every input at random for many frames, killing ships now and then so
// that it sees level changes and game overs; it ends with every record released and the
// sound device closed.
#include "tests/game/game_fixture.h"

#include "audio/audio_openal.h"
#include "frame/integration_win.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/world.h"
#include "tests/game/scripted_play.h"

#include <algorithm>
#include <cstdlib>
#include <random>

namespace
{
using PlayTest = GameTest;

// The sound device opened for the game tests is closed before the process ends; ctest fails
// the run on OpenAL's report of a device left open.
class CloseSound : public ::testing::Environment
{
  public:
    void TearDown() override
    {
        World_DestroySounds();
        Audio_Deinitialize();
    }
};
const auto *closeSound = ::testing::AddGlobalTestEnvironment(new CloseSound);

// Random keys, modifiers, pads, mouse events and kills for many frames. The count comes from
// ZINDREL_MONKEY_FRAMES (10,000 by default). In the first half the scripted player steers and
// fires under the monkey's other input, with the enemies' fire held back, so play reaches the
// later levels, bosses and shield refills; in the second the monkey plays alone under fire.
TEST_F(PlayTest, MonkeyInputNeverBreaksTheGame)
{
    const char *setting = getenv("ZINDREL_MONKEY_FRAMES");
    const int32_t frames = setting != nullptr ? atoi(setting) : 10000;
    ceaseFire = false;
    std::mt19937 random(4242);
    auto chance = [&](int32_t percent) { return static_cast<int32_t>(random() % 100) < percent; };
    const int32_t keys[] = {kKeySpace, kKeyEnter, kKeyLeft, kKeyRight, kKeyEscape, 65, 340, 342};
    const int32_t calmKeys[] = {kKeySpace, kKeyEnter, 65, 340, 342};
    PadState pads[3];
    pads[1].slot = 1;
    pads[2].slot = 7;
    pads[2].isGamepad = false;

    ScriptedPlayer person(world, GetWindow());
    int32_t levelsSeen = 1;
    int32_t gamesOver = 0;
    for (int32_t frame = 0; frame < frames; frame++)
    {
        const bool scripted = frame < frames / 2;
        ceaseFire = scripted;
        if (scripted)
        {
            person.Act(true);
        }
        // With the person at the keyboard, the monkey keeps off the arrows and Escape.
        if (chance(20))
        {
            Key(scripted ? calmKeys[random() % 5] : keys[random() % 8],
                static_cast<int32_t>(random() % 3), static_cast<int32_t>(random() % 16));
        }
        for (PadState &pad : pads)
        {
            if (chance(5))
            {
                // The sticks and the d-pad are left alone while the person steers.
                if (!scripted)
                {
                    pad.axes[0] =
                        static_cast<float>(static_cast<int32_t>(random() % 201) - 100) / 100.0f;
                }
                pad.buttons[random() % (scripted ? 11 : 15)] ^= 1; // 11 on: the d-pad
            }
            Pad(pad);
        }
        if (chance(2))
        {
            MouseEvent event{};
            event.position.x = random() % 1024;
            event.position.y = random() % 768;
            Player_HandleMouseEvent(player, GetWindow(), event, static_cast<int32_t>(random() % 5));
        }
        if (skipSplashScreen && chance(3))
        {
            SpaceShip *ship = Ship(static_cast<int32_t>(random() % 11));
            if (ship != nullptr && SpaceShip_GetHealthPoint(ship) > 0)
            {
                AimBulletAt(ship);
            }
        }
        const int32_t wasPlaying = skipSplashScreen;
        Step();
        gamesOver += wasPlaying && !skipSplashScreen;
        levelsSeen = std::max(levelsSeen, World_GetLevelNumber(world));
        // Escape asks the frame loop to end; there is no loop here, so play goes on.
        OSProgramResume();
    }
    if (frames >= 10000)
    {
        EXPECT_GE(levelsSeen, 12) << "the monkey reached level 12";
        EXPECT_GT(gamesOver, 0) << "and lost at least one game";
    }
    RecordProperty("levels", levelsSeen);
    RecordProperty("gamesOver", gamesOver);
}
} // namespace
