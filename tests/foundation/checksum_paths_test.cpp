// Both ways of computing the CRC-32 (carry-less multiplication and tables) against zlib, on
// the lengths where the folding changes hands: below one block, at the block and lane edges,
// with tails of every size, from every alignment.
#include "foundation/checksum.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>
#include <zlib.h>

TEST(Checksum, BothWaysMatchZlib)
{
    std::mt19937 generator(11);
    std::vector<uint8_t> buffer(70000);
    for (uint8_t &byte : buffer)
    {
        byte = static_cast<uint8_t>(generator());
    }
    const size_t lengths[] = {1,   15,  16,  63,  64,  65,   79,   80,   127,
                              128, 129, 191, 255, 256, 1000, 4096, 4111, 65536 + 63};
    for (bool carryless : {true, false})
    {
        Checksum_AllowCarrylessMultiply(carryless);
        if (carryless && !Checksum_UsesCarrylessMultiply())
        {
            continue; // an old processor, or not x86: the tables are checked all the same
        }
        EXPECT_EQ(Checksum_UsesCarrylessMultiply(), carryless);
        for (size_t offset = 0; offset < 16; offset++)
        {
            for (size_t length : lengths)
            {
                const uint8_t *data = buffer.data() + offset;
                ASSERT_EQ(Checksum_CRC32(data, static_cast<int32_t>(length)),
                          static_cast<uint32_t>(crc32(0L, data, static_cast<uInt>(length))))
                    << (carryless ? "carry-less" : "tables") << ", offset " << offset << ", length "
                    << length;
            }
        }
    }
    Checksum_AllowCarrylessMultiply(true);
}
