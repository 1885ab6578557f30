// The pause: the world stands still under "PAUSED", input meanwhile is lost, and only a game in
// progress pauses.
#include "tests/game/game_fixture.h"

#include "foundation/list.h"
#include "foundation/random.h"
#include "game/bullet.h"
#include "game/sprite.h"

#include <functional>

namespace
{
using Pause = GameTest;

TEST_F(Pause, PausedFramesChangeNothingThatFollows)
{
    // A seeded game under enemy fire: 90 frames, Right held for 20 (across the pause when there
    // is one), then 100 more frames. What the game is made of afterwards: the player, every
    // ship and enemy bullet, and the next random number.
    std::vector<double> states[2];
    for (const int32_t pausedFrames : {0, 120})
    {
        TearDown();
        SetUp();
        ceaseFire = false;
        StartPlay();
        Step(90);
        Key(kKeyRight, kPress);
        Step(10);
        if (pausedFrames > 0)
        {
            Tap(kKeyP);
            Step(pausedFrames);
            Tap(kKeyP);
        }
        Step(10);
        Key(kKeyRight, kRelease);
        Step(100);
        std::vector<double> &state = states[pausedFrames > 0];
        const Vector2 ship = Sprite_GetPosition(Player_GetSprite(player));
        state = {ship.x,
                 ship.y,
                 double(Player_GetScore(player)),
                 double(Player_GetNumberOfLives(player)),
                 double(Player_GetBulletsFired(player)),
                 double(Player_GetHitCountDown(player)),
                 double(Random_GetValue())};
        for (int32_t i = 0; i < 11 && Ship(i) != nullptr; i++)
        {
            const Vector2 at = Sprite_GetPosition(SpaceShip_GetSprite(Ship(i)));
            state.insert(state.end(), {at.x, at.y, double(SpaceShip_GetHealthPoint(Ship(i))),
                                       double(SpaceShip_GetHitCountDown(Ship(i)))});
            List *bullets = SpaceShip_GetBulletList(Ship(i));
            for (void *b = List_GetFirst(bullets); b != nullptr; b = List_GetNext(bullets))
            {
                const Vector2 bullet =
                    Sprite_GetPosition(Bullet_GetSprite(static_cast<Bullet *>(b)));
                state.insert(state.end(), {bullet.x, bullet.y});
            }
        }
    }
    EXPECT_EQ(states[1], states[0]);
}

TEST_F(Pause, ShowsTheStandingSceneUnderPausedAndDropsInputMeanwhile)
{
    StartPlay();
    Player_SetShields(player, 1);
    const int32_t fired = Player_GetBulletsFired(player);
    Step(30);
    Tap(kKeyP);
    Tap(kKeySpace);
    Tap(kKeyLeftShift, kModShift);
    PadState pad;
    pad.buttons[0] = pad.buttons[2] = 1; // A and X
    Pad(pad);
    Step(); // the frame the pause stands on
    const Frame before = ReadFrame();
    Step(20);
    const Frame &paused = ReadFrame();
    EXPECT_GT(CountInBox(paused, kWhite, -0.5f, 0.0f, 0.5f, 0.16f), 2000) << "no \"PAUSED\"";
    EXPECT_GT(CountInBox(paused, kWhite, -0.45f, -0.1f, 0.45f, -0.06f), 300) << "no help line";
    EXPECT_TRUE(std::equal(paused.pixels.begin() + paused.pixels.size() * 3 / 4,
                           paused.pixels.end(),
                           before.pixels.begin() + before.pixels.size() * 3 / 4))
        << "the top of the scene moved or is gone";
    Tap(kKeyP);
    Step();
    EXPECT_EQ(Player_GetBullet(player), nullptr);
    EXPECT_EQ(Player_GetBulletsFired(player), fired);
    EXPECT_EQ(Player_GetNumberOfShields(player), 1);
    EXPECT_EQ(Player_GetShieldCountDown(player), 0);
}

TEST_F(Pause, OnlyAGameInProgressPausesAndOnlyPOrPauseResumes)
{
    const struct
    {
        const char *screen;
        std::function<void(Pause &)> reach;
        int32_t pauses;
    } cases[] = {
        {"splash", [](Pause &t) { t.Step(10); }, 0},
        {"title", [](Pause &t) { t.Step(275); }, 0},
        {"explosion", [](Pause &t) { t.StartPlay(), t.LoseAllLives(), t.Step(); }, 0},
        {"play", [](Pause &t) { t.StartPlay(); }, 1},
    };
    for (const auto &c : cases)
    {
        TearDown();
        SetUp();
        c.reach(*this);
        for (const int32_t focus : {0, 1})
        {
            Player_HandleFocusEvent(player, GetWindow(), focus);
            EXPECT_EQ(Player_IsPaused(player), c.pauses) << c.screen << ": focus " << focus;
        }
        Tap(kKeyPause);
        EXPECT_EQ(Player_IsPaused(player), 0) << c.screen << ": Pause";
        Tap(kKeyP);
        EXPECT_EQ(Player_IsPaused(player), c.pauses) << c.screen << ": P again";
        Tap(kKeyP);
    }
}

} // namespace
