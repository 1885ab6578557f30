// subtexture: immutable once made; the size is fixed at creation.
#include "resources/subtexture.h"

#include "foundation/allocator.h"

struct SubTexture
{
    Texture *texture;
    Vector2 upperLeft;
    Vector2 lowerRight;
    Vector2 size;
};

SubTexture *SubTexture_Create(Texture *texture, Vector2 upperLeft, Vector2 lowerRight)
{
    SubTexture *subTexture = MEMORY_ALLOCATE_RECORD(SubTexture);
    subTexture->texture = texture;
    subTexture->upperLeft = upperLeft;
    subTexture->lowerRight = lowerRight;
    subTexture->size = Vector2_Abs(Vector2_Subtract(lowerRight, upperLeft));
    return subTexture;
}

void SubTexture_Destroy(SubTexture *subTexture)
{
    MEMORY_FREE(subTexture);
}

Texture *SubTexture_GetTexture(SubTexture *subTexture)
{
    return subTexture->texture;
}

Vector2 SubTexture_GetUpperLeftCoordinate(SubTexture *subTexture)
{
    return subTexture->upperLeft;
}

Vector2 SubTexture_GetLowerRightCoordinate(SubTexture *subTexture)
{
    return subTexture->lowerRight;
}

Vector2 SubTexture_GetSize(SubTexture *subTexture)
{
    return subTexture->size;
}
