// background_art: the background sheet (128 x 256), a star field over a faint nebula.
// It tiles in both directions: the game scrolls two copies stacked one above the other, so its
// top row continues its bottom row. Every pixel is opaque.
#pragma once

#include "tools/pixmap.h"

Pixmap BackgroundArt_DrawSheet(void);
