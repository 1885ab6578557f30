// Strings, the CRC-32 (checked against zlib's), vectors, colours, random numbers and the clock.
#include "foundation_test.h"

#include "foundation/color.h"
#include "foundation/date.h"
#include "foundation/random.h"
#include "foundation/vector.h"

#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <ctime>
#include <limits>
#include <zlib.h>

using StringTest = FoundationTest;

static void _ExpectText(String *string, const std::string &expected)
{
    EXPECT_EQ(String_ToCStr(string), expected);
    EXPECT_EQ(String_Length(string), static_cast<int32_t>(expected.size()));
    String_Destroy(string);
}

TEST_F(StringTest, AppendingAndFormattingMakeNewStringsAndCrcsAreTheChecksums)
{
    EXPECT_EQ(String_LengthOfCStr("hello"), 5);
    char *copy = String_CStrCopy("hello");
    EXPECT_STREQ(copy, "hello");
    String_CStrFree(copy);
    String *texts[] = {String_Create("123456789"), String_Format("%d", 123456789)};
    EXPECT_EQ(String_GetCRC(texts[0]), static_cast<int32_t>(0xCBF43926u));
    EXPECT_EQ(String_GetCRC(texts[1]), String_GetCRC(texts[0]));
    for (String *text : texts)
        String_Destroy(text);

    String *abc = String_Create("abc");
    _ExpectText(String_Append_CStr(abc, "de"), "abcde");
    EXPECT_STREQ(String_ToCStr(abc), "abc");
    _ExpectText(String_Append_String(abc, abc), "abcabc");
    _ExpectText(String_Copy(abc), "abc");
    _ExpectText(String_Append_Integer(abc, 3), "abc3");
    _ExpectText(String_Append_Integer(abc, INT32_MIN), "abc-2147483648");
    String_Destroy(abc);

    String *empty = String_Create("");
    EXPECT_EQ(String_Length(empty), 0);
    EXPECT_EQ(String_Length(empty), 0) << "counting again still gives 0";
    EXPECT_EQ(String_GetCRC(empty), 0);
    _ExpectText(String_Append_Decimal(empty, 2.25), "2.250000");
    // Every digit of the largest double is kept.
    _ExpectText(String_Append_Decimal(empty, -DBL_MAX), std::to_string(-DBL_MAX));
    _ExpectText(String_Append_CStr(empty, ""), "");
    String_Destroy(empty);

    _ExpectText(String_Format("Level: %d", 4), "Level: 4");
    _ExpectText(String_Format("Score: %" PRId64, INT64_MIN), "Score: -9223372036854775808");

    const std::string longText(2000, 'z'), cut(1023, 'z'), shorter(1022, 'z');
    _ExpectText(String_Format("%s", longText.c_str()), cut);
    _ExpectText(String_Format("%s", cut.c_str()), cut);
    _ExpectText(String_Format("%s!", shorter.c_str()), shorter + "!");
    _ExpectText(String_Format("%s", ""), "");
}

// Carry-less and table CRCs against zlib over lengths and alignments; no data refused.
TEST_F(StringTest, ChecksumMatchesZlibBothWaysAndRefusesNoData)
{
    std::mt19937 generator(11);
    std::vector<uint8_t> buffer((1 << 20) + 80);
    std::generate(buffer.begin(), buffer.end(), [&] { return static_cast<uint8_t>(generator()); });
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
                ASSERT_EQ(Checksum_CRC32(&buffer[offset], static_cast<int32_t>(length)),
                          crc32(0L, &buffer[offset], static_cast<uInt>(length)))
                    << (carryless ? "carry-less" : "tables") << ", offset " << offset << ", length "
                    << length;
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

using VectorTest = FoundationTest;

TEST_F(VectorTest, ArithmeticAbsAndRecords)
{
    const auto Xyz = [](Vector3 v) { return std::make_tuple(v.x, v.y, v.z); };
    const auto Xy = [](Vector2 v) { return std::make_tuple(v.x, v.y); };
    const Vector2 a = Vector2_Static(1.5f, -2.0f), b = Vector2_Static(0.5f, 4.0f);
    EXPECT_EQ(Xy(Vector2_Add(a, b)), std::make_tuple(2.0f, 2.0f));
    EXPECT_EQ(Xy(Vector2_Subtract(a, b)), std::make_tuple(1.0f, -6.0f));
    EXPECT_EQ(Xy(Vector2_Abs(Vector2_Divide(Vector2_Multiply(a, 2.0f), 4.0f))),
              std::make_tuple(0.75f, 1.0f));
    const Vector3 c = Vector3_Static(1, 2, 3), d = Vector3_Static(-1, 0.5f, 6);
    EXPECT_EQ(Xyz(Vector3_Add(c, d)), std::make_tuple(0.0f, 2.5f, 9.0f));
    EXPECT_EQ(Xyz(Vector3_Subtract(c, d)), std::make_tuple(2.0f, 1.5f, -3.0f));
    EXPECT_EQ(Xyz(Vector3_Divide(Vector3_Multiply(c, 4), 8)), std::make_tuple(0.5f, 1.0f, 1.5f));
    // Only values below zero are negated: -0 and NaN pass through.
    const Vector3 odd =
        Vector3_Abs(Vector3_Static(-0.0f, std::numeric_limits<float>::quiet_NaN(), -0.5f));
    EXPECT_TRUE(std::signbit(odd.x) && std::isnan(odd.y) && odd.z == 0.5f);

    Vector2 *v2 = Vector2_Create(1, 2);
    Vector3 *v3 = Vector3_Create(3, 4, 5);
    EXPECT_EQ(std::tuple_cat(Xy(*v2), Xyz(*v3)), std::make_tuple(1.0f, 2.0f, 3.0f, 4.0f, 5.0f));
    Vector2_Destroy(v2), Vector3_Destroy(v3);
    const auto [red, green, blue, alpha] = Color_Static(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(std::make_tuple(red, green, blue, alpha), std::make_tuple(0.1f, 0.2f, 0.3f, 0.4f));
}

TEST(Random, SeedsRepeatTheSequenceStateGeneratorStepsAndDateFollowsTheClock)
{
    auto draw = [](int32_t seed)
    {
        Random_SetSeed(seed);
        std::vector<int32_t> values(64);
        std::generate(values.begin(), values.end(), Random_GetValue);
        return values;
    };
    EXPECT_EQ(draw(42), draw(42));
    EXPECT_NE(draw(42), draw(43));
    EXPECT_EQ(draw(0), draw(0)) << "seed 0 must not fall back to the clock";

    uint64_t state = 0;
    EXPECT_EQ(randomStateValueInt(&state), 0);
    EXPECT_EQ(randomStateValueInt(&state), 0x5851F42D);
    EXPECT_EQ(state, 0x5851F42D4C957F2Eull);
    state = 0xFFFFFFFFFFFFFFFFull; // the top bit of the state never reaches the value
    for (int i = 0; i < 1000; i++)
        EXPECT_GE(randomStateValueInt(&state), 0);
    const int64_t before = time(nullptr), now = Date_GetSecondsSinceEpoch();
    EXPECT_TRUE(now >= before && now <= time(nullptr)) << now;
}
