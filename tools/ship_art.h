// ship_art: the ships sheet (80 x 80): five player ships with their banked frames, thirty-six
// enemy ships and six bosses, each family in its own source file.
//
// Layout (pixels, x to the right, y down): player band i straight at (8, 8i), banked left at
// (0, 8i) and banked right at (18, 8i), 6 x 8 each; enemy ship i at (32 + 8 (i % 6), 8 (i / 6));
// boss i, 16 x 16, at (32 + 16 (i % 3), 48 + 16 (i / 3)). Enemies and bosses point down,
// the player's ships point up. Pixels are opaque or fully transparent (and then black).
#pragma once

#include "tools/pixmap.h"

#include <cstdint>

constexpr int32_t kPlayerShipCount = 5;
constexpr int32_t kEnemyShipCount = 36;
constexpr int32_t kBossShipCount = 6;

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
