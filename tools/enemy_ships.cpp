// enemy_ships: thirty-six enemy ships, one per level, from a seeded symmetric generator.
//
// A ship is grown on the left half of an 8 x 8 cell and mirrored. A template per body type
// (fighter, saucer, crab, beetle, stinger, moth) says which cells may hold hull; a seeded draw
// fills the optional ones, and the result is kept only when it looks like a ship (one piece,
// a spine down the middle, wide and tall enough, and with its outline unlike every ship
// before it). The hull is then shaded from its own outline, lit from above, and given eyes or a
// canopy and coloured wing tips from one of twelve hand-picked palettes. Later ships fill more
// of their template.
#include "tools/prng.h"
#include "tools/ship_art.h"

#include <array>
#include <vector>

namespace
{
constexpr int32_t kCell = 8;
constexpr int32_t kHalf = 4;

// Rows 1 to 6, columns 1 to 3 of the left half (column 3 touches the middle line):
// '0' never hull, '1' hull by chance, '2' hull most of the time, '3' always hull.
using Template = std::array<const char *, 6>;

constexpr std::array<Template, 6> kTemplates = {{
    {"112", "213", "223", "123", "013", "002"}, // fighter: wings high, nose down
    {"012", "123", "233", "233", "123", "011"}, // saucer
    {"013", "123", "223", "213", "201", "100"}, // crab: claws reach down
    {"023", "133", "233", "223", "122", "101"}, // beetle
    {"211", "223", "123", "023", "013", "003"}, // stinger
    {"221", "323", "213", "113", "012", "001"}, // moth: broad wings
}};

struct EnemyPalette
{
    uint32_t dark, mid, light, highlight, eye, accent;
};

constexpr std::array<EnemyPalette, 12> kPalettes = {{
    {0x6e1a2a, 0xb8283c, 0xf0604a, 0xffd0b0, 0xfff14a, 0xff9b3a}, // crimson
    {0x1f5a2a, 0x3fa040, 0x8ee05a, 0xe8ffc0, 0xff3a6a, 0xd8ff3a}, // toxic green
    {0x3a1a6a, 0x6a3ab8, 0xa070f0, 0xf0d8ff, 0x5affe0, 0xff70c0}, // royal purple
    {0x0e4a5a, 0x1a8a9a, 0x4ad0d0, 0xd0fff8, 0xffa040, 0xfff07a}, // teal
    {0x7a3a0a, 0xc87010, 0xf8b038, 0xfff0b0, 0x40e0ff, 0xff4a30}, // amber
    {0x263a6a, 0x3e64b0, 0x78a8f0, 0xe0f0ff, 0xff4040, 0xc0c8d8}, // steel blue
    {0x6a1450, 0xb02a8a, 0xf060c8, 0xffd0f0, 0xa0ff50, 0xffe060}, // magenta
    {0x4a4a1a, 0x8a8a2a, 0xc8c850, 0xfcfcc0, 0xff4aa0, 0x70e0ff}, // olive
    {0x4c4448, 0x8c8088, 0xc8bcc0, 0xffffff, 0xff3030, 0xe05030}, // bone
    {0x1c4a8a, 0x3a8ad0, 0x8ad8ff, 0xffffff, 0xff60ff, 0xffe8a0}, // ice
    {0x6a2a10, 0xb04a1a, 0xf08a3a, 0xffe0b0, 0x7aff7a, 0xffd040}, // rust
    {0x0a4a3a, 0x168a5a, 0x3ad08a, 0xd0ffe0, 0xffe040, 0xffb020}, // emerald
}};

// Which cells of the whole 8 x 8 cell are hull.
using Mask = std::array<std::array<bool, kCell>, kCell>;

struct EnemyDesign
{
    Mask hull;
    bool twinEyes;
    int32_t eyeRow;
};
} // namespace

static Mask _GrowHull(const Template &shape, float fill, Prng &prng)
{
    Mask hull{};
    for (int32_t row = 0; row < 6; row++)
    {
        for (int32_t column = 0; column < 3; column++)
        {
            char kind = shape[static_cast<size_t>(row)][column];
            bool set = kind == '3' || (kind == '2' && Prng_Chance(prng, 0.85f)) ||
                       (kind == '1' && Prng_Chance(prng, fill));
            int32_t x = column + 1;
            hull[row + 1][x] = set;
            hull[row + 1][kCell - 1 - x] = set;
        }
    }
    return hull;
}

static int32_t _CountConnected(const Mask &hull, int32_t startX, int32_t startY)
{
    Mask seen{};
    std::vector<std::pair<int32_t, int32_t>> stack = {{startX, startY}};
    int32_t count = 0;
    while (!stack.empty())
    {
        auto [x, y] = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= kCell || y >= kCell || !hull[y][x] || seen[y][x])
        {
            continue;
        }
        seen[y][x] = true;
        count++;
        stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    return count;
}

// One piece, a spine of at least four cells down the middle, at least six cells wide and
// five tall, neither too sparse nor a solid block.
static bool _LooksLikeAShip(const Mask &hull)
{
    int32_t cells = 0, spine = 0, top = kCell, bottom = -1, left = kCell, firstX = 0, firstY = 0;
    for (int32_t y = 0; y < kCell; y++)
    {
        for (int32_t x = 0; x < kCell; x++)
        {
            if (!hull[y][x])
            {
                continue;
            }
            if (cells == 0)
            {
                firstX = x;
                firstY = y;
            }
            cells++;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, x);
        }
        spine += hull[y][kHalf - 1] ? 1 : 0;
    }
    return cells >= 16 && cells <= 30 && spine >= 4 && left <= 1 && bottom - top >= 4 &&
           _CountConnected(hull, firstX, firstY) == cells;
}

