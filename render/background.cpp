// background: the scroll offset is one value for the whole program, so the star field carries
// on where it was when one level's background gives way to the next one's.
#include "render/background.h"

#include "foundation/allocator.h"
#include "game/sprite.h"
#include "render/graphics_win.h"

struct Background
{
    Sprite *sprite;
    double animationSpeed;
};

static float animatedBackgroundY = 0.0f;

Background *Background_Create(Vector2 size, SubTexture *subTexture)
{
    Background *background = MEMORY_ALLOCATE_RECORD(Background);
    background->sprite = Sprite_Create(1024, "background");
    Sprite_SetSize(background->sprite, size);
    Sprite_SetCollisionSize(background->sprite, size);
    Sprite_SetPosition(background->sprite, Vector2_Static(0.0f, 0.0f));
    Sprite_SetSubTexture(background->sprite, subTexture);
    background->animationSpeed = 0.0;
    return background;
}

void Background_Destroy(Background *background)
{
    Sprite_Destroy(background->sprite);
    MEMORY_FREE(background);
}

void Background_SetSubTexture(Background *background, SubTexture *subTexture)
{
    Sprite_SetSubTexture(background->sprite, subTexture);
}

void Background_SetAnimationSpeed(Background *background, double speed)
{
    background->animationSpeed = speed;
}

Vector2 Background_GetSize(Background *background)
{
    return Sprite_GetSize(background->sprite);
}

static void _DrawCopy(Sprite *sprite, float centreY)
{
    Sprite_SetPosition(sprite, Vector2_Static(0.0f, centreY));
    Sprite_Logic(sprite);
    Sprite_Render(sprite);
}

void Background_Render(Background *background)
{
    const float height = Sprite_GetSize(background->sprite).y;
    float y =
        static_cast<float>(static_cast<double>(animatedBackgroundY) + background->animationSpeed);
    if (y < -height)
    {
        y = 0.0f;
    }
    if (y > height)
    {
        y = height;
    }
    animatedBackgroundY = y;

    Graphics_SetBlendFactors(1, 0);
    _DrawCopy(background->sprite, y);
    _DrawCopy(background->sprite, y + height);
}
