// The rendering library and the sprites, checked on the pixels of the real window.
#include "tests/render/render_test_window.h"
#include "tests/support/support.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "game/sprite.h"
#include "render/animation.h"
#include "render/background.h"
#include "render/font.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <gmock/gmock.h>
#include <tuple>

namespace
{

// One real window per process, never closed: closing sets the frame loop's exit flag.
struct RenderTest : ::testing::Test
{
    void SetUp() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        if (window == nullptr)
        {
            Window_Initialize_Library();
            window = Window_Create(RENDER_TEST_WIDTH, RENDER_TEST_HEIGHT, "Zindrel render test",
                                   nullptr, nullptr);
            OSWindow_FrameInit(Window_GetOSWindow(window));
        }
        liveAtStart = Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects();
        Graphics_Initialize();
        NewFrame();
    }
    void TearDown() override
    {
        std::for_each(subTextures.begin(), subTextures.end(), SubTexture_Destroy);
        std::for_each(textures.begin(), textures.end(), Texture_Destroy);
        EXPECT_EQ(Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects(), liveAtStart)
            << "tracking-allocator blocks leaked or freed twice";
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    const Frame &ReadFrame() { return lastFrame.ReadFromWindow(); }
    void NewFrame() { Graphics_SetContext(window); }
    void SetColor(Color color) { Graphics_SetColor(&color); }
    Texture *MakeTexture(int32_t width, int32_t height, const std::vector<Rgba8> &texels)
    {
        const auto *bytes = reinterpret_cast<const uint8_t *>(texels.data());
        return textures.emplace_back(Texture_Create(bytes, 4, width, height));
    }
    SubTexture *Cut(Texture *texture, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
    {
        return subTextures.emplace_back(
            SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, x0, y0),
                              Texture_CalculatePixelPosition(texture, x1, y1)));
    }

    static inline Window *window = nullptr;
    Frame lastFrame;
    uint32_t liveAtStart = 0;
    std::vector<Texture *> textures;
    std::vector<SubTexture *> subTextures;
};

constexpr Rgba8 kRed = {255, 0, 0, 255}, kGreen = {0, 255, 0, 255}, kBlue = {0, 0, 255, 255};
const Vector2 kOrigin = Vector2_Static(0.0f, 0.0f), kCorner = Vector2_Static(-1.0f, -1.0f);
const Vector2 kHalf = Vector2_Static(0.5f, 0.5f), kWhole = Vector2_Static(2.0f, 2.0f);

TEST_F(RenderTest, GraphicsPlainRectanglesAndFrameSetUpLeaveNoStateBehind)
{
    SetColor(Color_Static(1.0f, 0.0f, 0.0f, 1.0f));
    Graphics_SetPosition(kCorner);
    Graphics_DrawRectangle(kWhole);
    EXPECT_EQ(ReadFrame().Count(kRed), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);

    // Blending that keeps the target, a stray viewport and matrix mode: the next frame undoes all.
    Graphics_SetBlendFactors(0, 1);
    Graphics_DrawTexturedRectangle(kHalf, Cut(MakeTexture(1, 1, {kBlue}), 0, 0, 1, 1));
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    NewFrame();
    GLint matrixMode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    SetColor(Color_Static(0.0f, 1.0f, 0.0f, 1.0f));
    Graphics_SetPosition(kCorner);
    Graphics_SetPosition(kOrigin);
    Graphics_DrawSquare(0.5);
    Graphics_SetPosition(Vector2_Static(0.5f, 0.0f));
    EXPECT_THAT(CaptureOutput([] { Graphics_DrawTexturedRectangle(kHalf, nullptr); }),
                testing::MatchesRegex("Error at graphics_win.cpp:[0-9]+ - Graphics_DrawTexturedRe"
                                      "ctangle called but subTexture=NULL\n"));
    EXPECT_EQ(ReadFrame().Mismatches(kOrigin, Vector2_Static(1.0f, 0.5f), kGreen, kClearColor), 0);
}

