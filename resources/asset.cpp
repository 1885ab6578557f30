// asset: everything is made once in Asset_Create, so every accessor is a field read or one
// remainder and an array read. The sheets and the fonts get RGBA blocks of their own, kept
// beside their textures in the record; the logo's four-byte pixels are uploaded where they
// are compiled in, which outlive the catalogue, so the 4 MB logo is not held a second time.
#include "resources/asset.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "resources/resource_win.h"
#include "resources/sheet_layout.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"
#include "tools/art.h"

#include <cstdlib>
#include <cstring>
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

enum SheetIndex
{
    SHEET_BACKGROUND,
    SHEET_MISCELLANEOUS,
    SHEET_PROJECTILES,
    SHEET_SHIPS,
    SHEET_COUNT
};

enum TextureIndex
{
    TEXTURE_BACKGROUND,
    TEXTURE_MISCELLANEOUS,
    TEXTURE_PROJECTILES,
    TEXTURE_SHIPS,
    TEXTURE_FONT_UPPERCASE,
    TEXTURE_FONT_LOWERCASE,
    TEXTURE_LOGO,
    TEXTURE_COUNT
};

struct SheetInfo
{
    const char *entryName;
    // The least size that holds every rectangle cut from the sheet; a missing sheet is
    // replaced by a texture of this size so sub-texture sizes stay what the game expects.
    int32_t width;
    int32_t height;
};

static constexpr SheetInfo sheets[SHEET_COUNT] = {
    {"SpaceShooterAssetPack_BackGrounds.tga", 128, 256},
    {"SpaceShooterAssetPack_Miscellaneous.tga", 104, 56},
    {"SpaceShooterAssetPack_Projectiles.tga", 48, 40},
    {"SpaceShooterAssetPack_Ships.tga", 80, 80},
};

// The compiled-in pictures start with a 12-byte header that repeats these sizes.
static constexpr int32_t artHeaderSize = 12;
static constexpr int32_t fontSize = 128;
static constexpr int32_t logoSize = 1024;

static constexpr int32_t playerCount = LAYOUT_PLAYER_COUNT;
static constexpr int32_t bulletCount = LAYOUT_BULLET_COUNT;
static constexpr int32_t spaceShipCount = LAYOUT_ENEMY_COUNT;
static constexpr int32_t bossCount = LAYOUT_BOSS_COUNT;

static constexpr uint8_t placeholderColor[4] = {0xFF, 0x00, 0xFF, 0xFF};

struct Asset
{
    Targa *sheets[SHEET_COUNT];
    Texture *textures[TEXTURE_COUNT];
    uint8_t *pixelBlocks[TEXTURE_COUNT];

    int32_t numberOfPlayerSubTextures;
    SubTexture **player;
    SubTexture **playerGoingLeft;
    SubTexture **playerGoingRight;
    SubTexture *playerExplosionBig;
    SubTexture *playerExplosionMedium;
    SubTexture *playerExplosionSmall;
    SubTexture *playerShield;
    int32_t numberOfPlayerBulletSubTextures;
    SubTexture **playerBullets;
    int32_t numberOfSpaceShipBulletSubTextures;
    SubTexture **spaceShipBullets;
    int32_t numberOfSpaceShipSubTextures;
    SubTexture **spaceShips;
    SubTexture *spaceShipExplosionBig;
    SubTexture *spaceShipExplosionMedium;
    SubTexture *spaceShipExplosionSmall;
    SubTexture *background;
    int32_t numberOfBossSubTextures;
    SubTexture **bosses;
};

static Targa *_loadTarga(const char *name)
{
    const int32_t size = Resource_GetSize(name);
    const uint8_t *data = Resource_GetData(name);
    if (data == nullptr)
    {
        // Kept as is: the misspelt message is part of the catalogue's observable log output.
        LOG_ERROR("Unable to load resouce %s.", name);
        return nullptr;
    }
    return Asset_DecodeSheet(name, data, size, Texture_GetLargestSize());
}

// A new RGBA block of width x height pixels copied from pixels of 3 or 4 bytes each; three
// byte pixels get alpha 255. From the standard heap, or null when the byte count does not
// fit or cannot be had; the catalogue releases it.
static uint8_t *_CopyToRgba(const uint8_t *pixels, int32_t bytesPerPixel, int32_t width,
                            int32_t height)
{
    size_t count = 0;
    size_t bytes = 0;
    if (width < 0 || height < 0 ||
        __builtin_mul_overflow(static_cast<size_t>(width), static_cast<size_t>(height), &count) ||
        __builtin_mul_overflow(count, size_t{4}, &bytes))
    {
        return nullptr;
    }
    auto *block = static_cast<uint8_t *>(malloc(bytes > 0 ? bytes : 1));
    if (block == nullptr)
    {
        return nullptr;
    }
    if (bytesPerPixel == 4)
    {
        memcpy(block, pixels, bytes);
        return block;
    }
    for (size_t i = 0; i < count; i++)
    {
        memcpy(block + 4 * i, pixels + 3 * i, 3);
        block[4 * i + 3] = 0xFF;
    }
    return block;
}

