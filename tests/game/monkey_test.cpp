// A monkey hammering every input at random, killing ships now and then; it ends with every record
// released and the sound device closed (ctest fails the run on OpenAL's report of one left open).
#include "tests/game/game_fixture.h"
#include "tests/game/scripted_play.h"

#include "audio/audio_openal.h"
#include "frame/integration_win.h"

#include <cstdlib>
#include <random>

namespace
{
using PlayTest = GameTest;

class CloseSound : public ::testing::Environment
{
    void TearDown() override { World_DestroySounds(), Audio_Deinitialize(); }
};
const auto *closeSound = ::testing::AddGlobalTestEnvironment(new CloseSound);

// ZINDREL_MONKEY_FRAMES frames (10,000 by default). In the first half the scripted player
// steers and fires under the monkey's other input, without enemy fire, so play reaches the
// later levels, bosses and shield refills; in the second the monkey plays alone under fire.
TEST_F(PlayTest, MonkeyInputNeverBreaksTheGame)
{
    const int32_t frames =
        getenv("ZINDREL_MONKEY_FRAMES") ? atoi(getenv("ZINDREL_MONKEY_FRAMES")) : 10000;
    std::mt19937 random(4242);
    auto pick = [&](uint32_t n) { return static_cast<int32_t>(random() % n); };
    auto chance = [&](int32_t percent) { return pick(100) < percent; };
    // Beside the person the monkey keeps off the arrows and Escape (the last three keys), the
    // sticks and the d-pad (buttons 11 on).
    const int32_t keys[] = {kKeySpace, kKeyEnter, 65, 340, 342, kKeyLeft, kKeyRight, kKeyEscape};
    PadState pads[3] = {{}, {1}, {7, false}};
    ScriptedPlayer person(world, GetWindow());
    for (int32_t frame = 0; frame < frames; frame++)
    {
        const bool scripted = frame < frames / 2;
        ceaseFire = scripted;
        if (scripted)
            person.Act(true);
        if (chance(20))
            Key(keys[random() % (scripted ? 5 : 8)], pick(3), pick(16));
        for (PadState &pad : pads)
        {
            if (chance(5))
            {
                pad.axes[0] = scripted ? 0.0f : static_cast<float>(random() % 201) / 100.0f - 1;
                pad.buttons[random() % (scripted ? 11 : 15)] ^= 1;
            }
            Pad(pad);
        }
        if (chance(2))
        {
            MouseEvent event{};
            event.position = {double(random() % 1024), double(random() % 768)};
            Player_HandleMouseEvent(player, GetWindow(), event, pick(5));
        }
        SpaceShip *ship = Ship(pick(11));
        if (skipSplashScreen && chance(3) && ship != nullptr && SpaceShip_GetHealthPoint(ship) > 0)
            AimBulletAt(ship);
        Step();
        OSProgramResume(); // Escape asks the frame loop to end; there is none here
    }
}
} // namespace
