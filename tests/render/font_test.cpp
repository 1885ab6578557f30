// The bitmap font, drawn from two test sheets whose every 8 x 8 cell is one solid colour that
// names the sheet and the cell, so the pixel at a drawn cell's centre tells which glyph it got.
#include "tests/render/render_test_window.h"

#include "foundation/mystring.h"
#include "render/font.h"
#include "render/graphics_win.h"

namespace
{

struct Cell
{
    bool upper;
    int32_t column, row;
};

Rgba8 CellColor(Cell cell)
{
    return {static_cast<uint8_t>(cell.column * 16 + 8), static_cast<uint8_t>(cell.row * 16 + 8),
            static_cast<uint8_t>(cell.upper ? 255 : 128), 255};
}

class FontTest : public RenderTest
{
  protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        Texture *sheets[2];
        for (int32_t upper = 0; upper < 2; upper++)
        {
            std::vector<Rgba8> texels;
            texels.reserve(128 * 128);
            for (int32_t i = 0; i < 128 * 128; i++)
            {
                texels.push_back(CellColor({upper == 1, i % 128 / 8, i / 128 / 8}));
            }
            sheets[upper] = MakeTexture(128, 128, texels);
        }
        font = Font_Create(sheets[1], sheets[0]);
        Graphics_SetBlendFactors(1, 0);
    }
    void TearDown() override
    {
        Font_Destroy(font);
        RenderTest::TearDown();
    }

    // The colour at the centre of cell i of a text whose first cell starts at (x, y).
    static Rgba8 CellAt(const Frame &frame, float x, float y, float size, int32_t i)
    {
        return frame.AtUnits(x + size * (static_cast<float>(i) + 0.5f), y + size * 0.5f);
    }
    // The text starting at (x, y) shows these cells and nothing just beyond its ends.
    static void ExpectText(const Frame &frame, float x, float y, float size,
                           const std::vector<Cell> &cells)
    {
        for (size_t i = 0; i < cells.size(); i++)
        {
            EXPECT_EQ(CellAt(frame, x, y, size, static_cast<int32_t>(i)), CellColor(cells[i]))
                << "cell " << i << " of the text at (" << x << ", " << y << ")";
        }
        const float width = size * static_cast<float>(cells.size());
        EXPECT_EQ(frame.AtUnits(x + 0.003f, y + size / 2), CellColor(cells.front()));
        EXPECT_EQ(frame.AtUnits(x - 0.003f, y + size / 2), kClearColor);
        EXPECT_EQ(frame.AtUnits(x + width - 0.003f, y + size / 2), CellColor(cells.back()));
        EXPECT_EQ(frame.AtUnits(x + width + 0.003f, y + size / 2), kClearColor);
    }

    Font *font = nullptr;
};

TEST_F(FontTest, PressFireCentredSpansElevenCellsAndAlignmentsStartOrEndAtThePosition)
{
    Graphics_SetPosition(Vector2_Static(0.0f, 0.0f));
    Font_RenderCStr(font, 0.11f, "Press Fire!", 1);
    EXPECT_NEAR(Graphics_GetPosition().x, 0.495f, 1e-6f); // left at the last cell
    Graphics_SetPosition(Vector2_Static(0.5f, 0.5f));
    Font_RenderCStr(font, 0.1f, "AB", 2);
    Graphics_SetPosition(Vector2_Static(-0.5f, -0.5f));
    Font_RenderCStr(font, 0.1f, "AB", 0);
    Graphics_SetPosition(Vector2_Static(-0.5f, -0.3f));
    Font_RenderCStr(font, 0.1f, "AB", 7); // any other value starts at the position too
    Graphics_SetPosition(Vector2_Static(0.25f, -0.5f));
    Font_RenderCStr(font, 0.1f, "", 1);
    EXPECT_EQ(Graphics_GetPosition().x, 0.25f); // an empty text leaves the position alone

    const Frame &frame = ReadFrame();
    const std::vector<Cell> pressFire = {{true, 0, 9},  {false, 2, 9}, {false, 5, 8}, {false, 3, 9},
                                         {false, 3, 9}, {true, 0, 10}, {true, 6, 8},  {false, 9, 8},
                                         {false, 2, 9}, {false, 5, 8}, {true, 1, 10}};
    ExpectText(frame, -0.605f, 0.0f, 0.11f, pressFire);
    for (const Vector2 start :
         {Vector2_Static(0.3f, 0.5f), Vector2_Static(-0.5f, -0.5f), Vector2_Static(-0.5f, -0.3f)})
    {
        ExpectText(frame, start.x, start.y, 0.1f, {{true, 1, 8}, {true, 2, 8}});
    }
}

TEST_F(FontTest, CharactersMapOntoTheirCellsAndUnmappedBytesStayBlank)
{
    // Characters at the ends of the cell rows and of the mapped ranges (backslash: pound sign).
    const char *text = "aopz@AOPZ[\\] /0?";
    const std::vector<Cell> cells = {{false, 1, 8}, {false, 15, 8}, {false, 0, 9}, {false, 10, 9},
                                     {true, 0, 8},  {true, 1, 8},   {true, 15, 8}, {true, 0, 9},
                                     {true, 10, 9}, {true, 11, 9},  {true, 12, 9}, {true, 13, 9},
                                     {true, 0, 10}, {true, 15, 10}, {true, 0, 11}, {true, 15, 11}};
    Graphics_SetPosition(Vector2_Static(-0.8f, 0.8f));
    Font_Render(font, 0.1f, String_Create(text), 0); // hands the string over
    // All 255 non-zero bytes, 16 to a line: unmapped ones leave a blank cell in their place.
    for (int32_t line = 0; line < 16; line++)
    {
        char bytes[17] = {};
        for (int32_t i = 0; i < 16; i++)
        {
            bytes[i] = static_cast<char>(line == 0 && i == 0 ? ' ' : line * 16 + i);
        }
        Graphics_SetPosition(Vector2_Static(-0.8f, 0.6f - 0.1f * static_cast<float>(line)));
        Font_RenderCStr(font, 0.1f, bytes, 0);
    }
    const Frame &frame = ReadFrame();
    ExpectText(frame, -0.8f, 0.8f, 0.1f, cells);
    for (int32_t byte = 1; byte < 256; byte++)
    {
        const bool hasGlyph = (byte >= 32 && byte <= 93) || (byte >= 97 && byte <= 122);
        const int32_t row = byte / 16;
        const float y = 0.6f - 0.1f * static_cast<float>(row);
        EXPECT_EQ(CellAt(frame, -0.8f, y, 0.1f, byte % 16) != kClearColor, hasGlyph)
            << "byte " << byte;
    }
}

} // namespace
