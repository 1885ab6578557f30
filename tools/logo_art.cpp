// logo_art: a round badge of brindle-striped fur with a big B, and the name BRINDLE under it,
// lettered with our own glyphs.
#include "tools/logo_art.h"

#include "tools/glyph_art.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr int32_t kGrid = 256;
constexpr int32_t kScale = 4;
constexpr float kBadgeX = 128.0f, kBadgeY = 96.0f, kBadgeRadius = 60.0f;

const Rgba kInk = Rgba_Hex(0x1a0e08);
const Rgba kCream = Rgba_Hex(0xfff0d0);
const Rgba kGold = Rgba_Hex(0xe8a848);
const Rgba kGoldLight = Rgba_Hex(0xffe098);
const Rgba kGoldDark = Rgba_Hex(0x8a5420);
const Rgba kFur = Rgba_Hex(0xb86c2a);
const Rgba kStripe = Rgba_Hex(0x3a1c0c);
} // namespace

// Thin wavy streaks running from top to bottom, the brindle pattern.
static bool _Streak(float x, float y)
{
    float across = x * 0.26f + 0.08f * y;
    float wave = 1.8f * std::sin(y * 0.09f + 1.5f * std::sin(x * 0.05f));
    return std::sin(across + wave) > 0.55f;
}

static void _DrawBadge(Pixmap &grid)
{
    for (int32_t y = 0; y < kGrid; y++)
    {
        for (int32_t x = 0; x < kGrid; x++)
        {
            float dx = static_cast<float>(x) + 0.5f - kBadgeX,
                  dy = static_cast<float>(y) + 0.5f - kBadgeY;
            float distance = std::sqrt(dx * dx + dy * dy);
            if (distance > kBadgeRadius)
            {
                continue;
            }
            // The rim is lit from the upper left: light there, dark on the opposite side.
            float light = -(dx + dy) / (distance + 0.001f) * 0.7071f;
            // Ink on the outer rim and on a thin ring just inside the gold band.
            const bool ink = distance > kBadgeRadius - 2.5f ||
                             (distance <= kBadgeRadius - 9.0f && distance > kBadgeRadius - 11.0f);
            Rgba color;
            if (ink)
            {
                color = kInk;
            }
            else if (distance > kBadgeRadius - 9.0f)
            {
                color = light > 0.55f ? kGoldLight : (light < -0.55f ? kGoldDark : kGold);
            }
            else
            {
                color = _Streak(static_cast<float>(x), static_cast<float>(y)) ? kStripe : kFur;
            }
            Pixmap_Set(grid, x, y, color);
        }
    }
}

// A glyph enlarged `scale` times, filled by a vertical ramp, with a one-cell ink outline and
// a drop shadow to the lower right.
static void _DrawLetter(Pixmap &grid, char key, int32_t left, int32_t top, int32_t scale,
                        Rgba upper, Rgba lower)
{
    Glyph glyph{};
    if (!GlyphArt_Glyph(key, glyph))
    {
        return;
    }
    auto inside = [&](int32_t x, int32_t y)
    {
        if (x < 0 || y < 0 || x >= 8 * scale || y >= 8 * scale)
        {
            return false;
        }
        return ((glyph.rows[static_cast<size_t>(y / scale)] >> (7 - x / scale)) & 1) != 0;
    };
    const int32_t shadow = std::max(1, scale / 4);
    for (int32_t y = -2; y < 8 * scale + shadow + 2; y++)
    {
        for (int32_t x = -2; x < 8 * scale + shadow + 2; x++)
        {
            bool near = false;
            for (int32_t oy = -1; oy <= 1; oy++)
            {
                for (int32_t ox = -1; ox <= 1; ox++)
                {
                    near =
                        near || inside(x + ox, y + oy) || inside(x + ox - shadow, y + oy - shadow);
                }
            }
            if (inside(x, y))
            {
                float t = static_cast<float>(y) / static_cast<float>(7 * scale);
                Pixmap_Set(grid, left + x, top + y, Rgba_Mix(upper, lower, std::min(t, 1.0f)));
            }
            else if (near)
            {
                Pixmap_Set(grid, left + x, top + y, kInk);
            }
        }
    }
}

static void _DrawText(Pixmap &grid, const char *text, int32_t centerX, int32_t top, int32_t scale,
                      Rgba upper, Rgba lower)
{
    // Emboldened glyphs are inked from their second to their seventh column, so the cells'
    // middle is also the middle of the ink.
    int32_t width = static_cast<int32_t>(std::strlen(text)) * 8 * scale;
    int32_t left = centerX - width / 2;
    for (size_t i = 0; text[i] != '\0'; i++)
    {
        _DrawLetter(grid, text[i], left + static_cast<int32_t>(i) * 8 * scale, top, scale, upper,
                    lower);
    }
}

static void _DrawTwinkle(Pixmap &grid, int32_t x, int32_t y, int32_t arm)
{
    for (int32_t i = -arm; i <= arm; i++)
    {
        Rgba color = std::abs(i) <= arm / 3 ? kCream : kGold;
        Pixmap_Set(grid, x + i, y, color);
        Pixmap_Set(grid, x, y + i, color);
    }
}

Pixmap LogoArt_Draw(void)
{
    Pixmap grid = Pixmap_Make(kGrid, kGrid);
    _DrawBadge(grid);
    // The monogram: a B ten times its size, centred on the badge.
    _DrawText(grid, "B", static_cast<int32_t>(kBadgeX), static_cast<int32_t>(kBadgeY) - 36, 10,
              kCream, kGoldLight);
    _DrawText(grid, "BRINDLE", 128, 164, 4, kCream, kGold);
    _DrawText(grid, "GAMES", 128, 200, 2, kGold, kGoldDark);
    _DrawTwinkle(grid, 52, 52, 6);
    _DrawTwinkle(grid, 206, 134, 4);
    _DrawTwinkle(grid, 196, 44, 3);
    Pixmap_ClearTransparent(grid);
    return Pixmap_ScaleUp(grid, kScale);
}
