// checksum: the standard CRC-32 (zlib, PNG, Ethernet).
#pragma once

#include <cstdint>

// CRC-32 of length bytes at data; 0 for a length of 0 or below, and 0 with an Error line for
// null data.
uint32_t Checksum_CRC32(const uint8_t *data, int32_t length);