// The texture of one catalogue slot, of four bytes per pixel. Adding alpha first and
// uploading once gives what adding alpha to an uploaded texture gives, without a second
// upload; pixels that already have four bytes are not copied at all. The compiled-in
// pictures always fit.
static void _SetTexture(Asset *asset, TextureIndex slot, const uint8_t *pixels,
                        int32_t bytesPerPixel, int32_t width, int32_t height)
{
    if (bytesPerPixel != 4)
    {
        asset->pixelBlocks[slot] = _CopyToRgba(pixels, bytesPerPixel, width, height);
        if (asset->pixelBlocks[slot] == nullptr)
        {
            LOG_ERROR("Unable to allocate %d x %d pixels", width, height);
            exit(1);
        }
        pixels = asset->pixelBlocks[slot];
    }
    asset->textures[slot] = Texture_Create(pixels, 4, width, height);
}

// Uploading read the compiled-in picture into memory; OpenGL has its own copy now, so the
// whole pages of it go back to the program file they came from. A later reader (the pixel
// tests) reads them in again, unchanged: the memory is the file's, never written.
static void _ReleaseCompiledPages(const uint8_t *pixels, size_t size)
{
#if defined(__linux__)
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = reinterpret_cast<uintptr_t>(pixels);
    // Whole pages only: from the first page boundary inside the picture to the last one.
    const size_t lead = (page - start % page) % page;
    if (size > lead && (size - lead) / page > 0)
    {
        madvise(const_cast<uint8_t *>(pixels + lead), (size - lead) / page * page, MADV_DONTNEED);
    }
#else
    (void)pixels;
    (void)size;
#endif
}

static void _SetPlaceholderTexture(Asset *asset, TextureIndex slot, const SheetInfo &sheet)
{
    const size_t count = static_cast<size_t>(sheet.width) * static_cast<size_t>(sheet.height);
    auto *pixels = static_cast<uint8_t *>(malloc(count * 4));
    if (pixels == nullptr)
    {
        LOG_ERROR("Unable to allocate %d x %d pixels", sheet.width, sheet.height);
        exit(1);
    }
    for (size_t i = 0; i < count; i++)
    {
        memcpy(pixels + 4 * i, placeholderColor, 4);
    }
    asset->pixelBlocks[slot] = pixels;
    asset->textures[slot] = Texture_Create(pixels, 4, sheet.width, sheet.height);
}

// Every step a sheet goes through before OpenGL sees it; the uploads follow once all four
// sheets are decoded. A sheet refused by any step, or by the upload, gives way to the
// placeholder.
static void _LoadSheets(Asset *asset)
{
    for (int32_t i = 0; i < SHEET_COUNT; i++)
    {
        Targa *targa = _loadTarga(sheets[i].entryName);
        const auto slot = static_cast<TextureIndex>(TEXTURE_BACKGROUND + i);
        asset->pixelBlocks[slot] =
            targa != nullptr ? Asset_MakeSheetPixels(sheets[i].entryName, targa) : nullptr;
        if (asset->pixelBlocks[slot] == nullptr)
        {
            Targa_Destroy(targa);
            targa = nullptr;
        }
        asset->sheets[i] = targa;
    }
    for (int32_t i = 0; i < SHEET_COUNT; i++)
    {
        const auto slot = static_cast<TextureIndex>(TEXTURE_BACKGROUND + i);
        Targa *targa = asset->sheets[i];
        if (targa != nullptr)
        {
            asset->textures[slot] = Texture_Create(asset->pixelBlocks[slot], 4,
                                                   static_cast<int32_t>(Targa_GetWidth(targa)),
                                                   static_cast<int32_t>(Targa_GetHeight(targa)));
            if (asset->textures[slot] != nullptr)
            {
                continue;
            }
            free(asset->pixelBlocks[slot]);
            Targa_Destroy(targa);
            asset->sheets[i] = nullptr;
        }
        _SetPlaceholderTexture(asset, slot, sheets[i]);
    }
}

