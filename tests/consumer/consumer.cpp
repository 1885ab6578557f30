// A program from outside the project, built against an installed Zindrel: it includes the
// headers by folder as the project does and links the foundation and the toolkit.
// Exit status 0 when every answer is right.
#include "foundation/allocator.h"
#include "foundation/checksum.h"
#include "toolkit/huffman.h"
#include "toolkit/mesh_obj.h"
#include "toolkit/model.h"

#include <cstdio>
#include <cstring>

static int _Failed(bool ok, const char *what)
{
    if (!ok)
    {
        std::fprintf(stderr, "consumer: wrong %s\n", what);
    }
    return ok ? 0 : 1;
}

// Encodes the text, hands the alphabet to a second coder and decodes it back.
static bool _HuffmanRoundTrip(const char *text)
{
    const int32_t length = static_cast<int32_t>(std::strlen(text));
    Huffman *encoder = Huffman_Create(), *decoder = Huffman_Create();
    Huffman_SetUncompressedInput(encoder, reinterpret_cast<const uint8_t *>(text), length);
    bool ok = Huffman_Encode(encoder) == HUFFMAN_OK;
    uint8_t *stream = nullptr, *bits = nullptr, *decoded = nullptr;
    uint16_t *symbols = nullptr;
    int32_t streamBits = 0, count = 0, decodedLength = 0;
    Huffman_GetOutput(encoder, &stream, &streamBits);
    Huffman_GetAlphabet(encoder, &symbols, &bits, &count);
    Huffman_SetAlphabet(decoder, symbols, bits, count);
    Huffman_SetCompressedInput(decoder, stream, streamBits);
    ok = ok && streamBits > 0 && streamBits < 8 * length && Huffman_Decode(decoder) == HUFFMAN_OK;
    Huffman_GetOutput(decoder, &decoded, &decodedLength);
    ok = ok && decodedLength == length && std::memcmp(decoded, text, length) == 0;
    MEMORY_FREE(symbols);
    MEMORY_FREE(bits);
    Huffman_Destroy(decoder);
    Huffman_Destroy(encoder);
    return ok;
}

int main()
{
    static const char kQuad[] = "# Wavefront OBJ\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    Model *model = MeshObj_Create(kQuad, sizeof(kQuad) - 1);
    int failures = _Failed(model != nullptr && Model_GetFaceCount(model) == 2, "OBJ quad");
    if (model != nullptr)
    {
        Model_Destroy(model);
    }
    failures += _Failed(_HuffmanRoundTrip("abracadabra, abracadabra"), "Huffman round trip");
    failures += _Failed(
        Checksum_CRC32(reinterpret_cast<const uint8_t *>("123456789"), 9) == 0xcbf43926u, "CRC-32");
    return failures == 0 ? 0 : 1;
}
