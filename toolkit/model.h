// model: a triangle mesh read from a model file -- positions, texture coordinates, normals,
// triangles -- and the meshes (runs of consecutive triangles) that are drawn from it.
// The readers (mesh_obj, mesh_3ds) fill a model through the Model_Add functions and then call
// Model_GenerateGPUData once.
#pragma once

#include <cstdint>

struct Model;
struct Mesh;

// One triangle: 0-based indices per corner into the positions, the texture coordinates and
// the normals. -1 marks a texture coordinate or normal the file does not give.
struct ModelFace
{
    int32_t vertex[3];
    int32_t texCoord[3];
    int32_t normal[3];
};

// An empty model. Ownership: the caller; release with Model_Destroy.
Model *Model_Create(void);
// Releases the name, the arrays, every mesh (Mesh_Destroy) and the record.
void Model_Destroy(Model *model);

int32_t Model_GetMeshCount(Model *model);
// The mesh at index inside the model's meshes array, or null when index is out of range.
// Ownership: the model; valid until the next Model_AddMesh or Model_Destroy.
Mesh *Model_GetMesh(Model *model, int32_t index);

// Scales every position by the largest absolute coordinate so the model fits the cube from -1
// to +1 (a model whose coordinates are all 0 is left as it is), drops every face with an index
// outside the arrays (logging each at Error level and shrinking the meshes' face ranges to
// match), then builds each mesh's vertex array.
void Model_GenerateGPUData(Model *model);

// The object name, or null. Ownership: the model.
const char *Model_GetName(Model *model);
// Replaces the name with a copy of name (null clears it).
void Model_SetName(Model *model, const char *name);

int32_t Model_GetVertexCount(Model *model);
int32_t Model_GetNormalCount(Model *model);
int32_t Model_GetTexCoordCount(Model *model);
int32_t Model_GetFaceCount(Model *model);
// x, y, z per position; x, y, z per normal; u, v per texture coordinate; the triangles.
// Ownership: the model; valid until the next Model_Add of that kind or Model_Destroy.
const float *Model_GetVertices(Model *model);
const float *Model_GetNormals(Model *model);
const float *Model_GetTexCoords(Model *model);
const ModelFace *Model_GetFaces(Model *model);

// Appends one element; arrays grow in steps of 256 elements, meshes one at a time.
void Model_AddVertex(Model *model, float x, float y, float z);
void Model_AddNormal(Model *model, float x, float y, float z);
void Model_AddTexCoord(Model *model, float u, float v);
void Model_AddFace(Model *model, const ModelFace *face);
// A mesh of faceCount triangles from firstFace; endFace is the model's face count when the
// mesh was closed. It has no vertex array until Model_GenerateGPUData.
void Model_AddMesh(Model *model, int32_t firstFace, int32_t faceCount, int32_t endFace);
