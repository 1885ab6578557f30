// hud: the heads-up display: life and shield icons, level, bonus, score and a debug line.
// It holds plain copies of the numbers it shows; the world writes them every frame.
#pragma once

#include <cstdint>

struct Hud;

// All numbers 0; the icons are cut from the shared catalogue (Graphics_GetAsset) on the
// first render. Ownership: the caller; release with Hud_Destroy, which releases the icons
// but leaves the shared catalogue to the graphics module.
Hud *Hud_Create(void);
void Hud_Destroy(Hud *hud);

// Kept as is: the misspelt name is the public API that callers link against.
void Hud_SetLifes(Hud *hud, int32_t value);
void Hud_SetShields(Hud *hud, int32_t value);
void Hud_SetLevel(Hud *hud, int32_t value);
void Hud_SetScore(Hud *hud, int32_t value);
void Hud_SetBonus(Hud *hud, int32_t value);
void Hud_SetBulletBonus(Hud *hud, int32_t value);
int32_t Hud_GetLifes(Hud *hud);
int32_t Hud_GetShields(Hud *hud);
int32_t Hud_GetLevel(Hud *hud);
int32_t Hud_GetScore(Hud *hud);
int32_t Hud_GetBonus(Hud *hud);
int32_t Hud_GetBulletBonus(Hud *hud);
void Hud_AddScore(Hud *hud, int32_t value);
void Hud_IncLevel(Hud *hud);

// Draws the display over the play field.
void Hud_Render(Hud *hud);
