// Any bytes as a sprite sheet through the catalogue's steps before OpenGL: the block must hold
// every decoded pixel in RGBA order.
#include "fuzz/fuzz_prologue.h"
#include "resources/asset.h"
#include "resources/targa.h"

#include <cstdlib>
#include <cstring>

// The limit that holds where no OpenGL context is current.
static constexpr int32_t largestSide = 4096;
static constexpr const char *sheet = "SpaceShooterAssetPack_Ships.tga";

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Targa *targa =
        Fuzz_Accept(size) ? Asset_DecodeSheet(sheet, data, int32_t(size), largestSide) : nullptr;
    if (targa == nullptr)
        return 0;
    if (Targa_GetWidth(targa) > largestSide || Targa_GetHeight(targa) > largestSide)
        abort();
    uint8_t *block = Asset_MakeSheetPixels(sheet, targa);
    const size_t depth = static_cast<size_t>(Targa_GetBitsPerPixel(targa) / 8),
                 count = block ? size_t{Targa_GetWidth(targa)} * Targa_GetHeight(targa) : 0;
    const uint8_t *pixels = Targa_GetData(targa);
    for (size_t i = 0; i < count; i++)
        if (memcmp(block + 4 * i, pixels + depth * i, 3) != 0 ||
            block[4 * i + 3] != (depth == 4 ? pixels[4 * i + 3] : 0xFF))
            abort();
    free(block);
    Targa_Destroy(targa);
    return 0;
}
