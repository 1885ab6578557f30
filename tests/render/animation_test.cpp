// Count-down animations, drawn into the window frame by frame: which picture each render call
// shows, when the animation ends and what restarting or stopping does.
#include "tests/render/render_test_window.h"

#include "foundation/color.h"
#include "render/animation.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"

#include <string>

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
    }
    void TearDown() override
    {
        SubTexture_Destroy(big);
        SubTexture_Destroy(medium);
        SubTexture_Destroy(small);
        TestTexture_Destroy(sheet);
        RenderTest::TearDown();
    }

    // The enemy ship's explosion of the game.
    Animation *EnemyExplosion()
    {
        Animation *animation = Animation_Create(Vector2_Static(0.25f, 0.25f));
        Animation_AddFrame(animation, 20, medium);
        Animation_AddFrame(animation, 15, big);
        Animation_AddFrame(animation, 10, medium);
        Animation_AddFrame(animation, 5, small);
        return animation;
    }

    // One frame of the game: a fresh frame, the origin placed, one render call; returns the
    // colour at the middle of the animation's rectangle.
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
};

TEST_F(AnimationTest, EnemyExplosionScheduleAndEnd)
{
    Animation *explosion = EnemyExplosion();
    EXPECT_EQ(RenderFrame(explosion), kClearColor) << "an idle animation draws nothing";
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);

    Animation_SetCountDown(explosion, 25);
    const Rgba8 schedule[5] = {kMedium, kBig, kMedium, kSmall, kClearColor};
    for (int32_t call = 1; call <= 25; call++)
    {
        EXPECT_EQ(Animation_HasEnded(explosion), 0) << "before call " << call;
        EXPECT_EQ(RenderFrame(explosion), schedule[(call - 1) / 5]) << "call " << call;
        EXPECT_EQ(Animation_GetCountDown(explosion), 25 - call);
    }
    EXPECT_EQ(Animation_HasEnded(explosion), 1);

    // The 26th call changes nothing.
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);
    EXPECT_EQ(Animation_HasEnded(explosion), 1);

    // The frame covers the animation's size from the origin, nothing more.
    Animation_SetCountDown(explosion, 25);
    EXPECT_EQ(Animation_HasEnded(explosion), 0) << "restarting clears the end";
    RenderFrame(explosion);
    const Frame &frame = ReadFrame();
    EXPECT_EQ(frame.AtUnits(0.25f + 0.003f, -0.5f + 0.003f), kMedium);
    EXPECT_EQ(frame.AtUnits(0.5f - 0.003f, -0.25f - 0.003f), kMedium);
    EXPECT_EQ(frame.AtUnits(0.25f - 0.003f, -0.375f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.5f + 0.003f, -0.375f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.375f, -0.5f - 0.003f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.375f, -0.25f + 0.003f), kClearColor);
    Animation_Destroy(explosion);
}

TEST_F(AnimationTest, SettingTheCountDownStopsAndRestarts)
{
    Animation *explosion = EnemyExplosion();
    Animation_SetCountDown(explosion, 25);
    RenderFrame(explosion);
    RenderFrame(explosion);
    Animation_SetCountDown(explosion, 0);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);
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
    Animation_Destroy(explosion);
}

TEST_F(AnimationTest, TheFirstQualifyingFrameInAddingOrderIsShown)
{
    // Frames added with rising thresholds: the first one qualifies for every count-down above
    // 0, so the second is never shown.
    Animation *animation = Animation_Create(Vector2_Static(0.5f, 0.5f));
    Animation_AddFrame(animation, 0, small);
    Animation_AddFrame(animation, 10, big);
    Animation_SetCountDown(animation, 20);
    EXPECT_EQ(RenderFrame(animation), kSmall);
    EXPECT_EQ(Animation_GetSize(animation).x, 0.5f);
    EXPECT_EQ(Animation_GetSize(animation).y, 0.5f);
    Animation_Destroy(animation);

    // The splash logo's single frame at threshold 0 shows on every call of its run.
    Animation *logo = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_AddFrame(logo, 0, big);
    Animation_SetCountDown(logo, 3);
    for (int32_t call = 0; call < 3; call++)
    {
        EXPECT_EQ(RenderFrame(logo), kBig) << "call " << call;
    }
    EXPECT_EQ(Animation_HasEnded(logo), 1);
    Animation_Destroy(logo);
}

TEST_F(AnimationTest, WithoutFramesTheCountDownStillRuns)
{
    Animation *animation = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_SetCountDown(animation, 2);
    EXPECT_EQ(RenderFrame(animation), kClearColor);
    EXPECT_EQ(Animation_HasEnded(animation), 0);
    EXPECT_EQ(RenderFrame(animation), kClearColor);
    EXPECT_EQ(Animation_HasEnded(animation), 1);
    Animation_Destroy(animation);
}

TEST_F(AnimationTest, FrameWithoutPictureIsDrawnPlainByTheGraphicsLayer)
{
    Animation *animation = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_AddFrame(animation, 0, nullptr);
    Animation_SetCountDown(animation, 1);
    const Color white = Color_Static(1.0f, 1.0f, 1.0f, 1.0f);
    Graphics_SetColor(&white);
    ::testing::internal::CaptureStdout();
    const Rgba8 drawn = RenderFrame(animation);
    const std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(drawn, (Rgba8{255, 255, 255, 255}));
    EXPECT_NE(output.find("Graphics_DrawTexturedRectangle called but subTexture=NULL"),
              std::string::npos);
    Animation_Destroy(animation);
}

} // namespace
