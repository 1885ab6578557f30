// collider: a set of sprites asked which member overlaps a given sprite.
#pragma once

#include <cstdint>

struct Collider;
struct Sprite;

// An empty set. Ownership: the caller; release with Collider_Destroy (the sprites stay alive).
Collider *Collider_Create(void);
void Collider_Destroy(Collider *collider);
// The collider borrows the sprite; it must leave the set before it is destroyed.
void Collider_AddSprite(Collider *collider, Sprite *sprite);
// Removes the first entry holding the sprite; nothing when it is not there.
void Collider_RemoveSprite(Collider *collider, Sprite *sprite);
// 1 when the collision boxes (centre +- collision size) overlap; touching edges overlap.
int32_t Collider_CheckIfSpritesOverlap(Sprite *a, Sprite *b);
// The first member, in the order added, overlapping the sprite; null when none does.
Sprite *Collider_CheckForCollision(Collider *collider, Sprite *sprite);
