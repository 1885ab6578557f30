// Count-down animations, drawn into the window frame by frame: which picture each render call
// shows, when the animation ends and what restarting or stopping does.
#include "tests/render/render_test_window.h"

#include "render/animation.h"
#include "render/graphics_win.h"

namespace
{

constexpr Rgba8 kSmall = {255, 0, 0, 255};
constexpr Rgba8 kMedium = {0, 255, 0, 255};
constexpr Rgba8 kBig = {0, 0, 255, 255};

class AnimationTest : public RenderTest
{
  protected:
    // One frame of the game: a fresh frame, the origin placed, one render call; returns the
    // colour in the middle of the animation's rectangle.
    Rgba8 RenderFrame(Animation *animation)
    {
        NewFrame();
        Graphics_SetPosition(Vector2_Static(0.25f, -0.5f));
        Animation_Render(animation);
        return ReadFrame().AtUnits(0.375f, -0.375f);
    }
};

TEST_F(AnimationTest, EnemyExplosionScheduleEndStopAndRestart)
{
    Texture *sheet = MakeTexture(3, 1, {kSmall, kMedium, kBig});
    SubTexture *small = Cut(sheet, 0, 0, 1, 1), *medium = Cut(sheet, 1, 0, 2, 1);
    Graphics_SetBlendFactors(1, 0);
    Animation *explosion = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_AddFrame(explosion, 20, medium);
    Animation_AddFrame(explosion, 15, Cut(sheet, 2, 0, 3, 1));
    Animation_AddFrame(explosion, 10, medium);
    Animation_AddFrame(explosion, 5, small);
    EXPECT_EQ(RenderFrame(explosion), kClearColor) << "an idle animation draws nothing";

    Animation_SetCountDown(explosion, 25);
    const Rgba8 schedule[5] = {kMedium, kBig, kMedium, kSmall, kClearColor};
    for (int32_t call = 1; call <= 25; call++)
    {
        EXPECT_EQ(Animation_HasEnded(explosion), 0) << "before call " << call;
        EXPECT_EQ(RenderFrame(explosion), schedule[(call - 1) / 5]) << "call " << call;
    }
    EXPECT_EQ(Animation_HasEnded(explosion), 1);
    EXPECT_EQ(RenderFrame(explosion), kClearColor) << "the 26th call changes nothing";
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);
    EXPECT_EQ(Animation_HasEnded(explosion), 1);

    // Restarted, the frame covers the animation's size from the origin and nothing more.
    Animation_SetCountDown(explosion, 25);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    RenderFrame(explosion);
    EXPECT_EQ(ReadFrame().Mismatches(Vector2_Static(0.25f, -0.5f), Vector2_Static(0.5f, -0.25f),
                                     kMedium, kClearColor),
              0);
    // Stopping is not ending; restarting in the middle shows the new count-down's frame at once.
    Animation_SetCountDown(explosion, 0);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    Animation_SetCountDown(explosion, 11);
    EXPECT_EQ(RenderFrame(explosion), kMedium);
    EXPECT_EQ(RenderFrame(explosion), kSmall);
    // A negative count-down never runs (it could only count on until it overflowed).
    Animation_SetCountDown(explosion, -3);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_GetCountDown(explosion), -3);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    Animation_Destroy(explosion);

    // The first qualifying frame in adding order is shown, even with rising thresholds; an
    // animation without frames draws nothing but still ends.
    Animation *rising = Animation_Create(Vector2_Static(0.5f, 0.5f));
    Animation_AddFrame(rising, 0, small);
    Animation_AddFrame(rising, 10, medium);
    Animation_SetCountDown(rising, 20);
    EXPECT_EQ(RenderFrame(rising), kSmall);
    Animation_Destroy(rising);
    Animation *empty = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_SetCountDown(empty, 1);
    EXPECT_EQ(RenderFrame(empty), kClearColor);
    EXPECT_EQ(Animation_HasEnded(empty), 1);
    Animation_Destroy(empty);
}

} // namespace
