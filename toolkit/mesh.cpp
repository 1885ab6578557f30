// mesh: one interleaved array per mesh (texture coordinate, colour, position; 24 bytes), drawn
// with client arrays in one call. The winding is reversed and v mirrored while the array is
// built, so files written for a lower-left texture origin draw the right way round.
#include "toolkit/mesh.h"

#include "foundation/logging.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"
#include "toolkit/array.h"
#include "toolkit/model.h"

#include <GL/gl.h>

#include <cstddef>
#include <cstdlib>

struct Mesh
{
    int32_t faceCount;
    int32_t firstFace;
    int32_t endFace;
    MeshVertex *gpuData;
};

static constexpr uint8_t _COLOR[4] = {0, 0, 127, 255};
// Corner order of a triangle in the vertex array: the file's winding reversed.
static constexpr int32_t _CORNERS[3] = {0, 2, 1};

int32_t Mesh_GetFaceCount(Mesh *mesh)
{
    return mesh->faceCount;
}
int32_t Mesh_GetFirstFace(Mesh *mesh)
{
    return mesh->firstFace;
}
int32_t Mesh_GetEndFace(Mesh *mesh)
{
    return mesh->endFace;
}
const MeshVertex *Mesh_GetGPUData(Mesh *mesh)
{
    return mesh->gpuData;
}

static bool _Fits(int32_t index, int32_t count)
{
    return index >= 0 && index < count;
}

static bool _FaceFits(const ModelFace &face, int32_t vertexCount, int32_t texCoordCount)
{
    for (int32_t corner = 0; corner < 3; corner++)
    {
        if (!_Fits(face.vertex[corner], vertexCount) ||
            (face.texCoord[corner] != -1 && !_Fits(face.texCoord[corner], texCoordCount)))
        {
            return false;
        }
    }
    return true;
}

void Mesh_GenerateGPUData(Mesh *mesh, Model *model)
{
    free(mesh->gpuData);
    const int32_t count = mesh->faceCount > 0 ? mesh->faceCount : 0;
    // An empty mesh still gets an array of its own, so "built" and "empty" stay distinct.
    mesh->gpuData =
        static_cast<MeshVertex *>(calloc(static_cast<size_t>(count) * 3 + 1, sizeof(MeshVertex)));
    if (mesh->gpuData == nullptr)
    {
        LOG_ERROR("Failed to allocate the vertex array of %d faces.", count);
        exit(1);
    }
    const int32_t faceCount = Model_GetFaceCount(model);
    const int32_t vertexCount = Model_GetVertexCount(model);
    const int32_t texCoordCount = Model_GetTexCoordCount(model);
    const ModelFace *faces = Model_GetFaces(model);
    const float *vertices = Model_GetVertices(model);
    const float *texCoords = Model_GetTexCoords(model);
    int32_t skipped = 0;
    MeshVertex *out = mesh->gpuData;
    for (int32_t i = 0; i < count; i++, out += 3)
    {
        const int64_t index = static_cast<int64_t>(mesh->firstFace) + i;
        if (index < 0 || index >= faceCount || !_FaceFits(faces[index], vertexCount, texCoordCount))
        {
            skipped++; // three zero positions: a triangle of no area draws nothing
            continue;
        }
        const ModelFace &face = faces[index];
        for (int32_t k = 0; k < 3; k++)
        {
            const int32_t corner = _CORNERS[k];
            MeshVertex &vertex = out[k];
            const int32_t t = face.texCoord[corner];
            vertex.u = t >= 0 ? texCoords[2 * t] : 0.0f;
            vertex.v = 1.0f - (t >= 0 ? texCoords[2 * t + 1] : 0.0f);
            vertex.color[0] = _COLOR[0];
            vertex.color[1] = _COLOR[1];
            vertex.color[2] = _COLOR[2];
            vertex.color[3] = _COLOR[3];
            const float *position = vertices + 3 * static_cast<size_t>(face.vertex[corner]);
            vertex.x = position[0];
            vertex.y = position[1];
            vertex.z = position[2];
        }
    }
    if (skipped > 0)
    {
        LOG_ERROR("%d faces of a mesh lie outside the model and are not drawn.", skipped);
    }
}

void Mesh_Render(Mesh *mesh, SubTexture *subTexture, Vector3 *position, Vector3 *rotation,
                 Vector3 *scale)
{
    if (mesh->gpuData == nullptr)
    {
        LOG_ERROR("Mesh without a vertex array is not drawn.");
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(position->x, position->y, position->z);
    glRotatef(rotation->x, 1.0f, 0.0f, 0.0f);
    glRotatef(rotation->y, 0.0f, 1.0f, 0.0f);
    glRotatef(rotation->z, 0.0f, 0.0f, 1.0f);
    glScalef(scale->x, scale->y, scale->z);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glClear(GL_DEPTH_BUFFER_BIT);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glFrontFace(GL_CCW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(SubTexture_GetTexture(subTexture)));
    glDisable(GL_BLEND);

    const auto *base = reinterpret_cast<const uint8_t *>(mesh->gpuData);
    glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex), base + offsetof(MeshVertex, u));
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(MeshVertex), base + offsetof(MeshVertex, color));
    glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex), base + offsetof(MeshVertex, x));
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glDrawArrays(GL_TRIANGLES, 0, 3 * (mesh->faceCount > 0 ? mesh->faceCount : 0));

    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
}

void Mesh_Destroy(Mesh *mesh)
{
    free(mesh->gpuData);
    mesh->gpuData = nullptr;
}

Mesh *Mesh_AppendToArray(Mesh **meshes, int32_t *count, int32_t firstFace, int32_t faceCount,
                         int32_t endFace)
{
    *meshes = static_cast<Mesh *>(Array_Extend(*meshes, *count, sizeof(Mesh), 1));
    Mesh *mesh = &(*meshes)[(*count)++];
    *mesh = Mesh{faceCount, firstFace, endFace, nullptr};
    return mesh;
}

Mesh *Mesh_GetFromArray(Mesh *meshes, int32_t index)
{
    return &meshes[index];
}

void Mesh_SetFaceRange(Mesh *mesh, int32_t firstFace, int32_t faceCount, int32_t endFace)
{
    mesh->firstFace = firstFace;
    mesh->faceCount = faceCount;
    mesh->endFace = endFace;
}
