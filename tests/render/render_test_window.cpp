#include "tests/render/render_test_window.h"

#include <GL/gl.h>
#include <cmath>
#include <ostream>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

std::ostream &operator<<(std::ostream &stream, const Rgba8 &color)
{
    return stream << "(" << int{color.r} << ", " << int{color.g} << ", " << int{color.b} << ", "
                  << int{color.a} << ")";
}

bool Rgba8_Near(Rgba8 a, Rgba8 b, int32_t tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}

Rgba8 Frame::At(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {};
    const uint8_t *pixel = &pixels[(static_cast<size_t>(y) * width + x) * 4];
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

int64_t Frame::Count(Rgba8 color) const
{
    return int64_t{width} * height - Mismatches({-1.0f, -1.0f}, {1.0f, 1.0f}, color, color);
}

int64_t Frame::Mismatches(Vector2 from, Vector2 to, Rgba8 inside, Rgba8 outside) const
{
    // A rectangle covers the pixels whose centres lie inside it.
    const auto edge = [](float units, int32_t extent)
    { return static_cast<int32_t>(std::ceil((units + 1.0f) * 0.5f * extent - 0.5f)); };
    const int32_t x0 = edge(from.x, width), x1 = edge(to.x, width);
    const int32_t y0 = edge(from.y, height), y1 = edge(to.y, height);
    int64_t wrong = 0;
    for (int32_t y = 0; y < height; y++)
        for (int32_t x = 0; x < width; x++)
            wrong += !(At(x, y) == (x >= x0 && x < x1 && y >= y0 && y < y1 ? inside : outside));
    return wrong;
}

int32_t Render_Column(float x)
{
    return static_cast<int32_t>(std::floor((x + 1.0f) * 0.5f * RENDER_TEST_WIDTH));
}

int32_t Render_Row(float y)
{
    return static_cast<int32_t>(std::floor((y + 1.0f) * 0.5f * RENDER_TEST_HEIGHT));
}

const Frame &Frame::ReadFromWindow()
{
    glFinish();
    width = RENDER_TEST_WIDTH;
    height = RENDER_TEST_HEIGHT;
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return *this;
}

bool Frame::WritePng(const std::string &path) const
{
    stbi_flip_vertically_on_write(1); // PNG rows run from the top
    return stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4) != 0;
}
