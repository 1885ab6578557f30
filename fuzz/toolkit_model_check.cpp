// What every model a reader returns must hold, whatever its input: meshes inside the faces,
// faces inside the arrays, and vertex arrays that can be read from end to end.
#include "toolkit/mesh.h"
#include "toolkit/model.h"

#include <cstdlib>

static bool _Fits(int32_t index, int32_t count, bool optional)
{
    return (index >= 0 && index < count) || (optional && index == -1);
}

void ToolkitFuzz_CheckModel(Model *model)
{
    const int32_t faceCount = Model_GetFaceCount(model);
    const ModelFace *faces = Model_GetFaces(model);
    for (int32_t i = 0; i < faceCount; i++)
    {
        for (int32_t k = 0; k < 3; k++)
        {
            if (!_Fits(faces[i].vertex[k], Model_GetVertexCount(model), false) ||
                !_Fits(faces[i].texCoord[k], Model_GetTexCoordCount(model), true) ||
                !_Fits(faces[i].normal[k], Model_GetNormalCount(model), true))
            {
                abort();
            }
        }
    }
    float sum = 0;
    for (int32_t m = 0; m < Model_GetMeshCount(model); m++)
    {
        Mesh *mesh = Model_GetMesh(model, m);
        const int32_t first = Mesh_GetFirstFace(mesh);
        const int32_t count = Mesh_GetFaceCount(mesh);
        if (first < 0 || count < 0 || first + count > faceCount || Mesh_GetGPUData(mesh) == nullptr)
        {
            abort();
        }
        const MeshVertex *vertices = Mesh_GetGPUData(mesh);
        for (int32_t i = 0; i < 3 * count; i++)
        {
            sum += vertices[i].x + vertices[i].u;
        }
    }
    // Keeps the reads from being optimised away.
    volatile float sink = sum;
    (void)sink;
}
