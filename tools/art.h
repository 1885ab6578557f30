// art: the pictures compiled into the program, drawn by the asset builder at build time.
//
// Each starts with three unsigned 32-bit little-endian numbers (width, height, bytes per
// pixel) followed by the pixels row after row from the top, with no gaps:
//   FontC64Uppercase, FontC64Lowercase: 128 x 128 x 3, pure white glyphs on pure black,
//     16 x 16 cells of 8 x 8 (cell rows 8 to 11 hold the characters the font draws);
//   BrindleLogo: 1024 x 1024 x 4, red, green, blue, alpha; transparent parts are black.
// The data is read-only and lives as long as the program; nobody releases it.
#pragma once

#include <cstdint>

extern "C" const uint8_t FontC64Uppercase[];
extern "C" const uint8_t FontC64Lowercase[];
extern "C" const uint8_t BrindleLogo[];
