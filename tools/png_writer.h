// png_writer: encodes a pixmap as an 8-bit RGBA PNG file (for a preview sheet of every picture).
#pragma once

#include "tools/pixmap.h"

#include <cstdint>
#include <vector>

// The file's bytes; empty when zlib fails.
std::vector<uint8_t> PngWriter_Encode(const Pixmap &pixmap);
