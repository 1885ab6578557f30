// font: the fixed-cell 8 x 8 bitmap font. It cuts 92 glyphs out of the upper-case and the
// lower-case glyph sheets (128 x 128 textures of 16 x 16 cells) and draws a text as a row of
// square textured cells at the drawing position, one cell per byte.
#pragma once

#include <cstdint>

struct Font;
struct String;
struct Texture;

// Glyph cells: the lower-case sheet's cell rows 8 and 9, then the upper-case sheet's cell rows
// 8 to 11 (rows 9 hold 14 cells). The textures stay the caller's and must outlive the font.
// Ownership: the caller; release with Font_Destroy.
Font *Font_Create(Texture *upperCase, Texture *lowerCase);
// Releases the glyph sub-textures and the font; the textures are not touched.
void Font_Destroy(Font *font);

// Draws text in size x size cells with the caller's blend factors: alignment 1 centres it on
// the drawing position, 2 ends it there, anything else starts it there. Bytes 32 to 93 and
// a to z have glyphs (the backslash shows the pound sign); every other byte is a blank cell.
// The drawing position is left at the last cell. The text stays the caller's.
void Font_RenderCStr(Font *font, float size, const char *text, int32_t alignment);
// The same for a String, which the caller hands over: it is destroyed after drawing.
void Font_Render(Font *font, float size, String *text, int32_t alignment);
