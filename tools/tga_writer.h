// tga_writer: encodes a pixmap as a 32-bit true-colour TGA file, raw or run-length encoded.
#pragma once

#include "tools/pixmap.h"

#include <cstdint>
#include <vector>

// The file's bytes. Rows are stored top row first and the header says so (origin bit 5),
// so a reader that honours the origin and one that keeps rows in file order agree.
// Run-length packets never cross the end of a row.
std::vector<uint8_t> TgaWriter_Encode(const Pixmap &pixmap, bool runLengthEncoded);
