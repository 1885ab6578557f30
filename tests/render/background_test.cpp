// The scrolling background in the window. The offset is shared by the whole process and never
// reset, so each test first drives it to a known value through the public calls: a large
// positive speed holds it at the picture's height, minus the height brings it back to 0.
#include "tests/render/render_test_window.h"

#include "render/background.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"

#include <cmath>

namespace
{

constexpr Rgba8 kTop = {255, 0, 0, 255};
constexpr Rgba8 kBottom = {0, 0, 255, 255};

Rgba8 GradientRow(int32_t i)
{
    return {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 77, 255};
}

class BackgroundTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        // Upper half red, lower half blue: the border marks the centre of the first copy.
        halves = TestTexture_Create(1, 2, {kTop, kBottom});
        halvesPicture = TestSubTexture_Create(halves, 0, 0, 1, 2);
        background = Background_Create(Vector2_Static(2.0f, 4.0f), halvesPicture);
        Background_SetAnimationSpeed(background, 1.0e6);
        Background_Render(background);
        Background_SetAnimationSpeed(background, -4.0);
        Background_Render(background);
        Background_SetAnimationSpeed(background, 0.0);
    }
    void TearDown() override
    {
        Background_Destroy(background);
        SubTexture_Destroy(halvesPicture);
        Texture_Destroy(halves);
        RenderTest::TearDown();
    }

    void RenderAt(double speed)
    {
        NewFrame();
        Background_SetAnimationSpeed(background, speed);
        Background_Render(background);
    }

    // Rows whose centre lies above the first copy's centre show the picture's upper half.
    void ExpectFirstCopyCentredAt(float centre)
    {
        const Frame &frame = ReadFrame();
        const int32_t border = static_cast<int32_t>(std::ceil((centre + 1.0f) * 384.0f - 0.5f));
        for (int32_t y = 0; y < frame.height; y++)
        {
            const Rgba8 expected = y >= border ? kTop : kBottom;
            if (!(frame.At(0, y) == expected && frame.At(1023, y) == expected))
            {
                ADD_FAILURE() << "row " << y << " shows " << frame.At(0, y) << ", expected "
                              << expected << " with the first copy centred at " << centre;
                return;
            }
        }
    }

    // Sprite_Logic leaves the drawing origin at the second copy's lower-left corner.
    void ExpectSecondCopyCentredAt(float centre)
    {
        EXPECT_EQ(Graphics_GetPosition().x, -1.0f);
        EXPECT_NEAR(Graphics_GetPosition().y, centre - 2.0f, 1e-6f);
    }

    Texture *halves = nullptr;
    SubTexture *halvesPicture = nullptr;
    Background *background = nullptr;
};

TEST_F(BackgroundTest, SpeedMovesBothCopiesDownEachFrame)
{
    RenderAt(-0.01);
    ExpectFirstCopyCentredAt(-0.01f);
    ExpectSecondCopyCentredAt(3.99f);
    RenderAt(-0.01);
    ExpectFirstCopyCentredAt(-0.02f);
    ExpectSecondCopyCentredAt(3.98f);
    RenderAt(0.0);
    ExpectFirstCopyCentredAt(-0.02f);
    EXPECT_EQ(Background_GetSize(background).y, 4.0f);
}

TEST_F(BackgroundTest, OffsetWrapsBelowMinusTheHeightAndStopsAtTheHeight)
{
    RenderAt(-3.995);
    ExpectSecondCopyCentredAt(0.005f);
    RenderAt(-0.01); // -4.005 lies below -4: back to 0 before drawing
    ExpectFirstCopyCentredAt(0.0f);
    ExpectSecondCopyCentredAt(4.0f);
    RenderAt(-4.0); // exactly minus the height stays
    ExpectSecondCopyCentredAt(0.0f);

    RenderAt(4.0); // back to 0
    RenderAt(3.0);
    ExpectSecondCopyCentredAt(7.0f);
    RenderAt(3.0); // 6 is above the height: held at 4
    ExpectSecondCopyCentredAt(8.0f);
}

TEST_F(BackgroundTest, BackgroundsShareOneOffset)
{
    Background *other = Background_Create(Vector2_Static(2.0f, 4.0f), halvesPicture);
    Background_SetAnimationSpeed(other, -0.01);
    Background_SetAnimationSpeed(background, -0.01);
    Background_Render(other);
    Background_Render(background);
    ExpectFirstCopyCentredAt(-0.02f);
    ExpectSecondCopyCentredAt(3.98f);
    Background_Destroy(other);
}

TEST_F(BackgroundTest, CopiesMeetWithoutASeamAndCoverTheWindowAtEveryOffset)
{
    // Offset -1.5 puts the join at y = 0.5, pixel row 576. A row of the 256-row picture is
    // 6 pixels high: the lower copy's top rows must run right up to the join and the upper
    // copy's bottom rows start there.
    std::vector<Rgba8> rows;
    for (int32_t i = 0; i < 256; i++)
    {
        rows.push_back(GradientRow(i));
    }
    Texture *gradient = TestTexture_Create(1, 256, rows);
    SubTexture *picture = TestSubTexture_Create(gradient, 0, 0, 1, 256);
    Background_SetSubTexture(background, picture);
    RenderAt(-1.5);
    const Frame &frame = ReadFrame();
    for (int32_t x : {0, 511, 1023})
    {
        for (int32_t y = 558; y < 594; y++)
        {
            const int32_t row = y < 576 ? (575 - y) / 6 : 255 - (y - 576) / 6;
            EXPECT_EQ(frame.At(x, y), GradientRow(row)) << "pixel (" << x << ", " << y << ")";
        }
    }
    for (int32_t step = 0; step < 9; step++)
    {
        RenderAt(-0.5);
        EXPECT_EQ(ReadFrame().Count(kClearColor), 0) << "uncovered pixels after step " << step;
    }
    SubTexture_Destroy(picture);
    Texture_Destroy(gradient);
}

TEST_F(BackgroundTest, ReplacesWhatWasDrawnAndIsBlackWithoutPicture)
{
    NewFrame();
    Graphics_SetBlendFactors(0, 1); // the background sets its own
    Background_Render(background);
    EXPECT_EQ(ReadFrame().AtUnits(0.0f, 0.5f), kTop);

    NewFrame();
    Background_SetSubTexture(background, nullptr);
    Background_Render(background);
    EXPECT_EQ(ReadFrame().Count(Rgba8{0, 0, 0, 255}), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);
}

} // namespace
