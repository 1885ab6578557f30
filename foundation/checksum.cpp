// checksum: CRC-32 with the reflected polynomial 0xEDB88320, computed eight bytes at a
// time ("slicing by 8"). The tables are built at compile time, so there is no first-call
// set-up and nothing to race on.
#include "foundation/checksum.h"

#include <array>
#include <bit>
#include <cstring>

namespace
{
constexpr uint32_t POLYNOMIAL = 0xEDB88320u;
constexpr int SLICES = 8;

using CrcTables = std::array<std::array<uint32_t, 256>, SLICES>;

constexpr CrcTables _BuildTables()
{
    CrcTables tables{};
    for (uint32_t i = 0; i < 256; i++)
    {
        uint32_t value = i;
        for (int bit = 0; bit < 8; bit++)
        {
            value = (value & 1u) != 0 ? (value >> 1) ^ POLYNOMIAL : value >> 1;
        }
        tables[0][i] = value;
    }
    // tables[k][i] is the CRC of byte i followed by k zero bytes.
    for (uint32_t i = 0; i < 256; i++)
    {
        for (int k = 1; k < SLICES; k++)
        {
            const uint32_t previous = tables[k - 1][i];
            tables[k][i] = (previous >> 8) ^ tables[0][previous & 0xFFu];
        }
    }
    return tables;
}

constexpr CrcTables table = _BuildTables();

static_assert(table[0][1] == 0x77073096u, "CRC-32 table entry 1");
static_assert(table[0][255] == 0x2D02EF8Du, "CRC-32 table entry 255");
} // namespace

uint32_t Checksum_CRC32(const uint8_t *data, int32_t length)
{
    if (length <= 0)
    {
        return 0;
    }
    uint32_t crc = 0xFFFFFFFFu;
    size_t remaining = static_cast<size_t>(length);

    while (remaining >= SLICES)
    {
        uint32_t low;
        uint32_t high;
        memcpy(&low, data, 4);
        memcpy(&high, data + 4, 4);
        if constexpr (std::endian::native == std::endian::big)
        {
            low = __builtin_bswap32(low);
            high = __builtin_bswap32(high);
        }
        low ^= crc;
        crc = table[7][low & 0xFFu] ^ table[6][(low >> 8) & 0xFFu] ^ table[5][(low >> 16) & 0xFFu] ^
              table[4][low >> 24] ^ table[3][high & 0xFFu] ^ table[2][(high >> 8) & 0xFFu] ^
              table[1][(high >> 16) & 0xFFu] ^ table[0][high >> 24];
        data += SLICES;
        remaining -= SLICES;
    }
    while (remaining-- > 0)
    {
        crc = (crc >> 8) ^ table[0][(crc ^ *data++) & 0xFFu];
    }
    return crc ^ 0xFFFFFFFFu;
}
