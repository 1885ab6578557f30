// The 2D primitives, checked on the pixels of the real window: placement, texture orientation,
// the blend-code table and the frame set-up.
#include "tests/render/render_test_window.h"

#include "foundation/color.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <gmock/gmock.h>

namespace
{

constexpr Rgba8 kRed = {255, 0, 0, 255};
constexpr Rgba8 kGreen = {0, 255, 0, 255};
constexpr Rgba8 kBlue = {0, 0, 255, 255};
constexpr Rgba8 kWhite = {255, 255, 255, 255};

void SetColor(float red, float green, float blue, float alpha)
{
    const Color color = Color_Static(red, green, blue, alpha);
    Graphics_SetColor(&color);
}

// Every pixel of the frame inside the rectangle (in pixels, exclusive upper bounds) equals
// inside, every other one outside.
void ExpectRectangle(const Frame &frame, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     Rgba8 inside, Rgba8 outside)
{
    int32_t wrong = 0;
    for (int32_t y = 0; y < frame.height; y++)
    {
        for (int32_t x = 0; x < frame.width; x++)
        {
            const bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
            if (!(frame.At(x, y) == (in ? inside : outside)) && wrong++ < 3)
            {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << frame.At(x, y)
                              << ", expected " << (in ? inside : outside);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

class GraphicsTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        // Two rows of two texels: red, green over blue, white.
        quad = TestTexture_Create(2, 2, {kRed, kGreen, kBlue, kWhite});
    }
    void TearDown() override
    {
        TestTexture_Destroy(quad);
        RenderTest::TearDown();
    }

    // Draws the sub-texture over the whole window with the blend of the background.
    void FillWindow(SubTexture *subTexture)
    {
        Graphics_SetBlendFactors(1, 0);
        Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
        Graphics_DrawTexturedRectangle(Vector2_Static(2.0f, 2.0f), subTexture);
    }

    // The colours of the window's four quadrants: upper left, upper right, lower left, lower
    // right, each read at the quadrant's centre.
    std::array<Rgba8, 4> Quadrants()
    {
        const Frame &frame = ReadFrame();
        return {frame.AtUnits(-0.5f, 0.5f), frame.AtUnits(0.5f, 0.5f), frame.AtUnits(-0.5f, -0.5f),
                frame.AtUnits(0.5f, -0.5f)};
    }

    Texture *quad = nullptr;
};

TEST_F(GraphicsTest, PlainRectanglesAreSizedFromTheLastPositionOnly)
{
    SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2.0f, 2.0f));
    ExpectRectangle(ReadFrame(), 0, 0, RENDER_TEST_WIDTH, RENDER_TEST_HEIGHT, kRed, kRed);

    // A second position replaces the first: the square starts at (0, 0), not at (-1, -1).
    NewFrame();
    SetColor(0.0f, 0.0f, 1.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    EXPECT_EQ(Graphics_GetPosition().x, 0.0f);
    EXPECT_EQ(Graphics_GetPosition().y, 0.0f);
    Graphics_DrawSquare(0.5);
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kBlue, kClearColor);

    NewFrame();
    SetColor(0.0f, 1.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-0.5f, 0.25f));
    Graphics_DrawRectangle(Vector2_Static(0.25f, 0.5f));
    ExpectRectangle(ReadFrame(), 256, 480, 384, 672, kGreen, kClearColor);
}

TEST_F(GraphicsTest, InitializeReturnsThePositionToTheOrigin)
{
    Graphics_SetPosition(Vector2_Static(0.3f, -0.7f));
    Graphics_Initialize();
    EXPECT_EQ(Graphics_GetPosition().x, 0.0f);
    EXPECT_EQ(Graphics_GetPosition().y, 0.0f);
}

TEST_F(GraphicsTest, SetContextClearsTheWholeFramebufferAndSelectsTheModelView)
{
    SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2.0f, 2.0f));
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);

    NewFrame();
    int framebufferWidth = 0;
    int framebufferHeight = 0;
    glfwGetFramebufferSize(OSWindow_GetFrameworkWindow(Window_GetOSWindow(GetWindow())),
                           &framebufferWidth, &framebufferHeight);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], framebufferWidth);
    EXPECT_EQ(viewport[3], framebufferHeight);
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);

    // Positions now move the drawing, not the projection: the corner square lands at (0, 0).
    SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawSquare(0.5);
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kRed, kClearColor);
}

