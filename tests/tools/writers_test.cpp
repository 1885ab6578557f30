// The encoders on their own, on pictures built to hit their edge cases, read back by
// ImageMagick: run-length packets at their 128-pixel limit, raw stretches, single pixels,
// partial alpha.
#include "tools/png_writer.h"
#include "tools/tga_writer.h"

#include "tests/tools/asset_files.h"

#include <gtest/gtest.h>

namespace
{
Pixmap EdgeCasePicture(void)
{
    // 300 pixels wide: a run longer than one packet, then alternating pixels, then noise.
    Pixmap picture = Pixmap_Make(300, 5);
    for (int32_t y = 0; y < picture.height; y++)
        for (int32_t x = 0; x < picture.width; x++)
        {
            Rgba color{0, 0, 0, 0};
            if (y == 1)
                color = Rgba{10, 20, 30, 255};
            else if (y == 2)
                color = x % 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 128};
            else if (y == 3)
                color = Rgba{uint8_t(x * 7), uint8_t(x * 13), uint8_t(x * 31), uint8_t(x * 3)};
            else if (y == 4)
                color = x < 129 ? Rgba{1, 2, 3, 4} : Rgba{uint8_t(x), 9, 9, 255};
            Pixmap_Set(picture, x, y, color);
        }
    return picture;
}

void ExpectSamePixels(const DecodedImage &decoded, const Pixmap &picture, const char *what)
{
    ASSERT_EQ(decoded.width, picture.width) << what;
    ASSERT_EQ(decoded.height, picture.height) << what;
    for (size_t i = 0; i < picture.pixels.size(); i++)
        ASSERT_EQ(decoded.rgba[i], picture.pixels[i]) << what << " byte " << i;
}
} // namespace

TEST(AssetWriters, TgaRawAndRunLengthDecodeToTheSamePixels)
{
    ScratchFolder scratch;
    const Pixmap picture = EdgeCasePicture();
    std::vector<uint8_t> raw = TgaWriter_Encode(picture, false);
    std::vector<uint8_t> packed = TgaWriter_Encode(picture, true);
    EXPECT_EQ(raw.size(), 18u + 300u * 5u * 4u);
    EXPECT_LT(packed.size(), raw.size());
    WriteFileBytes(scratch.File("raw.tga"), raw);
    WriteFileBytes(scratch.File("packed.tga"), packed);
    ExpectSamePixels(DecodeImage(scratch.File("raw.tga")), picture, "raw");
    ExpectSamePixels(DecodeImage(scratch.File("packed.tga")), picture, "run-length");
}

TEST(AssetWriters, PngDecodesToTheSamePixels)
{
    ScratchFolder scratch;
    const Pixmap picture = EdgeCasePicture();
    WriteFileBytes(scratch.File("picture.png"), PngWriter_Encode(picture));
    ExpectSamePixels(DecodeImage(scratch.File("picture.png")), picture, "png");
}
