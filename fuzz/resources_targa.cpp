// Any bytes into the TGA decoder: every byte of width x height pixels of its depth is read back.
#include "fuzz/fuzz_prologue.h"
#include "resources/targa.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Targa *targa = Fuzz_Accept(size) ? Targa_Create_FromMemory(data, int32_t(size)) : nullptr;
    if (targa == nullptr)
        return 0;
    const size_t bytes = size_t{Targa_GetWidth(targa)} * Targa_GetHeight(targa) *
                         static_cast<size_t>(Targa_GetBitsPerPixel(targa) / 8);
    if ((bytes == 0) != (Targa_GetData(targa) == nullptr))
        abort();
    Fuzz_ReadAll(Targa_GetData(targa), bytes);
    Targa_Destroy(targa);
    return 0;
}