Targa *Asset_DecodeSheet(const char *name, const uint8_t *data, int32_t size, int32_t largestSide)
{
    uint32_t width = 0;
    uint32_t height = 0;
    if (Targa_ReadSize(data, size, &width, &height) &&
        (width > static_cast<uint32_t>(largestSide) || height > static_cast<uint32_t>(largestSide)))
    {
        LOG_ERROR("Unable to use resource %s (%u x %u is larger than %d x %d).", name, width,
                  height, largestSide, largestSide);
        return nullptr;
    }
    Targa *targa = Targa_Create_FromMemory(data, size);
    if (targa == nullptr)
    {
        LOG_ERROR("Unable to decode resource %s (%s).", name,
                  debugString != nullptr ? debugString : "too short");
    }
    return targa;
}

uint8_t *Asset_MakeSheetPixels(const char *name, Targa *targa)
{
    const int32_t bits = Targa_GetBitsPerPixel(targa);
    const auto width = static_cast<int32_t>(Targa_GetWidth(targa));
    const auto height = static_cast<int32_t>(Targa_GetHeight(targa));
    uint8_t *block = nullptr;
    if ((bits == 24 || bits == 32) && Targa_GetData(targa) != nullptr)
    {
        block = _CopyToRgba(Targa_GetData(targa), bits / 8, width, height);
    }
    if (block == nullptr)
    {
        LOG_ERROR("Unable to use resource %s (%d bits per pixel, %d x %d).", name, bits, width,
                  height);
    }
    return block;
}

// A sub-texture of a sheet texture from pixel corner (x0, y0) to (x1, y1).
static SubTexture *_Cut(Texture *texture, SheetRect rect)
{
    return SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, rect.x0, rect.y0),
                             Texture_CalculatePixelPosition(texture, rect.x1, rect.y1));
}

static SubTexture **_NewFamily(int32_t count)
{
    // NOLINTNEXTLINE(bugprone-sizeof-expression): an array of pointers is sized so on purpose.
    return static_cast<SubTexture **>(MEMORY_ALLOCATE(sizeof(SubTexture *) * count));
}

static void _DestroyFamily(SubTexture **family, int32_t count)
{
    for (int32_t i = 0; i < count; i++)
    {
        SubTexture_Destroy(family[i]);
    }
    MEMORY_FREE(family);
}

static void _CutPlayer(Asset *asset)
{
    Texture *ships = asset->textures[TEXTURE_SHIPS];
    Texture *miscellaneous = asset->textures[TEXTURE_MISCELLANEOUS];
    asset->numberOfPlayerSubTextures = playerCount;
    asset->player = _NewFamily(playerCount);
    asset->playerGoingLeft = _NewFamily(playerCount);
    asset->playerGoingRight = _NewFamily(playerCount);
    for (int32_t i = 0; i < playerCount; i++)
    {
        asset->player[i] = _Cut(ships, SheetLayout_Player(i));
        asset->playerGoingLeft[i] = _Cut(ships, SheetLayout_PlayerLeft(i));
        asset->playerGoingRight[i] = _Cut(ships, SheetLayout_PlayerRight(i));
    }
    asset->playerExplosionBig = _Cut(miscellaneous, LAYOUT_PLAYER_EXPLOSION[0]);
    asset->playerExplosionMedium = _Cut(miscellaneous, LAYOUT_PLAYER_EXPLOSION[1]);
    asset->playerExplosionSmall = _Cut(miscellaneous, LAYOUT_PLAYER_EXPLOSION[2]);
}

static void _CutBullets(Asset *asset)
{
    Texture *projectiles = asset->textures[TEXTURE_PROJECTILES];
    asset->numberOfPlayerBulletSubTextures = bulletCount;
    asset->playerBullets = _NewFamily(bulletCount);
    for (int32_t i = 0; i < bulletCount; i++)
    {
        asset->playerBullets[i] = _Cut(projectiles, SheetLayout_Bullet(i));
    }
    asset->playerShield = _Cut(asset->textures[TEXTURE_MISCELLANEOUS], LAYOUT_SHIELD);
    // The enemies' bullets fly downwards: the same cells, upside down.
    asset->numberOfSpaceShipBulletSubTextures = bulletCount;
    asset->spaceShipBullets = _NewFamily(bulletCount);
    for (int32_t i = 0; i < bulletCount; i++)
    {
        const SheetRect cell = SheetLayout_Bullet(i);
        asset->spaceShipBullets[i] = _Cut(projectiles, {cell.x0, cell.y1, cell.x1, cell.y0});
    }
}

