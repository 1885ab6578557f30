// checksum: CRC-32 with the reflected polynomial 0xEDB88320, computed sixteen bytes at a
// time ("slicing by 16": sixteen independent table look-ups per step instead of a chain of
// sixteen dependent ones). The tables are built at compile time, so there is no first-call
// set-up and nothing to race on.
#include "foundation/checksum.h"

#include "foundation/logging.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace
{
constexpr uint32_t POLYNOMIAL = 0xEDB88320u;
constexpr int SLICES = 16;

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
// Byte k of a block is followed by SLICES - 1 - k more bytes before the step ends, so it is
// looked up in that table. The fold spells out all sixteen look-ups with no loop around them.
template <size_t... k> uint32_t _Step(const uint64_t (&words)[2], std::index_sequence<k...>)
{
    return (table[SLICES - 1 - k][(words[k / 8] >> (8 * (k % 8))) & 0xFFu] ^ ...);
}
} // namespace

uint32_t Checksum_CRC32(const uint8_t *data, int32_t length)
{
    if (length <= 0)
    {
        return 0;
    }
    if (data == nullptr)
    {
        LOG_ERROR("Unable to checksum %d bytes at a null pointer", length);
        return 0;
    }
    uint32_t crc = 0xFFFFFFFFu;
    size_t remaining = static_cast<size_t>(length);

    while (remaining >= SLICES)
    {
        uint64_t words[2];
        memcpy(words, data, sizeof(words));
        if constexpr (std::endian::native == std::endian::big)
        {
            words[0] = __builtin_bswap64(words[0]);
            words[1] = __builtin_bswap64(words[1]);
        }
        words[0] ^= crc;
        crc = _Step(words, std::make_index_sequence<SLICES>{});
        data += SLICES;
        remaining -= SLICES;
    }
    while (remaining-- > 0)
    {
        crc = (crc >> 8) ^ table[0][(crc ^ *data++) & 0xFFu];
    }
    return crc ^ 0xFFFFFFFFu;
}
