// hud: its icons are cut on the first render, when the graphics context exists, from the
// shared catalogue (asked for then, so it never depends on when the graphics module first
// made it). A catalogue of its own would hold every picture, the 1 MB-pixel logo among
// them, a second time.
#include "game/hud.h"

#include "foundation/allocator.h"
#include "foundation/mystring.h"
#include "render/graphics_win.h"
#include "resources/asset.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"

#include <cinttypes>

struct Hud
{
    Asset *asset; // the shared catalogue, once the icons are cut; not owned
    SubTexture *lifeIcon;
    SubTexture *shieldIcon;
    int32_t lifes;
    int32_t shields;
    int32_t level;
    int32_t score;
    int32_t bonus;
    int32_t bulletBonus;
};

static constexpr float ICON_Y = -0.95f;
static constexpr double ICON_STEP = 0.1;
static constexpr double ICON_LEFT = -0.97;

Hud *Hud_Create(void)
{
    return MEMORY_ALLOCATE_RECORD(Hud);
}

void Hud_Destroy(Hud *hud)
{
    if (hud->asset != nullptr)
    {
        SubTexture_Destroy(hud->lifeIcon);
        SubTexture_Destroy(hud->shieldIcon);
    }
    MEMORY_FREE(hud);
}

void Hud_SetLifes(Hud *hud, int32_t value)
{
    hud->lifes = value;
}
void Hud_SetShields(Hud *hud, int32_t value)
{
    hud->shields = value;
}
void Hud_SetLevel(Hud *hud, int32_t value)
{
    hud->level = value;
}
void Hud_SetScore(Hud *hud, int32_t value)
{
    hud->score = value;
}
void Hud_SetBonus(Hud *hud, int32_t value)
{
    hud->bonus = value;
}
void Hud_SetBulletBonus(Hud *hud, int32_t value)
{
    hud->bulletBonus = value;
}
int32_t Hud_GetLifes(Hud *hud)
{
    return hud->lifes;
}
int32_t Hud_GetShields(Hud *hud)
{
    return hud->shields;
}
int32_t Hud_GetLevel(Hud *hud)
{
    return hud->level;
}
int32_t Hud_GetScore(Hud *hud)
{
    return hud->score;
}
int32_t Hud_GetBonus(Hud *hud)
{
    return hud->bonus;
}
int32_t Hud_GetBulletBonus(Hud *hud)
{
    return hud->bulletBonus;
}
void Hud_AddScore(Hud *hud, int32_t value)
{
    hud->score += value;
}
void Hud_IncLevel(Hud *hud)
{
    hud->level++;
}

static void _LoadIcons(Hud *hud)
{
    hud->asset = Graphics_GetAsset();
    Texture *texture = Asset_GetMiscellaneousTexture(hud->asset);
    // The life icon's corners are swapped in x: the cell is drawn mirrored.
    hud->lifeIcon = SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, 24, 0),
                                      Texture_CalculatePixelPosition(texture, 16, 8));
    hud->shieldIcon = SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, 24, 0),
                                        Texture_CalculatePixelPosition(texture, 32, 8));
}

static void _DrawIcons(SubTexture *icon, int32_t first, int32_t count)
{
    for (int32_t i = 0; i < count; i++)
    {
        Graphics_SetBlendFactors(1, 7);
        Graphics_SetPosition(
            Vector2_Static(static_cast<float>((first + i) * ICON_STEP + ICON_LEFT), ICON_Y));
        Graphics_DrawTexturedRectangle(Vector2_Static(0.075f, 0.1f), icon);
    }
}

static void _DrawText(String *text, Vector2 position, float size, int32_t alignment)
{
    Graphics_SetBlendFactors(1, 3);
    Graphics_SetPosition(position);
    Graphics_DrawMessage(text, size, alignment);
    String_Destroy(text);
}

void Hud_Render(Hud *hud)
{
    if (hud->asset == nullptr)
    {
        _LoadIcons(hud);
    }
    _DrawIcons(hud->lifeIcon, 0, hud->lifes);
    _DrawIcons(hud->shieldIcon, hud->lifes, hud->shields);
    _DrawText(String_Format("Level: %d", hud->level), Vector2_Static(-0.24f, 0.92f), 0.06f, 0);
    if (hud->bonus != 0)
    {
        _DrawText(String_Format("Bonus: %" PRId64, static_cast<int64_t>(hud->bonus)),
                  Vector2_Static(-0.24f, 0.8f), 0.06f, 0);
    }
    _DrawText(String_Format("Score: %" PRId64,
                            static_cast<int64_t>(hud->score) + static_cast<int64_t>(hud->bonus)),
              Vector2_Static(0.94f, -0.95f), 0.09f, 2);
    if (debugInteger != 0 || debugString != nullptr)
    {
        _DrawText(String_Format("Debug: %d %s", debugInteger,
                                debugString != nullptr ? debugString : "(null)"),
                  Vector2_Static(-0.95f, 0.8f), 0.09f, 0);
    }
}
