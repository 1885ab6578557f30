// The scrolling background in the window. The offset is shared by the whole process and never
// reset, so each test first drives it to 0 through the public calls: a large positive speed
// holds it at the picture's height, minus the height brings it back to 0.
#include "tests/render/render_test_window.h"

#include "render/background.h"
#include "render/graphics_win.h"

#include <cmath>

namespace
{

constexpr Rgba8 kTop = {255, 0, 0, 255};
constexpr Rgba8 kBottom = {0, 0, 255, 255};

class BackgroundTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        // Upper half red, lower half blue: the border marks the centre of the first copy.
        halves = Cut(MakeTexture(1, 2, {kTop, kBottom}), 0, 0, 1, 2);
        background = Background_Create(Vector2_Static(2.0f, 4.0f), halves);
        RenderAt(1.0e6);
        RenderAt(-4.0);
    }
    void TearDown() override
    {
        Background_Destroy(background);
        RenderTest::TearDown();
    }

    void RenderAt(double speed)
    {
        NewFrame();
        Background_SetAnimationSpeed(background, speed);
        Background_Render(background);
    }

    // The first copy's centre by its border (when in the window), the second one's by the
    // drawing origin Sprite_Logic leaves at its lower-left corner.
    void ExpectCopiesCentredAt(float first, float second)
    {
        if (std::fabs(first) < 1.0f)
        {
            EXPECT_EQ(ReadFrame().Mismatches({-1.0f, first}, {1.0f, 1.0f}, kTop, kBottom), 0)
                << "first copy centred at " << first;
        }
        EXPECT_EQ(Graphics_GetPosition().x, -1.0f);
        EXPECT_NEAR(Graphics_GetPosition().y, second - 2.0f, 1e-6f);
    }

    SubTexture *halves = nullptr;
    Background *background = nullptr;
};

TEST_F(BackgroundTest, SpeedMovesBothCopiesAndBackgroundsShareOneOffset)
{
    RenderAt(-0.01);
    ExpectCopiesCentredAt(-0.01f, 3.99f);
    RenderAt(0.0);
    ExpectCopiesCentredAt(-0.01f, 3.99f);
    // Two backgrounds in one frame advance the shared offset twice.
    Background *other = Background_Create(Vector2_Static(2.0f, 4.0f), halves);
    Background_SetAnimationSpeed(other, -0.01);
    Background_SetAnimationSpeed(background, -0.01);
    Background_Render(other);
    Background_Render(background);
    ExpectCopiesCentredAt(-0.03f, 3.97f);
    Background_Destroy(other);
}

TEST_F(BackgroundTest, OffsetWrapsBelowMinusTheHeightAndStopsAtTheHeight)
{
    RenderAt(-3.995);
    ExpectCopiesCentredAt(-3.995f, 0.005f);
    RenderAt(-0.01); // -4.005 lies below -4: back to 0 before drawing
    ExpectCopiesCentredAt(0.0f, 4.0f);
    RenderAt(-4.0); // exactly minus the height stays
    EXPECT_NEAR(Graphics_GetPosition().y, -2.0f, 1e-6f);
    RenderAt(4.0);
    RenderAt(3.0);
    ExpectCopiesCentredAt(3.0f, 7.0f);
    RenderAt(3.0); // 6 is above the height: held at 4
    ExpectCopiesCentredAt(4.0f, 8.0f);
}

TEST_F(BackgroundTest, CopiesMeetWithoutASeamCoverTheWindowAndReplaceWhatWasDrawn)
{
    // Offset -1.5 puts the join at y = 0.5, pixel row 576. A row of the 256-row picture is 6
    // pixels high: the lower copy's top rows must run right up to the join and the upper copy's
    // bottom rows start there. The background sets its own blending.
    std::vector<Rgba8> rows;
    rows.reserve(256);
    for (int32_t i = 0; i < 256; i++)
    {
        rows.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 77, 255});
    }
    Background_SetSubTexture(background, Cut(MakeTexture(1, 256, rows), 0, 0, 1, 256));
    Graphics_SetBlendFactors(0, 1);
    RenderAt(-1.5);
    const Frame &frame = ReadFrame();
    for (int32_t x : {0, 511, 1023})
    {
        for (int32_t y = 558; y < 594; y++)
        {
            const int32_t row = y < 576 ? (575 - y) / 6 : 255 - (y - 576) / 6;
            EXPECT_EQ(frame.At(x, y), rows[row]) << "pixel (" << x << ", " << y << ")";
        }
    }
    for (int32_t step = 0; step < 9; step++)
    {
        RenderAt(-0.5);
        EXPECT_EQ(ReadFrame().Count(kClearColor), 0) << "uncovered pixels after step " << step;
    }
}

} // namespace
