// The pictures compiled into the program, read through the symbols the game links against.
#include "tools/art.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace
{

// Cell (column, row) of a glyph sheet as 64 booleans, true where the glyph is drawn.
std::vector<bool> Cell(const uint8_t *sheet, int32_t column, int32_t row)
{
    std::vector<bool> cell;
    for (int32_t i = 0; i < 64; i++)
    {
        cell.push_back(sheet[12 + ((row * 8 + i / 8) * 128 + column * 8 + i % 8) * 3] != 0);
    }
    return cell;
}

TEST(AssetCompiledArt, GlyphSheetsArePureBlackAndWhiteAndTheTopHalfIsTheInverseOfTheBottom)
{
    for (const uint8_t *sheet : {FontC64Uppercase, FontC64Lowercase})
        for (size_t i = 0; i < 128 * 128; i++)
        {
            const uint8_t *p = sheet + 12 + i * 3;
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2] && (p[0] == 0 || p[0] == 255)) << i;
            ASSERT_TRUE(i >= 64 * 128 || p[0] != p[64 * 128 * 3]) << "pixel " << i;
        }
}

// The 92 cells the font cuts: rows 8 and 9 of the lower-case sheet (16 and 14 cells), rows 8 to
// 11 of the upper-case sheet (16, 14, 16, 16). All but the blank hold distinct glyphs.
TEST(AssetCompiledArt, EveryCellTheFontUsesHoldsItsOwnGlyph)
{
    struct Range
    {
        const uint8_t *sheet;
        int32_t row, cells;
    };
    const Range ranges[] = {{FontC64Lowercase, 8, 16},  {FontC64Lowercase, 9, 14},
                            {FontC64Uppercase, 8, 16},  {FontC64Uppercase, 9, 14},
                            {FontC64Uppercase, 10, 16}, {FontC64Uppercase, 11, 16}};
    std::set<std::vector<bool>> seen;
    int32_t used = 0;
    for (const Range &range : ranges)
        for (int32_t column = 0; column < range.cells; column++, used++)
        {
            const std::vector<bool> cell = Cell(range.sheet, column, range.row);
            const int64_t ink = std::count(cell.begin(), cell.end(), true);
            if (range.sheet == FontC64Uppercase && range.row == 10 && column == 0)
            {
                EXPECT_EQ(ink, 0) << "the space";
                continue;
            }
            EXPECT_GE(ink, 2) << "row " << range.row << " column " << column;
            // The at sign and the brackets are shared by both sheets; everything else differs.
            const bool shared =
                range.sheet == FontC64Uppercase &&
                ((range.row == 8 && column == 0) || (range.row == 9 && column >= 11));
            EXPECT_TRUE(seen.insert(cell).second || shared)
                << "row " << range.row << " column " << column << " repeats a glyph";
        }
    EXPECT_EQ(used, 92);
}

// The splash screen shows rows 140 to 908 of the logo and draws it without blending.
TEST(AssetCompiledArt, LogoSitsInsideTheVisibleRowsOnBlack)
{
    int32_t top = 1024, bottom = -1, opaque = 0;
    for (int32_t y = 0; y < 1024; y++)
        for (int32_t x = 0; x < 1024; x++)
        {
            const uint8_t *p = BrindleLogo + 12 + (size_t(y) * 1024 + x) * 4;
            if (p[3] == 0)
            {
                ASSERT_EQ(p[0] | p[1] | p[2], 0) << "(" << x << ", " << y << ")";
                continue;
            }
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            opaque++;
        }
    EXPECT_GE(top, 140);
    EXPECT_LE(bottom, 908);
    EXPECT_GE(opaque, 1024 * 768 / 10) << "a mark, not a speck";
}

} // namespace
