// Count-down animations, drawn into the window frame by frame: which picture each render call
// shows, when the animation ends and what restarting or stopping does.
#include "tests/render/render_test_window.h"

#include "render/animation.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"

namespace
{

constexpr Rgba8 kSmall = {255, 0, 0, 255};
constexpr Rgba8 kMedium = {0, 255, 0, 255};
constexpr Rgba8 kBig = {0, 0, 255, 255};

class AnimationTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        sheet = TestTexture_Create(3, 1, {kSmall, kMedium, kBig});
        small = TestSubTexture_Create(sheet, 0, 0, 1, 1);
        medium = TestSubTexture_Create(sheet, 1, 0, 2, 1);
        big = TestSubTexture_Create(sheet, 2, 0, 3, 1);
        Graphics_SetBlendFactors(1, 0);
        // The enemy ship's explosion of the game.
        explosion = Animation_Create(Vector2_Static(0.25f, 0.25f));
        Animation_AddFrame(explosion, 20, medium);
        Animation_AddFrame(explosion, 15, big);
        Animation_AddFrame(explosion, 10, medium);
        Animation_AddFrame(explosion, 5, small);
    }
    void TearDown() override
    {
        Animation_Destroy(explosion);
        SubTexture_Destroy(big);
        SubTexture_Destroy(medium);
        SubTexture_Destroy(small);
        Texture_Destroy(sheet);
        RenderTest::TearDown();
    }

    // One frame of the game: a fresh frame, the origin placed, one render call; returns the
    // colour in the middle of the animation's rectangle.
    Rgba8 RenderFrame(Animation *animation)
    {
        NewFrame();
        Graphics_SetPosition(Vector2_Static(0.25f, -0.5f));
        Animation_Render(animation);
        return ReadFrame().AtUnits(0.375f, -0.375f);
    }

    Texture *sheet = nullptr;
    SubTexture *small = nullptr;
    SubTexture *medium = nullptr;
    SubTexture *big = nullptr;
    Animation *explosion = nullptr;
};

TEST_F(AnimationTest, EnemyExplosionScheduleAndEnd)
{
    EXPECT_EQ(RenderFrame(explosion), kClearColor) << "an idle animation draws nothing";
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);

    Animation_SetCountDown(explosion, 25);
    const Rgba8 schedule[5] = {kMedium, kBig, kMedium, kSmall, kClearColor};
    for (int32_t call = 1; call <= 25; call++)
    {
        EXPECT_EQ(Animation_HasEnded(explosion), 0) << "before call " << call;
        EXPECT_EQ(RenderFrame(explosion), schedule[(call - 1) / 5]) << "call " << call;
        EXPECT_EQ(Animation_GetCountDown(explosion), 25 - call);
    }
    EXPECT_EQ(Animation_HasEnded(explosion), 1);
    EXPECT_EQ(RenderFrame(explosion), kClearColor) << "the 26th call changes nothing";
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);
    EXPECT_EQ(Animation_HasEnded(explosion), 1);

    // Restarted, the frame covers the animation's size from the origin and nothing more.
    Animation_SetCountDown(explosion, 25);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    RenderFrame(explosion);
    const Frame &frame = ReadFrame();
    EXPECT_EQ(frame.AtUnits(0.253f, -0.497f), kMedium);
    EXPECT_EQ(frame.AtUnits(0.497f, -0.253f), kMedium);
    EXPECT_EQ(frame.AtUnits(0.247f, -0.375f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.503f, -0.375f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.375f, -0.503f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.375f, -0.247f), kClearColor);
}

TEST_F(AnimationTest, SettingTheCountDownStopsAndRestarts)
{
    Animation_SetCountDown(explosion, 25);
    RenderFrame(explosion);
    Animation_SetCountDown(explosion, 0);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_HasEnded(explosion), 0) << "stopping is not ending";

    // Restarting in the middle shows the frame of the new count-down at once.
    Animation_SetCountDown(explosion, 12);
    EXPECT_EQ(RenderFrame(explosion), kMedium);
    EXPECT_EQ(RenderFrame(explosion), kMedium);
    EXPECT_EQ(RenderFrame(explosion), kSmall);

    // A negative count-down never runs (it could only count on until it overflowed).
    Animation_SetCountDown(explosion, -3);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_GetCountDown(explosion), -3);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
}

TEST_F(AnimationTest, FirstQualifyingFrameInAddingOrderIsShownAndNoFramesDrawNothing)
{
    // Rising thresholds: the first frame qualifies for every count-down above 0, so the second
    // one is never shown.
    Animation *animation = Animation_Create(Vector2_Static(0.5f, 0.5f));
    Animation_AddFrame(animation, 0, small);
    Animation_AddFrame(animation, 10, big);
    Animation_SetCountDown(animation, 20);
    EXPECT_EQ(RenderFrame(animation), kSmall);
    EXPECT_EQ(Animation_GetSize(animation).x, 0.5f);
    Animation_Destroy(animation);

    Animation *empty = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_SetCountDown(empty, 2);
    EXPECT_EQ(RenderFrame(empty), kClearColor);
    EXPECT_EQ(RenderFrame(empty), kClearColor);
    EXPECT_EQ(Animation_HasEnded(empty), 1);
    Animation_Destroy(empty);
}

} // namespace
