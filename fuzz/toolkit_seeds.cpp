// Writes the toolkit fuzz targets' seeds into the folder given as the only argument: the test
// shapes as OBJ text and 3DS chunks, and Huffman inputs in the decoder target's layout (an
// alphabet and a stream) made by our own encoder and from the fixed DEFLATE code.
#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "shapes.h"
#include "toolkit/huffman.h"

#include <cstdio>
#include <string>
#include <vector>

static bool _Write(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

static std::vector<uint8_t> _Bytes(const std::string &text)
{
    return {text.begin(), text.end()};
}

static std::vector<uint8_t> _HuffmanSeed(const std::vector<uint16_t> &symbols,
                                         const std::vector<uint8_t> &lengths,
                                         const std::vector<uint8_t> &stream, int32_t bits)
{
    std::vector<uint8_t> seed = Shapes_U16(static_cast<uint16_t>(symbols.size()));
    for (size_t k = 0; k < symbols.size(); k++)
    {
        seed = Shapes_Concat({seed, Shapes_U16(symbols[k]), {lengths[k]}});
    }
    seed.push_back(static_cast<uint8_t>((8 - bits % 8) % 8));
    seed.insert(seed.end(), stream.begin(), stream.end());
    return seed;
}

// Encodes text with our coder and packs its alphabet and stream as a decoder seed.
static std::vector<uint8_t> _EncodedSeed(const std::string &text)
{
    Huffman *huffman = Huffman_Create();
    Huffman_SetUncompressedInput(huffman, reinterpret_cast<const uint8_t *>(text.data()),
                                 static_cast<int32_t>(text.size()));
    std::vector<uint8_t> seed;
    if (Huffman_Encode(huffman) == HUFFMAN_OK)
    {
        uint8_t *stream = nullptr;
        int32_t bits = 0;
        Huffman_GetOutput(huffman, &stream, &bits);
        uint16_t *symbols = nullptr;
        uint8_t *lengths = nullptr;
        int32_t count = 0;
        Huffman_GetAlphabet(huffman, &symbols, &lengths, &count);
        seed = _HuffmanSeed(std::vector<uint16_t>(symbols, symbols + count),
                            std::vector<uint8_t>(lengths, lengths + count),
                            std::vector<uint8_t>(stream, stream + (bits + 7) / 8), bits);
        MEMORY_FREE(symbols);
        MEMORY_FREE(lengths);
    }
    Huffman_Destroy(huffman);
    return seed;
}

int main(int argc, char **argv)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    Logging_SetLevel(LOGGING_LEVEL_SILENT);
    // The coder's trace is of no use here.
    if (freopen("/dev/null", "w", stdout) == nullptr)
    {
        return 1;
    }
    const std::string folder = argv[1];
    bool ok = true;
    ok &= _Write(folder + "/cube.obj", _Bytes(Shapes_CubeObj()));
    ok &= _Write(folder + "/sphere.obj", _Bytes(Shapes_SphereObj(4, 6)));
    ok &= _Write(folder + "/groups.obj", _Bytes(Shapes_GroupsObj()));
    ok &= _Write(folder + "/lines.obj",
                 _Bytes("# Wavefront OBJ\r\nmtllib a.mtl\r\nv 1 2\r\nv +1.5e1 -0x1p1 .5\r\n"
                        "vt 0.5\r\nvt 0.25 0.75\r\nvn 0 0 1\r\ng\r\ng \r\ngname\r\n"
                        "f 1//1 1/1 1\r\nf 1 1\r\nf 1/1/1 1/1/1 1/1/1 1/1/1 1/1/1\r\nf 2 1 0"));

    const std::vector<float> positions = {0, 0, 0, 2, 0, 0, 0, 4, 0, 2, 4, 1};
    const std::vector<float> texCoords = {0, 0, 1, 0, 0, 1, 0.25f, 0.75f};
    ok &= _Write(
        folder + "/objects.3ds",
        Shapes_File3ds({Shapes_Object3ds("box", positions, texCoords, {0, 1, 2, 1, 3, 2}),
                        Shapes_Object3ds("far", {9, 0, 0, 9, 1, 0, 9, 0, 1}, {}, {0, 1, 2})}));
    std::vector<uint8_t> shortPositions = Shapes_U16(10);
    shortPositions.resize(100, 0);
    ok &= _Write(
        folder + "/short.3ds",
        Shapes_Chunk(0x4D4D,
                     Shapes_Concat({Shapes_Chunk(0x0002, {3, 0, 0, 0}),
                                    Shapes_Chunk(0x1234, {1, 2, 3}), Shapes_Chunk(0xB000, {}),
                                    Shapes_Chunk(0x3D3D, Shapes_Chunk(0x4110, shortPositions))})));

    ok &= _Write(folder + "/text.huf",
                 _EncodedSeed("It was the best of times, it was the worst of times, it was the "
                              "age of wisdom, it was the age of foolishness"));
    std::string skewed;
    for (int32_t i = 0; i < 600; i++)
    {
        skewed += static_cast<char>("aaaabbbcdefghij"[(i * 7 + i / 5) % 15]);
    }
    ok &= _Write(folder + "/skewed.huf", _EncodedSeed(skewed));
    std::vector<uint16_t> symbols(288);
    std::vector<uint8_t> lengths(288);
    for (int32_t s = 0; s < 288; s++)
    {
        symbols[s] = static_cast<uint16_t>(s);
        lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    }
    // Block header, 'A', length 257 with distance code 4 and its extra bit, end of block.
    ok &= _Write(folder + "/deflate.huf",
                 _HuffmanSeed(symbols, lengths, {0x6E, 0x20, 0x49, 0x00}, 31));
    return ok ? 0 : 1;
}
