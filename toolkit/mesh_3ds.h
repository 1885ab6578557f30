// mesh_3ds: reads a binary 3DS model held in memory (the positions, texture coordinates and
// triangles of its triangle-mesh blocks) into a Model, one mesh per block.
#pragma once

#include <cstdint>

struct Model;

// Reads size bytes of 3DS chunks; the data is only read and never beyond size. Every object
// and triangle-mesh block is appended to the same arrays, its indices offset accordingly, so
// each mesh covers exactly its own block's faces. Progress and the last problem met are left
// in debugString / debugInteger (resources/targa.h); a successful load resets both.
// Returns the model with its vertex arrays built, or null when the data does not start with a
// main chunk. Ownership: the caller; release with Model_Destroy.
Model *Mesh3DS_Create(const uint8_t *data, int32_t size);
