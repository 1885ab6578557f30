// asset_bundle: everything the asset builder writes, by name: the eight entries of the
// resource archive, the compiled-in picture blobs and a preview sheet of every picture.
#pragma once

#include "tools/archive_writer.h"
#include "tools/pixmap.h"

#include <cstdint>
#include <vector>

// The eight entries of "resources.dat" in archive order: the four TGA sheets (the background
// uncompressed, the other three run-length encoded) and the four WAV sounds.
std::vector<ArchiveEntry> AssetBundle_ArchiveEntries(void);

// A compiled-in picture: three little-endian 32-bit numbers (width, height, bytes per pixel)
// then the pixels row after row. bytesPerPixel 3 keeps red, green and blue, 4 adds alpha.
std::vector<uint8_t> AssetBundle_Blob(const Pixmap &pixmap, int32_t bytesPerPixel);

// The blobs FontC64Uppercase, FontC64Lowercase and BrindleLogo, by that name plus ".bin".
std::vector<ArchiveEntry> AssetBundle_Blobs(void);

// Every sheet enlarged four times, the two glyph sheets twice and the logo at a quarter, on a
// dark ground with a checkerboard where the sprite sheets are transparent; below them a still
// of the play screen at its real size.
Pixmap AssetBundle_ContactSheet(void);
