// Huffman coder: the worked examples, round trips through the alphabet hand-over, optimality
// against an independently built Huffman code, and the refusals of hostile alphabets and streams.
#include "toolkit/huffman.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <queue>
#include <random>
#include <string>
#include <vector>

using testing::HasSubstr;
using testing::Not;

namespace
{

class HuffmanTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        huffman = Huffman_Create();
    }
    void TearDown() override
    {
        Huffman_Destroy(huffman);
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    // Encodes and returns the trace.
    std::string Encode(const std::vector<uint8_t> &data, int32_t *result)
    {
        Huffman_SetUncompressedInput(huffman, data.data(), static_cast<int32_t>(data.size()));
        testing::internal::CaptureStdout();
        *result = Huffman_Encode(huffman);
        return testing::internal::GetCapturedStdout();
    }

    // Decodes bits bits of stream with the current alphabet; returns the trace.
    std::string Decode(const uint8_t *stream, int32_t bits, int32_t *result)
    {
        Huffman_SetCompressedInput(huffman, stream, bits);
        testing::internal::CaptureStdout();
        *result = Huffman_Decode(huffman);
        return testing::internal::GetCapturedStdout();
    }

    // The decoded bytes, or "<none>" when there is no output.
    std::string Decoded()
    {
        uint8_t *data = nullptr;
        int32_t length = 0;
        Huffman_GetOutput(huffman, &data, &length);
        return data == nullptr ? "<none>" : std::string(reinterpret_cast<char *>(data), length);
    }

    // The alphabet handed out; the copies are released here.
    void Alphabet(std::vector<uint16_t> *symbols, std::vector<uint8_t> *lengths)
    {
        uint16_t *s = nullptr;
        uint8_t *l = nullptr;
        int32_t count = 0;
        Huffman_GetAlphabet(huffman, &s, &l, &count);
        symbols->assign(s, s + count);
        lengths->assign(l, l + count);
        MEMORY_FREE(s);
        MEMORY_FREE(l);
    }

    std::vector<uint8_t> Output(int32_t *length)
    {
        uint8_t *data = nullptr;
        Huffman_GetOutput(huffman, &data, length);
        if (data == nullptr)
        {
            return {};
        }
        return std::vector<uint8_t>(data, data + (*length + 7) / 8);
    }

    Huffman *huffman = nullptr;
};

std::vector<uint8_t> Bytes(const std::string &text)
{
    return {text.begin(), text.end()};
}

// Bits appended most significant first, as the coder packs them.
struct BitWriter
{
    std::vector<uint8_t> bytes;
    int32_t count = 0;
    void Put(uint32_t value, int32_t bits)
    {
        for (int32_t i = bits - 1; i >= 0; i--)
        {
            if (count % 8 == 0)
            {
                bytes.push_back(0);
            }
            if ((value >> i) & 1)
            {
                bytes.back() |= static_cast<uint8_t>(0x80 >> (count % 8));
            }
            count++;
        }
    }
};

