// Model texts for the toolkit's tests: plain geometry written line by line.
#include "shapes.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace
{

void Line(std::string &text, const char *format, ...) __attribute__((format(printf, 2, 3)));

void Line(std::string &text, const char *format, ...)
{
    char buffer[256];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(buffer, sizeof(buffer), format, arguments);
    va_end(arguments);
    text += buffer;
    text += '\n';
}

// Box corners in the usual order: bottom face (z = z0) counter-clockwise, then the top face.
void BoxPositions(std::string &text, float x0, float y0, float z0, float x1, float y1, float z1)
{
    const float corners[8][3] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                                 {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    for (const auto &c : corners)
    {
        Line(text, "v %.9g %.9g %.9g", c[0], c[1], c[2]);
    }
}

// The six quads of a box whose first corner is position base (1-based), outward facing.
constexpr int32_t kBoxQuads[6][4] = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5},
                                     {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};

} // namespace

std::string Shapes_CubeObj()
{
    std::string text = "# Wavefront OBJ written by the toolkit tests\n";
    BoxPositions(text, -1, -2, -3, 2, 1, 0);
    Line(text, "vt 0 0");
    Line(text, "vt 1 0");
    Line(text, "vt 1 1");
    Line(text, "vt 0 1");
    Line(text, "g box");
    for (const auto &q : kBoxQuads)
    {
        Line(text, "f %d/1 %d/2 %d/3 %d/4", q[0], q[1], q[2], q[3]);
    }
    return text;
}

std::string Shapes_SphereObj(int32_t rings, int32_t segments)
{
    std::string text = "# Wavefront OBJ sphere\n";
    const double pi = std::acos(-1.0);
    // Positions: north pole, (rings - 1) rings of segments, south pole. Normals alike.
    auto position = [&](double theta, double phi, bool normal)
    {
        const double x = std::sin(theta) * std::cos(phi), y = std::cos(theta),
                     z = std::sin(theta) * std::sin(phi);
        if (normal)
        {
            Line(text, "vn %.9g %.9g %.9g", x, y, z);
        }
        else
        {
            Line(text, "v %.9g %.9g %.9g", 1 + 3 * x, 3 * y, 3 * z);
        }
    };
    for (int pass = 0; pass < 2; pass++)
    {
        position(0, 0, pass == 1);
        for (int32_t r = 1; r < rings; r++)
        {
            for (int32_t s = 0; s < segments; s++)
            {
                position(pi * r / rings, 2 * pi * s / segments, pass == 1);
            }
        }
        position(pi, 0, pass == 1);
    }
    // Texture coordinates: a grid with one column more than segments (the seam).
    for (int32_t r = 0; r <= rings; r++)
    {
        for (int32_t s = 0; s <= segments; s++)
        {
            Line(text, "vt %.9g %.9g", static_cast<double>(s) / segments,
                 1 - static_cast<double>(r) / rings);
        }
    }
    auto ringPosition = [&](int32_t r, int32_t s) { return 2 + (r - 1) * segments + s % segments; };
    auto coordinate = [&](int32_t r, int32_t s) { return 1 + r * (segments + 1) + s; };
    const int32_t south = 2 + (rings - 1) * segments;
    Line(text, "g sphere");
    for (int32_t s = 0; s < segments; s++)
    {
        const int32_t a = ringPosition(1, s), b = ringPosition(1, s + 1);
        Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", 1, coordinate(0, s), 1, b, coordinate(1, s + 1),
             b, a, coordinate(1, s), a);
    }
    for (int32_t r = 1; r < rings - 1; r++)
    {
        for (int32_t s = 0; s < segments; s++)
        {
            const int32_t a = ringPosition(r, s), b = ringPosition(r, s + 1),
                          c = ringPosition(r + 1, s + 1), d = ringPosition(r + 1, s);
            Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d", a, coordinate(r, s), a, b,
                 coordinate(r, s + 1), b, c, coordinate(r + 1, s + 1), c, d, coordinate(r + 1, s),
                 d);
        }
    }
    for (int32_t s = 0; s < segments; s++)
    {
        const int32_t a = ringPosition(rings - 1, s), b = ringPosition(rings - 1, s + 1);
        Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", a, coordinate(rings - 1, s), a, b,
             coordinate(rings - 1, s + 1), b, south, coordinate(rings, s), south);
    }
    return text;
}

std::string Shapes_GroupsObj()
{
    std::string text = "# Wavefront OBJ with groups\n";
    text += "mtllib groups.mtl\n";
    BoxPositions(text, 0, 0, 0, 4, 1, 3);       // base: positions 1-8
    BoxPositions(text, 1.5f, 1, 1, 2.5f, 6, 2); // mast: positions 9-16
    Line(text, "v 0 1 0");                      // roof: positions 17-21
    Line(text, "v 4 1 0");
    Line(text, "v 4 1 3");
    Line(text, "v 0 1 3");
    Line(text, "v 2 2.5 1.5");
    const char *normals[6] = {"0 0 -1", "0 0 1", "0 -1 0", "1 0 0", "0 1 0", "-1 0 0"};
    for (const char *n : normals)
    {
        Line(text, "vn %s", n);
    }
    Line(text, "g base");
    Line(text, "usemtl wood");
    for (int32_t i = 0; i < 6; i++)
    {
        const auto &q = kBoxQuads[i];
        Line(text, "f %d//%d %d//%d %d//%d %d//%d", q[0], i + 1, q[1], i + 1, q[2], i + 1, q[3],
             i + 1);
    }
    Line(text, "g roof");
    Line(text, "f 17 18 21");
    Line(text, "f 18 19 21");
    Line(text, "f 19 20 21");
    Line(text, "f 20 17 21");
    Line(text, "g mast");
    Line(text, "s off");
    for (const auto &q : kBoxQuads)
    {
        Line(text, "f %d %d %d %d", q[0] + 8, q[1] + 8, q[2] + 8, q[3] + 8);
    }
    return text;
}