TEST_F(GraphicsTest, TexturedRectangleShowsTheUpperLeftRowAtTheTop)
{
    SubTexture *whole = TestSubTexture_Create(quad, 0, 0, 2, 2);
    FillWindow(whole);
    EXPECT_EQ(Quadrants(), (std::array<Rgba8, 4>{kRed, kGreen, kBlue, kWhite}));

    // One texel of the texture's second column and first row fills the whole rectangle.
    NewFrame();
    SubTexture *green = TestSubTexture_Create(quad, 1, 0, 2, 1);
    FillWindow(green);
    EXPECT_EQ(Quadrants(), (std::array<Rgba8, 4>{kGreen, kGreen, kGreen, kGreen}));

    // The textured quad covers exactly its rectangle, like a plain one.
    NewFrame();
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawTexturedRectangle(Vector2_Static(0.5f, 0.5f), green);
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kGreen, kClearColor);

    SubTexture_Destroy(green);
    SubTexture_Destroy(whole);
}

TEST_F(GraphicsTest, SwappedCornersMirrorOrTurnThePicture)
{
    SubTexture *mirrored = TestSubTexture_Create(quad, 2, 0, 0, 2);
    FillWindow(mirrored);
    EXPECT_EQ(Quadrants(), (std::array<Rgba8, 4>{kGreen, kRed, kWhite, kBlue}));

    NewFrame();
    SubTexture *upsideDown = TestSubTexture_Create(quad, 0, 2, 2, 0);
    FillWindow(upsideDown);
    EXPECT_EQ(Quadrants(), (std::array<Rgba8, 4>{kBlue, kWhite, kRed, kGreen}));

    SubTexture_Destroy(upsideDown);
    SubTexture_Destroy(mirrored);
}

TEST_F(GraphicsTest, TexturedRectanglesIgnoreTheColourAndLeaveNoStateBehind)
{
    SubTexture *whole = TestSubTexture_Create(quad, 0, 0, 2, 2);
    SetColor(0.0f, 0.0f, 0.0f, 1.0f);
    FillWindow(whole);
    EXPECT_EQ(Quadrants(), (std::array<Rgba8, 4>{kRed, kGreen, kBlue, kWhite}));

    // Neither blending nor texturing leaks into the plain rectangle drawn next: with
    // factors (0, 0) still set it must overwrite with its own colour.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    Graphics_SetBlendFactors(0, 0);
    SetColor(0.0f, 0.0f, 1.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(1.0f, 1.0f));
    EXPECT_EQ(ReadFrame().AtUnits(-0.5f, -0.5f), kBlue);
    SubTexture_Destroy(whole);
}

TEST_F(GraphicsTest, NullSubTextureIsLoggedAndDrawnPlain)
{
    Graphics_SetBlendFactors(0, 0);
    SetColor(0.0f, 1.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    ::testing::internal::CaptureStdout();
    Graphics_DrawTexturedRectangle(Vector2_Static(0.5f, 0.5f), nullptr);
    const std::string output = ::testing::internal::GetCapturedStdout();
    EXPECT_THAT(output, ::testing::MatchesRegex(
                            "Error at graphics_win.cpp:[0-9]+ - Graphics_DrawTexturedRectangle "
                            "called but subTexture=NULL\n"));
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kGreen, kClearColor);
}

// Source and destination of the blend tests, as they are in the framebuffer (alpha included).
constexpr std::array<float, 4> kSource = {0.8f, 0.4f, 0.2f, 0.6f};
constexpr std::array<float, 4> kDestination = {0.2f, 0.6f, 1.0f, 0.2f};

// The factor OpenGL applies for a blend code, per channel.
std::array<float, 4> Factor(int32_t code, const std::array<float, 4> &source,
                            const std::array<float, 4> &destination)
{
    std::array<float, 4> factor = {};
    for (size_t c = 0; c < 4; c++)
    {
        const float saturate = c == 3 ? 1.0f : std::min(source[3], 1.0f - destination[3]);
        const std::array<float, 11> table = {0.0f,           1.0f,
                                             source[c],      1.0f - source[c],
                                             destination[c], 1.0f - destination[c],
                                             source[3],      1.0f - source[3],
                                             destination[3], 1.0f - destination[3],
                                             saturate};
        factor[c] = code >= 1 && code <= 10 ? table[static_cast<size_t>(code)] : 0.0f;
    }
    return factor;
}

std::array<float, 4> ToFloat(Rgba8 color)
{
    return {color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, color.a / 255.0f};
}

