// bullet: movement happens only when drawn, so collision tests later in the frame see the
// new position.
#include "game/bullet.h"

#include "foundation/allocator.h"
#include "foundation/color.h"
#include "foundation/logging.h"
#include "game/sprite.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"

struct Bullet
{
    Sprite *sprite;
};

Bullet *Bullet_Create(int16_t id, const char *name)
{
    Bullet *bullet = MEMORY_ALLOCATE_RECORD(Bullet);
    bullet->sprite = Sprite_Create(id, name);
    Sprite_SetSize(bullet->sprite, Vector2_Static(0.2f, 0.2f));
    Sprite_SetCollisionSize(bullet->sprite, Vector2_Static(0.015f, 0.015f));
    return bullet;
}

void Bullet_Destroy(void *pointer)
{
    Bullet *bullet = static_cast<Bullet *>(pointer);
    LOG_DEBUG("DESTROY BULLET");
    Sprite_Destroy(bullet->sprite);
    MEMORY_FREE(bullet);
}

Sprite *Bullet_GetSprite(Bullet *bullet)
{
    return bullet->sprite;
}

void Bullet_Render(Bullet *bullet)
{
    const Vector2 position =
        Vector2_Add(Sprite_GetPosition(bullet->sprite), Sprite_GetMovement(bullet->sprite));
    SubTexture *subTexture = Sprite_GetSubTexture(bullet->sprite);
    // Without a picture the graphics layer reports it and draws a plain rectangle instead.
    const Vector2 drawnSize =
        subTexture != nullptr ? SubTexture_GetSize(subTexture) : Sprite_GetSize(bullet->sprite);
    Graphics_SetBlendFactors(1, 7);
    Sprite_SetPosition(bullet->sprite, position);
    LOG_DEBUG("DRAW BULLET");
    Graphics_SetPosition(Vector2_Subtract(position, Vector2_Divide(drawnSize, 2.0f)));
    const Color black = Color_Static(0.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&black);
    Graphics_DrawTexturedRectangle(drawnSize, subTexture);
}