static void _CutSpaceShips(Asset *asset)
{
    Texture *ships = asset->textures[TEXTURE_SHIPS];
    Texture *miscellaneous = asset->textures[TEXTURE_MISCELLANEOUS];
    asset->numberOfSpaceShipSubTextures = spaceShipCount;
    asset->spaceShips = _NewFamily(spaceShipCount);
    for (int32_t i = 0; i < spaceShipCount; i++)
    {
        asset->spaceShips[i] = _Cut(ships, SheetLayout_Enemy(i));
    }
    asset->spaceShipExplosionBig = _Cut(miscellaneous, LAYOUT_ENEMY_EXPLOSION[0]);
    asset->spaceShipExplosionMedium = _Cut(miscellaneous, LAYOUT_ENEMY_EXPLOSION[1]);
    asset->spaceShipExplosionSmall = _Cut(miscellaneous, LAYOUT_ENEMY_EXPLOSION[2]);
    asset->background = _Cut(asset->textures[TEXTURE_BACKGROUND], LAYOUT_BACKGROUND);
    asset->numberOfBossSubTextures = bossCount;
    asset->bosses = _NewFamily(bossCount);
    for (int32_t i = 0; i < bossCount; i++)
    {
        asset->bosses[i] = _Cut(ships, SheetLayout_Boss(i));
    }
}

Asset *Asset_Create(void)
{
    Asset *asset = MEMORY_ALLOCATE_RECORD(Asset);
    _LoadSheets(asset);
    _SetTexture(asset, TEXTURE_FONT_UPPERCASE, FontC64Uppercase + artHeaderSize, 3, fontSize,
                fontSize);
    _SetTexture(asset, TEXTURE_FONT_LOWERCASE, FontC64Lowercase + artHeaderSize, 3, fontSize,
                fontSize);
    _SetTexture(asset, TEXTURE_LOGO, BrindleLogo + artHeaderSize, 4, logoSize, logoSize);
    _ReleaseCompiledPages(BrindleLogo + artHeaderSize, size_t{logoSize} * logoSize * 4);
    _CutPlayer(asset);
    _CutBullets(asset);
    _CutSpaceShips(asset);
    return asset;
}

void Asset_Destroy(Asset *asset)
{
    for (int32_t i = 0; i < TEXTURE_COUNT; i++)
    {
        free(asset->pixelBlocks[i]);
        Texture_Destroy(asset->textures[i]);
    }
    for (int32_t i = 0; i < SHEET_COUNT; i++)
    {
        Targa_Destroy(asset->sheets[i]);
    }
    _DestroyFamily(asset->player, asset->numberOfPlayerSubTextures);
    _DestroyFamily(asset->playerGoingLeft, asset->numberOfPlayerSubTextures);
    _DestroyFamily(asset->playerGoingRight, asset->numberOfPlayerSubTextures);
    SubTexture_Destroy(asset->playerExplosionBig);
    SubTexture_Destroy(asset->playerExplosionMedium);
    SubTexture_Destroy(asset->playerExplosionSmall);
    SubTexture_Destroy(asset->playerShield);
    _DestroyFamily(asset->playerBullets, asset->numberOfPlayerBulletSubTextures);
    _DestroyFamily(asset->spaceShipBullets, asset->numberOfSpaceShipBulletSubTextures);
    _DestroyFamily(asset->spaceShips, asset->numberOfSpaceShipSubTextures);
    SubTexture_Destroy(asset->spaceShipExplosionBig);
    SubTexture_Destroy(asset->spaceShipExplosionMedium);
    SubTexture_Destroy(asset->spaceShipExplosionSmall);
    SubTexture_Destroy(asset->background);
    _DestroyFamily(asset->bosses, asset->numberOfBossSubTextures);
    MEMORY_FREE(asset);
}

Texture *Asset_GetBackgroundTexture(Asset *asset)
{
    return asset->textures[TEXTURE_BACKGROUND];
}

Texture *Asset_GetMiscellaneousTexture(Asset *asset)
{
    return asset->textures[TEXTURE_MISCELLANEOUS];
}

Texture *Asset_GetProjectileTexture(Asset *asset)
{
    return asset->textures[TEXTURE_PROJECTILES];
}

Texture *Asset_GetShipsTexture(Asset *asset)
{
    return asset->textures[TEXTURE_SHIPS];
}

Texture *Asset_GetFontUppercase(Asset *asset)
{
    return asset->textures[TEXTURE_FONT_UPPERCASE];
}

Texture *Asset_GetFontLowercase(Asset *asset)
{
    return asset->textures[TEXTURE_FONT_LOWERCASE];
}

Texture *Asset_GetBrindleLogo(Asset *asset)
{
    return asset->textures[TEXTURE_LOGO];
}

