// Any alphabet and stream into the Huffman decoder, then the stream's bytes through an encode,
// alphabet hand-over and decode that must give them back.
// Input: entry count (16 bits, little-endian), that many entries of symbol (16 bits) and
// length (8 bits), the number of unused bits in the last stream byte (low 3 bits of one
// byte), then the stream. The coder's trace goes to standard output, which is closed here.
#include "foundation/allocator.h"
#include "fuzz/fuzz_prologue.h"
#include "toolkit/huffman.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static void _RoundTrip(const uint8_t *bytes, int32_t length)
{
    Huffman *encoder = Huffman_Create();
    Huffman_SetUncompressedInput(encoder, bytes, length);
    if (Huffman_Encode(encoder) == HUFFMAN_OK)
    {
        uint8_t *stream = nullptr;
        int32_t bits = 0;
        Huffman_GetOutput(encoder, &stream, &bits);
        uint16_t *symbols = nullptr;
        uint8_t *lengths = nullptr;
        int32_t count = 0;
        Huffman_GetAlphabet(encoder, &symbols, &lengths, &count);
        Huffman *decoder = Huffman_Create();
        Huffman_SetAlphabet(decoder, symbols, lengths, count);
        Huffman_SetCompressedInput(decoder, stream, bits);
        MEMORY_FREE(symbols);
        MEMORY_FREE(lengths);
        uint8_t *out = nullptr;
        int32_t outLength = 0;
        if (Huffman_Decode(decoder) != HUFFMAN_OK)
        {
            abort();
        }
        Huffman_GetOutput(decoder, &out, &outLength);
        if (outLength != length || memcmp(out, bytes, static_cast<size_t>(length)) != 0)
        {
            abort();
        }
        Huffman_Destroy(decoder);
    }
    Huffman_Destroy(encoder);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (freopen("/dev/null", "w", stdout) == nullptr)
    {
        fclose(stdout);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3 || !Fuzz_Accept(size, 1 << 20))
    {
        return 0;
    }
    const int32_t count = data[0] | (data[1] << 8);
    size_t offset = 2;
    if (size < offset + 3 * static_cast<size_t>(count) + 1)
    {
        return 0;
    }
    std::vector<uint16_t> symbols(static_cast<size_t>(count) + 1);
    std::vector<uint8_t> lengths(static_cast<size_t>(count) + 1);
    for (int32_t k = 0; k < count; k++, offset += 3)
    {
        symbols[k] = static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
        lengths[k] = data[offset + 2];
    }
    const int32_t unused = data[offset++] & 7;
    const auto streamBytes = static_cast<int32_t>(size - offset);
    const int32_t bits = streamBytes == 0 ? 0 : streamBytes * 8 - unused;

    Huffman *huffman = Huffman_Create();
    Huffman_SetAlphabet(huffman, symbols.data(), lengths.data(), count);
    Huffman_SetCompressedInput(huffman, data + offset, bits);
    const int32_t result = Huffman_Decode(huffman);
    uint8_t *out = nullptr;
    int32_t outLength = 0;
    Huffman_GetOutput(huffman, &out, &outLength);
    if ((result == HUFFMAN_OK) != (out != nullptr) || outLength > bits)
    {
        abort();
    }
    Fuzz_ReadAll(out, outLength > 0 ? static_cast<size_t>(outLength) : 0);
    Huffman_Destroy(huffman);

    if (streamBytes > 0 && streamBytes <= HUFFMAN_MAX_INPUT)
    {
        _RoundTrip(data + offset, streamBytes);
    }
    return 0;
}
