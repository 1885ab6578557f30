// glyph_art: our 8 x 8 character set and the two 128 x 128 glyph sheets cut from it.
//
// Most glyphs are drawn thin on a 5 x 7 grid (descenders reach the eighth row) and then
// emboldened by one pixel to the right, which gives the chunky two-pixel stems that stay
// legible when a glyph is drawn only ten screen pixels wide. Glyphs whose strokes sit one pixel
// apart (M, W, m, w, @ ...) would fill in, so they are drawn bold on a 7-pixel grid instead.
//
// Each sheet is 16 x 16 cells in the order of a classic home computer's screen codes: cell
// rows 8 to 11 hold @, A to O / P to Z, [, pound, ], up and left arrows / blank and
// punctuation / digits and : ; < = > ?; the lower-case sheet has a to z in place of A to Z and
// the capitals in rows 12 and 13. Rows 0 to 7 repeat rows 8 to 15 in inverse video, and the
// remaining cells hold a set of block graphics.
#include "tools/glyph_art.h"

#include <array>
#include <cstring>
#include <iterator>

namespace
{
// One row of glyphs drawn side by side: `keys` names them (the backslash stands for the pound
// sign, ^ and _ for the up and left arrows), each row string holds one pixel row of every
// glyph, glyphs separated by a blank column.
struct GlyphBlock
{
    const char *keys;
    std::array<const char *, 8> rows;
};

constexpr int32_t kThinWidth = 5;
constexpr int32_t kBoldWidth = 7;

// clang-format off
constexpr GlyphBlock kThinGlyphs[] = {
    {"ABCDEFGH",
     {"..#.. ####. .###. ###.. ##### ##### .###. #...#",
      ".#.#. #...# #...# #..#. #.... #.... #...# #...#",
      "#...# #...# #.... #...# #.... #.... #.... #...#",
      "#...# ####. #.... #...# ####. ####. #..## #####",
      "##### #...# #.... #...# #.... #.... #...# #...#",
      "#...# #...# #...# #..#. #.... #.... #...# #...#",
      "#...# ####. .###. ###.. ##### #.... .#### #...#",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
    {"IJKLOPRS",
     {".###. ..### #...# #.... .###. ####. ####. .###.",
      "..#.. ...#. #..#. #.... #...# #...# #...# #...#",
      "..#.. ...#. #.#.. #.... #...# #...# #...# #....",
      "..#.. ...#. ##... #.... #...# ####. ####. .###.",
      "..#.. #..#. #.#.. #.... #...# #.... #.#.. ....#",
      "..#.. #..#. #..#. #.... #...# #.... #..#. #...#",
      ".###. .##.. #...# ##### .###. #.... #...# .###.",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
    {"TUVXYZ[\\",
     {"##### #...# #...# #...# #...# ##### .###. ..##.",
      "..#.. #...# #...# #...# #...# ....# .#... .#..#",
      "..#.. #...# #...# .#.#. .#.#. ...#. .#... .#...",
      "..#.. #...# #...# ..#.. ..#.. ..#.. .#... ###..",
      "..#.. #...# .#.#. .#.#. ..#.. .#... .#... .#...",
      "..#.. #...# .#.#. #...# ..#.. #.... .#... .#..#",
      "..#.. .###. ..#.. #...# ..#.. ##### .###. ####.",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
    {"]^_ !\"$%",
     {".###. ..#.. ..... ..... ..#.. .#.#. ..#.. ##..#",
      "...#. .###. ..#.. ..... ..#.. .#.#. .#### ##..#",
      "...#. #.#.# .#... ..... ..#.. ..... #.#.. ...#.",
      "...#. ..#.. ##### ..... ..#.. ..... .###. ..#..",
      "...#. ..#.. .#... ..... ..#.. ..... ..#.# .#...",
      "...#. ..#.. ..#.. ..... ..... ..... ####. #..##",
      ".###. ..#.. ..... ..... ..#.. ..... ..#.. #..##",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
    {"'()+,-./",
     {"..#.. ...#. .#... ..... ..... ..... ..... ....#",
      "..#.. ..#.. ..#.. ..#.. ..... ..... ..... ....#",
      ".#... .#... ...#. ..#.. ..... ..... ..... ...#.",
      "..... .#... ...#. ##### ..... .###. ..... ..#..",
      "..... .#... ...#. ..#.. ..... ..... ..... .#...",
      "..... ..#.. ..#.. ..#.. ..#.. ..... ..#.. #....",
      "..... ...#. .#... ..... ..#.. ..... ..#.. #....",
      "..... ..... ..... ..... .#... ..... ..... ....."}},
    {"01234567",
     {".##.. ..#.. .###. .###. ...#. ##### ..##. #####",
      "#..#. .##.. #...# #...# ..##. #.... .#... ....#",
      "#..#. ..#.. ....# ....# .#.#. ####. #.... ...#.",
      "#..#. ..#.. ..##. ..##. #..#. ....# ####. ..#..",
      "#..#. ..#.. .#... ....# ##### ....# #...# .#...",
      "#..#. ..#.. #.... #...# ...#. #...# #...# .#...",
      ".##.. .###. ##### .###. ...#. .###. .###. .#...",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
    {"89:;<=>?",
     {".###. .###. ..... ..... ...#. ..... .#... .###.",
      "#...# #...# ..#.. ..#.. ..#.. ..... ..#.. #...#",
      "#...# #...# ..#.. ..#.. .#... ##### ...#. ....#",
      ".###. .#### ..... ..... #.... ..... ....# ..##.",
      "#...# ....# ..#.. ..#.. .#... ##### ...#. ..#..",
      "#...# ...#. ..#.. ..#.. ..#.. ..... ..#.. .....",
      ".###. .##.. ..... .#... ...#. ..... .#... ..#..",
      "..... ..... ..... ..... ..... ..... ..... ....."}},
    {"abcdefgh",
     {"..... #.... ..... ....# ..... ..##. ..... #....",
      "..... #.... ..... ....# ..... .#... ..... #....",
      ".###. ####. .###. .#### .###. ####. .#### ####.",
      "....# #...# #.... #...# #...# .#... #...# #...#",
      ".#### #...# #.... #...# ##### .#... #...# #...#",
      "#...# #...# #.... #...# #.... .#... .#### #...#",
      ".#### ####. .###. .#### .###. .#... ....# #...#",
      "..... ..... ..... ..... ..... ..... .###. ....."}},
    {"ijklnopq",
     {"..#.. ...#. #.... .##.. ..... ..... ..... .....",
      "..... ..... #.... ..#.. ..... ..... ..... .....",
      ".##.. ..##. #..#. ..#.. ####. .###. ####. .####",
      "..#.. ...#. #.#.. ..#.. #...# #...# #...# #...#",
      "..#.. ...#. ##... ..#.. #...# #...# #...# #...#",
      "..#.. ...#. #.#.. ..#.. #...# #...# ####. .####",
      ".###. #..#. #..#. .###. #...# .###. #.... ....#",
      "..... .##.. ..... ..... ..... ..... #.... ....#"}},
    {"rstuvxyz",
     {"..... ..... .#... ..... ..... ..... ..... .....",
      "..... ..... .#... ..... ..... ..... ..... .....",
      "####. .#### ####. #...# #...# #...# #...# #####",
      "#...# #.... .#... #...# #...# .#.#. #...# ...#.",
      "#.... .###. .#... #...# #...# ..#.. #...# ..#..",
      "#.... ....# .#..# #...# .#.#. .#.#. .#### .#...",
      "#.... ####. ..##. .#### ..#.. #...# ....# #####",
      "..... ..... ..... ..... ..... ..... .###. ....."}},
};

constexpr GlyphBlock kBoldGlyphs[] = {
    {"MNWQ@",
     {"##...## ##...## ##...## .#####. .#####.",
      "###.### ###..## ##...## ##...## ##...##",
      "##.#.## ####.## ##...## ##...## ##.####",
      "##...## ##.#### ##.#.## ##...## ##.#.##",
      "##...## ##..### ####### ##.#### ##.####",
      "##...## ##...## ###.### ##..##. ##.....",
      "##...## ##...## ##...## .###.## .#####.",
      "....... ....... ....... ....... ......."}},
    {"#&*mw",
     {".##.##. .###... ....... ....... .......",
      ".##.##. ##.##.. ##.#.## ....... .......",
      "####### ##.##.. .#####. ###.##. ##...##",
      ".##.##. .###... ####### ##.#.## ##.#.##",
      "####### ##.##.# .#####. ##.#.## ##.#.##",
      ".##.##. ##..##. ##.#.## ##.#.## #######",
      ".##.##. .###.## ....... ##...## .##.##.",
      "....... ....... ....... ....... ......."}},
};
// clang-format on
} // namespace

static bool _FindInBlocks(const GlyphBlock *blocks, size_t count, int32_t width, char key,
                          int32_t offset, Glyph &glyph)
{
    for (size_t b = 0; b < count; b++)
    {
        const char *found = std::strchr(blocks[b].keys, key);
        if (key == '\0' || found == nullptr)
        {
            continue;
        }
        size_t start = static_cast<size_t>(found - blocks[b].keys) * (width + 1);
        for (size_t y = 0; y < 8; y++)
        {
            glyph.rows[y] = 0;
            for (int32_t x = 0; x < width; x++)
            {
                if (blocks[b].rows[y][start + x] == '#')
                {
                    glyph.rows[y] |= static_cast<uint8_t>(0x80 >> (x + offset));
                }
            }
        }
        return true;
    }
    return false;
}

bool GlyphArt_Glyph(char key, Glyph &glyph)
{
    if (_FindInBlocks(kBoldGlyphs, std::size(kBoldGlyphs), kBoldWidth, key, 0, glyph))
    {
        return true;
    }
    if (!_FindInBlocks(kThinGlyphs, std::size(kThinGlyphs), kThinWidth, key, 1, glyph))
    {
        return false;
    }
    for (uint8_t &row : glyph.rows)
    {
        row = static_cast<uint8_t>(row | (row >> 1)); // embolden one pixel to the right
    }
    return true;
}

// Sixty-four block graphics for the cells the font leaves free (it never draws them).
static bool _BlockPixel(int32_t n, int32_t x, int32_t y)
{
    switch (n / 8)
    {
    case 0:
    case 1: // the sixteen combinations of quadrants
        return ((n >> ((x >= 4 ? 1 : 0) + (y >= 4 ? 2 : 0))) & 1) != 0;
    case 2: // horizontal lines
        return y == n % 8;
    case 3: // vertical lines
        return x == n % 8;
    case 4: // bars rising from the bottom
        return y >= 7 - n % 8;
    case 5: // bars growing from the left
        return x <= n % 8;
    case 6: // diagonal stripes
        return (x + y + n) % 8 < 2 + n % 4;
    default: // checks, finer to coarser
        return ((x >> (n % 3)) + (y >> (n % 3)) + n / 3) % 2 == 0;
    }
}

static Glyph _BlockGraphic(int32_t n)
{
    Glyph glyph{};
    for (int32_t y = 0; y < 8; y++)
    {
        for (int32_t x = 0; x < 8; x++)
        {
            if (_BlockPixel(n, x, y))
            {
                glyph.rows[static_cast<size_t>(y)] |= static_cast<uint8_t>(0x80 >> x);
            }
        }
    }
    return glyph;
}

// The glyph of a normal-video cell (rows 8 to 15) of either sheet.
static Glyph _CellGlyph(int32_t cellRow, int32_t column, bool lowerCase)
{
    static constexpr const char kRow8[] = "@ABCDEFGHIJKLMNO";
    static constexpr const char kRow8Lower[] = "@abcdefghijklmno";
    static constexpr const char kRow9[] = "PQRSTUVWXYZ[\\]^_";
    static constexpr const char kRow9Lower[] = "pqrstuvwxyz[\\]^_";
    static constexpr const char kRow10[] = " !\"#$%&'()*+,-./";
    static constexpr const char kRow11[] = "0123456789:;<=>?";
    char key = '\0';
    switch (cellRow)
    {
    case 8:
        key = (lowerCase ? kRow8Lower : kRow8)[column];
        break;
    case 9:
        key = (lowerCase ? kRow9Lower : kRow9)[column];
        break;
    case 10:
        key = kRow10[column];
        break;
    case 11:
        key = kRow11[column];
        break;
    case 12: // the lower-case sheet keeps its capitals here
        key = lowerCase && column > 0 ? kRow8[column] : '\0';
        break;
    case 13:
        key = lowerCase && column < 11 ? kRow9[column] : '\0';
        break;
    default:
        break;
    }
    Glyph glyph{};
    if (key == '\0' || !GlyphArt_Glyph(key, glyph))
    {
        glyph = _BlockGraphic(((cellRow - 12) * 16 + column) & 63);
    }
    return glyph;
}

Pixmap GlyphArt_DrawSheet(bool lowerCase)
{
    Pixmap sheet = Pixmap_Make(128, 128);
    const Rgba white = Rgba_Hex(0xffffff), black = Rgba_Hex(0x000000);
    for (int32_t cellRow = 8; cellRow < 16; cellRow++)
    {
        for (int32_t column = 0; column < 16; column++)
        {
            const Glyph glyph = _CellGlyph(cellRow, column, lowerCase);
            for (int32_t y = 0; y < 8; y++)
            {
                for (int32_t x = 0; x < 8; x++)
                {
                    bool set = (glyph.rows[static_cast<size_t>(y)] >> (7 - x)) & 1;
                    int32_t px = column * 8 + x;
                    Pixmap_Set(sheet, px, cellRow * 8 + y, set ? white : black);
                    Pixmap_Set(sheet, px, (cellRow - 8) * 8 + y, set ? black : white);
                }
            }
        }
    }
    return sheet;
}
