// font: the glyph order follows the screen codes of a classic 8-bit home computer, so the
// sheets' cell rows map onto whole runs of character codes and the lookup is three ranges.
#include "render/font.h"

#include "foundation/allocator.h"
#include "foundation/mystring.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"

#include <array>
#include <cstring>

#define FONT_GLYPHS    92
#define FONT_CELL_SIZE 8

struct Font
{
    SubTexture *glyphs[FONT_GLYPHS];
};

// The cell rows cut into glyphs, in glyph-index order. Rows 0 to 7 of each sheet hold the same
// glyphs in inverse video and are not used.
struct GlyphRow
{
    bool upperCase;
    int32_t pixelRow;
    int32_t cells;
};

static constexpr std::array<GlyphRow, 6> _glyphRows = {{
    {false, 64, 16}, // at sign, a to o
    {false, 72, 14}, // p to z, [, pound sign, ]
    {true, 64, 16},  // at sign, A to O
    {true, 72, 14},  // P to Z, [, pound sign, ]
    {true, 80, 16},  // blank ! " # $ % & ' ( ) * + , - . /
    {true, 88, 16},  // 0 to 9 : ; < = > ?
}};

// Glyph index of a byte, or -1 for a blank cell.
static int32_t _GlyphIndex(uint8_t character)
{
    if (character >= 32 && character <= 63)
    {
        return 60 + (character - 32);
    }
    if (character >= 64 && character <= 93)
    {
        return 30 + (character - 64);
    }
    if (character >= 97 && character <= 122)
    {
        return character - 96;
    }
    return -1;
}

Font *Font_Create(Texture *upperCase, Texture *lowerCase)
{
    Font *font = MEMORY_ALLOCATE_RECORD(Font);
    int32_t index = 0;
    for (const GlyphRow &row : _glyphRows)
    {
        Texture *texture = row.upperCase ? upperCase : lowerCase;
        for (int32_t cell = 0; cell < row.cells; cell++)
        {
            const int32_t x = cell * FONT_CELL_SIZE;
            const int32_t y = row.pixelRow;
            font->glyphs[index++] = SubTexture_Create(
                texture, Texture_CalculatePixelPosition(texture, x, y),
                Texture_CalculatePixelPosition(texture, x + FONT_CELL_SIZE, y + FONT_CELL_SIZE));
        }
    }
    return font;
}

void Font_Destroy(Font *font)
{
    for (SubTexture *glyph : font->glyphs)
    {
        SubTexture_Destroy(glyph);
    }
    MEMORY_FREE(font);
}

void Font_RenderCStr(Font *font, float size, const char *text, int32_t alignment)
{
    const Vector2 origin = Graphics_GetPosition();
    const size_t length = strlen(text);
    const float width = static_cast<float>(length) * size;
    float offset = 0.0f;
    if (alignment == 1)
    {
        offset = -(width * 0.5f);
    }
    else if (alignment == 2)
    {
        offset = -width;
    }
    const Vector2 cell = Vector2_Static(size, size);
    for (size_t i = 0; i < length; i++)
    {
        Graphics_SetPosition(
            Vector2_Static(origin.x + static_cast<float>(i) * size + offset, origin.y));
        const int32_t glyph = _GlyphIndex(static_cast<uint8_t>(text[i]));
        if (glyph >= 0)
        {
            Graphics_DrawTexturedRectangle(cell, font->glyphs[glyph]);
        }
    }
}

void Font_Render(Font *font, float size, String *text, int32_t alignment)
{
    Font_RenderCStr(font, size, String_ToCStr(text), alignment);
    String_Destroy(text);
}
