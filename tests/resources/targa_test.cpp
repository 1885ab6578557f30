// The TGA decoder: header checks in their order, pixel order, packets, hostile inputs.
#include "resources/targa.h"

#include "foundation/logging.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace
{

// An 18-byte header followed by the given bytes.
std::vector<uint8_t> Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth,
                         uint8_t descriptor, std::vector<uint8_t> body = {}, uint8_t idLength = 0,
                         uint8_t colorMap = 0)
{
    std::vector<uint8_t> bytes(18, 0);
    bytes[0] = idLength;
    bytes[1] = colorMap;
    bytes[2] = type;
    bytes[12] = width & 0xFF;
    bytes[13] = width >> 8;
    bytes[14] = height & 0xFF;
    bytes[15] = height >> 8;
    bytes[16] = depth;
    bytes[17] = descriptor;
    // Appended one by one: a range insert of an empty body trips GCC 12's bounds warning.
    for (uint8_t byte : body)
    {
        bytes.push_back(byte);
    }
    return bytes;
}

Targa *Decode(const std::vector<uint8_t> &bytes)
{
    return Targa_Create_FromMemory(bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::vector<uint8_t> Pixels(Targa *targa)
{
    const size_t size =
        size_t{Targa_GetWidth(targa)} * Targa_GetHeight(targa) * (Targa_GetBitsPerPixel(targa) / 8);
    const uint8_t *data = Targa_GetData(targa);
    return data == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(data, data + size);
}

class TargaDecoder : public testing::Test
{
  protected:
    void SetUp() override
    {
        debugString = nullptr;
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
    }
    void TearDown() override { Logging_SetLevel(LOGGING_LEVEL_DEBUG); }

    // Decoding must fail and name this check.
    static void ExpectRejected(const std::vector<uint8_t> &bytes, const char *check)
    {
        debugString = nullptr;
        EXPECT_EQ(Decode(bytes), nullptr);
        ASSERT_NE(debugString, nullptr);
        EXPECT_STREQ(debugString, check);
    }
};

TEST_F(TargaDecoder, ShortInputIsRefusedWithoutTouchingDebugString)
{
    debugString = "earlier";
    std::vector<uint8_t> bytes = Tga(2, 1, 1, 24, 0);
    bytes.pop_back();
    EXPECT_EQ(Decode(bytes), nullptr);
    EXPECT_STREQ(debugString, "earlier");
    EXPECT_EQ(Targa_Create_FromMemory(nullptr, 100), nullptr);
    EXPECT_EQ(Targa_Create_FromMemory(bytes.data(), -5), nullptr);
    EXPECT_STREQ(debugString, "earlier");
}

TEST_F(TargaDecoder, HeaderChecksComeInTheirOrder)
{
    ExpectRejected(Tga(2, 0, 0, 24, 0, {}, 1), "HeaderSize");
    // Each later check is only reached when the earlier ones pass: a header failing several
    // names the first.
    ExpectRejected(Tga(3, 0, 0, 24, 0x40, {}, 1), "HeaderSize");
    ExpectRejected(Tga(2, 0, 0, 24, 0, {}, 0, 1), "ColorMap");
    ExpectRejected(Tga(1, 0, 0, 8, 0x40, {}, 0, 1), "ColorMap");
    ExpectRejected(Tga(3, 1, 1, 8, 0, {0}), "ImageType");
    ExpectRejected(Tga(11, 1, 1, 8, 0, {0x80, 0}), "ImageType");
    ExpectRejected(Tga(9, 0, 0, 8, 0x40), "ImageType");
    ExpectRejected(Tga(2, 2, 2, 24, 0x40, std::vector<uint8_t>(11)), "DataSize");
    ExpectRejected(Tga(2, 2, 2, 24, 0x40, std::vector<uint8_t>(12)), "interleavingFlag");
    ExpectRejected(Tga(10, 1, 1, 24, 0x80, {0x80, 1, 2, 3}), "interleavingFlag");
}

TEST_F(TargaDecoder, IdBytesAreSkipped)
{
    std::vector<uint8_t> body = {'i', 'd', '!', 0x10, 0x20, 0x30};
    Targa *targa = Decode(Tga(2, 1, 1, 24, 0, body, 3));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(0x30, 0x20, 0x10));
    Targa_Destroy(targa);
    // The ID must fit the input even when no pixels follow.
    EXPECT_EQ(Decode(Tga(2, 0, 0, 24, 0, {'a', 'b'}, 3)), nullptr);
}

TEST_F(TargaDecoder, DescriptorUpTo63IsAcceptedAndRowsStayInFileOrder)
{
    const std::vector<uint8_t> body = {1, 2, 3, 4, 5, 6, 7, 8};
    for (uint8_t descriptor : {0x00, 0x08, 0x20, 0x28, 0x3F})
    {
        // Two rows of one pixel: file row 0 stays buffer row 0 whatever the origin bits say.
        Targa *targa = Decode(Tga(2, 1, 2, 32, descriptor, body));
        ASSERT_NE(targa, nullptr) << int{descriptor};
        EXPECT_THAT(Pixels(targa), ElementsAre(3, 2, 1, 4, 7, 6, 5, 8)) << int{descriptor};
        Targa_Destroy(targa);
    }
    ExpectRejected(Tga(2, 1, 2, 32, 0x40, body), "interleavingFlag");
    ExpectRejected(Tga(2, 1, 2, 32, 0x80, body), "interleavingFlag");
}

TEST_F(TargaDecoder, UncompressedPixelsBecomeRgbOrder)
{
    Targa *targa = Decode(Tga(2, 1, 1, 32, 8, {0x10, 0x20, 0x30, 0x40}));
    ASSERT_NE(targa, nullptr);
    EXPECT_EQ(Targa_GetWidth(targa), 1u);
    EXPECT_EQ(Targa_GetHeight(targa), 1u);
    EXPECT_EQ(Targa_GetBitsPerPixel(targa), 32);
    EXPECT_THAT(Pixels(targa), ElementsAre(0x30, 0x20, 0x10, 0x40));
    Targa_Destroy(targa);

    // A width of 3 at 24 bits: rows of 9 bytes, no padding, trailing bytes ignored.
    targa = Decode(Tga(2, 3, 2, 24, 0,
                       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 99, 99}));
    ASSERT_NE(targa, nullptr);
    EXPECT_EQ(Targa_GetBitsPerPixel(targa), 24);
    EXPECT_THAT(Pixels(targa),
                ElementsAre(3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16));
    Targa_Destroy(targa);
}

