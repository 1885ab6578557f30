// What every fuzz target does first and last: the log silenced once (a line per rejected
// input would cost more than the decoding), inputs longer than the reader's 32-bit sizes (or
// a smaller bound of the target's) skipped, and every byte of an output read into a sink, so
// a block sized for less than it claims shows up under AddressSanitizer and the reads are not
// optimised away.
#pragma once

#include "foundation/logging.h"

#include <cstddef>
#include <cstdint>

// True when an input of size bytes is to be run.
inline bool Fuzz_Accept(size_t size, size_t largest = INT32_MAX)
{
    static const bool silenced = (Logging_SetLevel(LOGGING_LEVEL_SILENT), true);
    (void)silenced;
    return size <= largest;
}

// Reads count bytes at bytes (null with count 0 is fine).
inline void Fuzz_ReadAll(const uint8_t *bytes, size_t count)
{
    uint32_t sum = 0;
    for (size_t i = 0; i < count; i++)
    {
        sum += bytes[i];
    }
    volatile uint32_t sink = sum;
    (void)sink;
}
