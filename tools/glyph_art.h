// glyph_art: our own 8 x 8 character set, laid out as the two glyph sheets the font cuts up.
#pragma once

#include "tools/pixmap.h"

#include <array>
#include <cstdint>

// One glyph: eight rows from the top, bit 7 of each the leftmost pixel.
struct Glyph
{
    std::array<uint8_t, 8> rows;
};

// The 128 x 128 sheet, opaque white glyphs on black: the upper-case sheet, or with lowerCase
// the lower-case one.
Pixmap GlyphArt_DrawSheet(bool lowerCase);

// The glyph for a printable character ('\\' gives the pound sign, '^' and '_' the up and left
// arrows). False, with the glyph untouched, for characters the set lacks.
bool GlyphArt_Glyph(char key, Glyph &glyph);
