// Any bytes as a sprite sheet entry, through every step the catalogue takes before OpenGL:
// the size limit, the decoder, the sheet checks and the copy to RGBA. The block must hold the
// decoded pixels in RGBA order, every one of them.
#include "fuzz/fuzz_prologue.h"
#include "resources/asset.h"
#include "resources/targa.h"

#include <cstdlib>
#include <cstring>

// The limit that holds where no OpenGL context is current.
static constexpr int32_t largestSide = 4096;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!Fuzz_Accept(size))
    {
        return 0;
    }
    Targa *targa = Asset_DecodeSheet("SpaceShooterAssetPack_Ships.tga", data,
                                     static_cast<int32_t>(size), largestSide);
    if (targa == nullptr)
    {
        return 0;
    }
    if (Targa_GetWidth(targa) > largestSide || Targa_GetHeight(targa) > largestSide)
    {
        abort();
    }
    uint8_t *block = Asset_MakeSheetPixels("SpaceShooterAssetPack_Ships.tga", targa);
    if (block != nullptr)
    {
        const size_t count = size_t{Targa_GetWidth(targa)} * Targa_GetHeight(targa);
        const size_t depth = static_cast<size_t>(Targa_GetBitsPerPixel(targa) / 8);
        const uint8_t *pixels = Targa_GetData(targa);
        for (size_t i = 0; i < count; i++)
        {
            const uint8_t alpha = depth == 4 ? pixels[4 * i + 3] : 0xFF;
            if (memcmp(block + 4 * i, pixels + depth * i, 3) != 0 || block[4 * i + 3] != alpha)
            {
                abort();
            }
        }
        free(block);
    }
    Targa_Destroy(targa);
    return 0;
}
