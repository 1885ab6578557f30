// Model texts for the toolkit's tests: plain geometry written line by line.
#include "shapes.h"

#include <bit>
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
    (text += buffer) += '\n';
}

// Box corners in the usual order: bottom face (z = z0) counter-clockwise, then the top face.
void BoxPositions(std::string &text, float x0, float y0, float z0, float x1, float y1, float z1)
{
    for (int32_t i = 0; i < 8; i++)
        Line(text, "v %.9g %.9g %.9g", (i + 1) & 2 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0);
}

// The six quads of a box whose first corner is position base (1-based), outward facing.
constexpr int32_t kBoxQuads[6][4] = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5},
                                     {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};

} // namespace

std::string Shapes_CubeObj()
{
    std::string text = "# Wavefront OBJ written by the toolkit tests\n";
    BoxPositions(text, -1, -2, -3, 2, 1, 0);
    text += "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\ng box\n";
    for (const auto &q : kBoxQuads)
        Line(text, "f %d/1 %d/2 %d/3 %d/4", q[0], q[1], q[2], q[3]);
    return text;
}

std::string Shapes_SphereObj(int32_t rings, int32_t segments)
{
    std::string text = "# Wavefront OBJ sphere\n";
    const double pi = std::acos(-1.0);
    // Positions, then normals alike: north pole, (rings - 1) rings of segments, south pole.
    for (const char *format : {"v %.9g %.9g %.9g", "vn %.9g %.9g %.9g"})
    {
        const bool normal = format[1] == 'n';
        for (int32_t i = -1; i <= (rings - 1) * segments; i++)
        {
            const int32_t r = i < 0 ? 0 : i == (rings - 1) * segments ? rings : 1 + i / segments;
            const double theta = pi * r / rings,
                         phi = r % rings == 0 ? 0 : 2 * pi * (i % segments) / segments;
            const double x = std::sin(theta) * std::cos(phi), y = std::cos(theta),
                         z = std::sin(theta) * std::sin(phi);
            Line(text, format, normal ? x : 1 + 3 * x, normal ? y : 3 * y, normal ? z : 3 * z);
        }
    }
    // Texture coordinates: a grid with one column more than segments (the seam).
    for (int32_t r = 0; r <= rings; r++)
        for (int32_t s = 0; s <= segments; s++)
            Line(text, "vt %.9g %.9g", static_cast<double>(s) / segments,
                 1 - static_cast<double>(r) / rings);
    // Quads between the rings; at the poles the corner doubled on the pole is left out. Each
    // corner is appended to the text in place: prepending to temporaries ("f" + corner + ...)
    // copied every face twice and led g++ 12 at -O3 into a false -Wrestrict.
    auto corner = [&](int32_t r, int32_t s)
    {
        const int32_t p = r == 0       ? 1
                          : r == rings ? 2 + (rings - 1) * segments
                                       : 2 + (r - 1) * segments + s % segments;
        char buffer[48];
        snprintf(buffer, sizeof(buffer), " %d/%d/%d", p, 1 + r * (segments + 1) + s, p);
        text += buffer;
    };
    text += "g sphere\n";
    for (int32_t r = 0; r < rings; r++)
        for (int32_t s = 0; s < segments; s++)
        {
            text += 'f';
            corner(r, s);
            if (r > 0)
                corner(r, s + 1);
            if (r < rings - 1)
                corner(r + 1, s + 1);
            corner(r + 1, s);
            text += '\n';
        }
    return text;
}

std::string Shapes_GroupsObj()
{
    std::string text = "# Wavefront OBJ with groups\nmtllib groups.mtl\n";
    BoxPositions(text, 0, 0, 0, 4, 1, 3);                        // base: positions 1-8
    BoxPositions(text, 1.5f, 1, 1, 2.5f, 6, 2);                  // mast: positions 9-16
    text += "v 0 1 0\nv 4 1 0\nv 4 1 3\nv 0 1 3\nv 2 2.5 1.5\n"; // roof: positions 17-21
    text += "vn 0 0 -1\nvn 0 0 1\nvn 0 -1 0\nvn 1 0 0\nvn 0 1 0\nvn -1 0 0\ng base\nusemtl wood\n";
    for (int32_t i = 0, n = 1; i < 6; i++, n++)
        Line(text, "f %d//%d %d//%d %d//%d %d//%d", kBoxQuads[i][0], n, kBoxQuads[i][1], n,
             kBoxQuads[i][2], n, kBoxQuads[i][3], n);
    text += "g roof\nf 17 18 21\nf 18 19 21\nf 19 20 21\nf 20 17 21\ng mast\ns off\n";
    for (const auto &q : kBoxQuads)
        Line(text, "f %d %d %d %d", q[0] + 8, q[1] + 8, q[2] + 8, q[3] + 8);
    return text;
}

