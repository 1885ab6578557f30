#include "tests/render/render_test_window.h"

#include <GL/gl.h>
#include <cmath>

Rgba8 Frame::At(int32_t x, int32_t y) const
{
    const bool inside = x >= 0 && y >= 0 && x < width && y < height;
    return inside ? pixels[static_cast<size_t>(y) * width + x] : Rgba8{};
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

// glReadPixels fills the pixels as packed RGBA bytes.
static_assert(sizeof(Rgba8) == 4);

const Frame &Frame::ReadFromWindow()
{
    glFinish();
    width = RENDER_TEST_WIDTH;
    height = RENDER_TEST_HEIGHT;
    pixels.assign(static_cast<size_t>(width) * height, {});
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return *this;
}
