// checksum: CRC-32 with the reflected polynomial 0xEDB88320. On x86 processors with
// carry-less multiplication, blocks of 64 bytes are folded four lanes at a time (PCLMULQDQ)
// and reduced to 32 bits with a Barrett step; the tail, and every processor without it, runs
// sixteen bytes at a time ("slicing by 16": sixteen independent table look-ups per step
// instead of a chain of sixteen dependent ones). The tables are built at compile time and
// the processor is asked at each call (one load of what libgcc found at load time), so there
// is no first-call set-up and nothing to race on.
#include "foundation/checksum.h"

#include "foundation/logging.h"

#include <array>
#include <bit>
#include <cstring>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#define CHECKSUM_CARRYLESS 1
#else
#define CHECKSUM_CARRYLESS 0
#endif

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

#if CHECKSUM_CARRYLESS
// Shorter inputs gain nothing from the set-up of four lanes.
static constexpr size_t FOLD_MINIMUM = 64;

// x^(32 * n) mod P for the fold distances (bit-reflected, shifted by one), and the Barrett
// constants: P itself and floor(x^64 / P).
alignas(16) static constexpr uint64_t _fold512[2] = {0x154442BD4u, 0x1C6E41596u};
alignas(16) static constexpr uint64_t _fold128[2] = {0x1751997D0u, 0x0CCAA009Eu};
alignas(16) static constexpr uint64_t _fold64[2] = {0x163CD6124u, 0};
alignas(16) static constexpr uint64_t _barrett[2] = {0x1DB710641u, 0x1F7011641u};

// value x^128 + next: the low and high halves of value carried 128 bits further on.
__attribute__((target("pclmul,sse4.1"))) static inline __m128i _Fold(__m128i value, __m128i next,
                                                                     __m128i distance)
{
    const __m128i low = _mm_clmulepi64_si128(value, distance, 0x00);
    const __m128i high = _mm_clmulepi64_si128(value, distance, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

static inline __m128i _Load(const uint8_t *data)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(data));
}

// The CRC register after length bytes (at least 64, a multiple of 16) starting from crc.
__attribute__((target("pclmul,sse4.1"))) static uint32_t
_FoldBlocks(uint32_t crc, const uint8_t *data, size_t length)
{
    __m128i lanes[4] = {_Load(data), _Load(data + 16), _Load(data + 32), _Load(data + 48)};
    lanes[0] = _mm_xor_si128(lanes[0], _mm_cvtsi32_si128(static_cast<int>(crc)));
    data += 64;
    length -= 64;
    __m128i distance = _mm_load_si128(reinterpret_cast<const __m128i *>(_fold512));
    while (length >= 64)
    {
        for (int lane = 0; lane < 4; lane++)
        {
            lanes[lane] = _Fold(lanes[lane], _Load(data + 16 * lane), distance);
        }
        data += 64;
        length -= 64;
    }
    distance = _mm_load_si128(reinterpret_cast<const __m128i *>(_fold128));
    __m128i value = _Fold(lanes[0], lanes[1], distance);
    value = _Fold(value, lanes[2], distance);
    value = _Fold(value, lanes[3], distance);
    while (length >= 16)
    {
        value = _Fold(value, _Load(data), distance);
        data += 16;
        length -= 16;
    }
    // 128 bits to 64, then to 32 by Barrett reduction.
    const __m128i lowWords = _mm_setr_epi32(-1, 0, -1, 0);
    value = _mm_xor_si128(_mm_srli_si128(value, 8), _mm_clmulepi64_si128(value, distance, 0x10));
    const __m128i upper = _mm_srli_si128(value, 4);
    value = _mm_clmulepi64_si128(_mm_and_si128(value, lowWords),
                                 _mm_load_si128(reinterpret_cast<const __m128i *>(_fold64)), 0x00);
    value = _mm_xor_si128(value, upper);
    const __m128i poly = _mm_load_si128(reinterpret_cast<const __m128i *>(_barrett));
    __m128i quotient = _mm_clmulepi64_si128(_mm_and_si128(value, lowWords), poly, 0x10);
    quotient = _mm_clmulepi64_si128(_mm_and_si128(quotient, lowWords), poly, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(value, quotient), 1));
}
#endif

static bool _carrylessAllowed = true;

void Checksum_AllowCarrylessMultiply(bool allowed)
{
    _carrylessAllowed = allowed;
}

bool Checksum_UsesCarrylessMultiply(void)
{
#if CHECKSUM_CARRYLESS
    return _carrylessAllowed && __builtin_cpu_supports("pclmul") &&
           __builtin_cpu_supports("sse4.1");
#else
    return false;
#endif
}

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
#if CHECKSUM_CARRYLESS
    if (remaining >= FOLD_MINIMUM && Checksum_UsesCarrylessMultiply())
    {
        const size_t folded = remaining & ~size_t{15};
        crc = _FoldBlocks(crc, data, folded);
        data += folded;
        remaining -= folded;
    }
#endif

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
