// asset: the game's picture catalogue. It decodes the four sprite sheets of the resource
// archive, turns them and the compiled-in font sheets and logo into textures, and cuts every
// sprite the game draws out of them as a sub-texture, found by accessor and index.
// Needs a current OpenGL context. A sheet that cannot be loaded is replaced by a magenta
// texture of the sheet's size (one Error line names it), so the catalogue always works.
#pragma once

#include <cstdint>

struct Asset;
struct SubTexture;
struct Targa;
struct Texture;

// Builds a whole catalogue with its own textures and sub-textures.
// Ownership: the caller; release with Asset_Destroy.
Asset *Asset_Create(void);
// Releases the catalogue with every texture, pixel block, image and sub-texture it made.
void Asset_Destroy(Asset *asset);

// The seven textures, each 4 bytes per pixel. Ownership: the catalogue.
Texture *Asset_GetBackgroundTexture(Asset *asset);
Texture *Asset_GetMiscellaneousTexture(Asset *asset);
Texture *Asset_GetProjectileTexture(Asset *asset);
Texture *Asset_GetShipsTexture(Asset *asset);
Texture *Asset_GetFontUppercase(Asset *asset);
Texture *Asset_GetFontLowercase(Asset *asset);
Texture *Asset_GetBrindleLogo(Asset *asset);

int32_t Asset_GetNumberOfPlayerSubTextures(Asset *asset);
int32_t Asset_GetNumberOfPlayerBulletSubTextures(Asset *asset);
int32_t Asset_GetNumberOfSpaceShipBulletSubTextures(Asset *asset);
int32_t Asset_GetNumberOfSpaceShipSubTextures(Asset *asset);

// Sub-textures, all owned by the catalogue: callers never destroy them. An index wraps with
// the count of its family; a negative one uses the absolute value of the remainder (-1 of
// the player ships is entry 1).
SubTexture *Asset_GetPlayerSubTexture(Asset *asset, int32_t index);
SubTexture *Asset_GetPlayerGoingLeftSubTexture(Asset *asset, int32_t index);
SubTexture *Asset_GetPlayerGoingRightSubTexture(Asset *asset, int32_t index);
SubTexture *Asset_GetPlayerBulletSubTexture(Asset *asset, int32_t index);
SubTexture *Asset_GetPlayerExplosionBigSubTexture(Asset *asset);
SubTexture *Asset_GetPlayerExplosionMediumSubTexture(Asset *asset);
SubTexture *Asset_GetPlayerExplosionSmallSubTexture(Asset *asset);
SubTexture *Asset_GetPlayerShieldSubTexture(Asset *asset);
SubTexture *Asset_GetSpaceShipSubTexture(Asset *asset, int32_t index);
// Upside down: the same cells as the player bullets with their y corners exchanged.
SubTexture *Asset_GetSpaceShipBulletSubTexture(Asset *asset, int32_t index);
SubTexture *Asset_GetSpaceShipExplosionBigSubTexture(Asset *asset);
SubTexture *Asset_GetSpaceShipExplosionMediumSubTexture(Asset *asset);
SubTexture *Asset_GetSpaceShipExplosionSmallSubTexture(Asset *asset);
SubTexture *Asset_GetBossSpaceShipSubTexture(Asset *asset, int32_t index);
SubTexture *Asset_GetBackgroundSubTexture(Asset *asset);

// The named archive entry decoded, or null (one Error line names the entry).
// Ownership: the caller; release with Targa_Destroy.
Targa *Asset_GetTarga(const char *name);

// The steps a sheet goes through before OpenGL sees it, split out so they can be run on
// their own. Asset_DecodeSheet refuses a picture wider or higher than largestSide from its
// header, before any pixel is allocated, and otherwise decodes size bytes at data; null
// after one Error line naming the entry and the reason. Ownership: the caller; release with
// Targa_Destroy.
Targa *Asset_DecodeSheet(const char *name, const uint8_t *data, int32_t size, int32_t largestSide);
// The Targa's pixels copied to a new RGBA block (alpha 255 for 24-bit pixels); null after one
// Error line for an image that is not of 24 or 32 bits per pixel, has no pixels, or whose
// block cannot be had. Ownership: the caller; release with free().
uint8_t *Asset_MakeSheetPixels(const char *name, Targa *targa);

// A texture of the Targa's pixels, or null (logged) for a null Targa or one that is not of
// 24 or 32 bits per pixel. The texture borrows the
// Targa's pixel block, so no pixel block is owned by it: release the texture with
// Texture_Destroy and, after it, the Targa with Targa_Destroy.
// Ownership: the caller.
Texture *Asset_GetTexture(Targa *targa);

// The whole of a texture (made from a Targa: the Targa's width and height) as a
// sub-texture, or null for a null texture. Ownership: the caller; release with
// SubTexture_Destroy before the texture goes.
SubTexture *Asset_GetSubTexture(Texture *texture);
