// misc_art: explosions as one seeded ragged fireball seen at three moments, a shield bubble
// lit from the upper left, and the two icons.
#include "tools/misc_art.h"

#include "tools/prng.h"
#include "tools/ship_art.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// Colours of a fireball from its centre outwards.
struct FireColors
{
    uint32_t core, inner, outer, rim;
};

constexpr FireColors kEnemyFire = {0xfffbe0, 0xffd040, 0xff7a1a, 0xb0201a};
constexpr FireColors kPlayerFire = {0xffffff, 0xa8f0ff, 0xffa040, 0xc02a60};

// One moment of a burst: how far it has spread and how much of it still burns.
struct BurstMoment
{
    float radius; // in pixels
    float heat;   // 1 a white-hot ball, 0 only embers and smoke
};

constexpr float kPi = 3.14159265f;
} // namespace

// The same lobes for every frame of a burst, so that its frames read as one fireball.
static float _LobeRadius(float angle, uint64_t seed)
{
    Prng prng = Prng_Make(seed);
    float wobble = 0.0f;
    for (int32_t lobe = 2; lobe <= 5; lobe++)
    {
        float phase = Prng_Unit(prng) * 2.0f * kPi;
        wobble += std::sin(angle * static_cast<float>(lobe) + phase) / static_cast<float>(lobe);
    }
    return 1.0f + 0.22f * wobble;
}

static Rgba _FireColor(const FireColors &fire, float depth, float heat)
{
    // depth 0 at the centre, 1 at the ragged edge; cooler moments shift every colour outward.
    float t = std::clamp(depth + (1.0f - heat) * 0.6f, 0.0f, 1.0f);
    Rgba color;
    if (t < 0.3f)
    {
        color = Rgba_Mix(Rgba_Hex(fire.core), Rgba_Hex(fire.inner), t / 0.3f);
    }
    else if (t < 0.65f)
    {
        color = Rgba_Mix(Rgba_Hex(fire.inner), Rgba_Hex(fire.outer), (t - 0.3f) / 0.35f);
    }
    else
    {
        color = Rgba_Mix(Rgba_Hex(fire.outer), Rgba_Hex(fire.rim), (t - 0.65f) / 0.35f);
    }
    color.a = static_cast<uint8_t>(std::lround(255.0f * std::clamp(1.2f - t * 0.7f, 0.0f, 1.0f)));
    return color;
}

static void _DrawBurst(Pixmap &sheet, int32_t x0, int32_t y0, int32_t width, const FireColors &fire,
                       BurstMoment moment, uint64_t seed)
{
    const float centerX = width / 2.0f, centerY = 4.0f;
    // Cool embers break up: a fixed pattern of holes opens as the heat goes.
    Prng holes = Prng_Make(seed ^ 0xE3B3u);
    for (int32_t y = 0; y < 8; y++)
    {
        for (int32_t x = 0; x < width; x++)
        {
            float dx = x + 0.5f - centerX, dy = y + 0.5f - centerY;
            float distance = std::sqrt(dx * dx + dy * dy);
            float edge = moment.radius * _LobeRadius(std::atan2(dy, dx), seed);
            bool hole = Prng_Unit(holes) > 0.35f + moment.heat;
            if (distance > edge || hole)
            {
                continue;
            }
            Pixmap_Set(sheet, x0 + x, y0 + y, _FireColor(fire, distance / edge, moment.heat));
        }
    }
}

static void _DrawSparks(Pixmap &sheet, int32_t x0, int32_t y0, int32_t width, uint32_t rgb,
                        float reach, uint64_t seed)
{
    Prng prng = Prng_Make(seed);
    for (int32_t spark = 0; spark < 4; spark++)
    {
        float angle = (static_cast<float>(spark) + Prng_Unit(prng) * 0.6f) * kPi / 2.0f;
        int32_t x = static_cast<int32_t>(std::floor(width / 2.0f + std::cos(angle) * reach));
        int32_t y = static_cast<int32_t>(std::floor(4.0f + std::sin(angle) * reach));
        if (x >= 0 && x < width && y >= 0 && y < 8 && Pixmap_Get(sheet, x0 + x, y0 + y).a == 0)
        {
            Rgba color = Rgba_Hex(rgb);
            color.a = 200;
            Pixmap_Set(sheet, x0 + x, y0 + y, color);
        }
    }
}

static void _DrawExplosions(Pixmap &sheet)
{
    // Enemy: big, medium and small, all 8 x 8.
    const uint64_t enemySeed = 0xB00Bu;
    _DrawBurst(sheet, 48, 48, 8, kEnemyFire, {3.7f, 0.9f}, enemySeed);
    _DrawSparks(sheet, 48, 48, 8, kEnemyFire.inner, 3.6f, enemySeed);
    _DrawBurst(sheet, 56, 48, 8, kEnemyFire, {2.6f, 1.0f}, enemySeed);
    _DrawBurst(sheet, 64, 48, 8, kEnemyFire, {3.3f, 0.25f}, enemySeed);
    // Player (and boss): big and medium 8 x 8, small 6 x 8.
    const uint64_t playerSeed = 0xFA11u;
    _DrawBurst(sheet, 80, 48, 8, kPlayerFire, {3.8f, 0.9f}, playerSeed);
    _DrawSparks(sheet, 80, 48, 8, kPlayerFire.inner, 3.6f, playerSeed);
    _DrawBurst(sheet, 88, 48, 8, kPlayerFire, {2.7f, 1.0f}, playerSeed);
    _DrawBurst(sheet, 97, 48, 6, kPlayerFire, {2.8f, 0.25f}, playerSeed);
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
            float dx = x + 0.5f - 8.0f, dy = y + 0.5f - 8.0f;
            float distance = std::sqrt(dx * dx + dy * dy);
            if (distance > radius)
            {
                continue;
            }
            float edge = distance / radius;
            Rgba color = Rgba_Hex(0x58b8ff);
            color.a = static_cast<uint8_t>(36 + std::lround(110.0f * edge * edge * edge));
            if (distance > radius - 1.1f)
            {
                color = Rgba_Hex(0xa0f0ff);
                color.a = 210;
            }
            float angle = std::atan2(dy, dx) * 180.0f / kPi;
            bool glint = distance > 4.2f && distance < 5.6f && angle > -160.0f && angle < -110.0f;
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
    return Pixmap_FromArt({"oooooooo", "ohllllmo", "olaaaamo", "olaaaamo", "olmaamdo", ".omaado.",
                           "..oddo..", "...oo..."},
                          palette);
}

Pixmap MiscArt_DrawSheet(void)
{
    Pixmap sheet = Pixmap_Make(104, 56);
    // The display draws the life icon mirrored; the ship is symmetric, so it looks the same.
    Pixmap_Copy(sheet, ShipArt_PlayerShip(0), 16, 0);
    Pixmap_Copy(sheet, _ShieldIcon(), 24, 0);
    _DrawShield(sheet, 88, 32);
    _DrawExplosions(sheet);
    Pixmap_ClearTransparent(sheet);
    return sheet;
}
