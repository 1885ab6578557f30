// The bitmap font, drawn from two test sheets whose every 8 x 8 cell is one solid colour that
// names the sheet and the cell, so the pixel at a drawn cell's centre tells which glyph it got.
#include "tests/render/render_test_window.h"

#include "foundation/mystring.h"
#include "render/font.h"
#include "render/graphics_win.h"

#include <cstring>
#include <optional>

namespace
{

enum Sheet
{
    kLower,
    kUpper
};

struct Cell
{
    Sheet sheet;
    int32_t column;
    int32_t row;
};

Rgba8 CellColor(Cell cell)
{
    return {static_cast<uint8_t>(cell.column * 16 + 8), static_cast<uint8_t>(cell.row * 16 + 8),
            static_cast<uint8_t>(cell.sheet == kUpper ? 255 : 128), 255};
}

Texture *MakeSheet(Sheet sheet)
{
    std::vector<Rgba8> texels(128 * 128);
    for (int32_t y = 0; y < 128; y++)
    {
        for (int32_t x = 0; x < 128; x++)
        {
            texels[static_cast<size_t>(y * 128 + x)] = CellColor({sheet, x / 8, y / 8});
        }
    }
    return TestTexture_Create(128, 128, texels);
}

class FontTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        upper = MakeSheet(kUpper);
        lower = MakeSheet(kLower);
        font = Font_Create(upper, lower);
        Graphics_SetBlendFactors(1, 0);
    }
    void TearDown() override
    {
        Font_Destroy(font);
        TestTexture_Destroy(lower);
        TestTexture_Destroy(upper);
        RenderTest::TearDown();
    }

    // The colour at the centre of cell i of a text whose first cell starts at (x, y).
    static Rgba8 CellAt(const Frame &frame, float x, float y, float size, int32_t i)
    {
        return frame.AtUnits(x + size * (static_cast<float>(i) + 0.5f), y + size * 0.5f);
    }

    Texture *upper = nullptr;
    Texture *lower = nullptr;
    Font *font = nullptr;
};

TEST_F(FontTest, PressFireCentredSpansElevenCells)
{
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Font_RenderCStr(font, 0.11f, "Press Fire!", 1);
    const Frame &frame = ReadFrame();

    const Cell expected[11] = {{kUpper, 0, 9}, {kLower, 2, 9},  {kLower, 5, 8}, {kLower, 3, 9},
                               {kLower, 3, 9}, {kUpper, 0, 10}, {kUpper, 6, 8}, {kLower, 9, 8},
                               {kLower, 2, 9}, {kLower, 5, 8},  {kUpper, 1, 10}};
    for (int32_t i = 0; i < 11; i++)
    {
        EXPECT_EQ(CellAt(frame, -0.605f, 0.0f, 0.11f, i), CellColor(expected[i])) << "cell " << i;
    }
    // The row starts 0.605 left of the position and ends as far right of it.
    EXPECT_EQ(frame.AtUnits(-0.605f - 0.003f, 0.05f), kClearColor);
    EXPECT_EQ(frame.AtUnits(-0.605f + 0.003f, 0.05f), CellColor(expected[0]));
    EXPECT_EQ(frame.AtUnits(0.605f - 0.003f, 0.05f), CellColor(expected[10]));
    EXPECT_EQ(frame.AtUnits(0.605f + 0.003f, 0.05f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.0f, -0.003f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.0f, 0.113f), kClearColor);
    // The drawing position is left at the last cell.
    EXPECT_NEAR(Graphics_GetPosition().x, 0.495f, 1e-6f);
    EXPECT_EQ(Graphics_GetPosition().y, 0.0f);
}

TEST_F(FontTest, AlignmentsStartEndOrCentreOnThePosition)
{
    Graphics_SetPosition(Vector2_Static(0.5f, 0.5f));
    Font_RenderCStr(font, 0.1f, "AB", 2);
    Graphics_SetPosition(Vector2_Static(-0.5f, -0.5f));
    Font_RenderCStr(font, 0.1f, "AB", 0);
    Graphics_SetPosition(Vector2_Static(-0.5f, 0.0f));
    Font_RenderCStr(font, 0.1f, "AB", 7); // any other value starts at the position too
    const Frame &frame = ReadFrame();
    const Rgba8 a = CellColor({kUpper, 1, 8});
    const Rgba8 b = CellColor({kUpper, 2, 8});

    EXPECT_EQ(CellAt(frame, 0.3f, 0.5f, 0.1f, 0), a);
    EXPECT_EQ(CellAt(frame, 0.3f, 0.5f, 0.1f, 1), b);
    EXPECT_EQ(frame.AtUnits(0.29f, 0.55f), kClearColor);
    EXPECT_EQ(frame.AtUnits(0.51f, 0.55f), kClearColor);
    for (float y : {-0.5f, 0.0f})
    {
        EXPECT_EQ(CellAt(frame, -0.5f, y, 0.1f, 0), a);
        EXPECT_EQ(CellAt(frame, -0.5f, y, 0.1f, 1), b);
        EXPECT_EQ(frame.AtUnits(-0.51f, y + 0.05f), kClearColor);
        EXPECT_EQ(frame.AtUnits(-0.29f, y + 0.05f), kClearColor);
    }
}

