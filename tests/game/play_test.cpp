// Long runs of the whole game: a scripted player who plays it as a person would, from the
// splash through level 6 to a game over, and a monkey hammering every input at random. Both
// end with every record released.
#include "tests/game/game_fixture.h"
#include "tests/game/scripted_play.h"

#include "foundation/list.h"
#include "frame/integration_win.h"
#include "game/bullet.h"
#include "game/hud.h"
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
using WorldTest = GameTest;

TEST_F(PlayTest, ScriptedGameFromTheSplashThroughLevelSixToGameOver)
{
    ScriptedPlayer person(world, GetWindow());
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

TEST_F(WorldTest, ShieldRefillIsCappedAtFiveFromLevel26On)
{
    StartPlay();
    // Level after level the game holds the same records: nothing grows with the level count
    // (the player's explosion frames are added once, not once per level).
    AdvanceToLevel(7);
    const int64_t liveAtLevel7 = LiveBlocks();
    AdvanceToLevel(12);
    EXPECT_EQ(LiveBlocks(), liveAtLevel7);
    AdvanceToLevel(31);
    EXPECT_EQ(Player_GetNumberOfShields(player), 5);
    EXPECT_EQ(Hud_GetLevel(World_GetHud(world)), 31);
}

TEST_F(WorldTest, ZeroScoreKeepsTheTitleAndATieKeepsTheOlderEntry)
{
    StartPlay();
    LoseAllLives();
    ASSERT_TRUE(StepUntil([&] { return skipSplashScreen == 0; }, 400));
    EXPECT_EQ(World_GetHighscore(world), 0) << "a game of 0 points leaves no high score";

    // 2200 points at level 2: level 1 cleared with three lives (1000 + 300), nine kills.
    Tap(kKeySpace);
    Step();
    ASSERT_EQ(skipSplashScreen, 1);
    AdvanceToLevel(2);
    for (int32_t i = 0; i < 9; i++)
    {
        Destroy(Ship(i));
    }
    ASSERT_TRUE(StepUntil([&] { return Player_GetScore(player) == 2200; }, 60));
    LoseAllLives();
    ASSERT_TRUE(StepUntil([&] { return skipSplashScreen == 0; }, 400));
    ASSERT_EQ(World_GetHighscore(world), 2200);
    ASSERT_EQ(World_GetHighscoreLevel(world), 2);

    // 2200 points again, at level 3: two levels cleared with one life left (1100 each).
    Tap(kKeySpace);
    Step();
    for (int32_t life = 0; life < 2; life++)
    {
        Player_Die(player);
        StepUntil([&] { return Player_GetHitCountDown(player) == 0; }, 100);
    }
    AdvanceToLevel(3);
    ASSERT_EQ(Player_GetScore(player), 2200);
    LoseAllLives();
    ASSERT_TRUE(StepUntil([&] { return skipSplashScreen == 0; }, 400));
    EXPECT_EQ(World_GetHighscore(world), 2200);
    EXPECT_EQ(World_GetHighscoreLevel(world), 2) << "a tie keeps the older entry";
}
} // namespace