// What OpenGL composites for a pair of blend codes (outside 1 to 10: GL_ZERO).
Rgba8 Blend(std::pair<int32_t, int32_t> codes, const float *src, const float *dst)
{
    const auto channel = [&](size_t c)
    {
        const float saturate = c == 3 ? 1.0f : std::min(src[3], 1.0f - dst[3]);
        const float table[11] = {0.0f,   1.0f,          src[c],  1.0f - src[c],
                                 dst[c], 1.0f - dst[c], src[3],  1.0f - src[3],
                                 dst[3], 1.0f - dst[3], saturate};
        const auto factor = [&](int32_t code) { return code >= 1 && code <= 10 ? table[code] : 0; };
        const float sum = src[c] * factor(codes.first) + dst[c] * factor(codes.second);
        return static_cast<uint8_t>(std::lround(255.0f * std::min(sum, 1.0f)));
    };
    return {channel(0), channel(1), channel(2), channel(3)};
}

// Channels within tolerance of each other (rasterisers round 8-bit values either way).
bool Rgba8_Near(Rgba8 a, Rgba8 b, int32_t tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}

TEST_F(RenderTest, GraphicsBlendCodesCompositeAsOpenGlDefinesThem)
{
    // The game's pairs, then every code as either factor; the colours make all factors differ.
    std::vector<std::pair<int32_t, int32_t>> pairs = {{1, 7}, {6, 1}, {1, 3}, {1, 0}};
    for (int32_t code : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 99})
        pairs.insert(pairs.end(), {{code, 0}, {1, code}});
    const float src[4] = {0.8f, 0.4f, 0.2f, 0.6f}, dst[4] = {0.2f, 0.6f, 1.0f, 0.2f};
    SubTexture *source = Cut(MakeTexture(1, 1, {{204, 102, 51, 153}}), 0, 0, 1, 1);
    SetColor(Color_Static(dst[0], dst[1], dst[2], dst[3]));
    Graphics_SetPosition(kCorner);
    Graphics_DrawRectangle(kWhole);
    ASSERT_EQ(ReadFrame().At(0, 0), (Rgba8{51, 153, 255, 51})) << "the window needs alpha";
    const auto cell = [](size_t i)
    { return Vector2_Static(float(i % 8) * 0.25f - 1, std::floor(float(i) / 8) * 0.25f - 1); };
    for (size_t i = 0; i < pairs.size(); i++)
    {
        Graphics_SetBlendFactors(pairs[i].first, pairs[i].second);
        Graphics_SetPosition(cell(i));
        Graphics_DrawTexturedRectangle(Vector2_Static(0.25f, 0.25f), source);
    }
    const Frame &frame = ReadFrame();
    for (size_t i = 0; i < pairs.size(); i++)
        EXPECT_PRED3(Rgba8_Near, frame.AtUnits(cell(i).x + 0.125f, cell(i).y + 0.125f),
                     Blend(pairs[i], src, dst), 2)
            << "blend codes (" << pairs[i].first << ", " << pairs[i].second << ")";
}

TEST_F(RenderTest, GraphicsMessagesNeedTheFontAndTheFontComesWithTheCatalogue)
{
    Graphics_Deinitialize(); // no font; a second shutdown finds nothing to release twice
    Graphics_Deinitialize();
    Graphics_SetBlendFactors(1, 3);
    Graphics_DrawMessageCStr("Press Fire!", 0.11f, 1);
    String *text = String_Create("GAME OVER");
    Graphics_DrawMessage(text, 0.5f, 0);
    EXPECT_EQ(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);

    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    Asset *asset = Graphics_GetAsset();
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    ASSERT_NE(asset, nullptr);
    EXPECT_EQ(Graphics_GetAsset(), asset);

    // Painting the nine cells centred on the position in the clear colour hides every change.
    Graphics_SetPosition(kOrigin);
    Graphics_DrawMessage(text, 0.11f, 1);
    EXPECT_LT(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);
    SetColor(Color_Static(0.2f, 0.2f, 0.2f, 1.0f));
    Graphics_SetPosition(Vector2_Static(-0.495f, 0.0f));
    Graphics_DrawRectangle(Vector2_Static(0.99f, 0.11f));
    EXPECT_EQ(ReadFrame().Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);
    String_Destroy(text); // the text stays the caller's
    Graphics_Deinitialize();
}

void MoveAndDress(Sprite *sprite, void *picture)
{
    Sprite_SetPosition(sprite, Vector2_Add(Sprite_GetPosition(sprite), Sprite_GetMovement(sprite)));
    Sprite_SetSubTexture(sprite, static_cast<SubTexture *>(picture));
}

