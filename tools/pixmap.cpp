// pixmap: an RGBA picture in memory; the drawing helpers every art module shares.
#include "tools/pixmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

static uint8_t _ClampByte(float value)
{
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgba Rgba_Hex(uint32_t rgb)
{
    return Rgba{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                static_cast<uint8_t>(rgb), 255};
}

Rgba Rgba_Scale(Rgba color, float brightness)
{
    return Rgba{_ClampByte(color.r * brightness), _ClampByte(color.g * brightness),
                _ClampByte(color.b * brightness), color.a};
}

Rgba Rgba_Mix(Rgba a, Rgba b, float t)
{
    return Rgba{_ClampByte(a.r + (b.r - a.r) * t), _ClampByte(a.g + (b.g - a.g) * t),
                _ClampByte(a.b + (b.b - a.b) * t), _ClampByte(a.a + (b.a - a.a) * t)};
}

Pixmap Pixmap_Make(int32_t width, int32_t height)
{
    Pixmap pixmap;
    pixmap.width = width;
    pixmap.height = height;
    pixmap.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    return pixmap;
}

bool Pixmap_Contains(const Pixmap &pixmap, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < pixmap.width && y < pixmap.height;
}

static size_t _Offset(const Pixmap &pixmap, int32_t x, int32_t y)
{
    return (static_cast<size_t>(y) * static_cast<size_t>(pixmap.width) + static_cast<size_t>(x)) *
           4;
}

Rgba Pixmap_Get(const Pixmap &pixmap, int32_t x, int32_t y)
{
    if (!Pixmap_Contains(pixmap, x, y))
    {
        return Rgba{0, 0, 0, 0};
    }
    const uint8_t *p = &pixmap.pixels[_Offset(pixmap, x, y)];
    return Rgba{p[0], p[1], p[2], p[3]};
}

void Pixmap_Set(Pixmap &pixmap, int32_t x, int32_t y, Rgba color)
{
    if (!Pixmap_Contains(pixmap, x, y))
    {
        return;
    }
    uint8_t *p = &pixmap.pixels[_Offset(pixmap, x, y)];
    p[0] = color.r;
    p[1] = color.g;
    p[2] = color.b;
    p[3] = color.a;
}

void Pixmap_Blend(Pixmap &pixmap, int32_t x, int32_t y, Rgba color)
{
    if (color.a == 0 || !Pixmap_Contains(pixmap, x, y))
    {
        return;
    }
    Rgba below = Pixmap_Get(pixmap, x, y);
    float sa = color.a / 255.0f;
    float da = below.a / 255.0f;
    float outA = sa + da * (1.0f - sa);
    auto channel = [&](uint8_t s, uint8_t d)
    { return _ClampByte((s * sa + d * da * (1.0f - sa)) / outA); };
    Pixmap_Set(pixmap, x, y,
               Rgba{channel(color.r, below.r), channel(color.g, below.g), channel(color.b, below.b),
                    _ClampByte(outA * 255.0f)});
}

void Pixmap_Add(Pixmap &pixmap, int32_t x, int32_t y, Rgba color)
{
    if (!Pixmap_Contains(pixmap, x, y))
    {
        return;
    }
    Rgba below = Pixmap_Get(pixmap, x, y);
    auto sum = [](uint8_t a, uint8_t b) { return static_cast<uint8_t>(std::min(255, a + b)); };
    Pixmap_Set(pixmap, x, y,
               Rgba{sum(below.r, color.r), sum(below.g, color.g), sum(below.b, color.b),
                    std::max(below.a, color.a)});
}

void Pixmap_FillRect(Pixmap &pixmap, int32_t x, int32_t y, int32_t width, int32_t height,
                     Rgba color)
{
    for (int32_t row = y; row < y + height; row++)
    {
        for (int32_t column = x; column < x + width; column++)
        {
            Pixmap_Set(pixmap, column, row, color);
        }
    }
}

void Pixmap_Copy(Pixmap &target, const Pixmap &source, int32_t x, int32_t y)
{
    for (int32_t row = 0; row < source.height; row++)
    {
        for (int32_t column = 0; column < source.width; column++)
        {
            Pixmap_Set(target, x + column, y + row, Pixmap_Get(source, column, row));
        }
    }
}

void Pixmap_Over(Pixmap &target, const Pixmap &source, int32_t x, int32_t y)
{
    for (int32_t row = 0; row < source.height; row++)
    {
        for (int32_t column = 0; column < source.width; column++)
        {
            Pixmap_Blend(target, x + column, y + row, Pixmap_Get(source, column, row));
        }
    }
}

Pixmap Pixmap_Crop(const Pixmap &source, int32_t x, int32_t y, int32_t width, int32_t height)
{
    Pixmap result = Pixmap_Make(width, height);
    for (int32_t row = 0; row < height; row++)
    {
        for (int32_t column = 0; column < width; column++)
        {
            Pixmap_Set(result, column, row, Pixmap_Get(source, x + column, y + row));
        }
    }
    return result;
}

Pixmap Pixmap_MirrorX(const Pixmap &source)
{
    Pixmap result = Pixmap_Make(source.width, source.height);
    for (int32_t row = 0; row < source.height; row++)
    {
        for (int32_t column = 0; column < source.width; column++)
        {
            Pixmap_Set(result, source.width - 1 - column, row, Pixmap_Get(source, column, row));
        }
    }
    return result;
}

Pixmap Pixmap_ScaleUp(const Pixmap &source, int32_t factor)
{
    Pixmap result = Pixmap_Make(source.width * factor, source.height * factor);
    for (int32_t row = 0; row < result.height; row++)
    {
        for (int32_t column = 0; column < result.width; column++)
        {
            Pixmap_Set(result, column, row, Pixmap_Get(source, column / factor, row / factor));
        }
    }
    return result;
}

Pixmap Pixmap_ScaleDown(const Pixmap &source, int32_t factor)
{
    Pixmap result = Pixmap_Make(source.width / factor, source.height / factor);
    float count = static_cast<float>(factor * factor);
    for (int32_t row = 0; row < result.height; row++)
    {
        for (int32_t column = 0; column < result.width; column++)
        {
            float r = 0, g = 0, b = 0, a = 0;
            for (int32_t dy = 0; dy < factor; dy++)
            {
                for (int32_t dx = 0; dx < factor; dx++)
                {
                    Rgba p = Pixmap_Get(source, column * factor + dx, row * factor + dy);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            }
            if (a > 0)
            {
                Pixmap_Set(result, column, row,
                           Rgba{_ClampByte(r / a), _ClampByte(g / a), _ClampByte(b / a),
                                _ClampByte(a / count)});
            }
        }
    }
    return result;
}

Palette Palette_Make(std::initializer_list<PaletteEntry> entries)
{
    Palette palette;
    std::memset(&palette, 0, sizeof palette);
    for (const PaletteEntry &entry : entries)
    {
        Rgba color = Rgba_Hex(entry.rgb);
        color.a = entry.alpha;
        palette.colors[static_cast<uint8_t>(entry.key) & 127] = color;
    }
    return palette;
}

static Rgba _Lookup(const Palette &palette, char key)
{
    return palette.colors[static_cast<uint8_t>(key) & 127];
}

Pixmap Pixmap_FromArt(std::initializer_list<const char *> rows, const Palette &palette)
{
    return Pixmap_FromArt(std::span<const char *const>(rows.begin(), rows.size()), palette);
}

Pixmap Pixmap_FromArt(std::span<const char *const> rows, const Palette &palette)
{
    int32_t width = 0;
    for (const char *row : rows)
    {
        width = std::max(width, static_cast<int32_t>(std::strlen(row)));
    }
    Pixmap pixmap = Pixmap_Make(width, static_cast<int32_t>(rows.size()));
    int32_t y = 0;
    for (const char *row : rows)
    {
        for (int32_t x = 0; row[x] != '\0'; x++)
        {
            Pixmap_Set(pixmap, x, y, _Lookup(palette, row[x]));
        }
        y++;
    }
    return pixmap;
}

Pixmap Pixmap_FromHalfArt(std::span<const char *const> rows, const Palette &palette)
{
    Pixmap half = Pixmap_FromArt(rows, palette);
    Pixmap whole = Pixmap_Make(half.width * 2, half.height);
    Pixmap_Copy(whole, half, 0, 0);
    Pixmap_Copy(whole, Pixmap_MirrorX(half), half.width, 0);
    return whole;
}

void Pixmap_ClearTransparent(Pixmap &pixmap)
{
    for (size_t i = 0; i < pixmap.pixels.size(); i += 4)
    {
        if (pixmap.pixels[i + 3] == 0)
        {
            pixmap.pixels[i] = pixmap.pixels[i + 1] = pixmap.pixels[i + 2] = 0;
        }
    }
}