Rgba8 ToBytes(const std::array<float, 4> &color)
{
    std::array<uint8_t, 4> bytes = {};
    for (size_t c = 0; c < 4; c++)
    {
        bytes[c] = static_cast<uint8_t>(std::lround(std::clamp(color[c], 0.0f, 1.0f) * 255.0f));
    }
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

TEST_F(GraphicsTest, BlendCodesCompositeAsOpenGlDefinesThem)
{
    // Every code as source factor (with destination 0) and as destination factor (with source
    // 1), plus the pairs the game uses; each in its own small square over the same background.
    std::vector<std::pair<int32_t, int32_t>> pairs = {{1, 7}, {6, 1}, {1, 3}, {1, 0}};
    for (int32_t code : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99})
    {
        pairs.emplace_back(code, 0);
        pairs.emplace_back(1, code);
    }
    Texture *texel = TestTexture_Create(1, 1, {ToBytes(kSource)});
    SubTexture *source = TestSubTexture_Create(texel, 0, 0, 1, 1);

    SetColor(kDestination[0], kDestination[1], kDestination[2], kDestination[3]);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2.0f, 2.0f));
    const Rgba8 background = ReadFrame().At(0, 0);
    ASSERT_EQ(background.a, 51) << "the destination-alpha codes need a window with alpha";

    const float cell = 0.25f;
    for (size_t i = 0; i < pairs.size(); i++)
    {
        Graphics_SetBlendFactors(pairs[i].first, pairs[i].second);
        Graphics_SetPosition(Vector2_Static(-1.0f + cell * static_cast<float>(i % 8),
                                            -1.0f + cell * static_cast<float>(i / 8)));
        Graphics_DrawTexturedRectangle(Vector2_Static(cell, cell), source);
    }
    const Frame &frame = ReadFrame();

    // Work from what the framebuffer actually holds: without an alpha channel the destination
    // alpha reads as 1.
    const std::array<float, 4> src = ToFloat(ToBytes(kSource));
    const std::array<float, 4> dst = ToFloat(background);
    for (size_t i = 0; i < pairs.size(); i++)
    {
        const std::array<float, 4> sf = Factor(pairs[i].first, src, dst);
        const std::array<float, 4> df = Factor(pairs[i].second, src, dst);
        std::array<float, 4> expected = {};
        for (size_t c = 0; c < 4; c++)
        {
            expected[c] = src[c] * sf[c] + dst[c] * df[c];
        }
        const Rgba8 drawn = frame.AtUnits(-1.0f + cell * (static_cast<float>(i % 8) + 0.5f),
                                          -1.0f + cell * (static_cast<float>(i / 8) + 0.5f));
        EXPECT_PRED3(Rgba8_Near, drawn, ToBytes(expected), 2)
            << "blend codes (" << pairs[i].first << ", " << pairs[i].second << ") drew " << drawn
            << ", expected " << ToBytes(expected);
    }
    SubTexture_Destroy(source);
    TestTexture_Destroy(texel);
}

TEST_F(GraphicsTest, MessagesNeedTheFontAndTheFontComesWithTheCatalogue)
{
    Graphics_Deinitialize(); // no font, whatever ran before in this process
    Graphics_Deinitialize(); // and a second shutdown finds nothing to release twice
    Graphics_SetBlendFactors(1, 0);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawMessageCStr("Press Fire!", 0.11f, 1);
    String *text = String_Create("GAME OVER");
    Graphics_DrawMessage(text, 0.5f, 0);
    const Frame before = ReadFrame();
    EXPECT_EQ(before.Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);

    // The catalogue logs its own complaints when no archive is open; they do not matter here.
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Asset *asset = Graphics_GetAsset();
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    ASSERT_NE(asset, nullptr);
    EXPECT_EQ(Graphics_GetAsset(), asset);

    // The glyphs are white on black: with the text's blend codes only glyph pixels change,
    // and all of them lie in the eleven cells centred on the position.
    NewFrame();
    Graphics_SetBlendFactors(1, 3);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawMessage(text, 0.11f, 1);
    const Frame &after = ReadFrame();
    int32_t changedInside = 0;
    int32_t changedOutside = 0;
    for (int32_t y = 0; y < after.height; y++)
    {
        for (int32_t x = 0; x < after.width; x++)
        {
            if (after.At(x, y) == kClearColor)
            {
                continue;
            }
            const bool inside = x >= Render_Column(-0.495f) && x <= Render_Column(0.495f) &&
                                y >= Render_Row(0.0f) && y <= Render_Row(0.11f);
            (inside ? changedInside : changedOutside)++;
        }
    }
    EXPECT_GT(changedInside, 0);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_STREQ(String_ToCStr(text), "GAME OVER"); // the text stays the caller's

    String_Destroy(text);
    Graphics_Deinitialize();
}

} // namespace