TEST_F(RenderTest, SpriteDrawnBlackOverCollisionSizeOrWithPictureOverSizeCentredOnItsPosition)
{
    char name[] = "enemy";
    Sprite *sprite = Sprite_Create(3, name);
    name[0] = 'X';
    EXPECT_STREQ(Sprite_GetName(sprite), "enemy");
    Sprite_SetPosition(sprite, Vector2_Static(0.5f, 0.5f));
    Sprite_SetSize(sprite, Vector2_Static(1.0f, 1.0f)); // not used without a picture
    Sprite_SetCollisionSize(sprite, Vector2_Static(0.5f, 0.25f));
    SetColor(Color_Static(1.0f, 0.0f, 0.0f, 1.0f));
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
    EXPECT_EQ(ReadFrame().Mismatches({0.25f, 0.375f}, {0.75f, 0.625f}, {0, 0, 0, 255}, kClearColor),
              0);
    // The hook runs first; the origin follows the move and the picture.
    const Rgba8 picture = {40, 200, 120, 255};
    Sprite_SetLogicFunction(sprite, MoveAndDress, Cut(MakeTexture(1, 1, {picture}), 0, 0, 1, 1));
    Sprite_SetMovement(sprite, Vector2_Static(-0.25f, -0.5f));
    Sprite_SetSize(sprite, Vector2_Static(0.25f, 0.5f));
    Graphics_SetBlendFactors(1, 0);
    NewFrame();
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
    EXPECT_EQ(ReadFrame().Mismatches({0.125f, -0.25f}, {0.375f, 0.25f}, picture, kClearColor), 0);
    Sprite_Destroy(sprite);
}

TEST_F(RenderTest, AnimationEnemyExplosionScheduleEndStopAndRestart)
{
    const auto RenderFrame = [this](Animation *animation)
    {
        NewFrame();
        Graphics_SetPosition(Vector2_Static(0.25f, -0.5f));
        Animation_Render(animation);
        return ReadFrame().AtUnits(0.375f, -0.375f);
    };
    Texture *sheet = MakeTexture(3, 1, {kRed, kGreen, kBlue});
    SubTexture *small = Cut(sheet, 0, 0, 1, 1), *medium = Cut(sheet, 1, 0, 2, 1);
    Graphics_SetBlendFactors(1, 0);
    Animation *explosion = Animation_Create(Vector2_Static(0.25f, 0.25f));
    for (int32_t from = 25; SubTexture * frame : {medium, Cut(sheet, 2, 0, 3, 1), medium, small})
        Animation_AddFrame(explosion, from -= 5, frame); // from count-downs 20, 15, 10 and 5
    EXPECT_EQ(RenderFrame(explosion), kClearColor) << "an idle animation draws nothing";

    Animation_SetCountDown(explosion, 25);
    const Rgba8 schedule[6] = {kGreen, kBlue, kGreen, kRed, kClearColor, kClearColor};
    for (int32_t call = 1; call <= 26; call++) // the 26th call changes nothing
    {
        EXPECT_EQ(Animation_HasEnded(explosion), call == 26) << "before call " << call;
        EXPECT_EQ(RenderFrame(explosion), schedule[(call - 1) / 5]) << "call " << call;
    }
    EXPECT_EQ(Animation_GetCountDown(explosion), 0);
    Animation_SetCountDown(explosion, 25);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    RenderFrame(explosion);
    EXPECT_EQ(ReadFrame().Mismatches({0.25f, -0.5f}, {0.5f, -0.25f}, kGreen, kClearColor), 0);
    // Stopping is not ending; restarting in the middle shows the new count-down's frame at once.
    Animation_SetCountDown(explosion, 0);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    Animation_SetCountDown(explosion, 11);
    EXPECT_EQ(RenderFrame(explosion), kGreen);
    EXPECT_EQ(RenderFrame(explosion), kRed);
    // A negative count-down never runs (it could only count on until it overflowed).
    Animation_SetCountDown(explosion, -3);
    EXPECT_EQ(RenderFrame(explosion), kClearColor);
    EXPECT_EQ(Animation_GetCountDown(explosion), -3);
    EXPECT_EQ(Animation_HasEnded(explosion), 0);
    Animation_Destroy(explosion);

    // The first qualifying frame in adding order is shown; without frames it still ends.
    Animation *rising = Animation_Create(Vector2_Static(0.5f, 0.5f));
    Animation_AddFrame(rising, 0, small);
    Animation_AddFrame(rising, 10, medium);
    Animation_SetCountDown(rising, 20);
    EXPECT_EQ(RenderFrame(rising), kRed);
    Animation_Destroy(rising);
    Animation *empty = Animation_Create(Vector2_Static(0.25f, 0.25f));
    Animation_SetCountDown(empty, 1);
    EXPECT_EQ(RenderFrame(empty), kClearColor);
    EXPECT_EQ(Animation_HasEnded(empty), 1);
    Animation_Destroy(empty);
}

