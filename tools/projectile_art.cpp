// projectile_art: bullets as tiny stencils coloured from a table of hues.
#include "tools/projectile_art.h"

#include "resources/sheet_layout.h"

#include <array>

namespace
{
struct BulletStencil
{
    int32_t x; // column of the stencil's left edge in the cell
    int32_t y; // row of its top edge
    std::array<const char *, 3> rows;
};

struct BulletHue
{
    uint32_t core;  // the hot head
    uint32_t color; // the body
};

// 'h' hot head, 'c' body, 'd' half-transparent tail, 't' faint tail. Two columns wide at
// x = 3 is exactly centred.
constexpr std::array<BulletStencil, 5> kCentredStencils = {{
    {3, 3, {"hh", "cc", "dd"}}, // bolt
    {3, 3, {"hh", "dd", ""}},   // pellet
    {3, 3, {"hh", "cc", "tt"}}, // streak
    {3, 3, {"cc", "hh", "dd"}}, // glowing slug
    {3, 3, {"hh", "hh", "cc"}}, // long lance
}};

constexpr std::array<BulletHue, 6> kHues = {{
    {0xfff4c0, 0xff6a2a}, // fire
    {0xe0ffe0, 0x40e060}, // acid
    {0xffe0ff, 0xe040e0}, // plasma
    {0xe0f8ff, 0x40a0ff}, // ion
    {0xffffd0, 0xffd020}, // spark
    {0xffe0e0, 0xff3050}, // blood
}};

// The player's shots, one per band, in the band's stripe colour. The game nudges the shots of
// bands 0 and 1 half a pixel right and that of band 3 half a pixel left, so those three
// three-pixel shapes lean the other way and land centred on the ship.
constexpr std::array<BulletStencil, 5> kPlayerStencils = {{
    {2, 3, {".h.", "chc", "d.d"}}, // band 0: dart
    {2, 3, {"h.h", "hch", ".d."}}, // band 1: fork
    {3, 3, {"hh", "cc", "dd"}},    // band 2: bolt
    {3, 3, {".h.", "hhh", "d.d"}}, // band 3: arrow
    {3, 3, {"hh", "hh", "cc"}},    // band 4: lance
}};

constexpr std::array<BulletHue, 5> kPlayerHues = {{
    {0xe8f8ff, 0x41a6f6},
    {0xf0ffe8, 0x5ad05a},
    {0xfffbe0, 0xffcd4a},
    {0xfff0e8, 0xf0504a},
    {0xf8eaff, 0xc070ff},
}};
} // namespace

static Rgba _Premultiplied(uint32_t rgb, uint8_t alpha)
{
    Rgba color = Rgba_Scale(Rgba_Hex(rgb), alpha / 255.0f);
    color.a = alpha;
    return color;
}

static void _DrawBullet(Pixmap &sheet, int32_t index, const BulletStencil &stencil,
                        const BulletHue &hue)
{
    const int32_t cellX = SheetLayout_Bullet(index).x0, cellY = SheetLayout_Bullet(index).y0;
    for (int32_t row = 0; row < 3; row++)
    {
        for (int32_t column = 0; stencil.rows[static_cast<size_t>(row)][column] != '\0'; column++)
        {
            Rgba color{0, 0, 0, 0};
            switch (stencil.rows[static_cast<size_t>(row)][column])
            {
            case 'h':
                color = _Premultiplied(hue.core, 255);
                break;
            case 'c':
                color = _Premultiplied(hue.color, 255);
                break;
            case 'd':
                color = _Premultiplied(hue.color, 150);
                break;
            case 't':
                color = _Premultiplied(hue.color, 80);
                break;
            default:
                continue;
            }
            Pixmap_Set(sheet, cellX + stencil.x + column, cellY + stencil.y + row, color);
        }
    }
}

Pixmap ProjectileArt_DrawSheet(void)
{
    Pixmap sheet = Pixmap_Make(48, 40);
    for (int32_t index = 0; index < kBulletCount; index++)
    {
        if (index >= 1 && index <= 5)
        {
            _DrawBullet(sheet, index, kPlayerStencils[static_cast<size_t>(index - 1)],
                        kPlayerHues[static_cast<size_t>(index - 1)]);
            continue;
        }
        // Five stencils and six hues: every one of the thirty pairs comes up once.
        _DrawBullet(sheet, index, kCentredStencils[static_cast<size_t>(index) % 5],
                    kHues[static_cast<size_t>(index) % 6]);
    }
    return sheet;
}
