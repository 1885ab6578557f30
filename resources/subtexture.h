// subtexture: a rectangle of a texture in normalised texture coordinates, the unit every
// sprite, glyph and background is drawn from. Corners are kept in the order given, so a
// rectangle whose upper-left x (or y) is the larger one is drawn mirrored (or upside down).
#pragma once

#include "foundation/vector.h"

struct Texture;
struct SubTexture;

// upperLeft is the corner nearest the start of the pixel block, lowerRight the opposite
// one; the size is their distance per axis, always positive.
// Ownership: the caller; release with SubTexture_Destroy. The texture is not owned and must
// outlive every drawing of the sub-texture.
SubTexture *SubTexture_Create(Texture *texture, Vector2 upperLeft, Vector2 lowerRight);

// Releases the record only.
void SubTexture_Destroy(SubTexture *subTexture);

Texture *SubTexture_GetTexture(SubTexture *subTexture);
Vector2 SubTexture_GetUpperLeftCoordinate(SubTexture *subTexture);
Vector2 SubTexture_GetLowerRightCoordinate(SubTexture *subTexture);
Vector2 SubTexture_GetSize(SubTexture *subTexture);
