// targa: decodes true-colour TGA images (uncompressed or run-length encoded) held in memory
// into red-green-blue(-alpha) pixel buffers. Rows stay in the order the file stores them,
// whatever origin the header names.
#pragma once

#include <cstdint>

struct Targa;

// Name of the check that rejected the last image ("HeaderSize", "ColorMap", "ImageType",
// "DataSize", "interleavingFlag"), or null; never cleared here. debugInteger is the number
// shown beside it. Both are process-wide, shown by the heads-up display and also set by
// other loaders.
// Kept as is: process-wide on purpose, the one channel by which loaders reach the display.
extern const char *debugString;
extern int32_t debugInteger;

// Decodes size bytes at data; null when the image is rejected (debugString then names the
// check, except for inputs shorter than a header). The input is only read and may be
// released once this returns. 24- and 32-bit images keep their depth; 16-bit images are
// expanded to 32 bits (record depth 32); other depths keep their bytes unconverted.
// Run-length data must fill the whole image: data ending early is rejected as "DataSize",
// and a packet reaching past the last pixel is cut there.
// Ownership: the caller; release with Targa_Destroy.
Targa *Targa_Create_FromMemory(const uint8_t *data, int32_t size);

// The width and height of the image in size bytes at data when its header passes every
// check, found without decoding anything, so a caller can refuse a picture before any pixel
// is made; false for an image that Targa_Create_FromMemory rejects from its header (which
// then names the reason).
bool Targa_ReadSize(const uint8_t *data, int32_t size, uint32_t *width, uint32_t *height);

// An empty image: width and height 0, no pixel buffer.
// Ownership: the caller; release with Targa_Destroy.
Targa *Targa_Create(void);

// Releases the pixel buffer and the record. Null is ignored.
void Targa_Destroy(Targa *targa);

uint32_t Targa_GetWidth(Targa *targa);
uint32_t Targa_GetHeight(Targa *targa);
// 24 or 32 for every image the game uses.
int32_t Targa_GetBitsPerPixel(Targa *targa);
// Width x height x bits-per-pixel / 8 bytes, rows without gaps; null when that is 0.
// Ownership: the Targa; valid until Targa_Destroy.
uint8_t *Targa_GetData(Targa *targa);
