// mesh_obj: reads Wavefront OBJ text held in memory into a Model -- positions, texture
// coordinates, normals, triangles (quadrilaterals split in two) and one mesh per group.
#pragma once

#include <cstdint>

struct Model;

// Reads size bytes of OBJ text, which must begin with "# Wavefront OBJ". The text is only read
// (the reader works on its own copy), need not end with a line feed, and may hold anything:
// bad lines are logged and skipped, faces pointing outside the arrays are dropped.
// Corners may be written v/t/n, v//n, v/t or v; missing indices are stored as -1.
// Returns the model with its vertex arrays built, or null when the text is not OBJ.
// Ownership: the caller; release with Model_Destroy.
Model *MeshObj_Create(const char *data, int32_t size);