// The fixed literal/length code of DEFLATE as an alphabet.
void SetFixedDeflateAlphabet(Huffman *huffman)
{
    std::vector<uint16_t> symbols(288);
    std::vector<uint8_t> bits(288);
    for (int32_t s = 0; s < 288; s++)
    {
        symbols[s] = static_cast<uint16_t>(s);
        bits[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    }
    Huffman_SetAlphabet(huffman, symbols.data(), bits.data(), 288);
}

// Sum of frequency times length of a Huffman code built with a priority queue.
int64_t IndependentHuffmanBits(const std::vector<uint8_t> &data)
{
    std::vector<int64_t> counts(256, 0);
    for (uint8_t b : data)
    {
        counts[b]++;
    }
    std::priority_queue<int64_t, std::vector<int64_t>, std::greater<>> queue;
    for (int64_t c : counts)
    {
        if (c > 0)
        {
            queue.push(c);
        }
    }
    // Every merge adds one bit to every symbol below it: the total is the sum of inner weights.
    int64_t total = 0;
    while (queue.size() > 1)
    {
        const int64_t a = queue.top();
        queue.pop();
        const int64_t b = queue.top();
        queue.pop();
        total += a + b;
        queue.push(a + b);
    }
    return total;
}

double EntropyBits(const std::vector<uint8_t> &data)
{
    std::vector<double> counts(256, 0);
    for (uint8_t b : data)
    {
        counts[b]++;
    }
    double bits = 0;
    for (double c : counts)
    {
        if (c > 0)
        {
            bits -= c * std::log2(c / static_cast<double>(data.size()));
        }
    }
    return bits;
}

std::vector<uint8_t> SkewedRandom(uint32_t seed, size_t length, double ratio, int32_t symbols)
{
    std::mt19937 engine(seed);
    std::vector<double> weights;
    double w = 1;
    for (int32_t i = 0; i < symbols; i++, w *= ratio)
    {
        weights.push_back(w);
    }
    std::discrete_distribution<int32_t> pick(weights.begin(), weights.end());
    std::vector<uint8_t> data(length);
    for (auto &b : data)
    {
        b = static_cast<uint8_t>((pick(engine) * 37 + 11) % 256);
    }
    return data;
}

TEST_F(HuffmanTest, EncodesAabWithTheDocumentedTraceAndBits)
{
    int32_t result = 0;
    const std::string trace = Encode(Bytes("aab"), &result);
    ASSERT_EQ(result, HUFFMAN_OK);
    EXPECT_EQ(trace, "Calling calculateBits\n"
                     "-> a 1 0\n"
                     "-> b 1 1\n"
                     "symbol 97 bits 1\n"
                     "symbol 98 bits 1\n"
                     "Sorting Encode...\n"
                     "self->alphabetBits[0] = bits[0] => 1\n"
                     "self->alphabetBits[1] = bits[1] => 1\n"
                     "Alpha:Code  97:a 0\n"
                     "Alpha:Code  98:b 1\n");
    int32_t bits = 0;
    const std::vector<uint8_t> out = Output(&bits);
    EXPECT_EQ(bits, 3);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], 0x20); // 0 0 1
    std::vector<uint16_t> symbols;
    std::vector<uint8_t> lengths;
    Alphabet(&symbols, &lengths);
    EXPECT_THAT(symbols, testing::ElementsAre('a', 'b'));
    EXPECT_THAT(lengths, testing::ElementsAre(1, 1));
}

TEST_F(HuffmanTest, RefusesEmptyAndSingleValueInputs)
{
    int32_t result = 0;
    testing::internal::CaptureStdout();
    result = Huffman_Encode(huffman);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, HUFFMAN_NO_INPUT);

    Encode({}, &result);
    EXPECT_EQ(result, HUFFMAN_NO_INPUT);

    for (const char *text : {"a", "aaaa"})
    {
        const std::string trace = Encode(Bytes(text), &result);
        EXPECT_EQ(result, HUFFMAN_SYMBOL_WITHOUT_CODE) << text;
        EXPECT_THAT(trace, HasSubstr("ERROR")) << text;
        int32_t bits = -1;
        EXPECT_TRUE(Output(&bits).empty());
        EXPECT_EQ(bits, 0);
    }
}

TEST_F(HuffmanTest, FixedDeflateLengthsGiveTheFixedCodesAndListing)
{
    SetFixedDeflateAlphabet(huffman);
    // Block header, 'A' (0x30 + 65, 8 bits), length 257 with distance code 4 (5 + 1 extra bits),
    // length 265 (1 extra bit) with distance 29 (5 + 13 extra bits), 'B', the never-occurring
    // 286 and distance 30 after 258, end of block.
    BitWriter w;
    w.Put(0b011, 3);
    w.Put(0x30 + 'A', 8);
    w.Put(257 - 256, 7);
    w.Put(4, 5);
    w.Put(1, 1);
    w.Put(265 - 256, 7);
    w.Put(1, 1);
    w.Put(29, 5);
    w.Put(0x1FFF, 13);
    w.Put(0x30 + 'B', 8);
    w.Put(0b11000110, 8);
    w.Put(258 - 256, 7);
    w.Put(30, 5);
    w.Put(0, 7);
    int32_t result = 0;
    const std::string trace = Decode(w.bytes.data(), w.count, &result);
    ASSERT_EQ(result, HUFFMAN_OK);
    EXPECT_THAT(trace, HasSubstr("Alpha:Code 256:  0000000\n"));
    EXPECT_THAT(trace, HasSubstr("Alpha:Code   0:  00110000\n"));
    EXPECT_THAT(trace, HasSubstr("Alpha:Code  65:A 01110001\n"));
    EXPECT_THAT(trace, HasSubstr("Alpha:Code 144:  110010000\n"));
    EXPECT_THAT(trace, HasSubstr("Alpha:Code 280:  11000000\n"));
    // Distance 4 must occupy 6 bits and 29 occupy 18, or what follows would be misread.
    EXPECT_THAT(trace, HasSubstr("65:A 257:l0 b4 265:l1 b29 66:B "
                                 "    ERROR: Code 286 should never occur     258:l0 "
                                 "     ERROR: Code 30 should never occur     END_OF_BLOCK \n"));
}

