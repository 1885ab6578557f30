// level: one numbered level of play and the game's rules: the formation of ten ships (and a
// boss every fifth level), their sway, the pictures of the level, hits, scoring, enemy fire
// against the player, and the end once the cleared ship has flown off the top.
#pragma once

#include <cstdint>

struct Level;
struct Player;

// Every level whose number is a multiple of this brings a boss.
extern const int32_t showBossEveryLevels;

// Level number n (1 or more) played by the player (borrowed, not destroyed with the level).
// Ownership: the caller; release with Level_Destroy (ships, their bullets, background, collider).
Level *Level_Create(int32_t levelNumber, Player *player);
void Level_Destroy(Level *level);
// One frame of logic and drawing.
void Level_Render(Level *level);
// Assigns the level's pictures on the first call; later calls do nothing.
void Level_LazyLoadTextures(Level *level);
// Kept as is: the misspelt name is the public API that callers link against.
int32_t Level_GetNumerOfAliveEnemies(Level *level);
int32_t Level_HasEnded(Level *level);
int32_t Level_GetLevelNumber(Level *level);
// Every ship of the level (the ten in creation order, then the boss), borrowed; exploded ships
// stay in it until the level is destroyed.
struct List *Level_GetSpaceShips(Level *level);
// The boss, borrowed, or null on a level without one.
struct SpaceShip *Level_GetBoss(Level *level);
