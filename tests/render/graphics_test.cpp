// The 2D primitives on the pixels of the real window: placement, frame set-up, texture
// orientation, the blend-code table and messages through the shared font.
#include "tests/render/render_test_window.h"

#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "render/graphics_win.h"

#include <GL/gl.h>
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
const Vector2 kOrigin = Vector2_Static(0.0f, 0.0f);
const Vector2 kCorner = Vector2_Static(-1.0f, -1.0f);
const Vector2 kHalf = Vector2_Static(0.5f, 0.5f);
const Vector2 kWhole = Vector2_Static(2.0f, 2.0f);

void SetColor(float red, float green, float blue, float alpha)
{
    const Color color = Color_Static(red, green, blue, alpha);
    Graphics_SetColor(&color);
}

using GraphicsTest = RenderTest;

TEST_F(GraphicsTest, PlainRectanglesAndFrameSetUpLeaveNoStateBehind)
{
    SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetPosition(kCorner);
    Graphics_DrawRectangle(kWhole);
    EXPECT_EQ(ReadFrame().Count(kRed), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);

    // A textured rectangle whose blending keeps the destination, then a stray viewport and
    // matrix mode: the next frame must be cleared and whole, and the plain rectangle drawn
    // opaque and untextured where the last of two positions puts it.
    Graphics_SetBlendFactors(0, 1);
    Graphics_DrawTexturedRectangle(kHalf, Cut(MakeTexture(1, 1, {kBlue}), 0, 0, 1, 1));
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    NewFrame();
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    SetColor(0.0f, 1.0f, 0.0f, 1.0f);
    Graphics_SetPosition(kCorner);
    Graphics_SetPosition(kOrigin);
    Graphics_DrawSquare(0.5);
    // A null sub-texture is logged and drawn plain.
    Graphics_SetPosition(Vector2_Static(0.5f, 0.0f));
    testing::internal::CaptureStdout();
    Graphics_DrawTexturedRectangle(kHalf, nullptr);
    EXPECT_THAT(testing::internal::GetCapturedStdout(),
                testing::MatchesRegex("Error at graphics_win.cpp:[0-9]+ - Graphics_DrawTexturedRe"
                                      "ctangle called but subTexture=NULL\n"));
    EXPECT_EQ(ReadFrame().Mismatches(kOrigin, Vector2_Static(1.0f, 0.5f), kGreen, kClearColor), 0);
}

TEST_F(GraphicsTest, UpperLeftRowIsDrawnAtTheTopAndSwappedCornersMirrorOrTurnIt)
{
    Texture *quad = MakeTexture(2, 2, {kRed, kGreen, kBlue, kWhite}); // row 0: red, green
    struct Case
    {
        int32_t x0, y0, x1, y1;
        std::array<Rgba8, 4> quadrants; // upper left, upper right, lower left, lower right
    };
    const Case cases[] = {{0, 0, 2, 2, {kRed, kGreen, kBlue, kWhite}},
                          {2, 0, 0, 2, {kGreen, kRed, kWhite, kBlue}},
                          {0, 2, 2, 0, {kBlue, kWhite, kRed, kGreen}}};
    Graphics_SetBlendFactors(1, 0);
    for (const Case &c : cases)
    {
        NewFrame();
        Graphics_SetPosition(kCorner);
        Graphics_DrawTexturedRectangle(kWhole, Cut(quad, c.x0, c.y0, c.x1, c.y1));
        const Frame &frame = ReadFrame();
        const std::array<Rgba8, 4> drawn = {frame.AtUnits(-0.5f, 0.5f), frame.AtUnits(0.5f, 0.5f),
                                            frame.AtUnits(-0.5f, -0.5f),
                                            frame.AtUnits(0.5f, -0.5f)};
        EXPECT_EQ(drawn, c.quadrants) << "corners " << c.x0 << c.y0 << " " << c.x1 << c.y1;
    }
    // A part of the texture covers exactly its rectangle, like a plain one.
    NewFrame();
    Graphics_SetPosition(kOrigin);
    Graphics_DrawTexturedRectangle(kHalf, Cut(quad, 1, 0, 2, 1));
    EXPECT_EQ(ReadFrame().Mismatches(kOrigin, kHalf, kGreen, kClearColor), 0);
}

