// Any bytes into the OBJ reader (FUZZ_OBJ) or the 3DS reader: meshes inside the faces, faces
// inside the arrays, vertex arrays readable to the end.
#include "fuzz/fuzz_prologue.h"
#include "toolkit/mesh.h"
#include "toolkit/mesh_3ds.h"
#include "toolkit/mesh_obj.h"
#include "toolkit/model.h"

#include <cstdlib>

// Checks a model read, if any, then destroys it.
static void _CheckAndFree(Model *model)
{
    if (model == nullptr)
        return;
    // Index inside [-1, count), and -1 only where optional.
    auto fits = [](int32_t index, int32_t count, bool optional)
    { return index >= (optional ? -1 : 0) && index < count; };
    const int32_t faceCount = Model_GetFaceCount(model);
    const ModelFace *f = Model_GetFaces(model);
    for (int32_t i = 0; i < 3 * faceCount; i++)
        if (!fits(f[i / 3].vertex[i % 3], Model_GetVertexCount(model), false) ||
            !fits(f[i / 3].texCoord[i % 3], Model_GetTexCoordCount(model), true) ||
            !fits(f[i / 3].normal[i % 3], Model_GetNormalCount(model), true))
            abort();
    for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        const int32_t first = Mesh_GetFirstFace(mesh), count = Mesh_GetFaceCount(mesh);
        const auto *vertices = reinterpret_cast<const uint8_t *>(Mesh_GetGPUData(mesh));
        if (first < 0 || count < 0 || first + count > faceCount || vertices == nullptr)
            abort();
        Fuzz_ReadAll(vertices, 3 * sizeof(MeshVertex) * static_cast<size_t>(count));
    }
    Model_Destroy(model);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!Fuzz_Accept(size))
        return 0;
#ifdef FUZZ_OBJ
    _CheckAndFree(MeshObj_Create(reinterpret_cast<const char *>(data), static_cast<int32_t>(size)));
#else
    _CheckAndFree(Mesh3DS_Create(data, static_cast<int32_t>(size)));
#endif
    return 0;
}