int32_t Asset_GetNumberOfPlayerSubTextures(Asset *asset)
{
    return asset->numberOfPlayerSubTextures;
}

int32_t Asset_GetNumberOfPlayerBulletSubTextures(Asset *asset)
{
    return asset->numberOfPlayerBulletSubTextures;
}

int32_t Asset_GetNumberOfSpaceShipBulletSubTextures(Asset *asset)
{
    return asset->numberOfSpaceShipBulletSubTextures;
}

int32_t Asset_GetNumberOfSpaceShipSubTextures(Asset *asset)
{
    return asset->numberOfSpaceShipSubTextures;
}

// index modulo count, negative remainders made positive (-1 of five is entry 1).
static int32_t _Wrap(int32_t index, int32_t count)
{
    const int32_t remainder = index % count;
    return remainder < 0 ? -remainder : remainder;
}

SubTexture *Asset_GetPlayerSubTexture(Asset *asset, int32_t index)
{
    return asset->player[_Wrap(index, asset->numberOfPlayerSubTextures)];
}

SubTexture *Asset_GetPlayerGoingLeftSubTexture(Asset *asset, int32_t index)
{
    return asset->playerGoingLeft[_Wrap(index, asset->numberOfPlayerSubTextures)];
}

SubTexture *Asset_GetPlayerGoingRightSubTexture(Asset *asset, int32_t index)
{
    return asset->playerGoingRight[_Wrap(index, asset->numberOfPlayerSubTextures)];
}

SubTexture *Asset_GetPlayerBulletSubTexture(Asset *asset, int32_t index)
{
    return asset->playerBullets[_Wrap(index, asset->numberOfPlayerBulletSubTextures)];
}

SubTexture *Asset_GetPlayerExplosionBigSubTexture(Asset *asset)
{
    return asset->playerExplosionBig;
}

SubTexture *Asset_GetPlayerExplosionMediumSubTexture(Asset *asset)
{
    return asset->playerExplosionMedium;
}

SubTexture *Asset_GetPlayerExplosionSmallSubTexture(Asset *asset)
{
    return asset->playerExplosionSmall;
}

SubTexture *Asset_GetPlayerShieldSubTexture(Asset *asset)
{
    return asset->playerShield;
}

SubTexture *Asset_GetSpaceShipSubTexture(Asset *asset, int32_t index)
{
    return asset->spaceShips[_Wrap(index, asset->numberOfSpaceShipSubTextures)];
}

SubTexture *Asset_GetSpaceShipBulletSubTexture(Asset *asset, int32_t index)
{
    return asset->spaceShipBullets[_Wrap(index, asset->numberOfSpaceShipBulletSubTextures)];
}

SubTexture *Asset_GetSpaceShipExplosionBigSubTexture(Asset *asset)
{
    return asset->spaceShipExplosionBig;
}

SubTexture *Asset_GetSpaceShipExplosionMediumSubTexture(Asset *asset)
{
    return asset->spaceShipExplosionMedium;
}

SubTexture *Asset_GetSpaceShipExplosionSmallSubTexture(Asset *asset)
{
    return asset->spaceShipExplosionSmall;
}

SubTexture *Asset_GetBossSpaceShipSubTexture(Asset *asset, int32_t index)
{
    return asset->bosses[_Wrap(index, asset->numberOfBossSubTextures)];
}

SubTexture *Asset_GetBackgroundSubTexture(Asset *asset)
{
    return asset->background;
}

Targa *Asset_GetTarga(const char *name)
{
    return _loadTarga(name);
}

Texture *Asset_GetTexture(Targa *targa)
{
    if (targa == nullptr)
    {
        return nullptr;
    }
    const int32_t bits = Targa_GetBitsPerPixel(targa);
    if (bits != 24 && bits != 32)
    {
        // OpenGL would read 3 or 4 bytes a pixel from a block that has fewer.
        LOG_ERROR("Unable to make a texture of %d bits per pixel.", bits);
        return nullptr;
    }
    return Texture_CreateFromTarga(targa);
}

SubTexture *Asset_GetSubTexture(Texture *texture)
{
    if (texture == nullptr)
    {
        return nullptr;
    }
    Targa *targa = Texture_GetTarga(texture);
    const int32_t width =
        targa != nullptr ? static_cast<int32_t>(Targa_GetWidth(targa)) : Texture_GetWidth(texture);
    const int32_t height = targa != nullptr ? static_cast<int32_t>(Targa_GetHeight(targa))
                                            : Texture_GetHeight(texture);
    return SubTexture_Create(texture, Vector2_Static(0, 0),
                             Texture_CalculatePixelPosition(texture, width, height));
}
