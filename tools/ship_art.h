// ship_art: the ships sheet (80 x 80): five player ships with their banked frames, thirty-six
// enemy ships and six bosses, each family in its own source file.
//
// Layout: resources/sheet_layout.h. Enemies and bosses point down, the player's ships point up.
// Pixels are opaque or fully transparent (and then black).
#pragma once

#include "resources/sheet_layout.h"
#include "tools/pixmap.h"

#include <cstdint>

constexpr int32_t kPlayerShipCount = LAYOUT_PLAYER_COUNT;
constexpr int32_t kEnemyShipCount = LAYOUT_ENEMY_COUNT;
constexpr int32_t kBossShipCount = LAYOUT_BOSS_COUNT;

Pixmap ShipArt_DrawSheet(void);

// One family each, drawn into the sheet at the layout above.
void ShipArt_DrawPlayerShips(Pixmap &sheet);
void ShipArt_DrawEnemyShips(Pixmap &sheet);
void ShipArt_DrawBossShips(Pixmap &sheet);

// The player's ship of a band (0 to 4), 8 x 8, straight; the display's life icon reuses it.
Pixmap ShipArt_PlayerShip(int32_t band);
// The same ship banked into a left turn, 6 x 8; the right turn is its mirror image.
Pixmap ShipArt_PlayerShipBankedLeft(int32_t band);
// Enemy ship of a formation (0 to 35), 8 x 8.
Pixmap ShipArt_EnemyShip(int32_t index);
