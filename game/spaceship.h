// spaceship: one enemy, an ordinary ship of the formation or the level's boss (a ship whose
// name starts with 'B'). It fires on its own, takes hits, flashes, explodes, and keeps its
// bullets flying after it has exploded.
#pragma once

#include <cstdint>

struct SpaceShip;
struct Sprite;
struct Bullet;
struct List;
struct SubTexture;

// A ship at level 1 with 1 health point and no bullets; a boss's explosion is larger.
// Ownership: the caller; release with SpaceShip_Destroy (which destroys its bullets too).
SpaceShip *SpaceShip_Create(int16_t id, const char *name);
void SpaceShip_Destroy(SpaceShip *ship);
// Borrowed.
Sprite *SpaceShip_GetSprite(SpaceShip *ship);
int32_t SpaceShip_GetHealthPoint(SpaceShip *ship);
void SpaceShip_SetHealthPoints(SpaceShip *ship, int32_t points);
// The level number sets an ordinary ship's fire rate.
void SpaceShip_SetLevel(SpaceShip *ship, int32_t level);
// Pictures are borrowed from the asset catalogue.
void SpaceShip_SetBulletSubTexture(SpaceShip *ship, SubTexture *subTexture);
// Appends the explosion's four frames (medium, big, medium, small).
void SpaceShip_SetExplosionSubTextures(SpaceShip *ship, SubTexture *big, SubTexture *medium,
                                       SubTexture *small);
void SpaceShip_HitByBullet(SpaceShip *ship);
// 1 once the explosion has run out.
int32_t SpaceShip_HasExploded(SpaceShip *ship);
// The bullets in flight, owned by the ship (borrowed list).
List *SpaceShip_GetBulletList(SpaceShip *ship);
// Removes and destroys the bullet when it is one of this ship's; otherwise nothing.
void SpaceShip_RemoveBullet(SpaceShip *ship, Bullet *bullet);
// One frame: fire, move and prune bullets, draw the ship or its explosion.
void SpaceShip_Render(SpaceShip *ship);
// The frames the ship stays hidden after a hit.
int32_t SpaceShip_GetHitCountDown(SpaceShip *ship);