// What OpenGL composites in channel c for a pair of blend codes (outside 1 to 10: GL_ZERO).
float Blend(int32_t source, int32_t destination, const float *src, const float *dst, size_t c)
{
    const auto factor = [&](int32_t code)
    {
        const float saturate = c == 3 ? 1.0f : std::min(src[3], 1.0f - dst[3]);
        const float table[11] = {0.0f,   1.0f,          src[c],  1.0f - src[c],
                                 dst[c], 1.0f - dst[c], src[3],  1.0f - src[3],
                                 dst[3], 1.0f - dst[3], saturate};
        return code >= 1 && code <= 10 ? table[code] : 0.0f;
    };
    return std::min(src[c] * factor(source) + dst[c] * factor(destination), 1.0f);
}

TEST_F(GraphicsTest, BlendCodesCompositeAsOpenGlDefinesThem)
{
    // The game's pairs, then every code as source factor (destination 0) and as destination
    // factor (source 1), each in its own cell over one background; the colours make all eleven
    // factors differ.
    std::vector<std::pair<int32_t, int32_t>> pairs = {{1, 7}, {6, 1}, {1, 3}, {1, 0}};
    for (int32_t code : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99})
    {
        pairs.insert(pairs.end(), {{code, 0}, {1, code}});
    }
    const float src[4] = {0.8f, 0.4f, 0.2f, 0.6f}, dst[4] = {0.2f, 0.6f, 1.0f, 0.2f};
    SubTexture *source = Cut(MakeTexture(1, 1, {{204, 102, 51, 153}}), 0, 0, 1, 1);
    SetColor(dst[0], dst[1], dst[2], dst[3]);
    Graphics_SetPosition(kCorner);
    Graphics_DrawRectangle(kWhole);
    ASSERT_EQ(ReadFrame().At(0, 0), (Rgba8{51, 153, 255, 51})) << "the window needs alpha";
    const auto cell = [](size_t i)
    {
        const size_t column = i % 8, row = i / 8;
        return Vector2_Static(-1.0f + 0.25f * column, -1.0f + 0.25f * row);
    };
    for (size_t i = 0; i < pairs.size(); i++)
    {
        Graphics_SetBlendFactors(pairs[i].first, pairs[i].second);
        Graphics_SetPosition(cell(i));
        Graphics_DrawTexturedRectangle(Vector2_Static(0.25f, 0.25f), source);
    }
    const Frame &frame = ReadFrame();
    for (size_t i = 0; i < pairs.size(); i++)
    {
        const auto expected = [&](size_t c)
        {
            return static_cast<uint8_t>(
                std::lround(255.0f * Blend(pairs[i].first, pairs[i].second, src, dst, c)));
        };
        EXPECT_PRED3(Rgba8_Near, frame.AtUnits(cell(i).x + 0.125f, cell(i).y + 0.125f),
                     (Rgba8{expected(0), expected(1), expected(2), expected(3)}), 2)
            << "blend codes (" << pairs[i].first << ", " << pairs[i].second << ")";
    }
}

TEST_F(GraphicsTest, MessagesNeedTheFontAndTheFontComesWithTheCatalogue)
{
    Graphics_Deinitialize(); // no font, whatever ran before in this process
    Graphics_Deinitialize(); // and a second shutdown finds nothing to release twice
    Graphics_SetBlendFactors(1, 3);
    Graphics_DrawMessageCStr("Press Fire!", 0.11f, 1);
    String *text = String_Create("GAME OVER");
    Graphics_DrawMessage(text, 0.5f, 0);
    EXPECT_EQ(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);

    // The catalogue complains about the missing archive; that does not matter here.
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Asset *asset = Graphics_GetAsset();
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    ASSERT_NE(asset, nullptr);
    EXPECT_EQ(Graphics_GetAsset(), asset);

    // White glyphs on black with the text's blend codes: some pixels change, and painting the
    // nine cells centred on the position in the clear colour hides them all.
    Graphics_SetPosition(kOrigin);
    Graphics_DrawMessage(text, 0.11f, 1);
    EXPECT_LT(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);
    SetColor(0.2f, 0.2f, 0.2f, 1.0f);
    Graphics_SetPosition(Vector2_Static(-0.495f, 0.0f));
    Graphics_DrawRectangle(Vector2_Static(0.99f, 0.11f));
    EXPECT_EQ(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);
    String_Destroy(text); // the text stays the caller's
    Graphics_Deinitialize();
}

} // namespace