// The offset is shared by the process: a large speed holds it at the height, minus it gives 0.
TEST_F(RenderTest, BackgroundOffsetMovesWrapsAndStopsCopiesMeetWithoutASeamAndCoverTheWindow)
{
    // The border of the red and blue halves marks the centre of the first copy.
    SubTexture *halves = Cut(MakeTexture(1, 2, {kRed, kBlue}), 0, 0, 1, 2);
    Background *background = Background_Create(Vector2_Static(2.0f, 4.0f), halves);
    const auto RenderAt = [&](double speed)
    {
        NewFrame();
        Background_SetAnimationSpeed(background, speed);
        Background_Render(background);
    };
    // Per frame the speed, then the copies' centres (the second's as Sprite_Logic leaves it).
    const auto Run = [&](std::initializer_list<std::tuple<double, float, float>> steps)
    {
        for (const auto &[speed, first, second] : steps)
        {
            RenderAt(speed);
            EXPECT_TRUE(std::fabs(first) >= 1.0f ||
                        ReadFrame().Mismatches({-1.0f, first}, {1.0f, 1.0f}, kRed, kBlue) == 0)
                << "first copy centred at " << first;
            EXPECT_EQ(Graphics_GetPosition().x, -1.0f);
            EXPECT_NEAR(Graphics_GetPosition().y, second - 2.0f, 1e-6f);
        }
    };
    Run({{1.0e6, 4.0f, 8.0f}, {-4.0, 0.0f, 4.0f}, {-0.01, -0.01f, 3.99f}, {0.0, -0.01f, 3.99f}});
    Background *other = Background_Create(Vector2_Static(2.0f, 4.0f), halves);
    Background_SetAnimationSpeed(other, -0.01);
    Background_Render(other); // the offset is shared: this frame starts from -0.02
    Background_Destroy(other);
    // -4.005 lies below -4: back to 0 before drawing; exactly -4 stays; 6 is held at 4.
    Run({{-0.01, -0.03f, 3.97f}, {1.0e6, 4.0f, 8.0f}, {-4.0, 0.0f, 4.0f}});
    Run({{-3.995, -3.995f, 0.005f}, {-0.01, 0.0f, 4.0f}, {-4.0, -4.0f, 0.0f}, {4.0, 0.0f, 4.0f}});
    Run({{3.0, 3.0f, 7.0f}, {3.0, 4.0f, 8.0f}, {-4.0, 0.0f, 4.0f}});

    // Offset -1.5 puts the join at pixel row 576; a picture row is 6 pixels high.
    std::vector<Rgba8> rows(256);
    for (int32_t i = 0; i < 256; i++)
        rows[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 77, 255};
    Background_SetSubTexture(background, Cut(MakeTexture(1, 256, rows), 0, 0, 1, 256));
    Graphics_SetBlendFactors(0, 1);
    RenderAt(-1.5);
    const Frame &frame = ReadFrame();
    for (int32_t x : {0, 511, 1023})
        for (int32_t y = 558; y < 594; y++)
            EXPECT_EQ(frame.At(x, y), rows[y < 576 ? (575 - y) / 6 : 255 - (y - 576) / 6])
                << "pixel (" << x << ", " << y << ")";
    for (int32_t step = 0; step < 9; step++)
    {
        RenderAt(-0.5);
        EXPECT_EQ(ReadFrame().Count(kClearColor), 0) << "uncovered pixels after step " << step;
    }
    Background_Destroy(background);
}