TEST_F(HuffmanTest, RoundTripsThroughTheAlphabetHandOver)
{
    std::vector<std::vector<uint8_t>> inputs = {
        Bytes("ab"),
        Bytes("The quick brown fox jumps over the lazy dog, again and again and again."),
        SkewedRandom(1, 20000, 0.8, 256),
        SkewedRandom(2, 65535, 0.99, 256),
    };
    std::vector<uint8_t> allValues(512);
    for (size_t i = 0; i < allValues.size(); i++)
    {
        allValues[i] = static_cast<uint8_t>(i * 7);
    }
    inputs.push_back(allValues);

    for (const auto &input : inputs)
    {
        int32_t result = 0;
        Encode(input, &result);
        ASSERT_EQ(result, HUFFMAN_OK) << input.size();
        int32_t bits = 0;
        const std::vector<uint8_t> stream = Output(&bits);
        std::vector<uint16_t> symbols;
        std::vector<uint8_t> lengths;
        Alphabet(&symbols, &lengths);
        // A fresh coder gets the alphabet and the stream.
        Huffman_Destroy(huffman);
        huffman = Huffman_Create();
        Huffman_SetAlphabet(huffman, symbols.data(), lengths.data(),
                            static_cast<int32_t>(symbols.size()));
        Decode(stream.data(), bits, &result);
        EXPECT_EQ(result, HUFFMAN_OK) << input.size();
        EXPECT_EQ(Decoded(), std::string(input.begin(), input.end())) << input.size();
    }
}

TEST_F(HuffmanTest, EncodedLengthIsOptimalAndWithinOneBitOfTheEntropy)
{
    std::string text;
    for (int i = 0; i < 200; i++)
    {
        text +=
            "It was the best of times, it was the worst of times; line " + std::to_string(i) + "\n";
    }
    const std::vector<std::vector<uint8_t>> inputs = {
        Bytes(text),
        SkewedRandom(3, 30000, 0.9, 256),
        SkewedRandom(4, 50000, 0.85, 64),
        SkewedRandom(5, 10000, 1.0, 256), // uniform
        SkewedRandom(6, 4000, 0.5, 8),
    };
    for (const auto &input : inputs)
    {
        int32_t result = 0;
        Encode(input, &result);
        ASSERT_EQ(result, HUFFMAN_OK) << input.size();
        int32_t bits = 0;
        Output(&bits);
        EXPECT_EQ(bits, IndependentHuffmanBits(input)) << input.size();
        const double entropy = EntropyBits(input);
        EXPECT_GE(bits, entropy - 1e-6) << input.size();
        EXPECT_LT(bits, entropy + static_cast<double>(input.size())) << input.size();
    }
}

