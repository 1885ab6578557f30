// icon_art: the desktop icon, the player's ship on the night sky, at every size the desktop
// asks for. Pixel art stays sharp: each size is composed anew from the sky and the ship, each
// enlarged by its own whole factor, rather than one picture resampled.
#pragma once

#include "tools/pixmap.h"

#include <cstdint>
#include <span>

// The square sizes in pixels, smallest first: 16, 32, 48, 64, 128 and 256.
std::span<const int32_t> IconArt_Sizes(void);

// The icon of size x size pixels (one of the sizes above): opaque, with rounded corners that
// are transparent black.
Pixmap IconArt_Draw(int32_t size);
