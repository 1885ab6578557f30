// Long runs of the whole game: a scripted player who plays it as a person would, from the
// splash through level 6 to a game over, and a monkey hammering every input at random. Both
// end with every record released.
#include "tests/game/game_fixture.h"

#include "foundation/list.h"
#include "frame/integration_win.h"
#include "game/bullet.h"
#include "game/level.h"
#include "game/player.h"
#include "game/spaceship.h"
#include "game/sprite.h"
#include "game/world.h"

#include <cmath>
#include <cstdlib>
#include <random>

namespace
{
using PlayTest = GameTest;

// Steers under the nearest intact ship with the arrow keys and fires with Space, one press per
// shot, as a person at the keyboard would.
class ScriptedPlayer
{
  public:
    explicit ScriptedPlayer(GameTest &test) : test(test) {}

    void Act(bool fire)
    {
        const float x = Sprite_GetPosition(Player_GetSprite(test.player)).x;
        const SpaceShip *target = nullptr;
        float dx = 0.0f;
        List *ships = Level_GetSpaceShips(World_GetLevel(test.world));
        for (void *s = List_GetFirst(ships); s != nullptr; s = List_GetNext(ships))
        {
            SpaceShip *ship = static_cast<SpaceShip *>(s);
            const float d = Sprite_GetPosition(SpaceShip_GetSprite(ship)).x - x;
            if (SpaceShip_GetHealthPoint(ship) > 0 &&
                (target == nullptr || std::fabs(d) < std::fabs(dx)))
            {
                target = ship;
                dx = d;
            }
        }
        Hold(dx > 0.04f ? kKeyRight : dx < -0.04f ? kKeyLeft : 0);
        if (fire && target != nullptr && std::fabs(dx) < 0.1f &&
            Player_GetBullet(test.player) == nullptr)
        {
            test.Tap(kKeySpace);
        }
    }

  private:
    void Hold(int32_t key)
    {
        if (key == held)
        {
            return;
        }
        if (held != 0)
        {
            test.Key(held, kRelease);
        }
        if (key != 0)
        {
            test.Key(key, kPress);
        }
        held = key;
    }

    GameTest &test;
    int32_t held = 0;
};

TEST_F(PlayTest, ScriptedGameFromTheSplashThroughLevelSixToGameOver)
{
    ScriptedPlayer person(*this);
    Step(275);
    ASSERT_EQ(splashScreenPlaying, 1);
    Step();
    Tap(kKeySpace);
    Step();
    ASSERT_EQ(skipSplashScreen, 1);

    // Fight through six levels with the enemies' fire held back.
    int32_t frames = 0;
    while (World_GetLevelNumber(world) < 7 && frames < 20000)
    {
        person.Act(true);
        Step();
        frames++;
    }
    ASSERT_EQ(World_GetLevelNumber(world), 7) << "after " << frames << " frames";
    EXPECT_GE(Player_GetScore(player), 6 * 1000 + 1000) << "every ship and the boss were paid";

    // Then stop shooting and stand under the formation until the enemies win.
    ceaseFire = false;
    const int32_t scoreBeforeTheEnd = Player_GetScore(player);
    frames = 0;
    while (skipSplashScreen == 1 && frames < 30000)
    {
        person.Act(false);
        Step();
        frames++;
    }
    ASSERT_EQ(skipSplashScreen, 0) << "the game is over and the title is back";
    EXPECT_EQ(World_GetHighscore(world), scoreBeforeTheEnd);
    EXPECT_EQ(World_GetHighscoreLevel(world), 7);
    EXPECT_EQ(World_GetLevelNumber(world), 1);
}

// Random keys, modifiers, pads, mouse events and kills for many frames. The count comes from
// ZINDREL_MONKEY_FRAMES (10,000 by default).
TEST_F(PlayTest, MonkeyInputNeverBreaksTheGame)
{
    const char *setting = getenv("ZINDREL_MONKEY_FRAMES");
    const int32_t frames = setting != nullptr ? atoi(setting) : 10000;
    ceaseFire = false;
    std::mt19937 random(4242);
    auto chance = [&](int32_t percent) { return static_cast<int32_t>(random() % 100) < percent; };
    const int32_t keys[] = {kKeySpace, kKeyEnter, kKeyLeft, kKeyRight, kKeyEscape, 65, 340, 342};
    PadState pads[3];
    pads[1].slot = 1;
    pads[2].slot = 7;
    pads[2].isGamepad = false;

    int32_t levelsSeen = 1;
    int32_t gamesOver = 0;
    for (int32_t frame = 0; frame < frames; frame++)
    {
        if (chance(20))
        {
            Key(keys[random() % 8], static_cast<int32_t>(random() % 3),
                static_cast<int32_t>(random() % 16));
        }
        for (PadState &pad : pads)
        {
            if (chance(5))
            {
                pad.axes[0] =
                    static_cast<float>(static_cast<int32_t>(random() % 201) - 100) / 100.0f;
                pad.buttons[random() % 15] ^= 1;
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
        EXPECT_GT(levelsSeen, 1) << "the monkey got past the first level";
        EXPECT_GT(gamesOver, 0) << "and lost at least one game";
    }
    RecordProperty("levels", levelsSeen);
    RecordProperty("gamesOver", gamesOver);
}
} // namespace
