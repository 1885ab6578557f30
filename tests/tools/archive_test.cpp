// The asset builder's archive and encoders: exactly the entries the game asks for, read alike by
// Info-ZIP and the game's reader, the same bytes every run, and pictures ImageMagick reads back
// pixel for pixel.
#include "resources/resource_win.h"
#include "tests/tools/asset_files.h"
#include "tools/png_writer.h"
#include "tools/tga_writer.h"

#include <gtest/gtest.h>

namespace
{

TEST(AssetArchive, HoldsTheEightEntriesInOrderAndBothReadersAgreeOnThem)
{
    const char *const names[] = {
        "SpaceShooterAssetPack_BackGrounds.tga", "SpaceShooterAssetPack_Miscellaneous.tga",
        "SpaceShooterAssetPack_Projectiles.tga", "SpaceShooterAssetPack_Ships.tga",
        "mixkit-game-whip-shot-1512.wav",        "mixkit-short-laser-gun-shot-1670.wav",
        "mixkit-arcade-fast-game-over-233.wav",  "mixkit-falling-hit-757.wav"};
    std::string expected;
    for (const char *name : names)
    {
        expected += std::string(name) + "\n";
    }
    EXPECT_EQ(RunCommand("unzip -Z1 '" ZINDREL_RESOURCES_DAT "'").second, expected);
    EXPECT_EQ(RunCommand("unzip -tq '" ZINDREL_RESOURCES_DAT "' >/dev/null").first, 0);
    Resource_Load(ZINDREL_RESOURCES_DAT);
    for (const char *name : names)
    {
        const std::vector<uint8_t> unpacked = ReadFileBytes(UnpackedEntry(name));
        EXPECT_FALSE(unpacked.empty()) << name;
        const uint8_t *data = Resource_GetData(name);
        ASSERT_NE(data, nullptr) << name;
        EXPECT_TRUE(std::vector<uint8_t>(data, data + Resource_GetSize(name)) == unpacked) << name;
    }
    Resource_Unload();
}

// A second run in another time zone and working directory writes the archive the build made
// and the same compiled-in picture blobs, byte for byte.
TEST(AssetArchive, EveryRunWritesIdenticalBytesAndFailuresEndInAnErrorStatus)
{
    const ScratchFolder scratch;
    const std::string builder = std::string("'") + ZINDREL_ASSETGEN + "' ";
    for (const std::string &run : {scratch.File("a"), scratch.File("b")})
    {
        const std::string how = run.ends_with("b") ? "cd / && TZ=Pacific/Kiritimati " : "";
        ASSERT_EQ(RunCommand("mkdir '" + run + "' && " + how + builder + "archive '" + run +
                             "/resources.dat' && " + how + builder + "blobs '" + run + "'")
                      .first,
                  0);
    }
    EXPECT_TRUE(ReadFileBytes(scratch.File("a/resources.dat")) ==
                ReadFileBytes(ZINDREL_RESOURCES_DAT));
    for (const char *file :
         {"resources.dat", "FontC64Uppercase.bin", "FontC64Lowercase.bin", "BrindleLogo.bin"})
    {
        const std::vector<uint8_t> first = ReadFileBytes(scratch.File("a/") + file);
        EXPECT_FALSE(first.empty()) << file;
        EXPECT_TRUE(first == ReadFileBytes(scratch.File("b/") + file)) << file;
    }
    for (const char *arguments : {"archive /nonexistent-directory/resources.dat",
                                  "blobs /nonexistent-directory", "unknown x"})
    {
        EXPECT_NE(RunCommand(builder + arguments + " 2>/dev/null").first, 0) << arguments;
    }
}

TEST(AssetWriters, TgaRawAndRunLengthAndPngDecodeToTheSamePixels)
{
    // 300 pixels wide: a run longer than one packet, then alternating pixels, then noise.
    Pixmap picture = Pixmap_Make(300, 5);
    for (int32_t x = 0; x < picture.width; x++)
    {
        Pixmap_Set(picture, x, 1, Rgba{10, 20, 30, 255});
        Pixmap_Set(picture, x, 2, x % 2 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 128});
        Pixmap_Set(picture, x, 3,
                   Rgba{uint8_t(x * 7), uint8_t(x * 13), uint8_t(x * 31), uint8_t(x * 3)});
        Pixmap_Set(picture, x, 4, x < 129 ? Rgba{1, 2, 3, 4} : Rgba{uint8_t(x), 9, 9, 255});
    }
    const std::vector<uint8_t> raw = TgaWriter_Encode(picture, false);
    const std::vector<uint8_t> packed = TgaWriter_Encode(picture, true);
    EXPECT_EQ(raw.size(), 18u + 300u * 5u * 4u);
    EXPECT_LT(packed.size(), raw.size());
    const ScratchFolder scratch;
    for (const auto &[name, bytes] : {std::pair{"raw.tga", raw},
                                      {"packed.tga", packed},
                                      {"picture.png", PngWriter_Encode(picture)}})
    {
        WriteFileBytes(scratch.File(name), bytes);
        const DecodedImage decoded = DecodeImage(scratch.File(name));
        EXPECT_EQ(decoded.width, picture.width) << name;
        EXPECT_TRUE(decoded.rgba == picture.pixels) << name;
    }
}

} // namespace
