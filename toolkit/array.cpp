// array: fixed-step growth, so a reader appending n elements reallocates n / step times.
#include "toolkit/array.h"

#include "foundation/logging.h"

#include <cstdlib>

void *Array_Extend(void *array, int32_t count, int32_t elementSize, int32_t step)
{
    if (count < 0 || elementSize <= 0 || step <= 0)
    {
        // No caller can use an array grown from such numbers; stop before anyone writes to it.
        LOG_ERROR("Array_Extend(%d, %d, %d) has no meaning.", count, elementSize, step);
        abort();
    }
    if (count % step != 0)
    {
        return array;
    }
    const auto bytes =
        static_cast<size_t>(static_cast<int64_t>(count) + step) * static_cast<size_t>(elementSize);
    void *grown = realloc(array, bytes);
    if (grown == nullptr)
    {
        LOG_ERROR("Failed to grow an array to %zu bytes.", bytes);
        exit(1);
    }
    return grown;
}
