// A program from outside the project, built against an installed Zindrel: it includes the
// headers by folder as the project does and links the foundation and the toolkit.
// Exit status 0 when every answer is right.
#include "foundation/checksum.h"
#include "toolkit/huffman.h"
#include "toolkit/mesh_obj.h"
#include "toolkit/model.h"

#include <cstdint>

int main()
{
    static const char kQuad[] = "# Wavefront OBJ\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    Model *model = MeshObj_Create(kQuad, sizeof(kQuad) - 1);
    const bool quad = model != nullptr && Model_GetFaceCount(model) == 2;
    if (model != nullptr)
        Model_Destroy(model);
    Huffman *huffman = Huffman_Create();
    Huffman_SetUncompressedInput(huffman, reinterpret_cast<const uint8_t *>("abracadabra"), 11);
    const bool encoded = Huffman_Encode(huffman) == HUFFMAN_OK;
    Huffman_Destroy(huffman);
    const uint32_t crc = Checksum_CRC32(reinterpret_cast<const uint8_t *>("123456789"), 9);
    return quad && encoded && crc == 0xcbf43926u ? 0 : 1;
}
