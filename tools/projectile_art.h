// projectile_art: the projectiles sheet (48 x 40): thirty bullets in 8 x 8 cells, six columns
// and five rows, bullet i at (8 (i % 6), 8 (i / 6)).
//
// Each bullet is a small bright shape of two or three pixels a side in the middle of its cell,
// its hot head at the top and a fading tail below: the player's shots fly up as drawn, the
// enemies' use the same cells upside down and so point down. Pixels are premultiplied.
#pragma once

#include "tools/pixmap.h"

#include <cstdint>

constexpr int32_t kBulletCount = 30;

Pixmap ProjectileArt_DrawSheet(void);
