// Built against an installed Zindrel as an outside program would; status 0 when all is right.
#include "foundation/checksum.h"
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
    const uint32_t crc = Checksum_CRC32(reinterpret_cast<const uint8_t *>("123456789"), 9);
    return quad && crc == 0xcbf43926u ? 0 : 1;
}