TEST_F(FontTest, CharactersMapOntoTheirCellsOfBothSheets)
{
    struct Case
    {
        char character;
        Cell cell;
    };
    const Case cases[] = {
        {'a', {kLower, 1, 8}},  {'o', {kLower, 15, 8}},  {'p', {kLower, 0, 9}},
        {'z', {kLower, 10, 9}}, {'@', {kUpper, 0, 8}},   {'A', {kUpper, 1, 8}},
        {'O', {kUpper, 15, 8}}, {'P', {kUpper, 0, 9}},   {'Z', {kUpper, 10, 9}},
        {'[', {kUpper, 11, 9}}, {'\\', {kUpper, 12, 9}}, {']', {kUpper, 13, 9}},
        {' ', {kUpper, 0, 10}}, {'!', {kUpper, 1, 10}},  {'/', {kUpper, 15, 10}},
        {'0', {kUpper, 0, 11}}, {'9', {kUpper, 9, 11}},  {'?', {kUpper, 15, 11}},
    };
    std::string text;
    for (const Case &c : cases)
    {
        text += c.character;
    }
    Graphics_SetPosition(Vector2_Static(-0.9f, 0.0f));
    Font_RenderCStr(font, 0.1f, text.c_str(), 0);
    const Frame &frame = ReadFrame();
    for (size_t i = 0; i < std::size(cases); i++)
    {
        EXPECT_EQ(CellAt(frame, -0.9f, 0.0f, 0.1f, static_cast<int32_t>(i)),
                  CellColor(cases[i].cell))
            << "character '" << cases[i].character << "'";
    }
}

TEST_F(FontTest, OnlyPrintableCharactersHaveGlyphsAndEveryByteTakesACell)
{
    // All 255 non-zero bytes, 16 to a line: the unmapped ones leave their cell blank but still
    // move the following characters on by one cell.
    for (int32_t line = 0; line < 16; line++)
    {
        char text[17] = {};
        for (int32_t i = 0; i < 16; i++)
        {
            const int32_t byte = line * 16 + i;
            text[i] = static_cast<char>(byte == 0 ? ' ' : byte);
        }
        Graphics_SetPosition(Vector2_Static(-0.8f, 0.7f - 0.1f * static_cast<float>(line)));
        Font_RenderCStr(font, 0.1f, text, 0);
    }
    const Frame &frame = ReadFrame();
    for (int32_t byte = 1; byte < 256; byte++)
    {
        const bool hasGlyph = (byte >= 32 && byte <= 93) || (byte >= 97 && byte <= 122);
        const Rgba8 drawn =
            CellAt(frame, -0.8f, 0.7f - 0.1f * static_cast<float>(byte / 16), 0.1f, byte % 16);
        EXPECT_EQ(drawn != kClearColor, hasGlyph) << "byte " << byte << " drew " << drawn;
    }
}

TEST_F(FontTest, EmptyTextDrawsNothingAndKeepsThePosition)
{
    Graphics_SetPosition(Vector2_Static(0.25f, -0.5f));
    Font_RenderCStr(font, 0.1f, "", 1);
    EXPECT_EQ(Graphics_GetPosition().x, 0.25f);
    EXPECT_EQ(Graphics_GetPosition().y, -0.5f);
    const Frame &frame = ReadFrame();
    EXPECT_EQ(frame.Count(kClearColor), RENDER_TEST_WIDTH * RENDER_TEST_HEIGHT);
}

TEST_F(FontTest, GlyphsUseTheCallersBlendFactors)
{
    // Source factor zero, destination one: the glyphs leave the frame as it was.
    Graphics_SetBlendFactors(0, 1);
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Font_RenderCStr(font, 0.5f, "Hi", 0);
    EXPECT_EQ(ReadFrame().AtUnits(0.25f, 0.25f), kClearColor);
}

TEST_F(FontTest, RenderTakesTheStringOver)
{
    // The fixture's allocator check fails the test if the string is not released.
    Graphics_SetPosition(Vector2_Static(-0.1f, 0.0f));
    Font_Render(font, 0.1f, String_Create("x~"), 0);
    const Frame &frame = ReadFrame();
    EXPECT_EQ(CellAt(frame, -0.1f, 0.0f, 0.1f, 0), CellColor({kLower, 8, 9}));
    EXPECT_EQ(CellAt(frame, -0.1f, 0.0f, 0.1f, 1), kClearColor);
}

} // namespace