TEST_F(HuffmanTest, RefusesInputsBeyondItsLimits)
{
    int32_t result = 0;
    std::vector<uint8_t> tooLong(HUFFMAN_MAX_INPUT + 1, 'x');
    tooLong[0] = 'y';
    std::string trace = Encode(tooLong, &result);
    EXPECT_EQ(result, HUFFMAN_INPUT_TOO_LONG);
    EXPECT_THAT(trace, HasSubstr("Error at huffman.cpp"));

    // Fibonacci counts make the deepest tree there is: n symbols need n - 1 levels.
    auto fibonacci = [](int32_t symbols)
    {
        std::vector<uint8_t> data;
        int32_t a = 1, b = 1;
        for (int32_t symbol = 0; symbol < symbols; symbol++)
        {
            data.insert(data.end(), static_cast<size_t>(a), static_cast<uint8_t>('A' + symbol));
            const int32_t next = a + b;
            a = b;
            b = next;
        }
        return data;
    };
    trace = Encode(fibonacci(17), &result);
    EXPECT_EQ(result, HUFFMAN_TREE_TOO_DEEP);
    EXPECT_THAT(trace, HasSubstr("Error at huffman.cpp"));
    int32_t bits = -1;
    EXPECT_TRUE(Output(&bits).empty());
    std::vector<uint16_t> symbols;
    std::vector<uint8_t> lengths;
    Alphabet(&symbols, &lengths);
    EXPECT_TRUE(symbols.empty());

    Encode(fibonacci(16), &result);
    EXPECT_EQ(result, HUFFMAN_OK);
    Alphabet(&symbols, &lengths);
    ASSERT_EQ(lengths.size(), 16u);
    EXPECT_EQ(lengths.back(), 15);
}

TEST_F(HuffmanTest, RefusesAlphabetsThatCannotBePrefixCodes)
{
    const uint16_t symbols[3] = {'a', 'b', 'c'};
    const uint8_t overSubscribed[3] = {1, 1, 1};
    const uint8_t tooLong[3] = {1, 2, 16};
    const uint8_t stream[2] = {0xFF, 0xFF};
    for (const uint8_t *lengths : {overSubscribed, tooLong})
    {
        Huffman_SetAlphabet(huffman, symbols, lengths, 3);
        int32_t result = 0;
        EXPECT_THAT(Decode(stream, 16, &result), HasSubstr("Error at huffman.cpp"));
        EXPECT_EQ(result, HUFFMAN_BAD_ALPHABET);
        EXPECT_EQ(Decoded(), "<none>");
    }
}

TEST_F(HuffmanTest, DecodesOnlyWholeSequencesOfCodes)
{
    // One 15-bit code: far more inner nodes than twice the alphabet.
    const uint16_t z = 'z';
    const uint8_t fifteen = 15;
    Huffman_SetAlphabet(huffman, &z, &fifteen, 1);
    const uint8_t zeros[4] = {0, 0, 0, 0};
    int32_t result = 0;
    Decode(zeros, 30, &result); // two codes and two stray bits: the listing from bit 3 is whole
    EXPECT_EQ(result, HUFFMAN_OK);
    EXPECT_EQ(Decoded(), "zz");
    const uint8_t one[2] = {0x00, 0x40}; // a 1 bit has no code
    EXPECT_THAT(Decode(one, 16, &result), HasSubstr("Error at huffman.cpp"));
    EXPECT_EQ(result, HUFFMAN_UNDECODABLE);
    EXPECT_EQ(Decoded(), "<none>");

    const uint16_t symbols[3] = {'a', 'b', 'c'};
    const uint8_t lengths[3] = {1, 2, 2}; // a 0, b 10, c 11
    Huffman_SetAlphabet(huffman, symbols, lengths, 3);
    // 10 11 0 1: from bit 0 "b c a" and a dangling 1; from bit 3, "b" and a dangling 1.
    const uint8_t stream[1] = {0b10110100};
    Decode(stream, 6, &result);
    EXPECT_EQ(result, HUFFMAN_UNDECODABLE);
    Decode(stream, 5, &result); // whole from bit 0
    EXPECT_EQ(result, HUFFMAN_OK);
    EXPECT_EQ(Decoded(), "bca");

    // Exactly two bytes on the heap: copying one more would be caught by AddressSanitizer.
    const uint8_t bits[2] = {1, 1};
    Huffman_SetAlphabet(huffman, symbols, bits, 2);
    auto *heap = new uint8_t[2]{0x12, 0x34};
    Decode(heap, 16, &result);
    delete[] heap;
    EXPECT_EQ(Decoded(), "aaabaaba"
                         "aabbabaa"); // 0x12, 0x34
}

} // namespace
