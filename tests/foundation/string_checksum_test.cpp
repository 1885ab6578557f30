// Strings and the CRC-32 (checked against zlib's).
#include "foundation_test.h"

#include <cfloat>
#include <cinttypes>
#include <climits>
#include <zlib.h>

using StringTest = FoundationTest;

static void _ExpectText(String *string, const std::string &expected)
{
    EXPECT_EQ(String_ToCStr(string), expected);
    EXPECT_EQ(String_Length(string), static_cast<int32_t>(expected.size()));
    String_Destroy(string);
}

TEST_F(StringTest, AppendingMakesNewStringsAndCrcsAreTheChecksums)
{
    EXPECT_EQ(String_LengthOfCStr("hello"), 5);
    char *copy = String_CStrCopy("hello");
    EXPECT_STREQ(copy, "hello");
    String_CStrFree(copy);
    String *texts[] = {String_Create("123456789"), String_Format("%d", 123456789),
                       String_Create("")};
    EXPECT_EQ(String_GetCRC(texts[0]), static_cast<int32_t>(0xCBF43926u));
    EXPECT_EQ(String_GetCRC(texts[1]), String_GetCRC(texts[0]));
    EXPECT_EQ(String_GetCRC(texts[2]), 0);
    for (String *text : texts)
        String_Destroy(text);

    String *abc = String_Create("abc");
    _ExpectText(String_Append_CStr(abc, "de"), "abcde");
    EXPECT_STREQ(String_ToCStr(abc), "abc");
    _ExpectText(String_Append_String(abc, abc), "abcabc");
    _ExpectText(String_Copy(abc), "abc");
    String_Destroy(abc);

    String *level = String_Create("Level ");
    _ExpectText(String_Append_Integer(level, 3), "Level 3");
    _ExpectText(String_Append_Integer(level, -42), "Level -42");
    _ExpectText(String_Append_Integer(level, INT32_MIN), "Level -2147483648");
    String_Destroy(level);

    String *empty = String_Create("");
    EXPECT_EQ(String_Length(empty), 0);
    EXPECT_EQ(String_Length(empty), 0) << "counting again still gives 0";
    _ExpectText(String_Append_Decimal(empty, 2.25), "2.250000");
    _ExpectText(String_Append_Decimal(empty, -1e22), "-1" + std::string(22, '0') + ".000000");
    String *huge = String_Append_Decimal(empty, -DBL_MAX);
    EXPECT_EQ(String_Length(huge), 1 + 309 + 7) << "every digit of the largest double is kept";
    String_Destroy(huge);
    _ExpectText(String_Append_CStr(empty, ""), "");
    String_Destroy(empty);
}

TEST_F(StringTest, FormattingAndTheCut)
{
    _ExpectText(String_Format("Level: %d", 4), "Level: 4");
    _ExpectText(String_Format("%s|%.2f|%c", "x", 2.5, 'q'), "x|2.50|q");
    _ExpectText(String_Format("Score: %" PRId64, int64_t{5000000000}), "Score: 5000000000");
    _ExpectText(String_Format("Score: %" PRId64, INT64_MIN), "Score: -9223372036854775808");

    const std::string longText(2000, 'z');
    _ExpectText(String_Format("%s", longText.c_str()), longText.substr(0, 1023));
    _ExpectText(String_Format("%s", longText.substr(0, 1023).c_str()), longText.substr(0, 1023));
    _ExpectText(String_Format("%s!", longText.substr(0, 1022).c_str()),
                longText.substr(0, 1022) + "!");
    _ExpectText(String_Format("%s", ""), "");
}

// Carry-less and table CRCs against zlib over lengths and alignments; no data refused.
TEST_F(StringTest, ChecksumMatchesZlibBothWaysAndRefusesNoData)
{
    std::mt19937 generator(11);
    std::vector<uint8_t> buffer((1 << 20) + 80);
    for (uint8_t &byte : buffer)
        byte = static_cast<uint8_t>(generator());
    std::vector<size_t> lengths = {4095, 4096, 4111, 65536 + 63, 1 << 20, (1 << 20) + 61};
    for (size_t length = 1; length <= 300; length++)
        lengths.push_back(length);
    for (bool carryless : {true, false})
    {
        Checksum_AllowCarrylessMultiply(carryless);
        if (carryless && !Checksum_UsesCarrylessMultiply())
            continue; // an old processor, or not x86: the tables are checked all the same
        EXPECT_EQ(Checksum_UsesCarrylessMultiply(), carryless);
        for (size_t offset = 0; offset < 16; offset++)
            for (size_t length : lengths)
            {
                const uint8_t *data = buffer.data() + offset;
                ASSERT_EQ(Checksum_CRC32(data, static_cast<int32_t>(length)),
                          static_cast<uint32_t>(crc32(0L, data, static_cast<uInt>(length))))
                    << (carryless ? "carry-less" : "tables") << ", offset " << offset << ", length "
                    << length;
            }
    }
    Checksum_AllowCarrylessMultiply(true);
    EXPECT_EQ(Checksum_CRC32(buffer.data(), 0), 0u);
    EXPECT_EQ(Checksum_CRC32(buffer.data(), -4), 0u);
    EXPECT_EQ(Checksum_CRC32(nullptr, 0), 0u);
    uint32_t crc = 1;
    EXPECT_THAT(CaptureMessages([&] { crc = Checksum_CRC32(nullptr, 10); }),
                testing::ElementsAre("Unable to checksum 10 bytes at a null pointer"));
    EXPECT_EQ(crc, 0u);
}
