// The pause (its "PAUSED" is read off the real program by pause_program.sh).
#include "tests/game/game_fixture.h"

#include "foundation/list.h"
#include "foundation/random.h"
#include "game/bullet.h"
#include "game/sprite.h"

namespace
{
using Pause = GameTest;

TEST_F(Pause, PausedFramesKeepTheSceneDropInputAndChangeNothingThatFollows)
{
    // A seeded game under enemy fire with Right held across the pause when there is one, and
    // fire, shield and pad input sent while paused; what the game is made of afterwards.
    std::vector<double> states[2];
    for (const int32_t pausedFrames : {0, 120})
    {
        TearDown();
        SetUp();
        ceaseFire = false;
        StartPlay();
        Player_SetShields(player, 1);
        Step(90);
        Key(kKeyRight, kPress);
        Step(10);
        if (pausedFrames > 0)
        {
            Tap(kKeyP);
            Tap(kKeySpace);
            Tap(kKeyLeftShift, kModShift);
            Pad(PadState{0, true, {}, {1, 0, 1}}); // A and X
            Step();                                // the frame the pause stands on
            const Frame before = ReadFrame();
            Step(pausedFrames - 1);
            const Frame &paused = ReadFrame();
            EXPECT_TRUE(std::equal(paused.pixels.begin() + paused.pixels.size() * 3 / 4,
                                   paused.pixels.end(),
                                   before.pixels.begin() + before.pixels.size() * 3 / 4))
                << "the top of the scene moved or is gone";
            Tap(kKeyP);
        }
        Step(10);
        Key(kKeyRight, kRelease);
        Step(100);
        std::vector<double> &state = states[pausedFrames > 0];
        auto add = [&](Sprite *sprite, double a, double b)
        {
            const Vector2 at = Sprite_GetPosition(sprite);
            state.insert(state.end(), {at.x, at.y, a, b});
        };
        add(Player_GetSprite(player), Player_GetScore(player), Player_GetNumberOfLives(player));
        add(Player_GetSprite(player), Player_GetBulletsFired(player),
            Player_GetHitCountDown(player));
        add(Player_GetSprite(player), Player_GetNumberOfShields(player), Random_GetValue());
        for (int32_t i = 0; i < 11 && Ship(i) != nullptr; i++)
        {
            add(SpaceShip_GetSprite(Ship(i)), SpaceShip_GetHealthPoint(Ship(i)),
                SpaceShip_GetHitCountDown(Ship(i)));
            List *bullets = SpaceShip_GetBulletList(Ship(i));
            for (void *b = List_GetFirst(bullets); b != nullptr; b = List_GetNext(bullets))
                add(Bullet_GetSprite(static_cast<Bullet *>(b)), 0, 0);
        }
    }
    EXPECT_EQ(states[1], states[0]);
}

TEST_F(Pause, OnlyAGameInProgressPausesAndOnlyPOrPauseResumes)
{
    for (const char *screen : {"title", "explosion", "play"})
    {
        TearDown();
        SetUp();
        const bool play = screen[0] == 'p';
        screen[0] == 't' ? Step(275) : StartPlay();
        if (screen[0] == 'e')
            LoseLives(), Step();
        for (const int32_t focus : {0, 1})
        {
            Player_HandleFocusEvent(player, GetWindow(), focus);
            EXPECT_EQ(Player_IsPaused(player), play) << screen << ": focus " << focus;
        }
        Tap(kKeyPause);
        EXPECT_EQ(Player_IsPaused(player), 0) << screen << ": Pause";
        Tap(kKeyP);
        EXPECT_EQ(Player_IsPaused(player), play) << screen << ": P again";
        Tap(kKeyP);
    }
}
} // namespace
