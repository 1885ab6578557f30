// Any bytes into the TGA decoder. A decoded image must hold exactly width x height pixels of
// its depth: every byte is read back, so a buffer sized for one depth and written for
// another shows up under AddressSanitizer.
#include "foundation/logging.h"
#include "resources/targa.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool silenced = (Logging_SetLevel(LOGGING_LEVEL_SILENT), true);
    (void)silenced;
    if (size > INT32_MAX)
    {
        return 0;
    }
    Targa *targa = Targa_Create_FromMemory(data, static_cast<int32_t>(size));
    if (targa == nullptr)
    {
        return 0;
    }
    const size_t bytes = size_t{Targa_GetWidth(targa)} * Targa_GetHeight(targa) *
                         static_cast<size_t>(Targa_GetBitsPerPixel(targa) / 8);
    const uint8_t *pixels = Targa_GetData(targa);
    if ((bytes == 0) != (pixels == nullptr))
    {
        abort();
    }
    uint32_t sum = 0;
    for (size_t i = 0; i < bytes; i++)
    {
        sum += pixels[i];
    }
    // Keeps the reads from being optimised away.
    volatile uint32_t sink = sum;
    (void)sink;
    Targa_Destroy(targa);
    return 0;
}
