// pixmap: an RGBA picture in memory, the canvas that every sheet, glyph set and logo is drawn on.
// Plain data: rows from top to bottom, four bytes a pixel (red, green, blue, alpha).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

struct Rgba
{
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
};

struct Pixmap
{
    int32_t width;
    int32_t height;
    std::vector<uint8_t> pixels;
};

// A character-indexed colour table for pictures written as rows of text ('.' is transparent).
struct Palette
{
    Rgba colors[128];
};

struct PaletteEntry
{
    char key;
    uint32_t rgb;        // 0xRRGGBB
    uint8_t alpha = 255; // straight, not premultiplied
};

// Opaque colour from 0xRRGGBB.
Rgba Rgba_Hex(uint32_t rgb);
// The same colour with its channels scaled by brightness (0 to 1, alpha untouched).
Rgba Rgba_Scale(Rgba color, float brightness);
// Linear mix of two colours, t from 0 (a) to 1 (b), alpha included.
Rgba Rgba_Mix(Rgba a, Rgba b, float t);

// Fully transparent black picture of the given size.
Pixmap Pixmap_Make(int32_t width, int32_t height);
bool Pixmap_Contains(const Pixmap &pixmap, int32_t x, int32_t y);
// Reading outside the picture gives transparent black; writing outside is ignored.
Rgba Pixmap_Get(const Pixmap &pixmap, int32_t x, int32_t y);
void Pixmap_Set(Pixmap &pixmap, int32_t x, int32_t y, Rgba color);
// Source-over compositing of a colour with straight alpha onto the pixel.
void Pixmap_Blend(Pixmap &pixmap, int32_t x, int32_t y, Rgba color);
// Adds the colour's channels, saturating; alpha becomes the larger of the two.
void Pixmap_Add(Pixmap &pixmap, int32_t x, int32_t y, Rgba color);
void Pixmap_FillRect(Pixmap &pixmap, int32_t x, int32_t y, int32_t width, int32_t height,
                     Rgba color);

// Copies every pixel of source into target with its upper-left corner at (x, y).
void Pixmap_Copy(Pixmap &target, const Pixmap &source, int32_t x, int32_t y);
// Composites source over target (straight alpha) with its upper-left corner at (x, y).
void Pixmap_Over(Pixmap &target, const Pixmap &source, int32_t x, int32_t y);
Pixmap Pixmap_Crop(const Pixmap &source, int32_t x, int32_t y, int32_t width, int32_t height);
Pixmap Pixmap_MirrorX(const Pixmap &source);
// Nearest-neighbour enlargement by a whole factor.
Pixmap Pixmap_ScaleUp(const Pixmap &source, int32_t factor);
// Box-filtered reduction by a whole factor (straight alpha is weighted by coverage).
Pixmap Pixmap_ScaleDown(const Pixmap &source, int32_t factor);

Palette Palette_Make(std::initializer_list<PaletteEntry> entries);
// A picture drawn as text: one string per row, one character per pixel, looked up in the
// palette; '.' and characters the palette lacks stay transparent.
Pixmap Pixmap_FromArt(std::span<const char *const> rows, const Palette &palette);
Pixmap Pixmap_FromArt(std::initializer_list<const char *> rows, const Palette &palette);
// The same for art that gives only the left half: each row is mirrored onto the right.
Pixmap Pixmap_FromHalfArt(std::span<const char *const> rows, const Palette &palette);

// Transparent pixels must be black so that premultiplied blending adds nothing.
void Pixmap_ClearTransparent(Pixmap &pixmap);
