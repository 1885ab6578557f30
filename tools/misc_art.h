// misc_art: the miscellaneous sheet (104 x 56): the display's life and shield icons, the
// player's shield bubble and the two sets of explosion frames.
//
// Layout (pixels): life icon (16, 0) and shield icon (24, 0), 8 x 8 each; shield (88, 32),
// 16 x 16; enemy explosion big, medium, small at (48, 48), (56, 48), (64, 48), 8 x 8 each;
// player explosion big (80, 48) and medium (88, 48), 8 x 8, small (97, 48), 6 x 8.
// The icons are opaque where drawn; the shield and the explosions, which the game adds to the
// screen weighted by their alpha, carry real partial alpha.
#pragma once

#include "tools/pixmap.h"

Pixmap MiscArt_DrawSheet(void);
