// Model texts written by our own code for the toolkit's tests, benchmarks and fuzz seeds.
// Every text starts with the "# Wavefront OBJ" line the OBJ reader requires.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A box from (-1, -2, -3) to (2, 1, 0): 8 positions, 4 texture coordinates, 6 quads.
std::string Shapes_CubeObj();

// A UV sphere of radius 3 centred at (1, 0, 0): shared pole positions, a texture seam of
// duplicated coordinates, normals indexed like positions; triangles at the poles, quads between.
std::string Shapes_SphereObj(int32_t rings, int32_t segments);

// Three groups ("base", "roof", "mast") of boxes and a pyramid, corners written v//n and v.
std::string Shapes_GroupsObj();

// A wavy height field of columns x rows quads (2 x columns x rows triangles), corners v/t/n.
std::string Shapes_TerrainObj(int32_t columns, int32_t rows);

// A little-endian 3DS chunk: id, length (header included), then data.
std::vector<uint8_t> Shapes_Chunk(uint16_t id, const std::vector<uint8_t> &data);
std::vector<uint8_t> Shapes_Concat(const std::vector<std::vector<uint8_t>> &parts);
std::vector<uint8_t> Shapes_U16(uint16_t value);
std::vector<uint8_t> Shapes_Floats(const std::vector<float> &values);

// One 3DS object: name, then a triangle-mesh block with positions, texture coordinates (when
// given) and triangles (a, b, c per face; flags 0).
std::vector<uint8_t> Shapes_Object3ds(const std::string &name, const std::vector<float> &positions,
                                      const std::vector<float> &texCoords,
                                      const std::vector<uint16_t> &triangles);
// A whole 3DS file: main chunk, version 3, an editor block holding the objects.
std::vector<uint8_t> Shapes_File3ds(const std::vector<std::vector<uint8_t>> &objects);
