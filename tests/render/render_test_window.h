// The frame of the 1024 x 768 game window as read back, for the rendering and game tests.
#pragma once

#include "foundation/vector.h"
#include "render/graphics_win.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct SubTexture;
struct Texture;
struct Window;

#define RENDER_TEST_WIDTH  1024
#define RENDER_TEST_HEIGHT 768

struct Rgba8
{
    uint8_t r, g, b, a;
    bool operator==(const Rgba8 &other) const = default;
};

std::ostream &operator<<(std::ostream &stream, const Rgba8 &color);
// Channels within tolerance of each other (rasterisers round 8-bit values either way).
bool Rgba8_Near(Rgba8 a, Rgba8 b, int32_t tolerance = 1);

// The clear colour of Graphics_SetContext, (0.2, 0.2, 0.2, 1) in bytes.
inline constexpr Rgba8 kClearColor = {51, 51, 51, 255};

int32_t Render_Column(float x);
int32_t Render_Row(float y);

// Rows from the bottom (OpenGL's order).
struct Frame
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    Rgba8 At(int32_t x, int32_t y) const;
    // The pixel whose centre lies nearest the point, in drawing units.
    Rgba8 AtUnits(float x, float y) const { return At(Render_Column(x), Render_Row(y)); }
    int64_t Count(Rgba8 color) const;
    // Pixels other than inside whose centres lie in the rectangle from..to (drawing units),
    // plus pixels other than outside beyond it.
    int64_t Mismatches(Vector2 from, Vector2 to, Rgba8 inside, Rgba8 outside) const;
    const Frame &ReadFromWindow();
    // False when the file cannot be written.
    bool WritePng(const std::string &path) const;
};