TEST_F(TargaDecoder, RunAndRawPackets)
{
    // A run of four 24-bit pixels.
    Targa *targa = Decode(Tga(10, 4, 1, 24, 0, {0x83, 1, 2, 3}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1));
    Targa_Destroy(targa);

    // A raw packet of two.
    targa = Decode(Tga(10, 2, 1, 24, 0, {0x01, 1, 2, 3, 4, 5, 6}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(3, 2, 1, 6, 5, 4));
    Targa_Destroy(targa);

    // Five pixels over two rows: a run of four crossing the row end, then one raw.
    targa = Decode(Tga(10, 5, 1, 32, 8, {0x83, 1, 2, 3, 4, 0x00, 5, 6, 7, 8}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa),
                ElementsAre(3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8));
    Targa_Destroy(targa);
    targa = Decode(Tga(10, 3, 2, 24, 0, {0x83, 1, 2, 3, 0x81, 4, 5, 6}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 6, 5, 4));
    Targa_Destroy(targa);

    // The longest packets: 128 pixels each.
    std::vector<uint8_t> body = {0xFF, 9, 8, 7, 0x7F};
    for (int i = 0; i < 128; i++)
    {
        body.insert(body.end(), {uint8_t(i), 0, 0});
    }
    targa = Decode(Tga(10, 256, 1, 24, 0, body));
    ASSERT_NE(targa, nullptr);
    std::vector<uint8_t> pixels = Pixels(targa);
    EXPECT_THAT(std::vector<uint8_t>(pixels.begin() + 381, pixels.begin() + 387),
                ElementsAre(7, 8, 9, 0, 0, 0));
    EXPECT_THAT(std::vector<uint8_t>(pixels.end() - 3, pixels.end()), ElementsAre(0, 0, 127));
    Targa_Destroy(targa);
}

TEST_F(TargaDecoder, PacketsStopAtTheEndOfTheImage)
{
    // A run of 128 into a 3-pixel image, and a raw packet promising more than the image needs.
    Targa *targa = Decode(Tga(10, 3, 1, 24, 0, {0xFF, 1, 2, 3}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(3, 2, 1, 3, 2, 1, 3, 2, 1));
    Targa_Destroy(targa);
    targa = Decode(Tga(10, 2, 1, 24, 0, {0x03, 1, 2, 3, 4, 5, 6}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(3, 2, 1, 6, 5, 4));
    Targa_Destroy(targa);
}

TEST_F(TargaDecoder, CompressedDataEndingEarlyIsRefused)
{
    // Short of a packet, of a run's value, of a raw packet's values, of a pixel's bytes.
    ExpectRejected(Tga(10, 4, 1, 24, 0, {0x82, 1, 2, 3}), "DataSize");
    ExpectRejected(Tga(10, 4, 1, 24, 0, {0x83, 1, 2}), "DataSize");
    ExpectRejected(Tga(10, 2, 1, 24, 0, {0x01, 1, 2, 3, 4, 5}), "DataSize");
    ExpectRejected(Tga(10, 1, 1, 32, 8, {0x80, 1, 2, 3}), "DataSize");
    ExpectRejected(Tga(10, 1, 1, 24, 0), "DataSize");
    // A huge image from a few bytes is refused before any buffer is made.
    ExpectRejected(Tga(10, 65535, 65535, 32, 8, {0xFF, 1, 2, 3, 4}), "DataSize");
}

TEST_F(TargaDecoder, EmptyImagesHaveNoPixels)
{
    for (uint8_t type : {2, 10})
    {
        Targa *targa = Decode(Tga(type, 0, 0, 32, 8));
        ASSERT_NE(targa, nullptr);
        EXPECT_EQ(Targa_GetWidth(targa), 0u);
        EXPECT_EQ(Targa_GetHeight(targa), 0u);
        EXPECT_EQ(Targa_GetData(targa), nullptr);
        Targa_Destroy(targa);
        targa = Decode(Tga(type, 7, 0, 24, 0));
        ASSERT_NE(targa, nullptr);
        EXPECT_EQ(Targa_GetWidth(targa), 7u);
        Targa_Destroy(targa);
    }
    Targa *empty = Targa_Create();
    EXPECT_EQ(Targa_GetWidth(empty), 0u);
    EXPECT_EQ(Targa_GetHeight(empty), 0u);
    EXPECT_EQ(Targa_GetData(empty), nullptr);
    Targa_Destroy(empty);
    Targa_Destroy(nullptr);
}

TEST_F(TargaDecoder, SixteenBitImagesBecomeThirtyTwoBits)
{
    // White with the attribute bit set, pure red without it, and pure blue.
    const std::vector<uint8_t> body = {0xFF, 0xFF, 0x00, 0x7C, 0x1F, 0x80};
    Targa *targa = Decode(Tga(2, 3, 1, 16, 1, body));
    ASSERT_NE(targa, nullptr);
    EXPECT_EQ(Targa_GetBitsPerPixel(targa), 32);
    EXPECT_THAT(Pixels(targa), ElementsAre(255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 255, 255));
    Targa_Destroy(targa);

    // Without alpha bits in the descriptor the top bit means nothing: every pixel is opaque.
    targa = Decode(Tga(10, 3, 1, 16, 0, {0x82, 0x00, 0x7C}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255));
    Targa_Destroy(targa);

    // The size check counts the file's two bytes a pixel.
    ExpectRejected(Tga(2, 3, 1, 16, 0, std::vector<uint8_t>(5)), "DataSize");
}

TEST_F(TargaDecoder, OtherDepthsKeepTheirBytes)
{
    Targa *targa = Decode(Tga(2, 2, 1, 8, 0, {7, 9}));
    ASSERT_NE(targa, nullptr);
    EXPECT_EQ(Targa_GetBitsPerPixel(targa), 8);
    EXPECT_THAT(Pixels(targa), ElementsAre(7, 9));
    Targa_Destroy(targa);
    targa = Decode(Tga(10, 3, 1, 8, 0, {0x82, 5}));
    ASSERT_NE(targa, nullptr);
    EXPECT_THAT(Pixels(targa), ElementsAre(5, 5, 5));
    Targa_Destroy(targa);
    // Below 8 bits there is not a whole byte a pixel: no pixels at all.
    targa = Decode(Tga(10, 3, 1, 4, 0));
    ASSERT_NE(targa, nullptr);
    EXPECT_EQ(Targa_GetData(targa), nullptr);
    Targa_Destroy(targa);
}

TEST_F(TargaDecoder, CompressedPixelsAreLoggedAtDebugLevelOnly)
{
    // Run of 2 (value at input offset 1), then raw of 1 (value at offset 5); 25 bytes in all.
    const std::vector<uint8_t> bytes = Tga(10, 3, 1, 24, 0, {0x81, 1, 2, 3, 0x00, 4, 5, 6});
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    std::vector<std::string> messages;
    for (const std::string &line : CaptureLines([&bytes] { Targa_Destroy(Decode(bytes)); }))
    {
        if (line.rfind("Debug at targa.cpp:", 0) == 0)
        {
            messages.push_back(LogMessage(line));
        }
    }
    EXPECT_THAT(messages,
                ElementsAre("RLE Repeat 0/2 -> 0/9 from 1/26.", "RLE Repeat 1/2 -> 3/9 from 1/26.",
                            "RLE Uncomp 0/1 -> 6/9 from 5/26."));
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    EXPECT_TRUE(CaptureLines([&bytes] { Targa_Destroy(Decode(bytes)); }).empty());
}

// Pixels as ImageMagick reports them, top row first, against our buffer in file order.
struct ImageMagickCase
{
    const char *name;
    int bytesPerPixel;
    bool topLeft;
};

// Keeps the test names free of the case's bytes.
void PrintTo(const ImageMagickCase &c, std::ostream *out)
{
    *out << c.name;
}

class TargaImageMagick : public testing::TestWithParam<ImageMagickCase>
{
};

TEST_P(TargaImageMagick, DecodesToThePixelsImageMagickReports)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    const ImageMagickCase &c = GetParam();
    const std::vector<uint8_t> file = ReadFile(FixturePath(std::string(c.name) + ".tga"));
    const std::vector<uint8_t> reference =
        ReadFile(FixturePath(std::string(c.name) + (c.bytesPerPixel == 3 ? ".rgb" : ".rgba")));
    ASSERT_GE(file.size(), 18u);
    // The files really are of the kind the case names.
    EXPECT_EQ(file[2] == 10, std::string(c.name).find("RLE") != std::string::npos);
    EXPECT_EQ(file[16], c.bytesPerPixel * 8);
    EXPECT_EQ((file[17] & 0x20) != 0, c.topLeft);

    Targa *targa = Decode(file);
    ASSERT_NE(targa, nullptr);
    const uint32_t width = Targa_GetWidth(targa);
    const uint32_t height = Targa_GetHeight(targa);
    EXPECT_EQ(width, 37u);
    EXPECT_EQ(height, 23u);
    EXPECT_EQ(Targa_GetBitsPerPixel(targa), c.bytesPerPixel * 8);
    const std::vector<uint8_t> pixels = Pixels(targa);
    const size_t row = size_t{width} * c.bytesPerPixel;
    ASSERT_EQ(pixels.size(), reference.size());
    for (uint32_t y = 0; y < height; y++)
    {
        // A bottom-left file stores the picture's bottom row first, and it stays first.
        const uint32_t shown = c.topLeft ? y : height - 1 - y;
        ASSERT_EQ(memcmp(pixels.data() + y * row, reference.data() + shown * row, row), 0)
            << "row " << y;
    }
    Targa_Destroy(targa);
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
}

INSTANTIATE_TEST_SUITE_P(Files, TargaImageMagick,
                         testing::Values(ImageMagickCase{"im_24_None_BottomLeft", 3, false},
                                         ImageMagickCase{"im_24_None_TopLeft", 3, true},
                                         ImageMagickCase{"im_24_RLE_BottomLeft", 3, false},
                                         ImageMagickCase{"im_24_RLE_TopLeft", 3, true},
                                         ImageMagickCase{"im_32_None_BottomLeft", 4, false},
                                         ImageMagickCase{"im_32_None_TopLeft", 4, true},
                                         ImageMagickCase{"im_32_RLE_BottomLeft", 4, false},
                                         ImageMagickCase{"im_32_RLE_TopLeft", 4, true}),
                         [](const testing::TestParamInfo<ImageMagickCase> &info)
                         { return std::string(info.param.name); });

TEST(TargaRobustness, EveryTruncationOfRealFilesIsSafe)
{
    // Each prefix of each file decodes or is refused; the sanitizer build checks the reads.
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    for (const char *name :
         {"im_24_RLE_BottomLeft.tga", "im_32_RLE_TopLeft.tga", "im_32_None_BottomLeft.tga"})
    {
        const std::vector<uint8_t> file = ReadFile(FixturePath(name));
        for (size_t length = 0; length < file.size(); length++)
        {
            std::vector<uint8_t> prefix(file.begin(), file.begin() + length);
            Targa *targa = Decode(prefix);
            EXPECT_EQ(targa, nullptr) << name << " cut at " << length;
            Targa_Destroy(targa);
        }
    }
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
}

} // namespace
