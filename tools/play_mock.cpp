// play_mock: level 1 in full swing: the formation, the player's ship with its shield, shots
// both ways, an enemy blowing up, the display's icons and the boss of level 5 for scale.
#include "tools/play_mock.h"

#include "resources/sheet_layout.h"
#include "tools/background_art.h"
#include "tools/misc_art.h"
#include "tools/projectile_art.h"
#include "tools/ship_art.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t kScreenWidth = 1024;
constexpr int32_t kScreenHeight = 768;

enum class Blend
{
    Replace,       // source one, destination zero
    Premultiplied, // source one, destination one minus source alpha
    Additive,      // source alpha, destination one
};

// A rectangle of a sheet, in pixels; a flipped one is drawn upside down or mirrored.
struct Picture
{
    const Pixmap *sheet;
    int32_t x, y, width, height;
    bool flipX, flipY;
};
} // namespace

static Picture _At(const Pixmap &sheet, SheetRect rect, bool flipX = false, bool flipY = false)
{
    return {&sheet, rect.x0, rect.y0, rect.x1 - rect.x0, rect.y1 - rect.y0, flipX, flipY};
}

static uint8_t _Channel(float value)
{
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

static void _Composite(Pixmap &screen, int32_t x, int32_t y, Rgba source, Blend blend)
{
    Rgba below = Pixmap_Get(screen, x, y);
    float alpha = source.a / 255.0f;
    auto mix = [&](uint8_t s, uint8_t d)
    {
        switch (blend)
        {
        case Blend::Replace:
            return s;
        case Blend::Premultiplied:
            return _Channel(s + d * (1.0f - alpha));
        default:
            return _Channel(s * alpha + d);
        }
    };
    Pixmap_Set(screen, x, y,
               Rgba{mix(source.r, below.r), mix(source.g, below.g), mix(source.b, below.b), 255});
}

// Draws a picture over a rectangle given in drawing units (x and y from -1 to 1, y up), as
// the game does: lower-left corner and size.
static void _Draw(Pixmap &screen, const Picture &picture, float left, float bottom, float width,
                  float height, Blend blend)
{
    int32_t x0 = static_cast<int32_t>(std::lround((left + 1.0f) * kScreenWidth / 2.0f));
    int32_t x1 = static_cast<int32_t>(std::lround((left + width + 1.0f) * kScreenWidth / 2.0f));
    int32_t y0 = static_cast<int32_t>(std::lround((1.0f - bottom - height) * kScreenHeight / 2.0f));
    int32_t y1 = static_cast<int32_t>(std::lround((1.0f - bottom) * kScreenHeight / 2.0f));
    for (int32_t y = std::max(y0, 0); y < std::min(y1, kScreenHeight); y++)
    {
        for (int32_t x = std::max(x0, 0); x < std::min(x1, kScreenWidth); x++)
        {
            int32_t u = (x - x0) * picture.width / (x1 - x0);
            int32_t v = (y - y0) * picture.height / (y1 - y0);
            u = picture.flipX ? picture.width - 1 - u : u;
            v = picture.flipY ? picture.height - 1 - v : v;
            _Composite(screen, x, y, Pixmap_Get(*picture.sheet, picture.x + u, picture.y + v),
                       blend);
        }
    }
}

// A sprite centred on (x, y) with the given size.
static void _DrawCentred(Pixmap &screen, const Picture &picture, float x, float y, float width,
                         float height, Blend blend)
{
    _Draw(screen, picture, x - width / 2.0f, y - height / 2.0f, width, height, blend);
}

Pixmap PlayMock_Draw(void)
{
    const Pixmap background = BackgroundArt_DrawSheet();
    const Pixmap ships = ShipArt_DrawSheet();
    const Pixmap projectiles = ProjectileArt_DrawSheet();
    const Pixmap misc = MiscArt_DrawSheet();
    Pixmap screen = Pixmap_Make(kScreenWidth, kScreenHeight);

    // The 2 x 4 background, scrolled a little, two copies stacked.
    const Picture sky = _At(background, LAYOUT_BACKGROUND);
    _Draw(screen, sky, -1.0f, -1.0f - 1.3f, 2.0f, 4.0f, Blend::Replace);
    _Draw(screen, sky, -1.0f, -1.0f - 1.3f + 4.0f, 2.0f, 4.0f, Blend::Replace);

    // Level 1's formation (ship 1), with one ship exploding and one firing.
    const Picture enemy = _At(ships, SheetLayout_Enemy(1));
    const Picture burst = _At(misc, LAYOUT_ENEMY_EXPLOSION[0]);
    for (int32_t i = 0; i < 10; i++)
    {
        float x = static_cast<float>(i % 5 - 2) * 0.25f,
              y = static_cast<float>(i % 2) * 0.25f + 0.35f;
        if (i == 6)
        {
            _DrawCentred(screen, burst, x, y, 0.25f, 0.25f, Blend::Additive);
            continue;
        }
        _DrawCentred(screen, enemy, x, y, 0.15f, 0.15f, Blend::Premultiplied);
    }
    const Picture enemyShot = _At(projectiles, SheetLayout_Bullet(0), false, true);
    _DrawCentred(screen, enemyShot, 0.25f, 0.2f, 8.0f / 48.0f, 8.0f / 40.0f, Blend::Premultiplied);
    _DrawCentred(screen, enemyShot, -0.5f, -0.3f, 8.0f / 48.0f, 8.0f / 40.0f, Blend::Premultiplied);

    // The level 5 boss, for its size next to the formation.
    const Picture boss = _At(ships, SheetLayout_Boss(0));
    _DrawCentred(screen, boss, 0.7f, 0.8f, 0.3f, 0.3f, Blend::Premultiplied);

    // The player's ship banking left, its shield and its shot; a straight ship beside it.
    const Picture banked = _At(ships, SheetLayout_PlayerLeft(0));
    const Picture straight = _At(ships, SheetLayout_Player(0));
    const Picture shield = _At(misc, LAYOUT_SHIELD);
    const Picture playerShot = _At(projectiles, SheetLayout_Bullet(1));
    _DrawCentred(screen, banked, -0.1f, -0.75f, 0.1f, 0.15f, Blend::Premultiplied);
    _DrawCentred(screen, shield, -0.1f, -0.75f, 0.3f, 0.3f, Blend::Additive);
    _DrawCentred(screen, playerShot, -0.09f, -0.35f, 8.0f / 48.0f, 8.0f / 40.0f,
                 Blend::Premultiplied);
    _DrawCentred(screen, straight, 0.4f, -0.75f, 0.15f, 0.15f, Blend::Premultiplied);

    // The display: three lives (the icon mirrored) and two shields along the bottom left.
    const Picture life = _At(misc, LAYOUT_LIFE_ICON, true);
    const Picture shieldIcon = _At(misc, LAYOUT_SHIELD_ICON);
    for (int32_t i = 0; i < 5; i++)
    {
        _Draw(screen, i < 3 ? life : shieldIcon, static_cast<float>(i) * 0.1f - 0.97f, -0.95f,
              0.075f, 0.1f, Blend::Premultiplied);
    }
    return screen;
}
