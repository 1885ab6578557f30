// The TGA decoder: checks in their order, pixel order, packets, the debug log.
#include "resources/targa.h"

#include "test_support.h"

using testing::ElementsAre;

namespace
{

// An 18-byte header followed by the given bytes.
std::vector<uint8_t> Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth,
                         uint8_t descriptor, std::vector<uint8_t> body = {}, uint8_t idLength = 0,
                         uint8_t colorMap = 0)
{
    body.insert(body.begin(), {idLength, colorMap, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               depth, descriptor});
    body[12] = width & 0xFF, body[13] = width >> 8;
    body[14] = height & 0xFF, body[15] = height >> 8;
    return body;
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

using TargaDecoder = ResourceTest;

TEST_F(TargaDecoder, RefusalsNameTheFirstCheckThatFails)
{
    // Too short for a header: refused without touching debugString.
    debugString = "earlier";
    EXPECT_EQ(Decode(std::vector<uint8_t>(17)), nullptr);
    EXPECT_EQ(Targa_Create_FromMemory(nullptr, 100), nullptr);
    EXPECT_EQ(Targa_Create_FromMemory(Tga(2, 0, 0, 24, 0).data(), -5), nullptr);
    EXPECT_STREQ(debugString, "earlier");

    const std::pair<std::vector<uint8_t>, const char *> cases[] = {
        // The ID must fit; a header failing several checks names the first.
        {Tga(2, 0, 0, 24, 0, {'a', 'b'}, 3), "HeaderSize"},
        {Tga(3, 0, 0, 24, 0x40, {}, 1), "HeaderSize"},
        {Tga(1, 0, 0, 8, 0x40, {}, 0, 1), "ColorMap"},
        {Tga(3, 1, 1, 8, 0, {0}), "ImageType"},
        {Tga(9, 0, 0, 8, 0x40), "ImageType"},
        {Tga(2, 2, 2, 24, 0x40, std::vector<uint8_t>(11)), "DataSize"},
        {Tga(2, 3, 1, 16, 0, std::vector<uint8_t>(5)), "DataSize"}, // two bytes a 16-bit pixel
        // Descriptors above 63 (interleaving bits): data size first when uncompressed.
        {Tga(2, 2, 2, 24, 0x40, std::vector<uint8_t>(12)), "interleavingFlag"},
        {Tga(10, 1, 1, 24, 0x80, {0x80, 1, 2, 3}), "interleavingFlag"},
        // Compressed data short of a packet, a run's value, a raw packet's values, anything.
        {Tga(10, 4, 1, 24, 0, {0x82, 1, 2, 3}), "DataSize"},
        {Tga(10, 4, 1, 24, 0, {0x83, 1, 2}), "DataSize"},
        {Tga(10, 2, 1, 24, 0, {0x01, 1, 2, 3, 4, 5}), "DataSize"},
        {Tga(10, 1, 1, 24, 0), "DataSize"},
        // A huge image from a few bytes is refused before any buffer is made.
        {Tga(10, 65535, 65535, 32, 8, {0xFF, 1, 2, 3, 4}), "DataSize"},
    };
    for (const auto &[bytes, check] : cases)
    {
        debugString = nullptr;
        EXPECT_EQ(Decode(bytes), nullptr) << check;
        EXPECT_STREQ(debugString, check);
    }
}

TEST_F(TargaDecoder, PixelsComeOutInRgbOrderWithRowsInFileOrder)
{
    // The two longest packets, 128 pixels each: a run, then a raw packet.
    std::vector<uint8_t> longest = {0xFF, 9, 8, 7, 0x7F}, longestPixels;
    for (uint8_t i = 0; i < 128; i++)
    {
        longest.insert(longest.end(), {i, 0, 0});
        longestPixels.insert(longestPixels.begin(), {7, 8, 9}); // the run, ahead of the raw ones
        longestPixels.insert(longestPixels.end(), {0, 0, i});
    }
    const std::pair<std::vector<uint8_t>, std::vector<uint8_t>> cases[] = {
        // ID bytes skipped, rows of 9 bytes without padding, trailing bytes ignored.
        {Tga(2, 3, 2, 24, 0,
             {'i', 'd', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 99}, 2),
         {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
        // Descriptors up to 63 are accepted; file row 0 stays row 0 whatever the origin bits.
        {Tga(2, 1, 2, 32, 0x20, {1, 2, 3, 4, 5, 6, 7, 8}), {3, 2, 1, 4, 7, 6, 5, 8}},
        {Tga(2, 1, 2, 32, 0x3F, {1, 2, 3, 4, 5, 6, 7, 8}), {3, 2, 1, 4, 7, 6, 5, 8}},
        // Run and raw packets, runs crossing row ends.
        {Tga(10, 5, 1, 32, 8, {0x83, 1, 2, 3, 4, 0x00, 5, 6, 7, 8}),
         {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8}},
        {Tga(10, 3, 2, 24, 0, {0x83, 1, 2, 3, 0x81, 4, 5, 6}),
         {3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 6, 5, 4}},
        {Tga(10, 256, 1, 24, 0, longest), longestPixels},
        // Packets stop at the end of the image.
        {Tga(10, 3, 1, 24, 0, {0xFF, 1, 2, 3}), {3, 2, 1, 3, 2, 1, 3, 2, 1}},
        {Tga(10, 2, 1, 24, 0, {0x03, 1, 2, 3, 4, 5, 6}), {3, 2, 1, 6, 5, 4}},
        // 16 bits become 32; the top bit is alpha only when the descriptor has alpha bits.
        {Tga(2, 3, 1, 16, 1, {0xFF, 0xFF, 0x00, 0x7C, 0x1F, 0x80}),
         {255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 255, 255}},
        {Tga(10, 3, 1, 16, 0, {0x82, 0x00, 0x7C}),
         {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255}},
        // Other depths keep their bytes; below 8 bits there are no pixels at all.
        {Tga(2, 2, 1, 8, 0, {7, 9}), {7, 9}},
        {Tga(10, 3, 1, 4, 0), {}},
        // Empty images have no pixel block.
        {Tga(10, 0, 0, 32, 8), {}},
        {Tga(2, 7, 0, 24, 0), {}},
    };
    for (const auto &[bytes, pixels] : cases)
    {
        SCOPED_TRACE(
            testing::PrintToString(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 18)));
        Targa *targa = Decode(bytes);
        ASSERT_NE(targa, nullptr);
        EXPECT_EQ(Targa_GetWidth(targa), uint32_t(bytes[12] | bytes[13] << 8));
        EXPECT_EQ(Targa_GetHeight(targa), uint32_t(bytes[14] | bytes[15] << 8));
        EXPECT_EQ(Targa_GetBitsPerPixel(targa), bytes[16] == 16 ? 32 : bytes[16]);
        EXPECT_EQ(Pixels(targa), pixels);
        EXPECT_EQ(Targa_GetData(targa) == nullptr, pixels.empty());
        Targa_Destroy(targa);
    }
}

TEST_F(TargaDecoder, CompressedPixelsAreLoggedAtDebugLevelOnly)
{
    // Run of 2 (value at input offset 1), then raw of 1 (value at offset 5); 26 bytes in all.
    const std::vector<uint8_t> bytes = Tga(10, 3, 1, 24, 0, {0x81, 1, 2, 3, 0x00, 4, 5, 6});
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    EXPECT_THAT(CaptureMessages([&bytes] { Targa_Destroy(Decode(bytes)); }), ElementsAre());
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    EXPECT_THAT(CaptureMessages([&bytes] { Targa_Destroy(Decode(bytes)); }, "targa.cpp"),
                ElementsAre("RLE Repeat 0/2 -> 0/9 from 1/26.", "RLE Repeat 1/2 -> 3/9 from 1/26.",
                            "RLE Uncomp 0/1 -> 6/9 from 5/26."));
}

} // namespace
