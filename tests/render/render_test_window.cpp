// The window is opened once per process and never closed: closing it sets the frame loop's
// exit flag, and the window library is never shut down anyway.
#include "tests/render/render_test_window.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "frame/integration_win.h"
#include "frame/window.h"
#include "render/graphics_win.h"
#include "resources/subtexture.h"
#include "resources/texture_win.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <zlib.h>

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
    {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") lies outside the frame";
        return {};
    }
    const uint8_t *pixel = &pixels[(static_cast<size_t>(y) * width + x) * 4];
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

Rgba8 Frame::AtUnits(float x, float y) const
{
    return At(Render_Column(x), Render_Row(y));
}

int64_t Frame::Count(Rgba8 color) const
{
    int64_t count = 0;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4)
    {
        count += pixels[i] == color.r && pixels[i + 1] == color.g && pixels[i + 2] == color.b &&
                 pixels[i + 3] == color.a;
    }
    return count;
}

int32_t Render_Column(float x)
{
    return static_cast<int32_t>(std::floor((x + 1.0f) * 0.5f * RENDER_TEST_WIDTH));
}

int32_t Render_Row(float y)
{
    return static_cast<int32_t>(std::floor((y + 1.0f) * 0.5f * RENDER_TEST_HEIGHT));
}

static void _PutBigEndian(std::vector<uint8_t> &out, uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                              static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    out.insert(out.end(), bytes, bytes + 4);
}

static void _AppendPngChunk(std::vector<uint8_t> &file, const char *name,
                            const std::vector<uint8_t> &body)
{
    _PutBigEndian(file, static_cast<uint32_t>(body.size()));
    const size_t typeAt = file.size();
    file.insert(file.end(), name, name + 4);
    file.insert(file.end(), body.begin(), body.end());
    _PutBigEndian(file, static_cast<uint32_t>(crc32(0, file.data() + typeAt,
                                                    static_cast<uInt>(file.size() - typeAt))));
}

void Frame::ReadFromWindow()
{
    glFinish();
    width = RENDER_TEST_WIDTH;
    height = RENDER_TEST_HEIGHT;
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

bool Frame::WritePng(const std::string &path) const
{
    // PNG rows run from the top, each led by its filter byte (0: none).
    const size_t stride = static_cast<size_t>(width) * 4;
    std::vector<uint8_t> rows;
    for (int32_t y = height - 1; y >= 0; y--)
    {
        rows.push_back(0);
        rows.insert(rows.end(), pixels.begin() + static_cast<ptrdiff_t>(y * stride),
                    pixels.begin() + static_cast<ptrdiff_t>((y + 1) * stride));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size())) != Z_OK)
    {
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    _PutBigEndian(header, static_cast<uint32_t>(width));
    _PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, deflate, no interlace
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    _AppendPngChunk(file, "IHDR", header);
    _AppendPngChunk(file, "IDAT", packed);
    _AppendPngChunk(file, "IEND", {});

    FILE *stream = fopen(path.c_str(), "wb");
    if (stream == nullptr)
    {
        return false;
    }
    const bool written = fwrite(file.data(), 1, file.size(), stream) == file.size();
    return fclose(stream) == 0 && written;
}

Texture *TestTexture_Create(int32_t width, int32_t height, const std::vector<Rgba8> &texels)
{
    EXPECT_EQ(texels.size(), static_cast<size_t>(width * height));
    std::vector<uint8_t> bytes;
    for (const Rgba8 &texel : texels)
    {
        bytes.insert(bytes.end(), {texel.r, texel.g, texel.b, texel.a});
    }
    // OpenGL copies the pixels during the upload, so the block may go right after it.
    return Texture_Create(bytes.data(), 4, width, height);
}

SubTexture *TestSubTexture_Create(Texture *texture, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    return SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, x0, y0),
                             Texture_CalculatePixelPosition(texture, x1, y1));
}

void Render_WriteFrameOfFailedTest(const Frame &frame)
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = std::string(test->test_suite_name()) + "." + test->name() + ".png";
    if (frame.WritePng(path))
    {
        printf("The frame of the failed test is in %s\n", path.c_str());
    }
}

Window *RenderTest::GetWindow()
{
    static Window *window = nullptr;
    if (window == nullptr)
    {
        Window_Initialize_Library();
        window = Window_Create(RENDER_TEST_WIDTH, RENDER_TEST_HEIGHT, "Zindrel render test",
                               nullptr, nullptr);
        OSWindow_FrameInit(Window_GetOSWindow(window));
    }
    return window;
}

static int64_t _LiveBlocks()
{
    return int64_t{Allocator_GetAllocatedObjects()} - Allocator_GetDeallocatedObjects();
}

void RenderTest::SetUp()
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    GetWindow();
    liveAtStart = _LiveBlocks();
    Graphics_Initialize();
    NewFrame();
}

void RenderTest::TearDown()
{
    EXPECT_EQ(_LiveBlocks(), liveAtStart) << "tracking-allocator blocks leaked or freed twice";
    if (HasFailure())
    {
        if (!frameRead)
        {
            ReadFrame();
        }
        Render_WriteFrameOfFailedTest(lastFrame);
    }
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
}

const Frame &RenderTest::ReadFrame()
{
    lastFrame.ReadFromWindow();
    frameRead = true;
    return lastFrame;
}

void RenderTest::NewFrame()
{
    Graphics_SetContext(GetWindow());
}
