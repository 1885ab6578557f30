// player: the player's ship, its shield, its one bullet in flight, lives, shields, score,
// steering from keyboard and game pad, blinking after a hit and the final explosion.
#pragma once

#include "foundation/vector.h"
#include "input/controller_win.h"

#include <cstdint>

struct Player;
struct Sprite;
struct Bullet;
struct SubTexture;
struct Window;

// A player with the given lives, no shields, score 0 and its ship and shield sprites.
// Ownership: the caller; release with Player_Destroy (which also destroys a bullet in flight).
Player *Player_Create(const char *name, int32_t lives);
void Player_Destroy(Player *player);

// Pictures are borrowed from the asset catalogue.
void Player_SetSubTextures(Player *player, SubTexture *straight, SubTexture *goingLeft,
                           SubTexture *goingRight);
void Player_SetBulletSubTexture(Player *player, SubTexture *subTexture, float offsetX);
// The explosion's four frames (medium, big, medium, small). Only the first call adds them:
// the level calls this once per level, and later frames could never show anyway.
void Player_SetExplosionSubTextures(Player *player, SubTexture *big, SubTexture *medium,
                                    SubTexture *small);
void Player_SetShieldSubTexture(Player *player, SubTexture *subTexture);

// Input, from the controller; window is where Escape asks the program to close.
void Player_HandleKeyboardEvent(Player *player, Window *window, KeyboardEvent event);
void Player_HandleJoystickEvent(Player *player, Window *window, JoystickEvent event);
void Player_HandleMouseEvent(Player *player, Window *window, MouseEvent event, int32_t type);
// The window gained (1) or lost (0) the keyboard focus; losing it pauses a game in progress.
void Player_HandleFocusEvent(Player *player, Window *window, int32_t focused);
// 1 while a game in progress is paused: P or Pause (or a lost focus) pauses, P or Pause
// resumes, and every other press but Escape is ignored meanwhile. The world stands still.
int32_t Player_IsPaused(Player *player);

// One frame: the bullet, steering, the ship and shield, or the explosion.
void Player_Render(Player *player);
// A hit by an enemy bullet; ignored while blinking, shielded or out of lives.
void Player_Die(Player *player);
void Player_AddScore(Player *player, int32_t points);
void Player_AddLife(Player *player);
void Player_AddShield(Player *player);
void Player_SetShields(Player *player, int32_t count);
// Destroys the bullet in flight, if any.
void Player_RemoveBullet(Player *player);
// Stores the pointer without destroying the previous bullet (its new owner or null).
void Player_SetBullet(Player *player, Bullet *bullet);
void Player_ResetBulletsFired(Player *player);
// Starts a new game: lives and shields back to their initial counts, score 0, ship at x 0.
void Player_ResetLives(Player *player);
void Player_SetPosition(Player *player, Vector2 position);
void Player_SetMovement(Player *player, Vector2 movement);

// Borrowed; valid while the player lives (the bullet until it is removed).
Sprite *Player_GetSprite(Player *player);
Bullet *Player_GetBullet(Player *player);
int32_t Player_GetScore(Player *player);
int32_t Player_GetNumberOfLives(Player *player);
int32_t Player_GetNumberOfShields(Player *player);
int32_t Player_GetBulletsFired(Player *player);
float Player_GetKeyboardDeltaX(Player *player);
float Player_GetJoystickDeltaX(Player *player);
int32_t Player_HasDied(Player *player);
// The frames of invulnerable blinking and of raised shield still to run.
int32_t Player_GetHitCountDown(Player *player);
int32_t Player_GetShieldCountDown(Player *player);
// The game-pad slot whose steering the player follows (shared by every player).
int32_t Player_GetSelectedJoystick(void);
void Player_SetSelectedJoystick(int32_t joystickId);
