// mesh: a run of consecutive triangles of a model with its own interleaved vertex array,
// ready for OpenGL client arrays, and the drawing of it.
#pragma once

#include "foundation/vector.h"

#include <cstdint>

struct Mesh;
struct Model;
struct SubTexture;

// One vertex of a mesh's vertex array, 24 bytes: texture coordinate (u, 1 - v of the file),
// colour bytes 0, 0, 127, 255, position.
struct MeshVertex
{
    float u;
    float v;
    uint8_t color[4];
    float x;
    float y;
    float z;
};
static_assert(sizeof(MeshVertex) == 24, "the vertex array is read with a 24-byte stride");

int32_t Mesh_GetFaceCount(Mesh *mesh);
int32_t Mesh_GetFirstFace(Mesh *mesh);
int32_t Mesh_GetEndFace(Mesh *mesh);
// Three vertices per triangle, corners 0, 2, 1 (the file's winding reversed), or null before
// the array is built. Ownership: the mesh; valid until it is rebuilt or destroyed.
const MeshVertex *Mesh_GetGPUData(Mesh *mesh);

// Builds (or rebuilds) the vertex array from the model's faces firstFace to
// firstFace + faceCount - 1. A face outside the model, or one with an index outside its
// arrays, becomes three zero positions (nothing is drawn for it) and is logged at Error
// level; a missing texture coordinate (-1) is taken as (0, 0).
void Mesh_GenerateGPUData(Mesh *mesh, Model *model);

// Draws the mesh textured with the sub-texture's texture (its corners are not used), depth
// tested, under the translation position, the rotations rotation.x, .y, .z degrees about x, y
// and z, and the scale. Both matrices are reset first. Leaves texturing and the three client
// arrays enabled, blending and depth testing disabled. Needs a current OpenGL context; a mesh
// without a vertex array is logged and not drawn.
void Mesh_Render(Mesh *mesh, SubTexture *subTexture, Vector3 *position, Vector3 *rotation,
                 Vector3 *scale);

// Releases the vertex array; the record itself belongs to the model's meshes array.
void Mesh_Destroy(Mesh *mesh);

// The model's meshes array, kept here because only this module knows the record's size.
// Appends a mesh without a vertex array (the array grows one record at a time, standard heap)
// and returns it; valid until the next append.
Mesh *Mesh_AppendToArray(Mesh **meshes, int32_t *count, int32_t firstFace, int32_t faceCount,
                         int32_t endFace);
// The record at index of such an array.
Mesh *Mesh_GetFromArray(Mesh *meshes, int32_t index);
// Moves the mesh onto a new run of faces; its vertex array is not rebuilt.
void Mesh_SetFaceRange(Mesh *mesh, int32_t firstFace, int32_t faceCount, int32_t endFace);
