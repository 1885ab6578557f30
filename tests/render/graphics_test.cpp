// The 2D primitives, checked on the pixels of the real window: placement, texture orientation,
// the blend-code table and the frame set-up.
#include "tests/render/render_test_window.h"

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

// Every pixel inside the rectangle (pixels, upper bounds exclusive) is inside, every other one
// outside.
void ExpectRectangle(const Frame &frame, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                     Rgba8 inside, Rgba8 outside)
{
    int64_t wrong = 0;
    for (int32_t y = 0; y < frame.height; y++)
    {
        for (int32_t x = 0; x < frame.width; x++)
        {
            const bool in = x >= x0 && x < x1 && y >= y0 && y < y1;
            wrong += !(frame.At(x, y) == (in ? inside : outside));
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels differing from " << inside << " in (" << x0 << ", " << y0
                        << ") to (" << x1 << ", " << y1 << ") and " << outside << " elsewhere";
}

class GraphicsTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        quad = TestTexture_Create(2, 2, {kRed, kGreen, kBlue, kWhite}); // row 0: red, green
    }
    void TearDown() override
    {
        Texture_Destroy(quad);
        RenderTest::TearDown();
    }
    Texture *quad = nullptr;
};

TEST_F(GraphicsTest, PlainRectanglesAreSizedFromTheLastPositionOnly)
{
    SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2.0f, 2.0f));
    ExpectRectangle(ReadFrame(), 0, 0, RENDER_TEST_WIDTH, RENDER_TEST_HEIGHT, kRed, kRed);

    NewFrame();
    SetColor(0.0f, 0.0f, 1.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    EXPECT_EQ(Graphics_GetPosition().x, 0.0f);
    Graphics_DrawSquare(0.5);
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kBlue, kClearColor);
}

TEST_F(GraphicsTest, SetContextClearsTheFramebufferAndSelectsTheModelView)
{
    SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2.0f, 2.0f));
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    NewFrame();

    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(OSWindow_GetFrameworkWindow(Window_GetOSWindow(GetWindow())), &width,
                           &height);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_THAT(viewport, ::testing::ElementsAre(0, 0, width, height));
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawSquare(0.5);
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kRed, kClearColor);
}

TEST_F(GraphicsTest, UpperLeftRowIsDrawnAtTheTopAndSwappedCornersMirrorOrTurnIt)
{
    struct Case
    {
        int32_t x0, y0, x1, y1;
        std::array<Rgba8, 4> quadrants; // upper left, upper right, lower left, lower right
    };
    const Case cases[] = {{0, 0, 2, 2, {kRed, kGreen, kBlue, kWhite}},
                          {2, 0, 0, 2, {kGreen, kRed, kWhite, kBlue}},
                          {0, 2, 2, 0, {kBlue, kWhite, kRed, kGreen}},
                          {1, 0, 2, 1, {kGreen, kGreen, kGreen, kGreen}}};
    Graphics_SetBlendFactors(1, 0);
    for (const Case &c : cases)
    {
        NewFrame();
        SubTexture *subTexture = TestSubTexture_Create(quad, c.x0, c.y0, c.x1, c.y1);
        Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
        Graphics_DrawTexturedRectangle(Vector2_Static(2.0f, 2.0f), subTexture);
        SubTexture_Destroy(subTexture);
        const Frame &frame = ReadFrame();
        const std::array<Rgba8, 4> drawn = {frame.AtUnits(-0.5f, 0.5f), frame.AtUnits(0.5f, 0.5f),
                                            frame.AtUnits(-0.5f, -0.5f),
                                            frame.AtUnits(0.5f, -0.5f)};
        EXPECT_EQ(drawn, c.quadrants)
            << "corners (" << c.x0 << ", " << c.y0 << ") (" << c.x1 << ", " << c.y1 << ")";
    }

    // A textured quad covers exactly its rectangle, like a plain one.
    NewFrame();
    SubTexture *green = TestSubTexture_Create(quad, 1, 0, 2, 1);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawTexturedRectangle(Vector2_Static(0.5f, 0.5f), green);
    SubTexture_Destroy(green);
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kGreen, kClearColor);
}

TEST_F(GraphicsTest, NullSubTextureIsLoggedAndDrawnPlainWithoutBlending)
{
    // A textured rectangle before it must leave neither its blending (which keeps the
    // destination) nor texturing behind.
    SubTexture *whole = TestSubTexture_Create(quad, 0, 0, 2, 2);
    Graphics_SetBlendFactors(0, 1);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawTexturedRectangle(Vector2_Static(0.5f, 0.5f), whole);
    SubTexture_Destroy(whole);

    NewFrame();
    Graphics_SetBlendFactors(0, 0);
    SetColor(0.0f, 1.0f, 0.0f, 1.0f);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    ::testing::internal::CaptureStdout();
    Graphics_DrawTexturedRectangle(Vector2_Static(0.5f, 0.5f), nullptr);
    EXPECT_THAT(::testing::internal::GetCapturedStdout(),
                ::testing::MatchesRegex("Error at graphics_win.cpp:[0-9]+ - "
                                        "Graphics_DrawTexturedRectangle called but "
                                        "subTexture=NULL\n"));
    ExpectRectangle(ReadFrame(), 512, 384, 768, 576, kGreen, kClearColor);
}

