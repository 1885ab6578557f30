// Any alphabet and stream into the Huffman decoder, then the stream's bytes through an encode,
// alphabet hand-over and decode that must give them back. Input: entry count (16 bits), entries
// of symbol (16 bits) and length (8), unused bits of the last stream byte (low 3), the stream.
#include "foundation/allocator.h"
#include "fuzz/fuzz_prologue.h"
#include "toolkit/huffman.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

// Aborts unless the decoded output is as expected or, without one, fits the result. An expected
// output comes with the encoder's alphabet, freed once handed over: the decoder keeps a copy.
static void _Decode(uint16_t *symbols, uint8_t *lengths, int32_t count, const uint8_t *stream,
                    int32_t bits, const uint8_t *expected, int32_t length)
{
    Huffman *huffman = Huffman_Create();
    Huffman_SetAlphabet(huffman, symbols, lengths, count);
    if (expected != nullptr)
        MEMORY_FREE(symbols), MEMORY_FREE(lengths);
    Huffman_SetCompressedInput(huffman, stream, bits);
    const int32_t result = Huffman_Decode(huffman);
    uint8_t *out = nullptr;
    int32_t outLength = 0;
    Huffman_GetOutput(huffman, &out, &outLength);
    if (expected != nullptr ? result != HUFFMAN_OK || outLength != length ||
                                  memcmp(out, expected, static_cast<size_t>(length)) != 0
                            : (result == HUFFMAN_OK) != (out != nullptr) || outLength > bits)
        abort();
    Fuzz_ReadAll(out, outLength > 0 ? static_cast<size_t>(outLength) : 0);
    Huffman_Destroy(huffman);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (freopen("/dev/null", "w", stdout) == nullptr) // the coder's trace
        fclose(stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const size_t count = size < 3 ? 0 : data[0] | (data[1] << 8);
    size_t offset = 2 + 3 * count;
    if (size < offset + 1 || !Fuzz_Accept(size, 1 << 20))
        return 0;
    std::vector<uint16_t> symbols(count + 1);
    std::vector<uint8_t> lengths(count + 1);
    for (size_t k = 0; k < count; k++)
        symbols[k] = static_cast<uint16_t>(data[2 + 3 * k] | (data[3 + 3 * k] << 8));
    for (size_t k = 0; k < count; k++)
        lengths[k] = data[4 + 3 * k];
    const int32_t unused = data[offset++] & 7;
    const auto streamBytes = static_cast<int32_t>(size - offset);
    _Decode(symbols.data(), lengths.data(), static_cast<int32_t>(count), data + offset,
            streamBytes == 0 ? 0 : streamBytes * 8 - unused, nullptr, 0);
    if (streamBytes == 0 || streamBytes > HUFFMAN_MAX_INPUT)
        return 0;
    // The stream's bytes encoded, then decoded with the alphabet the encoder hands over.
    Huffman *encoder = Huffman_Create();
    Huffman_SetUncompressedInput(encoder, data + offset, streamBytes);
    if (Huffman_Encode(encoder) == HUFFMAN_OK)
    {
        uint8_t *stream = nullptr, *codeLengths = nullptr;
        uint16_t *codeSymbols = nullptr;
        int32_t bits = 0, codes = 0;
        Huffman_GetOutput(encoder, &stream, &bits);
        Huffman_GetAlphabet(encoder, &codeSymbols, &codeLengths, &codes);
        _Decode(codeSymbols, codeLengths, codes, stream, bits, data + offset, streamBytes);
    }
    Huffman_Destroy(encoder);
    return 0;
}
