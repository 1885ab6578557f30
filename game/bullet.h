// bullet: a projectile sprite that moves by its own movement each time it is drawn.
#pragma once

#include <cstdint>

struct Bullet;
struct Sprite;

// A bullet whose sprite has size (0.2, 0.2) and collision half-extent (0.015, 0.015). The
// creator sets its picture, movement and position through Bullet_GetSprite.
// Ownership: the caller; release with Bullet_Destroy (which also fits a List destroy function).
Bullet *Bullet_Create(int16_t id, const char *name);
void Bullet_Destroy(void *bullet);
// The bullet's sprite, borrowed.
Sprite *Bullet_GetSprite(Bullet *bullet);
// Moves one step, then draws centred at the new position at its picture's own size.
void Bullet_Render(Bullet *bullet);
