// world: the game itself. It owns the player, the current level and the display, runs the
// splash, title and play screens, moves from level to level, and keeps the high score.
#pragma once

#include <cstdint>

struct World;
struct Player;
struct Sample;

// 1 while the splash screen is on show (a game pad's shot is then ignored).
extern int32_t splashScreenPlaying;
// 1 once a game has started; enemies stand still and hold fire while it is 0.
extern int32_t skipSplashScreen;

// The four game sounds, created and destroyed by the program's start-up and shut-down and
// played by the player and the enemy ships. Null plays nothing.
extern Sample *samplePlayerLaser;
extern Sample *sampleEnemyLaser;
extern Sample *sampleEnemyKilled;
extern Sample *samplePlayerKilled;

// The jingle of a destroyed ship plays at this fraction of its recorded level (mixed for it).
#define WORLD_ENEMY_KILLED_VOLUME 0.15f

// Creates the four game sounds from the archive in the start-up order (enemy laser, player
// laser, enemy killed, player killed), gives them their weights and scales the jingle to
// WORLD_ENEMY_KILLED_VOLUME before it is ever played. Ownership: the program; release with
// World_DestroySounds.
void World_LoadSounds(void);
// Destroys the four sounds (player laser, player killed, enemy laser, enemy killed) and clears
// the pointers.
void World_DestroySounds(void);

// A world with its player (3 lives), display and level 1. Makes no texture: there is no
// graphics context yet. Ownership: the caller; release with World_Destroy.
World *World_Create(void);
void World_Destroy(World *world);
// The world's player, borrowed (it is handed to the input controller).
Player *World_GetPlayer(World *world);
void World_Logic(World *world);
// One frame of the game, drawing included. While the player has paused a game in progress,
// nothing moves: the last frame played stays on show under "PAUSED".
void World_Render(World *world);

int32_t World_GetLevelNumber(World *world);
int32_t World_GetHighscore(World *world);
int32_t World_GetHighscoreLevel(World *world);
// The display, borrowed.
struct Hud *World_GetHud(World *world);
// The current level, borrowed; replaced when a level ends or a game is over.
struct Level *World_GetLevel(World *world);
