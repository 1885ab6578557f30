// texture_win: OpenGL 2D textures made from blocks of 8-bit-per-channel pixels, with the
// facts the rest of the game needs about them. Needs a current OpenGL context.
#pragma once

#include "foundation/vector.h"

#include <cstdint>

struct Targa;
struct Texture;

// Uploads width x height pixels of bytesPerPixel bytes (3: red, green, blue; anything else
// is read as 4: red, green, blue, alpha), rows back to back without padding, row 0 first.
// Nearest filtering, repeat wrapping, no mipmaps. OpenGL copies the pixels during the call.
// Null, after one Error line, when OpenGL refuses the upload (too large, out of memory).
// Ownership: the caller owns the texture (release with Texture_Destroy); the pixel block
// stays the caller's, and the texture only remembers where it was.
Texture *Texture_Create(const uint8_t *pixelData, int32_t bytesPerPixel, int32_t width,
                        int32_t height);

// The largest width or height a picture may have: GL_MAX_TEXTURE_SIZE of the current
// context, but never more than 4096, which is also the answer when no context is current.
int32_t Texture_GetLargestSize(void);

// Texture_Create (null included) with the Targa's pixels, bits per pixel / 8, width and height; the
// texture then records the Targa, which must be of 24 or 32 bits per pixel. Ownership: the caller
// owns the texture; the Targa stays the caller's and must outlive every use of
// Texture_GetPixelData.
Texture *Texture_CreateFromTarga(Targa *targa);

// Deletes the OpenGL texture object, leaves texture name 0 bound and releases the record.
// Neither the pixel block nor the Targa is touched.
void Texture_Destroy(Texture *texture);

uint32_t Texture_GetTextureNumber(Texture *texture);
int32_t Texture_GetWidth(Texture *texture);
int32_t Texture_GetHeight(Texture *texture);
int32_t Texture_GetBytesPerPixel(Texture *texture);
// The block the texture was made from; not owned by the texture.
const uint8_t *Texture_GetPixelData(Texture *texture);
// The Targa the texture was made from, or null; not owned by the texture.
Targa *Texture_GetTarga(Texture *texture);

// Normalised texture coordinates of a pixel position: (x / width, y / height), worked out
// in double precision. Positions outside the texture give values outside 0 to 1.
Vector2 Texture_CalculatePixelPosition(Texture *texture, int32_t x, int32_t y);