static bool _Hull(const Mask &hull, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < kCell && y < kCell && hull[y][x];
}

static bool _Outline(const Mask &hull, int32_t x, int32_t y)
{
    return !_Hull(hull, x, y) && (_Hull(hull, x - 1, y) || _Hull(hull, x + 1, y) ||
                                  _Hull(hull, x, y - 1) || _Hull(hull, x, y + 1));
}

// The hull with its outline: what the player sees of the ship's shape.
static Mask _Silhouette(const Mask &hull)
{
    Mask silhouette{};
    for (int32_t y = 0; y < kCell; y++)
    {
        for (int32_t x = 0; x < kCell; x++)
        {
            silhouette[y][x] = hull[y][x] || _Outline(hull, x, y);
        }
    }
    return silhouette;
}

static EnemyDesign _DesignEnemy(int32_t index, const std::vector<Mask> &earlier)
{
    const Template &shape = kTemplates[static_cast<size_t>(index) % kTemplates.size()];
    const int32_t round = index / 12;
    const float fill = 0.35f + 0.1f * static_cast<float>(round);
    EnemyDesign design{};
    // Every template yields a fitting ship within a few dozen draws; the bound only keeps a
    // bad template from hanging the build (the sheet's tests then catch the misfit).
    for (uint64_t attempt = 0; attempt < 100000; attempt++)
    {
        Prng prng = Prng_Make(0x5EED0000u + static_cast<uint64_t>(index) * 100000u + attempt);
        design = EnemyDesign{_GrowHull(shape, fill, prng), Prng_Chance(prng, 0.5f),
                             Prng_Range(prng, 2, 4)};
        bool seenBefore = false;
        for (const Mask &other : earlier)
        {
            seenBefore = seenBefore || other == _Silhouette(design.hull);
        }
        if (_LooksLikeAShip(design.hull) && !seenBefore)
        {
            break;
        }
    }
    return design;
}

static Pixmap _PaintEnemy(const EnemyDesign &design, const EnemyPalette &colors)
{
    const Mask &hull = design.hull;
    const Rgba dark = Rgba_Hex(colors.dark), mid = Rgba_Hex(colors.mid);
    const Rgba light = Rgba_Hex(colors.light), highlight = Rgba_Hex(colors.highlight);
    const Rgba outline = Rgba_Scale(dark, 0.3f);
    Pixmap ship = Pixmap_Make(kCell, kCell);
    for (int32_t y = 0; y < kCell; y++)
    {
        for (int32_t x = 0; x < kCell; x++)
        {
            if (!hull[y][x])
            {
                if (_Outline(hull, x, y))
                {
                    Pixmap_Set(ship, x, y, outline);
                }
                continue;
            }
            // Lit from above: a top edge is light, a bottom edge in shadow.
            Rgba shade = mid;
            if (!_Hull(hull, x, y - 1))
            {
                shade = light;
            }
            else if (!_Hull(hull, x, y + 1))
            {
                shade = dark;
            }
            bool outer = !_Hull(hull, x < kHalf ? x - 1 : x + 1, y);
            if (outer && y > 1 && shade.r == mid.r && shade.g == mid.g && shade.b == mid.b)
            {
                shade = Rgba_Hex(colors.accent);
            }
            Pixmap_Set(ship, x, y, shade);
        }
    }
    // A highlight on the uppermost hull next to the spine, on both sides.
    for (int32_t y = 0; y < kCell; y++)
    {
        if (hull[y][kHalf - 2] || hull[y][kHalf - 1])
        {
            int32_t x = hull[y][kHalf - 2] ? kHalf - 2 : kHalf - 1;
            Pixmap_Set(ship, x, y, highlight);
            Pixmap_Set(ship, kCell - 1 - x, y, highlight);
            break;
        }
    }
    // Eyes either side of the spine, or one canopy across it.
    int32_t eyeX = design.twinEyes ? kHalf - 2 : kHalf - 1;
    if (_Hull(hull, eyeX, design.eyeRow))
    {
        Pixmap_Set(ship, eyeX, design.eyeRow, Rgba_Hex(colors.eye));
        Pixmap_Set(ship, kCell - 1 - eyeX, design.eyeRow, Rgba_Hex(colors.eye));
    }
    return ship;
}

static const EnemyPalette &_EnemyPalette(int32_t index)
{
    // Neighbouring levels, and ships that share a body type, never share a palette.
    size_t choice = static_cast<size_t>(index % 12 + (index / 12) * 5) % kPalettes.size();
    return kPalettes[choice];
}

static std::vector<EnemyDesign> _DesignAll(void)
{
    std::vector<EnemyDesign> designs;
    std::vector<Mask> silhouettes;
    for (int32_t index = 0; index < kEnemyShipCount; index++)
    {
        designs.push_back(_DesignEnemy(index, silhouettes));
        silhouettes.push_back(_Silhouette(designs.back().hull));
    }
    return designs;
}

Pixmap ShipArt_EnemyShip(int32_t index)
{
    const std::vector<EnemyDesign> designs = _DesignAll();
    return _PaintEnemy(designs[static_cast<size_t>(index)], _EnemyPalette(index));
}

void ShipArt_DrawEnemyShips(Pixmap &sheet)
{
    const std::vector<EnemyDesign> designs = _DesignAll();
    for (int32_t index = 0; index < kEnemyShipCount; index++)
    {
        Pixmap ship = _PaintEnemy(designs[static_cast<size_t>(index)], _EnemyPalette(index));
        Pixmap_Copy(sheet, ship, SheetLayout_Enemy(index).x0, SheetLayout_Enemy(index).y0);
    }
}
