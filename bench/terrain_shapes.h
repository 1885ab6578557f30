// A model text written by our own code for the toolkit's benchmarks. It starts with the
// "# Wavefront OBJ" line the OBJ reader requires.
#pragma once

#include <cstdint>
#include <string>

// A wavy height field of columns x rows quads (2 x columns x rows triangles), corners v/t/n.
std::string Shapes_TerrainObj(int32_t columns, int32_t rows);
