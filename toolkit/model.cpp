// model: the arrays live on the standard heap and grow in fixed steps (Array_Extend); only
// the record comes from the tracking allocator. Indices read from files are checked here,
// once, before any mesh turns them into memory reads.
#include "toolkit/model.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "toolkit/array.h"
#include "toolkit/mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

struct Model
{
    char *name;
    int32_t vertexCount;
    int32_t normalCount;
    int32_t texCoordCount;
    int32_t faceCount;
    int32_t meshCount;
    float *vertices;
    float *normals;
    float *texCoords;
    ModelFace *faces;
    Mesh *meshes;
};

static constexpr int32_t _ARRAY_STEP = 256;

Model *Model_Create(void)
{
    return MEMORY_ALLOCATE_RECORD(Model);
}

void Model_Destroy(Model *model)
{
    free(model->name);
    free(model->vertices);
    free(model->normals);
    free(model->texCoords);
    for (int32_t i = 0; i < model->meshCount; i++)
    {
        Mesh_Destroy(Mesh_GetFromArray(model->meshes, i));
    }
    free(model->faces);
    free(model->meshes);
    MEMORY_FREE(model);
}

int32_t Model_GetMeshCount(Model *model)
{
    return model->meshCount;
}

Mesh *Model_GetMesh(Model *model, int32_t index)
{
    if (index < 0 || index >= model->meshCount)
    {
        return nullptr;
    }
    return Mesh_GetFromArray(model->meshes, index);
}

const char *Model_GetName(Model *model)
{
    return model->name;
}

void Model_SetName(Model *model, const char *name)
{
    free(model->name);
    model->name = nullptr;
    if (name != nullptr)
    {
        model->name = strdup(name);
        if (model->name == nullptr)
        {
            LOG_ERROR("Failed to copy a model name.");
            exit(1);
        }
    }
}

int32_t Model_GetVertexCount(Model *model)
{
    return model->vertexCount;
}
int32_t Model_GetNormalCount(Model *model)
{
    return model->normalCount;
}
int32_t Model_GetTexCoordCount(Model *model)
{
    return model->texCoordCount;
}
int32_t Model_GetFaceCount(Model *model)
{
    return model->faceCount;
}
const float *Model_GetVertices(Model *model)
{
    return model->vertices;
}
const float *Model_GetNormals(Model *model)
{
    return model->normals;
}
const float *Model_GetTexCoords(Model *model)
{
    return model->texCoords;
}
const ModelFace *Model_GetFaces(Model *model)
{
    return model->faces;
}

static void _AppendXyz(float **array, int32_t *count, float x, float y, float z)
{
    *array = static_cast<float *>(Array_Extend(*array, *count, 3 * sizeof(float), _ARRAY_STEP));
    float *element = *array + 3 * static_cast<size_t>((*count)++);
    element[0] = x;
    element[1] = y;
    element[2] = z;
}

void Model_AddVertex(Model *model, float x, float y, float z)
{
    _AppendXyz(&model->vertices, &model->vertexCount, x, y, z);
}

void Model_AddNormal(Model *model, float x, float y, float z)
{
    _AppendXyz(&model->normals, &model->normalCount, x, y, z);
}

void Model_AddTexCoord(Model *model, float u, float v)
{
    model->texCoords = static_cast<float *>(
        Array_Extend(model->texCoords, model->texCoordCount, 2 * sizeof(float), _ARRAY_STEP));
    float *texCoord = model->texCoords + 2 * static_cast<size_t>(model->texCoordCount++);
    texCoord[0] = u;
    texCoord[1] = v;
}

void Model_AddFace(Model *model, const ModelFace *face)
{
    model->faces = static_cast<ModelFace *>(
        Array_Extend(model->faces, model->faceCount, sizeof(ModelFace), _ARRAY_STEP));
    model->faces[model->faceCount++] = *face;
}

void Model_AddMesh(Model *model, int32_t firstFace, int32_t faceCount, int32_t endFace)
{
    Mesh_AppendToArray(&model->meshes, &model->meshCount, firstFace, faceCount, endFace);
}

static bool _IndexFits(int32_t index, int32_t count, bool optional)
{
    return (index >= 0 && index < count) || (optional && index == -1);
}

static bool _FaceFits(const Model *model, const ModelFace &face)
{
    for (int32_t corner = 0; corner < 3; corner++)
    {
        if (!_IndexFits(face.vertex[corner], model->vertexCount, false) ||
            !_IndexFits(face.texCoord[corner], model->texCoordCount, true) ||
            !_IndexFits(face.normal[corner], model->normalCount, true))
        {
            return false;
        }
    }
    return true;
}

// Removes the faces that point outside the arrays and moves every mesh onto what is left of
// its run, so each mesh still covers exactly its own surviving faces.
static void _DropBadFaces(Model *model)
{
    const int32_t count = model->faceCount;
    auto *keptBefore =
        static_cast<int32_t *>(calloc(static_cast<size_t>(count) + 1, sizeof(int32_t)));
    if (keptBefore == nullptr)
    {
        LOG_ERROR("Failed to allocate the face check of %d faces.", count);
        exit(1);
    }
    int32_t kept = 0;
    for (int32_t i = 0; i < count; i++)
    {
        keptBefore[i] = kept;
        if (_FaceFits(model, model->faces[i]))
        {
            model->faces[kept++] = model->faces[i];
        }
        else
        {
            LOG_ERROR("Face %d points outside the model's arrays and is dropped.", i);
        }
    }
    keptBefore[count] = kept;
    // Ranges are clamped to the faces there are too, so no mesh can reach past them.
    for (int32_t m = 0; m < model->meshCount; m++)
    {
        Mesh *mesh = Mesh_GetFromArray(model->meshes, m);
        const int64_t first = std::clamp<int64_t>(Mesh_GetFirstFace(mesh), 0, count);
        const int64_t last =
            std::clamp<int64_t>(first + std::max(Mesh_GetFaceCount(mesh), 0), first, count);
        const int64_t end = std::clamp<int64_t>(Mesh_GetEndFace(mesh), 0, count);
        Mesh_SetFaceRange(mesh, keptBefore[first], keptBefore[last] - keptBefore[first],
                          keptBefore[end]);
    }
    model->faceCount = kept;
    free(keptBefore);
}

void Model_GenerateGPUData(Model *model)
{
    float largest = 0;
    const int32_t coordinates = 3 * model->vertexCount;
    for (int32_t i = 0; i < coordinates; i++)
    {
        largest = std::max(largest, std::fabs(model->vertices[i]));
    }
    // All zero: dividing would turn every position into not-a-number.
    if (largest > 0)
    {
        for (int32_t i = 0; i < coordinates; i++)
        {
            model->vertices[i] /= largest;
        }
    }
    _DropBadFaces(model);
    for (int32_t m = 0; m < model->meshCount; m++)
    {
        Mesh_GenerateGPUData(Mesh_GetFromArray(model->meshes, m), model);
    }
}
