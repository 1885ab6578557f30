// Every fuzz target's first and last steps: the log silenced, inputs past a bound skipped, and
// every byte of an output read, so a block smaller than it claims shows under AddressSanitizer.
#pragma once

#include "foundation/logging.h"

#include <cstddef>
#include <cstdint>

inline bool Fuzz_Accept(size_t size, size_t largest = INT32_MAX)
{
    static const bool silenced = (Logging_SetLevel(LOGGING_LEVEL_SILENT), true);
    return silenced && size <= largest;
}

// Reads count bytes at bytes (null with count 0 is fine).
inline void Fuzz_ReadAll(const uint8_t *bytes, size_t count)
{
    volatile uint8_t sink = 0;
    for (size_t i = 0; i < count; i++)
        sink = sink + bytes[i];
}
