// collider: a linear scan; a level has at most eleven ships.
#include "game/collider.h"

#include "foundation/allocator.h"
#include "foundation/list.h"
#include "game/sprite.h"

struct Collider
{
    List *sprites;
};

Collider *Collider_Create(void)
{
    Collider *collider = MEMORY_ALLOCATE_RECORD(Collider);
    collider->sprites = List_Create(nullptr);
    return collider;
}

void Collider_Destroy(Collider *collider)
{
    List_Destroy(collider->sprites);
    MEMORY_FREE(collider);
}

void Collider_AddSprite(Collider *collider, Sprite *sprite)
{
    List_AddLast(collider->sprites, sprite);
}

void Collider_RemoveSprite(Collider *collider, Sprite *sprite)
{
    List_Remove(collider->sprites, sprite);
}

int32_t Collider_CheckIfSpritesOverlap(Sprite *a, Sprite *b)
{
    const Vector2 ap = Sprite_GetPosition(a);
    const Vector2 as = Sprite_GetCollisionSize(a);
    const Vector2 bp = Sprite_GetPosition(b);
    const Vector2 bs = Sprite_GetCollisionSize(b);
    const bool apartX = bp.x - bs.x > ap.x + as.x || ap.x - as.x > bp.x + bs.x;
    const bool apartY = bp.y - bs.y > ap.y + as.y || ap.y - as.y > bp.y + bs.y;
    return (!apartX && !apartY) ? 1 : 0;
}

Sprite *Collider_CheckForCollision(Collider *collider, Sprite *sprite)
{
    for (void *member = List_GetFirst(collider->sprites); member != nullptr;
         member = List_GetNext(collider->sprites))
    {
        Sprite *candidate = static_cast<Sprite *>(member);
        if (Collider_CheckIfSpritesOverlap(sprite, candidate) != 0)
        {
            return candidate;
        }
    }
    return nullptr;
}