std::string Shapes_TerrainObj(int32_t columns, int32_t rows)
{
    std::string text = "# Wavefront OBJ terrain\n";
    text.reserve(static_cast<size_t>(columns + 1) * (rows + 1) * 100 +
                 static_cast<size_t>(columns) * rows * 2 * 40);
    for (int32_t y = 0; y <= rows; y++)
    {
        for (int32_t x = 0; x <= columns; x++)
        {
            const double h = 0.5 * std::sin(x * 0.21) * std::cos(y * 0.17);
            Line(text, "v %.6f %.6f %.6f", x * 0.1, h, y * 0.1);
        }
    }
    for (int32_t y = 0; y <= rows; y++)
    {
        for (int32_t x = 0; x <= columns; x++)
        {
            Line(text, "vt %.6f %.6f", static_cast<double>(x) / columns,
                 static_cast<double>(y) / rows);
        }
    }
    for (int32_t y = 0; y <= rows; y++)
    {
        for (int32_t x = 0; x <= columns; x++)
        {
            const double dx = 0.105 * std::cos(x * 0.21) * std::cos(y * 0.17);
            const double dz = -0.085 * std::sin(x * 0.21) * std::sin(y * 0.17);
            const double length = std::sqrt(dx * dx + 1 + dz * dz);
            Line(text, "vn %.6f %.6f %.6f", -dx / length, 1 / length, -dz / length);
        }
    }
    Line(text, "g terrain");
    for (int32_t y = 0; y < rows; y++)
    {
        for (int32_t x = 0; x < columns; x++)
        {
            const int32_t a = 1 + y * (columns + 1) + x, b = a + 1, c = a + columns + 2,
                          d = a + columns + 1;
            Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", a, a, a, d, d, d, c, c, c);
            Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", a, a, a, c, c, c, b, b, b);
        }
    }
    return text;
}

std::vector<uint8_t> Shapes_U16(uint16_t value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
}

std::vector<uint8_t> Shapes_Floats(const std::vector<float> &values)
{
    std::vector<uint8_t> bytes(values.size() * 4);
    for (size_t i = 0; i < values.size(); i++)
    {
        uint32_t bits;
        memcpy(&bits, &values[i], 4);
        for (int32_t b = 0; b < 4; b++)
        {
            bytes[4 * i + b] = static_cast<uint8_t>(bits >> (8 * b));
        }
    }
    return bytes;
}

std::vector<uint8_t> Shapes_Concat(const std::vector<std::vector<uint8_t>> &parts)
{
    std::vector<uint8_t> bytes;
    for (const auto &part : parts)
    {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

std::vector<uint8_t> Shapes_Chunk(uint16_t id, const std::vector<uint8_t> &data)
{
    const auto length = static_cast<uint32_t>(data.size() + 6);
    std::vector<uint8_t> bytes = Shapes_U16(id);
    for (int32_t b = 0; b < 4; b++)
    {
        bytes.push_back(static_cast<uint8_t>(length >> (8 * b)));
    }
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::vector<uint8_t> Shapes_Object3ds(const std::string &name, const std::vector<float> &positions,
                                      const std::vector<float> &texCoords,
                                      const std::vector<uint16_t> &triangles)
{
    std::vector<uint8_t> faces = Shapes_U16(static_cast<uint16_t>(triangles.size() / 3));
    for (size_t i = 0; i < triangles.size(); i += 3)
    {
        faces = Shapes_Concat({faces, Shapes_U16(triangles[i]), Shapes_U16(triangles[i + 1]),
                               Shapes_U16(triangles[i + 2]), Shapes_U16(0)});
    }
    std::vector<std::vector<uint8_t>> block = {
        Shapes_Chunk(0x4110, Shapes_Concat({Shapes_U16(static_cast<uint16_t>(positions.size() / 3)),
                                            Shapes_Floats(positions)}))};
    if (!texCoords.empty())
    {
        block.push_back(Shapes_Chunk(
            0x4140, Shapes_Concat({Shapes_U16(static_cast<uint16_t>(texCoords.size() / 2)),
                                   Shapes_Floats(texCoords)})));
    }
    block.push_back(Shapes_Chunk(0x4120, faces));
    std::vector<uint8_t> named(name.begin(), name.end());
    named.push_back(0);
    return Shapes_Chunk(0x4000, Shapes_Concat({named, Shapes_Chunk(0x4100, Shapes_Concat(block))}));
}

std::vector<uint8_t> Shapes_File3ds(const std::vector<std::vector<uint8_t>> &objects)
{
    return Shapes_Chunk(0x4D4D, Shapes_Concat({Shapes_Chunk(0x0002, {3, 0, 0, 0}),
                                               Shapes_Chunk(0x3D3D, Shapes_Concat(objects))}));
}
