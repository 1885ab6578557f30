// sprite: the sprite never applies its own movement; its hook (or its owner) does.
#include "game/sprite.h"

#include "foundation/allocator.h"
#include "foundation/color.h"
#include "foundation/mystring.h"
#include "render/graphics_win.h"

struct Sprite
{
    int16_t id;
    char *name;
    SpriteLogicFunction logicFunction;
    void *logicUserData;
    Vector2 position;
    Vector2 movement;
    Vector2 size;
    Vector2 collisionSize;
    SubTexture *subTexture;
};

static void _DefaultLogicFunction(Sprite *, void *) {}

Sprite *Sprite_Create(int16_t id, const char *name)
{
    Sprite *sprite = MEMORY_ALLOCATE_RECORD(Sprite);
    sprite->id = id;
    sprite->name = String_CStrCopy(name);
    sprite->logicFunction = _DefaultLogicFunction;
    sprite->logicUserData = nullptr;
    sprite->position = Vector2_Static(0.0f, 0.0f);
    sprite->movement = Vector2_Static(0.0f, 0.0f);
    sprite->size = Vector2_Static(0.1f, 0.075f);
    sprite->collisionSize = Vector2_Static(0.1f, 0.075f);
    sprite->subTexture = nullptr;
    return sprite;
}

void Sprite_Destroy(Sprite *sprite)
{
    String_CStrFree(sprite->name);
    MEMORY_FREE(sprite);
}

void Sprite_SetLogicFunction(Sprite *sprite, SpriteLogicFunction function, void *userData)
{
    sprite->logicFunction = function;
    sprite->logicUserData = userData;
}

void Sprite_SetPosition(Sprite *sprite, Vector2 position)
{
    sprite->position = position;
}

Vector2 Sprite_GetPosition(Sprite *sprite)
{
    return sprite->position;
}

void Sprite_SetMovement(Sprite *sprite, Vector2 movement)
{
    sprite->movement = movement;
}

Vector2 Sprite_GetMovement(Sprite *sprite)
{
    return sprite->movement;
}

void Sprite_SetSize(Sprite *sprite, Vector2 size)
{
    sprite->size = size;
}

Vector2 Sprite_GetSize(Sprite *sprite)
{
    return sprite->size;
}

void Sprite_SetCollisionSize(Sprite *sprite, Vector2 collisionSize)
{
    sprite->collisionSize = collisionSize;
}

Vector2 Sprite_GetCollisionSize(Sprite *sprite)
{
    return sprite->collisionSize;
}

void Sprite_SetSubTexture(Sprite *sprite, SubTexture *subTexture)
{
    sprite->subTexture = subTexture;
}

SubTexture *Sprite_GetSubTexture(Sprite *sprite)
{
    return sprite->subTexture;
}

const char *Sprite_GetName(Sprite *sprite)
{
    return sprite->name;
}

void Sprite_Logic(Sprite *sprite)
{
    sprite->logicFunction(sprite, sprite->logicUserData);
    const Vector2 extent = sprite->subTexture != nullptr ? sprite->size : sprite->collisionSize;
    Graphics_SetPosition(Vector2_Subtract(sprite->position, Vector2_Divide(extent, 2.0f)));
}

void Sprite_Render(Sprite *sprite)
{
    const Color black = Color_Static(0.0f, 0.0f, 0.0f, 1.0f);
    Graphics_SetColor(&black);
    if (sprite->subTexture != nullptr)
    {
        Graphics_DrawTexturedRectangle(sprite->size, sprite->subTexture);
    }
    else
    {
        Graphics_DrawRectangle(sprite->collisionSize);
    }
}
