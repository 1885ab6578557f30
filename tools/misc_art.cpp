// misc_art: explosions as one hand-drawn burst seen at three moments, a shield bubble
// lit from the upper left, and the two icons.
#include "tools/misc_art.h"

#include "resources/sheet_layout.h"
#include "tools/ship_art.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// Colours of a burst from its white-hot heart outwards, and how strongly each one shows (the
// game adds an explosion to the screen weighted by its alpha).
struct FireColors
{
    uint32_t core, hot, flame, ember, smoke;
};

constexpr FireColors kEnemyFire = {0xffffff, 0xffe060, 0xff8a20, 0xd03018, 0x7a1a1a};
constexpr FireColors kPlayerFire = {0xffffff, 0xa8f4ff, 0xffa040, 0xe03a78, 0x6a2a8a};

constexpr float kPi = 3.14159265f;
} // namespace

// The three moments of one burst: the medium frame flashes first and again as the burst
// shrinks, the big one is the fireball at its widest, the small one the embers left behind.
// 'W' core, 'Y' hot, 'O' flame, 'R' ember, 'D' smoke.
static Pixmap _BurstFrame(int32_t frame, const FireColors &fire)
{
    const Palette palette = Palette_Make({{'W', fire.core},
                                          {'Y', fire.hot},
                                          {'O', fire.flame, 235},
                                          {'R', fire.ember, 200},
                                          {'D', fire.smoke, 140}});
    switch (frame)
    {
    case 0: // big
        return Pixmap_FromArt({"R..R...D", ".ROORDR.", ".OYYOOR.", "ROYWWYOD", "DOYWWYOR",
                               ".ROOYYO.", ".RDROOR.", "D...R..R"},
                              palette);
    case 1: // medium
        return Pixmap_FromArt({"........", "..R..R..", "..ROOR..", ".ROYYOR.", ".OYWWYO.",
                               "..ROYOR.", "...R.R..", "........"},
                              palette);
    default: // small: embers drifting apart
        return Pixmap_FromArt({"D..R...D", "....D.R.", ".R.O....", "D..RO..D", "...OR.R.",
                               ".D....D.", "...R.O..", "R..D...R"},
                              palette);
    }
}

static void _DrawExplosions(Pixmap &sheet)
{
    // Enemy: big, medium and small, all 8 x 8.
    for (int32_t frame = 0; frame < 3; frame++)
    {
        const SheetRect enemy = LAYOUT_ENEMY_EXPLOSION[frame],
                        player = LAYOUT_PLAYER_EXPLOSION[frame];
        Pixmap_Copy(sheet, _BurstFrame(frame, kEnemyFire), enemy.x0, enemy.y0);
        // Player (and boss): the small frame is the embers' middle columns.
        Pixmap_Copy(sheet,
                    Pixmap_Crop(_BurstFrame(frame, kPlayerFire), (8 - (player.x1 - player.x0)) / 2,
                                0, player.x1 - player.x0, 8),
                    player.x0, player.y0);
    }
}

// A soap-bubble shield: a faint inside growing stronger toward a bright rim, and a white
// glint on the upper left.
static void _DrawShield(Pixmap &sheet, int32_t x0, int32_t y0)
{
    const float radius = 7.6f;
    for (int32_t y = 0; y < 16; y++)
    {
        for (int32_t x = 0; x < 16; x++)
        {
            float dx = static_cast<float>(x) + 0.5f - 8.0f,
                  dy = static_cast<float>(y) + 0.5f - 8.0f;
            float distance = std::sqrt(dx * dx + dy * dy);
            if (distance > radius)
            {
                continue;
            }
            float edge = distance / radius;
            Rgba color = Rgba_Hex(0x58b8ff);
            color.a = static_cast<uint8_t>(30 + std::lround(120.0f * edge * edge * edge));
            if (distance > radius - 1.1f)
            {
                color = Rgba_Hex(0xa0f0ff);
                color.a = 170;
            }
            float angle = std::atan2(dy, dx) * 180.0f / kPi;
            bool glint =
                (distance > 4.2f && distance < 5.6f && angle > -165.0f && angle < -105.0f) ||
                (x == 11 && y == 11);
            if (glint)
            {
                color = Rgba_Hex(0xffffff);
                color.a = 230;
            }
            Pixmap_Set(sheet, x0 + x, y0 + y, color);
        }
    }
}

static Pixmap _ShieldIcon(void)
{
    const Palette palette = Palette_Make({{'o', 0x0c1830},
                                          {'h', 0xffffff},
                                          {'l', 0x8ad8ff},
                                          {'m', 0x3a8ad0},
                                          {'d', 0x1c4a8a},
                                          {'a', 0xffd040}});
    return Pixmap_FromArt({"oooooooo", "ohllalmo", "olllammo", "oaaaaaao", "olmaammo", ".olaamo.",
                           "..omao..", "...oo..."},
                          palette);
}

Pixmap MiscArt_DrawSheet(void)
{
    Pixmap sheet = Pixmap_Make(104, 56);
    // The display draws the life icon mirrored; the ship is symmetric, so it looks the same.
    Pixmap_Copy(sheet, ShipArt_PlayerShip(0), LAYOUT_LIFE_ICON.x0, LAYOUT_LIFE_ICON.y0);
    Pixmap_Copy(sheet, _ShieldIcon(), LAYOUT_SHIELD_ICON.x0, LAYOUT_SHIELD_ICON.y0);
    _DrawShield(sheet, LAYOUT_SHIELD.x0, LAYOUT_SHIELD.y0);
    _DrawExplosions(sheet);
    Pixmap_ClearTransparent(sheet);
    return sheet;
}
