// The game's flow: splash, title, play, level bonuses and shield refills, game over.
#include "tests/game/game_fixture.h"

#include "game/hud.h"
#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/asset.h"

#include <cstring>
#include <tuple>

namespace
{
using WorldTest = GameTest;

// Each cell of a text of the given size, the first from x0 on the row from y, holds white glyph
// pixels but a blank, and the cells just before and after it are empty: where the text stands.
void ExpectText(const Frame &frame, const char *text, float x0, float y, float size)
{
    const int32_t length = static_cast<int32_t>(strlen(text));
    for (int32_t i = -1; i <= length; i++)
    {
        const float left = x0 + static_cast<float>(i) * size;
        int64_t white = 0;
        for (int32_t row = Render_Row(y); row < Render_Row(y + size); row++)
        {
            for (int32_t column = Render_Column(left); column < Render_Column(left + size);
                 column++)
                white += frame.At(column, row) == Rgba8{255, 255, 255, 255};
        }
        const bool blank = i < 0 || i == length || text[i] == ' ';
        EXPECT_TRUE(blank ? white < 8 : white > 30)
            << "cell " << i << " of " << text << ": " << white;
    }
}

TEST_F(WorldTest, APadShotDuringTheSplashOnlySelectsThePadAndOnTheStandingTitleStartsPlay)
{
    Step(10);
    const PadState pad{3, true, {}, {1}};
    Pad(pad);
    EXPECT_EQ(Player_GetBullet(player), nullptr);
    EXPECT_EQ(Player_GetSelectedJoystick(), 3);
    // The title shows the formation standing still, with its own pictures, holding fire.
    Step(300);
    EXPECT_EQ(Sprite_GetSubTexture(SpaceShip_GetSprite(Ship(9))),
              Asset_GetSpaceShipSubTexture(Graphics_GetAsset(), 1));
    const Vector2 before = Sprite_GetPosition(SpaceShip_GetSprite(Ship(0)));
    Step(300);
    const Vector2 after = Sprite_GetPosition(SpaceShip_GetSprite(Ship(0)));
    EXPECT_EQ(std::make_tuple(before.x, before.y, skipSplashScreen),
              std::make_tuple(after.x, after.y, 0));
    const Frame &title = ReadFrame();
    ExpectText(title, "Press Fire!", -0.605f, -0.3f, 0.11f);
    ExpectText(title, "ZINDREL!", -0.4f, 0.8f, 0.1f);
    Pad(pad);
    EXPECT_NE(Player_GetBullet(player), nullptr);
    Step();
    EXPECT_EQ(skipSplashScreen, 1);
    // The score ends at the bottom right, 8 cells of 0.09 before x = 0.94.
    Step();
    const Frame &play = ReadFrame();
    ExpectText(play, "Score: 0", 0.94f - 8 * 0.09f, -0.95f, 0.09f);
    ExpectText(play, "Level: 1", -0.24f, 0.92f, 0.06f);
}

TEST_F(WorldTest, LevelBonusIsShownThenBankedAndShieldRefillsAreSetNotAdded)
{
    StartPlay();
    AdvanceToLevel(4);
    // Two lives and one shield left: 400 points after level 4, five times that after the boss.
    LoseLives(1);
    ASSERT_EQ(Player_GetNumberOfLives(player), 2);
    Player_SetShields(player, 1);
    Hud *hud = World_GetHud(world);
    ClearLevel();
    Step();
    EXPECT_EQ(Hud_GetBonus(hud), 2 * 100 + 1 * 200);
    AdvanceToLevel(5);
    ClearLevel();
    Step();
    EXPECT_EQ(Hud_GetBonus(hud), (2 * 100 + 1 * 200) * 5);
    const int32_t score = Player_GetScore(player);
    EXPECT_EQ(Hud_GetScore(hud), score);
    // Every kill is credited once its explosion is over, the boss's after 50 frames.
    Step(50);
    const int32_t credited = Player_GetScore(player);
    EXPECT_EQ(credited, score + 1800) << "eight ships and the boss were still exploding";
    EXPECT_EQ(Hud_GetScore(hud) + Hud_GetBonus(hud), credited + 2000)
        << "the display's score includes the bonus";
    ASSERT_TRUE(StepUntil([&] { return World_GetLevelNumber(world) == 6; }, 400));
    EXPECT_EQ(std::make_pair(Player_GetScore(player), Hud_GetBonus(hud)),
              std::make_pair(credited + 2000, 0))
        << "the bonus shown is banked";
    EXPECT_EQ(Player_GetNumberOfShields(player), 1) << "level 6 sets the shields to 1";
    Player_SetShields(player, 4);
    AdvanceToLevel(11);
    EXPECT_EQ(Player_GetNumberOfShields(player), 2) << "set to 11 / 5, not added";
}

TEST_F(WorldTest, ASplashShotStartsPlayOnTheFirstTitleFrameAndTheLastLifeShowsGameOver)
{
    Step(100);
    Tap(kKeySpace);
    Step(175);
    EXPECT_EQ(std::make_pair(splashScreenPlaying, skipSplashScreen), std::make_pair(1, 0))
        << "frame 275 is the last of the splash";
    Step();
    EXPECT_EQ(std::make_pair(splashScreenPlaying, skipSplashScreen), std::make_pair(0, 1))
        << "the title frame saw the shot";
    Destroy(Ship(0));
    Step(30);
    ASSERT_EQ(Player_GetScore(player), 100);
    LoseLives();
    Step(340);
    EXPECT_EQ(skipSplashScreen, 1) << "340 frames of explosion under \"GAME OVER\"";
    EXPECT_FALSE(Player_HasDied(player));
    Step();
    // Back on the title with the high score kept and a fresh game waiting.
    EXPECT_EQ(std::make_tuple(skipSplashScreen, World_GetHighscore(world),
                              World_GetHighscoreLevel(world), World_GetLevelNumber(world),
                              Player_GetNumberOfLives(player), Player_GetScore(player)),
              std::make_tuple(0, 100, 1, 1, 3, 0));
}
} // namespace
