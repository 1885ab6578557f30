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
constexpr Rgba8 kBlack = {0, 0, 0, 255};

// Texture row i of the gradient picture.
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
        // The upper half of the picture red, the lower half blue: the border between them marks
        // the centre of the copy that is drawn first.
        halves = TestTexture_Create(1, 2, {kTop, kBottom});
        halvesPicture = TestSubTexture_Create(halves, 0, 0, 1, 2);
        std::vector<Rgba8> rows;
        for (int32_t i = 0; i < 256; i++)
        {
            rows.push_back(GradientRow(i));
        }
        gradient = TestTexture_Create(1, 256, rows);
        gradientPicture = TestSubTexture_Create(gradient, 0, 0, 1, 256);
        background = Background_Create(Vector2_Static(2.0f, 4.0f), halvesPicture);
        ResetOffset(background);
    }
    void TearDown() override
    {
        Background_Destroy(background);
        SubTexture_Destroy(gradientPicture);
        TestTexture_Destroy(gradient);
        SubTexture_Destroy(halvesPicture);
        TestTexture_Destroy(halves);
        RenderTest::TearDown();
    }

    void ResetOffset(Background *any)
    {
        const float height = Background_GetSize(any).y;
        Background_SetAnimationSpeed(any, 1.0e6);
        Background_Render(any);
        Background_SetAnimationSpeed(any, -height);
        Background_Render(any);
        NewFrame();
    }

    // One frame with the background at the given speed.
    void RenderAt(double speed)
    {
        NewFrame();
        Background_SetAnimationSpeed(background, speed);
        Background_Render(background);
    }

    // The first copy is centred at offset: rows above it show the upper half of the picture.
    void ExpectFirstCopyCentredAt(float offset)
    {
        const Frame &frame = ReadFrame();
        const int32_t border = static_cast<int32_t>(std::ceil((offset + 1.0f) * 384.0f - 0.5f));
        for (int32_t y = 0; y < frame.height; y++)
        {
            const Rgba8 expected = y >= border ? kTop : kBottom;
            if (!(frame.At(0, y) == expected && frame.At(1023, y) == expected))
            {
                ADD_FAILURE() << "row " << y << " shows " << frame.At(0, y) << ", expected "
                              << expected << " with the first copy centred at " << offset;
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
    Texture *gradient = nullptr;
    SubTexture *gradientPicture = nullptr;
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

    // At speed 0 the picture stands still.
    RenderAt(0.0);
    ExpectFirstCopyCentredAt(-0.02f);
    RenderAt(0.0);
    ExpectFirstCopyCentredAt(-0.02f);
    EXPECT_EQ(Background_GetSize(background).x, 2.0f);
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

    ResetOffset(background);
    RenderAt(3.0);
    ExpectSecondCopyCentredAt(7.0f);
    RenderAt(3.0); // 6 is above the height 4: held at 4
    ExpectSecondCopyCentredAt(8.0f);
    RenderAt(3.0);
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

    // A background made later carries on from the shared offset.
    Background_Destroy(other);
    other = Background_Create(Vector2_Static(2.0f, 4.0f), halvesPicture);
    NewFrame();
    Background_Render(other);
    ExpectFirstCopyCentredAt(-0.02f);
    Background_Destroy(other);
}

TEST_F(BackgroundTest, CopiesMeetWithoutASeamAndCoverTheWindowAtEveryOffset)
{
    // Offset -1.5 puts the join of the copies at y = 0.5, pixel row 576. A texture row of the
    // 256-row picture is 6 pixels high: the top rows of the lower copy must run up to the join
    // and the bottom rows of the upper copy start right there.
    Background_SetSubTexture(background, gradientPicture);
    RenderAt(-1.5);
    const Frame &frame = ReadFrame();
    for (int32_t x : {0, 511, 1023})
    {
        for (int32_t y = 558; y < 594; y++)
        {
            const int32_t textureRow = y < 576 ? (575 - y) / 6 : 255 - (y - 576) / 6;
            EXPECT_EQ(frame.At(x, y), GradientRow(textureRow))
                << "pixel (" << x << ", " << y << ")";
        }
    }

    for (int32_t step = 0; step < 9; step++)
    {
        RenderAt(-0.5);
        const Frame &covered = ReadFrame();
        EXPECT_EQ(covered.Count(kClearColor), 0) << "uncovered pixels after step " << step;
    }
}

TEST_F(BackgroundTest, WithoutPictureItIsDrawnBlackOverwritingWhatWasThere)
{
    Background *plain = Background_Create(Vector2_Static(2.0f, 4.0f), nullptr);
    NewFrame();
    Graphics_SetBlendFactors(0, 1); // the background sets its own
    Background_Render(plain);
    const Frame &frame = ReadFrame();
    EXPECT_EQ(frame.AtUnits(0.0f, 0.0f), kBlack);
    EXPECT_EQ(frame.At(0, 0), kBlack);
    EXPECT_EQ(frame.At(1023, 767), kBlack);
    Background_Destroy(plain);

    // A picture drawn over other drawing replaces it despite the caller's blend factors.
    NewFrame();
    Graphics_SetBlendFactors(0, 1);
    Background_Render(background);
    EXPECT_EQ(ReadFrame().AtUnits(0.0f, 0.5f), kTop);
}

} // namespace
