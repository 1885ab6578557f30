// Huffman coder: the worked examples, round trips through the alphabet hand-over, optimality
// against an independently built Huffman code, and the refusals of hostile alphabets and streams.
#include "toolkit/huffman.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

using testing::HasSubstr;

namespace
{

class HuffmanTest : public testing::Test
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    void TearDown() override
    {
        Huffman_Destroy(huffman);
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    // Encodes data, or decodes bits bits of it with the current alphabet; the coder's print in
    // trace.
    int32_t Run(const std::string &data, int32_t bits = -1)
    {
        const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
        testing::internal::CaptureStdout();
        bits < 0 ? Huffman_SetUncompressedInput(huffman, bytes, static_cast<int32_t>(data.size()))
                 : Huffman_SetCompressedInput(huffman, bytes, bits);
        const int32_t result = bits < 0 ? Huffman_Encode(huffman) : Huffman_Decode(huffman);
        trace = testing::internal::GetCapturedStdout();
        return result;
    }

    // The decoded bytes, or the encoded stream's bytes; "<none>" when there is no output.
    std::string Output(bool encoded = false)
    {
        uint8_t *data = nullptr;
        Huffman_GetOutput(huffman, &data, &length);
        const int32_t bytes = encoded ? (length + 7) / 8 : length;
        return data == nullptr ? "<none>" : std::string(reinterpret_cast<char *>(data), bytes);
    }

    // The alphabet handed out into symbols and lengths (returned), the coder's copies released.
    const std::vector<uint8_t> &FetchAlphabet()
    {
        uint16_t *s = nullptr;
        uint8_t *l = nullptr;
        int32_t count = 0;
        Huffman_GetAlphabet(huffman, &s, &l, &count);
        symbols.assign(s, s + count);
        lengths.assign(l, l + count);
        MEMORY_FREE(s), MEMORY_FREE(l);
        return lengths;
    }

    void SetAlphabet(const std::vector<uint16_t> &s, const std::vector<uint8_t> &l)
    {
        Huffman_SetAlphabet(huffman, s.data(), l.data(), static_cast<int32_t>(s.size()));
    }

    Huffman *huffman = Huffman_Create();
    std::string trace;
    int32_t length = -1; // of the output: bits after encoding, bytes after decoding
    std::vector<uint16_t> symbols;
    std::vector<uint8_t> lengths;
};

// Bits written as '0' and '1' (spaces skipped) packed most significant first, as the coder does.
std::string Pack(std::string bits)
{
    std::erase(bits, ' ');
    std::string bytes((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); i++)
        bytes[i / 8] = static_cast<char>(bytes[i / 8] | (bits[i] == '1') << (7 - i % 8));
    return bytes;
}

// Bytes of symbols values, value i drawn about ratio times as often as value i - 1.
std::string SkewedRandom(uint32_t seed, size_t length, double ratio, int32_t symbols)
{
    std::mt19937 engine(seed);
    std::geometric_distribution<int32_t> pick(1 - ratio);
    std::string data(length, 0);
    for (char &b : data)
        b = static_cast<char>((pick(engine) % symbols * 37 + 11) % 256);
    return data;
}

TEST_F(HuffmanTest, EncodesAabAsDocumentedAndRefusesInputsWithoutTwoValues)
{
    EXPECT_EQ(Run(""), HUFFMAN_NO_INPUT);
    EXPECT_EQ(Run("aaaa"), HUFFMAN_SYMBOL_WITHOUT_CODE);
    EXPECT_THAT(trace, HasSubstr("ERROR"));
    EXPECT_EQ(Output(true), "<none>");
    EXPECT_EQ(length, 0);

    ASSERT_EQ(Run("aab"), HUFFMAN_OK);
    EXPECT_THAT(trace, testing::StartsWith("Calling calculateBits\n"));
    EXPECT_THAT(trace, testing::EndsWith("Alpha:Code  97:a 0\nAlpha:Code  98:b 1\n"));
    EXPECT_EQ(Output(true), Pack("001"));
    EXPECT_EQ(length, 3);
    EXPECT_THAT(FetchAlphabet(), testing::ElementsAre(1, 1));
    EXPECT_THAT(symbols, testing::ElementsAre('a', 'b'));
}

TEST_F(HuffmanTest, FixedDeflateLengthsGiveTheFixedCodesAndListing)
{
    for (uint16_t s = 0; s < 288; s++)
        symbols.push_back(s), lengths.push_back(s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8);
    SetAlphabet(symbols, lengths);
    // Block header, 'A', length 257 with distance code 4 (5 + 1 extra bits), length 265 (1 extra
    // bit) with distance 29 (5 + 13 extra bits), 'B', the never-occurring 286 and distance 30
    // after 258, end of block.
    const std::string stream = Pack("011 01110001 0000001 00100 1 0001001 1 11101 1111111111111 "
                                    "01110010 11000110 0000010 11110 0000000");
    ASSERT_EQ(Run(stream, 85), HUFFMAN_OK);
    for (const char *code : {"256:  0000000\n", "  0:  00110000\n", " 65:A 01110001\n",
                             "144:  110010000\n", "280:  11000000\n"})
        EXPECT_THAT(trace, HasSubstr(std::string("Alpha:Code ") + code));
    // Distance 4 must occupy 6 bits and 29 occupy 18, or what follows would be misread.
    EXPECT_THAT(trace, HasSubstr("65:A 257:l0 b4 265:l1 b29 66:B "
                                 "    ERROR: Code 286 should never occur     258:l0 "
                                 "     ERROR: Code 30 should never occur     END_OF_BLOCK \n"));
}

TEST_F(HuffmanTest, RoundTripsOptimallyThroughTheAlphabetHandOver)
{
    std::string allValues(512, 0);
    for (size_t i = 0; i < allValues.size(); i++)
        allValues[i] = static_cast<char>(i * 7);
    for (const std::string &input :
         {std::string("ab"), allValues, SkewedRandom(2, 65535, 0.99, 256),
          SkewedRandom(4, 50000, 0.85, 64), SkewedRandom(6, 4000, 0.5, 8)})
    {
        SCOPED_TRACE(input.size());
        ASSERT_EQ(Run(input), HUFFMAN_OK);
        const std::string stream = Output(true);

        // The length is that of a Huffman code built independently: every merge of the two
        // lightest weights adds one bit to every symbol below it.
        std::multiset<int64_t> weights;
        for (int32_t value = 0; value < 256; value++)
            weights.insert(std::count(input.begin(), input.end(), static_cast<char>(value)));
        weights.erase(0);
        int64_t optimal = 0;
        const auto lightest = [&] { return weights.extract(weights.begin()).value(); };
        while (weights.size() > 1)
            optimal += *weights.insert(lightest() + lightest());
        EXPECT_EQ(length, optimal);

        // A fresh coder gets the alphabet and the stream.
        FetchAlphabet();
        Huffman_Destroy(huffman);
        huffman = Huffman_Create();
        SetAlphabet(symbols, lengths);
        EXPECT_EQ(Run(stream, length), HUFFMAN_OK);
        EXPECT_EQ(Output(), input);
    }
}

TEST_F(HuffmanTest, RefusesInputsAndAlphabetsBeyondItsLimits)
{
    EXPECT_EQ(Run("y" + std::string(HUFFMAN_MAX_INPUT, 'x')), HUFFMAN_INPUT_TOO_LONG);
    EXPECT_THAT(trace, HasSubstr("Error at huffman.cpp"));

    // Fibonacci counts make the deepest tree there is: n symbols need n - 1 levels.
    std::string fibonacci;
    for (int32_t symbol = 0, a = 1, b = 1; symbol < 17; symbol++, b += a, a = b - a)
        fibonacci.append(static_cast<size_t>(a), static_cast<char>('A' + symbol));
    EXPECT_EQ(Run(fibonacci), HUFFMAN_TREE_TOO_DEEP); // 17 symbols, A to Q
    EXPECT_EQ(Output(), "<none>");
    EXPECT_TRUE(FetchAlphabet().empty());
    EXPECT_EQ(Run(fibonacci.substr(0, fibonacci.find('Q'))), HUFFMAN_OK); // A to P
    ASSERT_EQ(FetchAlphabet().size(), 16u);
    EXPECT_EQ(lengths.back(), 15);

    // Code lengths that over-subscribe the code space, or go past 15 bits.
    for (const std::vector<uint8_t> &bad : {std::vector<uint8_t>{1, 1, 1}, {1, 2, 16}})
    {
        SetAlphabet({'a', 'b', 'c'}, bad);
        EXPECT_EQ(Run("\xFF\xFF", 16), HUFFMAN_BAD_ALPHABET);
        EXPECT_EQ(Output(), "<none>");
    }
}

TEST_F(HuffmanTest, DecodesOnlyWholeSequencesOfCodes)
{
    // One 15-bit code: far more inner nodes than twice the alphabet.
    SetAlphabet({'z'}, {15});
    EXPECT_EQ(Run(std::string(4, 0), 30), HUFFMAN_OK); // two codes, two stray bits: whole from 3
    EXPECT_EQ(Output(), "zz");
    EXPECT_EQ(Run(Pack("0000000001"), 16), HUFFMAN_UNDECODABLE); // a 1 bit has no code
    EXPECT_EQ(Output(), "<none>");

    SetAlphabet({'a', 'b', 'c'}, {1, 2, 2}); // a 0, b 10, c 11
    // From bit 0 "b c a" and a dangling 1; from bit 3, "b" and a dangling 1.
    EXPECT_EQ(Run(Pack("101101"), 6), HUFFMAN_UNDECODABLE);
    EXPECT_EQ(Run(Pack("101101"), 5), HUFFMAN_OK); // whole from bit 0
    EXPECT_EQ(Output(), "bca");
}

} // namespace
