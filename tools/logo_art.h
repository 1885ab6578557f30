// logo_art: our studio's mark, 1024 x 1024 RGBA, shown on the splash screen.
//
// The game draws it one texel to one screen pixel and, at rest, only rows 140 to 908 from the
// top are on screen, so the whole mark sits inside those rows. It is drawn on a 256 x 256 grid
// and enlarged four times to match the chunky pixels of the rest of the game. Its transparent
// parts are black, which is what the splash screen shows there.
#pragma once

#include "tools/pixmap.h"

Pixmap LogoArt_Draw(void);
