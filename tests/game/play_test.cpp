// Long runs of the whole game: thirty levels in one game, and three games for the high score.
#include "tests/game/game_fixture.h"

#include "foundation/allocator.h"
#include "game/hud.h"

namespace
{
using WorldTest = GameTest;

TEST_F(WorldTest, ShieldRefillIsCappedAtFiveFromLevel26On)
{
    // Nothing grows with the level count (the player's explosion frames are added once).
    auto live = []
    { return int64_t{Allocator_GetAllocatedObjects()} - Allocator_GetDeallocatedObjects(); };
    StartPlay();
    AdvanceToLevel(7);
    const int64_t liveAtLevel7 = live();
    AdvanceToLevel(12);
    EXPECT_EQ(live(), liveAtLevel7);
    AdvanceToLevel(31);
    EXPECT_EQ(Player_GetNumberOfShields(player), 5);
    EXPECT_EQ(Hud_GetLevel(World_GetHud(world)), 31);
}

TEST_F(WorldTest, ZeroScoreKeepsTheTitleAndATieKeepsTheOlderEntry)
{
    // 0 points; 2200 at level 2 (level 1 cleared with three lives: 1000 + 300, nine kills);
    // 2200 again at level 3 (two levels cleared with one life left, 1100 each).
    const struct
    {
        int32_t livesToLose, level, kills, highscore, highscoreLevel;
    } games[] = {{0, 1, 0, 0, 0}, {0, 2, 9, 2200, 2}, {2, 3, 0, 2200, 2}};
    for (const auto &game : games)
    {
        Tap(kKeySpace);
        ASSERT_TRUE(StepUntil([&] { return skipSplashScreen == 1; }, 400));
        Player_RemoveBullet(player);
        LoseLives(game.livesToLose);
        AdvanceToLevel(game.level);
        ClearLevel(game.kills);
        ASSERT_TRUE(StepUntil([&] { return Player_GetScore(player) == game.highscore; }, 60));
        LoseLives();
        ASSERT_TRUE(StepUntil([&] { return skipSplashScreen == 0; }, 400));
        EXPECT_EQ(World_GetHighscore(world), game.highscore) << "a game of 0 points leaves none";
        EXPECT_EQ(World_GetHighscoreLevel(world), game.highscoreLevel) << "a tie keeps the older";
    }
}
} // namespace
