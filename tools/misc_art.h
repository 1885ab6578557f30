// misc_art: the miscellaneous sheet (104 x 56): the display's life and shield icons, the
// player's shield bubble and the two sets of explosion frames.
//
// Layout: resources/sheet_layout.h.
// The icons are opaque where drawn; the shield and the explosions, which the game adds to the
// screen weighted by their alpha, carry real partial alpha.
#pragma once

#include "tools/pixmap.h"

Pixmap MiscArt_DrawSheet(void);