using Rgbaf = std::array<float, 4>;

// The factor OpenGL applies for a blend code, per channel.
Rgbaf Factor(int32_t code, const Rgbaf &src, const Rgbaf &dst)
{
    Rgbaf factor = {};
    for (size_t c = 0; c < 4; c++)
    {
        const float saturate = c == 3 ? 1.0f : std::min(src[3], 1.0f - dst[3]);
        const float table[11] = {0.0f,   1.0f,          src[c],  1.0f - src[c],
                                 dst[c], 1.0f - dst[c], src[3],  1.0f - src[3],
                                 dst[3], 1.0f - dst[3], saturate};
        factor[c] = code >= 1 && code <= 10 ? table[code] : 0.0f;
    }
    return factor;
}

TEST_F(GraphicsTest, BlendCodesCompositeAsOpenGlDefinesThem)
{
    // Every code as source factor (destination 0) and as destination factor (source 1), and
    // the pairs the game uses, each in its own square over the same background. The values make
    // all eleven factors differ.
    std::vector<std::pair<int32_t, int32_t>> pairs = {{1, 7}, {6, 1}, {1, 3}, {1, 0}};
    for (int32_t code : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99})
    {
        pairs.emplace_back(code, 0);
        pairs.emplace_back(1, code);
    }
    const Rgba8 sourceTexel = {204, 102, 51, 153};
    Texture *texel = TestTexture_Create(1, 1, {sourceTexel});
    SubTexture *source = TestSubTexture_Create(texel, 0, 0, 1, 1);
    SetColor(0.2f, 0.6f, 1.0f, 0.2f);
    Graphics_SetPosition(Vector2_Static(-1.0f, -1.0f));
    Graphics_DrawRectangle(Vector2_Static(2.0f, 2.0f));
    const Rgba8 background = ReadFrame().At(0, 0);
    ASSERT_EQ(background.a, 51) << "the destination-alpha codes need a window with alpha";

    const auto cellOrigin = [](size_t i)
    { return Vector2_Static(-1.0f + 0.25f * (i % 8), -1.0f + 0.25f * (i / 8)); };
    for (size_t i = 0; i < pairs.size(); i++)
    {
        Graphics_SetBlendFactors(pairs[i].first, pairs[i].second);
        Graphics_SetPosition(cellOrigin(i));
        Graphics_DrawTexturedRectangle(Vector2_Static(0.25f, 0.25f), source);
    }
    SubTexture_Destroy(source);
    Texture_Destroy(texel);

    const Frame &frame = ReadFrame();
    const auto toFloat = [](Rgba8 v) {
        return Rgbaf{v.r / 255.f, v.g / 255.f, v.b / 255.f, v.a / 255.f};
    };
    const Rgbaf src = toFloat(sourceTexel);
    const Rgbaf dst = toFloat(background);
    for (size_t i = 0; i < pairs.size(); i++)
    {
        const Rgbaf sf = Factor(pairs[i].first, src, dst);
        const Rgbaf df = Factor(pairs[i].second, src, dst);
        uint8_t expected[4];
        for (size_t c = 0; c < 4; c++)
        {
            const float value = std::clamp(src[c] * sf[c] + dst[c] * df[c], 0.0f, 1.0f);
            expected[c] = static_cast<uint8_t>(std::lround(value * 255.0f));
        }
        const Vector2 origin = cellOrigin(i);
        const Rgba8 drawn = frame.AtUnits(origin.x + 0.125f, origin.y + 0.125f);
        const Rgba8 wanted = {expected[0], expected[1], expected[2], expected[3]};
        EXPECT_PRED3(Rgba8_Near, drawn, wanted, 2)
            << "blend codes (" << pairs[i].first << ", " << pairs[i].second << ")";
    }
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
    EXPECT_EQ(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);

    // The catalogue logs its own complaints when no archive is open; they do not matter here.
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Asset *asset = Graphics_GetAsset();
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    ASSERT_NE(asset, nullptr);
    EXPECT_EQ(Graphics_GetAsset(), asset);

    // White glyphs on black with the text's blend codes: only glyph pixels change, all of them
    // inside the nine cells centred on the position.
    NewFrame();
    Graphics_SetBlendFactors(1, 3);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Graphics_DrawMessage(text, 0.11f, 1);
    const Frame &after = ReadFrame();
    int64_t inside = 0;
    int64_t outside = 0;
    for (int32_t y = 0; y < after.height; y++)
    {
        for (int32_t x = 0; x < after.width; x++)
        {
            const bool in = x >= Render_Column(-0.495f) && x <= Render_Column(0.495f) &&
                            y >= Render_Row(0.0f) && y <= Render_Row(0.11f);
            (in ? inside : outside) += !(after.At(x, y) == kClearColor);
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
    EXPECT_STREQ(String_ToCStr(text), "GAME OVER"); // the text stays the caller's
    String_Destroy(text);
    Graphics_Deinitialize();
}

} // namespace
