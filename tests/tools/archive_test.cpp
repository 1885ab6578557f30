// The resource archive: exactly the entries the game asks for, and the same bytes every time.
#include "tests/tools/asset_files.h"

#include <algorithm>
#include <gtest/gtest.h>

static const std::vector<std::string> kEntryNames = {
    "SpaceShooterAssetPack_BackGrounds.tga", "SpaceShooterAssetPack_Miscellaneous.tga",
    "SpaceShooterAssetPack_Projectiles.tga", "SpaceShooterAssetPack_Ships.tga",
    "mixkit-game-whip-shot-1512.wav",        "mixkit-short-laser-gun-shot-1670.wav",
    "mixkit-arcade-fast-game-over-233.wav",  "mixkit-falling-hit-757.wav",
};

TEST(AssetArchive, HoldsExactlyTheEightEntriesAtTopLevel)
{
    std::vector<ArchiveFile> files = ReadArchive(BuiltArchivePath());
    std::vector<std::string> names;
    for (const ArchiveFile &file : files)
    {
        names.push_back(file.name);
        EXPECT_FALSE(file.data.empty()) << file.name;
    }
    std::vector<std::string> expected = kEntryNames;
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST(AssetArchive, AnIndependentZipToolAgreesOnTheListing)
{
    auto [status, listing] = RunCommand("unzip -Z1 '" + BuiltArchivePath() + "'");
    ASSERT_EQ(status, 0);
    std::string expected;
    for (const std::string &name : kEntryNames)
    {
        expected += name + "\n";
    }
    EXPECT_EQ(listing, expected);
    EXPECT_EQ(RunCommand("unzip -tq '" + BuiltArchivePath() + "' >/dev/null").first, 0);
}

// Two runs, the second in another time zone and working directory, give the archive the build
// made, byte for byte; so do the compiled-in picture blobs.
TEST(AssetArchive, EveryRunWritesIdenticalBytes)
{
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    ASSERT_EQ(RunAssetBuilder("archive '" + scratch.File("first.dat") + "'"), 0);
    ASSERT_EQ(RunCommand("cd / && TZ=Pacific/Kiritimati '" + std::string(ZINDREL_ASSETGEN) +
                         "' archive '" + scratch.File("second.dat") + "'")
                  .first,
              0);
    std::vector<uint8_t> first = ReadFileBytes(scratch.File("first.dat"));
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first == ReadFileBytes(scratch.File("second.dat")));
    EXPECT_TRUE(first == ReadFileBytes(BuiltArchivePath()));

    ASSERT_EQ(RunCommand("mkdir '" + scratch.File("a") + "' '" + scratch.File("b") + "'").first, 0);
    ASSERT_EQ(RunAssetBuilder("blobs '" + scratch.File("a") + "'"), 0);
    ASSERT_EQ(RunAssetBuilder("blobs '" + scratch.File("b") + "'"), 0);
    for (const char *blob : {"FontC64Uppercase.bin", "FontC64Lowercase.bin", "BrindleLogo.bin"})
    {
        std::vector<uint8_t> a = ReadFileBytes(scratch.File("a") + "/" + blob);
        EXPECT_FALSE(a.empty()) << blob;
        EXPECT_TRUE(a == ReadFileBytes(scratch.File("b") + "/" + blob)) << blob;
    }
}

TEST(AssetArchive, BuilderReportsAnUnwritablePath)
{
    EXPECT_NE(RunAssetBuilder("archive /nonexistent-directory/resources.dat 2>/dev/null"), 0);
    EXPECT_NE(RunAssetBuilder("blobs /nonexistent-directory 2>/dev/null"), 0);
    EXPECT_NE(RunAssetBuilder("unknown x 2>/dev/null"), 0);
}
