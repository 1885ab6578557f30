// A model text for the toolkit's benchmarks: plain geometry written line by line.
#include "terrain_shapes.h"

#include <cmath>
#include <cstdio>

std::string Shapes_TerrainObj(int32_t columns, int32_t rows)
{
    std::string text = "# Wavefront OBJ terrain\n";
    char line[256];
    // Positions, texture coordinates, then normals, each over the whole grid.
    for (const char *format : {"v %.6f %.6f %.6f\n", "vt %.6f %.6f\n", "vn %.6f %.6f %.6f\n"})
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
                text.append(line, static_cast<size_t>(
                                      snprintf(line, sizeof(line), format, v[0], v[1], v[2])));
            }
    text += "g terrain\n";
    for (int32_t y = 0; y < rows; y++)
        for (int32_t x = 0; x < columns; x++)
        {
            const int32_t a = 1 + y * (columns + 1) + x, b = a + 1, c = a + columns + 2,
                          d = a + columns + 1;
            text.append(line, static_cast<size_t>(snprintf(line, sizeof(line),
                                                           "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a,
                                                           a, d, d, d, c, c, c)));
            text.append(line, static_cast<size_t>(snprintf(line, sizeof(line),
                                                           "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a,
                                                           a, c, c, c, b, b, b)));
        }
    return text;
}
