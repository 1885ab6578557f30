// Strings and the CRC-32 (checked against zlib's).
#include "foundation_test.h"

#include "foundation/checksum.h"
#include "foundation/mystring.h"

#include <cfloat>
#include <cinttypes>
#include <climits>
#include <cstring>
#include <random>
#include <zlib.h>

using StringTest = FoundationTest;

// Compares and releases a String in one go.
static void _ExpectText(String *string, const std::string &expected)
{
    EXPECT_EQ(String_ToCStr(string), expected);
    EXPECT_EQ(String_Length(string), static_cast<int32_t>(expected.size()));
    String_Destroy(string);
}

TEST_F(StringTest, AppendingMakesNewStrings)
{
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
    // The score is a 64-bit value; the portable conversion keeps every digit.
    _ExpectText(String_Format("Score: %" PRId64, int64_t{5000000000}), "Score: 5000000000");
    _ExpectText(String_Format("Score: %" PRId64, INT64_MIN), "Score: -9223372036854775808");

    const std::string longText(2000, 'z');
    _ExpectText(String_Format("%s", longText.c_str()), longText.substr(0, 1023));
    _ExpectText(String_Format("%s", longText.substr(0, 1023).c_str()), longText.substr(0, 1023));
    _ExpectText(String_Format("%s!", longText.substr(0, 1022).c_str()),
                longText.substr(0, 1022) + "!");
    _ExpectText(String_Format("%s", ""), "");
}

TEST_F(StringTest, PlainCStringsAndCrc)
{
    EXPECT_EQ(String_LengthOfCStr("hello"), 5);
    char *copy = String_CStrCopy("hello");
    EXPECT_STREQ(copy, "hello");
    String_CStrFree(copy);

    String *a = String_Create("123456789");
    String *b = String_Format("%d", 123456789);
    String *empty = String_Create("");
    EXPECT_EQ(String_GetCRC(a), static_cast<int32_t>(0xCBF43926u));
    EXPECT_EQ(String_GetCRC(a), String_GetCRC(b));
    EXPECT_EQ(String_GetCRC(empty), 0);
    String_Destroy(a);
    String_Destroy(b);
    String_Destroy(empty);
}

TEST(Checksum, CheckValues)
{
    auto crc = [](const char *text)
    {
        return Checksum_CRC32(reinterpret_cast<const uint8_t *>(text),
                              static_cast<int32_t>(strlen(text)));
    };
    EXPECT_EQ(crc("123456789"), 0xCBF43926u);
    EXPECT_EQ(crc("abc"), 0x352441C2u);
    EXPECT_EQ(crc("a"), 0xE8B7BE43u);
    EXPECT_EQ(crc("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    const uint8_t bytes[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Checksum_CRC32(bytes, 4), 0xFFFFFFFFu);
    EXPECT_EQ(Checksum_CRC32(bytes, 0), 0u);
    EXPECT_EQ(Checksum_CRC32(bytes, -4), 0u);
    EXPECT_EQ(Checksum_CRC32(nullptr, 0), 0u);
}

TEST(Checksum, MatchesZlibForEveryLengthAndAlignment)
{
    std::mt19937 generator(7);
    std::vector<uint8_t> buffer((1 << 20) + 64);
    for (uint8_t &byte : buffer)
    {
        byte = static_cast<uint8_t>(generator());
    }
    auto zlib = [](const uint8_t *data, size_t length)
    { return static_cast<uint32_t>(crc32(0L, data, static_cast<uInt>(length))); };
    for (size_t offset = 0; offset < 16; offset++)
    {
        for (size_t length = 1; length <= 300; length++)
        {
            ASSERT_EQ(Checksum_CRC32(buffer.data() + offset, static_cast<int32_t>(length)),
                      zlib(buffer.data() + offset, length))
                << "offset " << offset << ", length " << length;
        }
    }
    for (size_t length : {size_t{4095}, size_t{65536}, size_t{1} << 20, (size_t{1} << 20) + 61})
    {
        EXPECT_EQ(Checksum_CRC32(buffer.data() + 3, static_cast<int32_t>(length)),
                  zlib(buffer.data() + 3, length))
            << length;
    }
}