std::string Shapes_TerrainObj(int32_t columns, int32_t rows)
{
    std::string text = "# Wavefront OBJ terrain\n";
    text.reserve(static_cast<size_t>(columns + 1) * (rows + 1) * 100 +
                 static_cast<size_t>(columns) * rows * 2 * 40);
    // Positions, texture coordinates, then normals, each over the whole grid.
    for (const char *format : {"v %.6f %.6f %.6f", "vt %.6f %.6f", "vn %.6f %.6f %.6f"})
        for (int32_t y = 0; y <= rows; y++)
            for (int32_t x = 0; x <= columns; x++)
            {
                const double dx = 0.105 * std::cos(x * 0.21) * std::cos(y * 0.17);
                const double dz = -0.085 * std::sin(x * 0.21) * std::sin(y * 0.17);
                const double length = std::sqrt(dx * dx + 1 + dz * dz);
                const double values[3][3] = {
                    {x * 0.1, 0.5 * std::sin(x * 0.21) * std::cos(y * 0.17), y * 0.1},
                    {static_cast<double>(x) / columns, static_cast<double>(y) / rows, 0},
                    {-dx / length, 1 / length, -dz / length}};
                const double *v = values[format[1] == ' ' ? 0 : format[1] == 't' ? 1 : 2];
                Line(text, format, v[0], v[1], v[2]);
            }
    text += "g terrain\n";
    for (int32_t y = 0; y < rows; y++)
        for (int32_t x = 0; x < columns; x++)
        {
            const int32_t a = 1 + y * (columns + 1) + x, b = a + 1, c = a + columns + 2,
                          d = a + columns + 1;
            Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", a, a, a, d, d, d, c, c, c);
            Line(text, "f %d/%d/%d %d/%d/%d %d/%d/%d", a, a, a, c, c, c, b, b, b);
        }
    return text;
}

std::vector<uint8_t> Shapes_U16(uint16_t value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
}

std::vector<uint8_t> Shapes_Concat(const std::vector<std::vector<uint8_t>> &parts)
{
    std::vector<uint8_t> bytes;
    for (const auto &part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

std::vector<uint8_t> Shapes_Chunk(uint16_t id, const std::vector<uint8_t> &data)
{
    const auto length = static_cast<uint32_t>(data.size() + 6);
    return Shapes_Concat({Shapes_U16(id), Shapes_U16(static_cast<uint16_t>(length)),
                          Shapes_U16(static_cast<uint16_t>(length >> 16)), data});
}

std::vector<uint8_t> Shapes_Floats(const std::vector<float> &values)
{
    static_assert(std::endian::native == std::endian::little, "3DS floats are little-endian");
    std::vector<uint8_t> bytes(values.size() * 4);
    memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

std::vector<uint8_t> Shapes_Object3ds(const std::string &name, const std::vector<float> &positions,
                                      const std::vector<float> &texCoords,
                                      const std::vector<uint16_t> &triangles)
{
    auto array = [](uint16_t id, const std::vector<float> &values, size_t stride)
    {
        const auto count = static_cast<uint16_t>(values.size() / stride);
        return Shapes_Chunk(id, Shapes_Concat({Shapes_U16(count), Shapes_Floats(values)}));
    };
    std::vector<uint8_t> faces = Shapes_U16(static_cast<uint16_t>(triangles.size() / 3));
    for (size_t i = 0; i < triangles.size(); i++) // each triangle's flags are 0
        faces = Shapes_Concat(
            {faces, Shapes_U16(triangles[i]), i % 3 == 2 ? Shapes_U16(0) : std::vector<uint8_t>{}});
    std::vector<uint8_t> block =
        Shapes_Concat({array(0x4110, positions, 3),
                       texCoords.empty() ? std::vector<uint8_t>{} : array(0x4140, texCoords, 2),
                       Shapes_Chunk(0x4120, faces)});
    std::vector<uint8_t> named(name.c_str(), name.c_str() + name.size() + 1); // with its zero
    return Shapes_Chunk(0x4000, Shapes_Concat({named, Shapes_Chunk(0x4100, block)}));
}

std::vector<uint8_t> Shapes_File3ds(const std::vector<std::vector<uint8_t>> &objects)
{
    return Shapes_Chunk(0x4D4D, Shapes_Concat({Shapes_Chunk(0x0002, {3, 0, 0, 0}),
                                               Shapes_Chunk(0x3D3D, Shapes_Concat(objects))}));
}
