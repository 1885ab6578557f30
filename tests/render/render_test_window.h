// Shared pieces of the rendering tests: one real 1024 x 768 game window per test process with
// its context current, a frame read back with glReadPixels, pixel helpers in drawing units,
// small textures made from colour lists, and a fixture that keeps the tracking allocator
// balanced and writes the frame to a PNG file when a test fails.
#pragma once

#include "foundation/vector.h"
#include "resources/texture_win.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

struct SubTexture;
struct Window;

#define RENDER_TEST_WIDTH  1024
#define RENDER_TEST_HEIGHT 768

struct Rgba8
{
    uint8_t r;
    uint8_t g;
    uint8_t b;
    uint8_t a;
    bool operator==(const Rgba8 &other) const = default;
};

std::ostream &operator<<(std::ostream &stream, const Rgba8 &color);

// The clear colour of Graphics_SetContext, (0.2, 0.2, 0.2, 1) in bytes.
inline constexpr Rgba8 kClearColor = {51, 51, 51, 255};

// Channels within tolerance of each other (rasterisers round 8-bit values either way).
bool Rgba8_Near(Rgba8 a, Rgba8 b, int32_t tolerance = 1);

// The colour buffer as read back, rows from the bottom (OpenGL's order).
struct Frame
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;

    // Column x from the left, row y from the bottom.
    Rgba8 At(int32_t x, int32_t y) const;
    // The pixel whose centre lies nearest the point, in drawing units.
    Rgba8 AtUnits(float x, float y) const;
    // How many pixels hold exactly this colour.
    int64_t Count(Rgba8 color) const;
    // Replaces the frame with the current window's colour buffer (after glFinish).
    void ReadFromWindow();
    // Writes the frame as an RGBA PNG, top row first; false when the file cannot be written.
    bool WritePng(const std::string &path) const;
};

// Pixel column and row (from the bottom) of a point in drawing units.
int32_t Render_Column(float x);
int32_t Render_Row(float y);

// A texture of width x height RGBA texels given row by row from row 0 (drawn at the top).
// Ownership: the caller; release with Texture_Destroy.
Texture *TestTexture_Create(int32_t width, int32_t height, const std::vector<Rgba8> &texels);
// The pixel rectangle (x0, y0) to (x1, y1) of a texture as a sub-texture, corners as given.
// Ownership: the caller; release with SubTexture_Destroy.
SubTexture *TestSubTexture_Create(Texture *texture, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Writes the frame to <suite>.<test>.png in the working directory, named after the running
// test, and says where; for fixtures to call when the test has failed.
void Render_WriteFrameOfFailedTest(const Frame &frame);

class RenderTest : public ::testing::Test
{
  protected:
    // Starts a frame on the shared window (clears it to kClearColor), with the drawing position
    // at (0, 0) and the log at Error level.
    void SetUp() override;
    // Fails a test that left tracking-allocator blocks behind, and writes the last frame read
    // (or the current one) to <suite>.<test>.png in the working directory when the test failed.
    void TearDown() override;

    // Reads the whole colour buffer back (the frame is also kept for the failure picture).
    const Frame &ReadFrame();
    // Starts a new frame on the window, as the render callback of the game does.
    void NewFrame();

    static Window *GetWindow();

  private:
    Frame lastFrame;
    bool frameRead = false;
    int64_t liveAtStart = 0;
};
