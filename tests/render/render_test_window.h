// The frame of the 1024 x 768 game window as read back, for the rendering and game tests.
#pragma once

#include "foundation/vector.h"
#include "render/graphics_win.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#define RENDER_TEST_WIDTH  1024
#define RENDER_TEST_HEIGHT 768

struct Rgba8
{
    uint8_t r, g, b, a;
    bool operator==(const Rgba8 &other) const = default;
    friend std::ostream &operator<<(std::ostream &out, const Rgba8 &c)
    {
        return out << '(' << +c.r << ", " << +c.g << ", " << +c.b << ", " << +c.a << ')';
    }
};

// The clear colour of Graphics_SetContext, (0.2, 0.2, 0.2, 1) in bytes.
inline constexpr Rgba8 kClearColor = {51, 51, 51, 255};

int32_t Render_Column(float x);
int32_t Render_Row(float y);

// Rows from the bottom (OpenGL's order).
struct Frame
{
    int32_t width = 0, height = 0;
    std::vector<Rgba8> pixels;

    Rgba8 At(int32_t x, int32_t y) const;
    // The pixel whose centre lies nearest the point, in drawing units.
    Rgba8 AtUnits(float x, float y) const { return At(Render_Column(x), Render_Row(y)); }
    int64_t Count(Rgba8 color) const { return std::ranges::count(pixels, color); }
    // Pixels other than inside whose centres lie in the rectangle from..to (drawing units),
    // plus pixels other than outside beyond it.
    int64_t Mismatches(Vector2 from, Vector2 to, Rgba8 inside, Rgba8 outside) const;
    const Frame &ReadFromWindow();
};