// Test font sheets whose every 8 x 8 cell is one solid colour naming the sheet and the cell.
Rgba8 CellColor(bool upper, int32_t column, int32_t row)
{
    return {uint8_t(column * 16 + 8), uint8_t(row * 16 + 8), uint8_t(upper ? 255 : 128), 255};
}

// Lower: 'a'-'z' from row 8, column 1; upper: '@'-']' (backslash: pound) row 8, ' '-'?' row 10.
Rgba8 Glyph(unsigned char c)
{
    if (c >= ' ' && c <= ']')
        return CellColor(true, c % 16, c < '@' ? 8 + c / 16 : 4 + c / 16);
    return c >= 'a' && c <= 'z' ? CellColor(false, c % 16, 2 + c / 16) : kClearColor;
}

void ExpectText(const Frame &frame, float x, float y, float size, const std::string &text)
{
    const float middle = y + size / 2, width = size * static_cast<float>(text.size());
    for (size_t i = 0; i < text.size(); i++)
        EXPECT_EQ(frame.AtUnits(x + size * (static_cast<float>(i) + 0.5f), middle), Glyph(text[i]))
            << "cell " << i << " of the text at (" << x << ", " << y << ")";
    EXPECT_EQ(frame.AtUnits(x + 0.003f, middle), Glyph(text.front()));
    EXPECT_EQ(frame.AtUnits(x - 0.003f, middle), kClearColor);
    EXPECT_EQ(frame.AtUnits(x + width - 0.003f, middle), Glyph(text.back()));
    EXPECT_EQ(frame.AtUnits(x + width + 0.003f, middle), kClearColor);
}

TEST_F(RenderTest, FontEveryByteMapsOntoItsCellAndAlignmentsStartEndOrCentreOnThePosition)
{
    std::vector<Rgba8> texels[2]; // lower case, upper case
    for (int32_t i = 0; i < 2 * 128 * 128; i++)
        texels[i / 16384].push_back(CellColor(i >= 16384, i % 128 / 8, i % 16384 / 128 / 8));
    Font *font = Font_Create(MakeTexture(128, 128, texels[1]), MakeTexture(128, 128, texels[0]));
    Graphics_SetBlendFactors(1, 0);
    Font_RenderCStr(font, 0.11f, "Press Fire!", 1);
    EXPECT_NEAR(Graphics_GetPosition().x, 0.495f, 1e-6f); // left at the last cell
    for (const auto &[x, y, alignment] :
         {std::tuple{0.5f, 0.5f, 2}, {-0.5f, -0.5f, 0}, {-0.5f, -0.3f, 7}})
    {
        Graphics_SetPosition(Vector2_Static(x, y));
        Font_RenderCStr(font, 0.1f, "AB", alignment); // 7, as any other value, starts there too
    }
    Graphics_SetPosition(Vector2_Static(0.25f, -0.5f));
    Font_RenderCStr(font, 0.1f, "", 1);
    EXPECT_EQ(Graphics_GetPosition().x, 0.25f); // an empty text leaves the position alone
    ExpectText(ReadFrame(), -0.605f, 0.0f, 0.11f, "Press Fire!");
    for (const auto &[x, y] : {std::pair{0.3f, 0.5f}, {-0.5f, -0.5f}, {-0.5f, -0.3f}})
        ExpectText(ReadFrame(), x, y, 0.1f, "AB");

    NewFrame();
    std::string lines[16];
    for (int32_t line = 0; line < 16; line++)
    {
        for (int32_t i = 0; i < 16; i++)
            lines[line] += static_cast<char>(line == 0 && i == 0 ? ' ' : line * 16 + i);
        Graphics_SetPosition(Vector2_Static(-0.8f, 0.7f - 0.1f * static_cast<float>(line)));
        if (line == 0)
            Font_Render(font, 0.1f, String_Create(lines[0].c_str()), 0); // hands the string over
        else
            Font_RenderCStr(font, 0.1f, lines[line].c_str(), 0);
    }
    const Frame &frame = ReadFrame();
    for (int32_t line = 0; line < 16; line++)
        ExpectText(frame, -0.8f, 0.7f - 0.1f * static_cast<float>(line), 0.1f, lines[line]);
    Font_Destroy(font);
}

} // namespace
