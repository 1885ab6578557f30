// sprite: a named rectangle positioned by its centre, with a drawn size, a collision
// half-extent, an optional picture and a per-frame logic hook. Every moving or drawn game
// object is one.
#pragma once

#include "foundation/vector.h"

#include <cstdint>

struct Sprite;
struct SubTexture;

typedef void (*SpriteLogicFunction)(Sprite *sprite, void *userData);

// A sprite with size and collision size (0.1, 0.075), at (0, 0), not moving, without picture,
// whose logic does nothing. It keeps its own copy of the name.
// Ownership: the caller; release with Sprite_Destroy (the picture and user data stay untouched).
Sprite *Sprite_Create(int16_t id, const char *name);
void Sprite_Destroy(Sprite *sprite);

// The hook runs in Sprite_Logic with userData (not owned).
void Sprite_SetLogicFunction(Sprite *sprite, SpriteLogicFunction function, void *userData);

void Sprite_SetPosition(Sprite *sprite, Vector2 position);
Vector2 Sprite_GetPosition(Sprite *sprite);
// Displacement per frame; only logic hooks and bullets apply it.
void Sprite_SetMovement(Sprite *sprite, Vector2 movement);
Vector2 Sprite_GetMovement(Sprite *sprite);
void Sprite_SetSize(Sprite *sprite, Vector2 size);
Vector2 Sprite_GetSize(Sprite *sprite);
// Half-extent of the collision box, and the size of the plain rectangle drawn without picture.
void Sprite_SetCollisionSize(Sprite *sprite, Vector2 collisionSize);
Vector2 Sprite_GetCollisionSize(Sprite *sprite);
// The picture is borrowed from the asset catalogue; null draws a plain rectangle.
void Sprite_SetSubTexture(Sprite *sprite, SubTexture *subTexture);
SubTexture *Sprite_GetSubTexture(Sprite *sprite);
// The sprite's own name copy, valid until Sprite_Destroy.
const char *Sprite_GetName(Sprite *sprite);

// Runs the logic hook, then places the drawing origin so the sprite is centred on its position.
void Sprite_Logic(Sprite *sprite);
// Draws at the drawing origin in opaque black: the picture over its size, or a plain rectangle
// of the collision size. Call right after Sprite_Logic.
void Sprite_Render(Sprite *sprite);
