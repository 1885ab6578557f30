// The four sprite sheets, decoded by ImageMagick from the built archive: sizes, depth and row
// order, a picture in every rectangle the game cuts, clean transparency and the background's seam.
#include "resources/sheet_layout.h"
#include "tests/tools/asset_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

namespace
{
class AssetSheets : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        for (ArchiveFile &file : ReadArchive(BuiltArchivePath()))
            if (file.name.ends_with(".tga"))
            {
                WriteFileBytes(scratch->File(file.name), file.data);
                const std::string sheet = file.name.substr(22, file.name.size() - 26);
                (*images)[sheet] = DecodeImage(scratch->File(file.name));
                (*files)[sheet] = std::move(file.data);
            }
    }
    void SetUp() override { ASSERT_EQ(images->size(), 4u) << "the sheets did not decode"; }

    // Pixels of a rectangle that are both opaque in part and not black.
    static int32_t Visible(const char *sheet, SheetRect r)
    {
        int32_t count = 0;
        for (int32_t y = r.y0; y < r.y1; y++)
            for (int32_t x = r.x0; x < r.x1; x++)
            {
                const uint8_t *p = (*images)[sheet].At(x, y);
                count += p[3] > 0 && (p[0] | p[1] | p[2]) != 0;
            }
        return count;
    }

    static inline ScratchFolder *scratch = new ScratchFolder;
    static inline auto *files = new std::map<std::string, std::vector<uint8_t>>;
    static inline auto *images = new std::map<std::string, DecodedImage>;
};

TEST_F(AssetSheets, DecodeAtTheirSizesAsThirtyTwoBitImagesBothRawAndRunLength)
{
    const std::map<std::string, std::string> sizes = {{"BackGrounds", "128 256"},
                                                      {"Miscellaneous", "104 56"},
                                                      {"Projectiles", "48 40"},
                                                      {"Ships", "80 80"}};
    std::set<int> imageTypes;
    for (const auto &[name, size] : sizes)
    {
        const std::string file = scratch->File("SpaceShooterAssetPack_" + name + ".tga");
        EXPECT_EQ(IdentifyImage(file, "%w %h %z %[channels]"), size + " 8 srgba") << name;
        const std::vector<uint8_t> &bytes = (*files)[name];
        ASSERT_GE(bytes.size(), 18u) << name;
        EXPECT_EQ(bytes[16], 32) << name << ": bits per pixel";
        // The game keeps rows in file order and shows the first at the top, and rejects
        // interleaved images; the origin bit makes ImageMagick read the rows the same way.
        EXPECT_EQ(bytes[17] & 0xf0, 0x20) << name << ": rows must be stored top row first";
        imageTypes.insert(bytes[2]);
    }
    EXPECT_EQ(imageTypes, (std::set<int>{2, 10})) << "both decoder paths must be used";
}

TEST_F(AssetSheets, EveryRectangleTheGameCutsHoldsAPicture)
{
    for (int32_t i = 0; i < LAYOUT_PLAYER_COUNT; i++)
    {
        EXPECT_GE(Visible("Ships", SheetLayout_Player(i)), 24) << "player ship " << i;
        EXPECT_GE(Visible("Ships", SheetLayout_PlayerLeft(i)), 18) << "player going left " << i;
        EXPECT_GE(Visible("Ships", SheetLayout_PlayerRight(i)), 18) << "going right " << i;
    }
    for (int32_t i = 0; i < LAYOUT_ENEMY_COUNT; i++)
        EXPECT_GE(Visible("Ships", SheetLayout_Enemy(i)), 20) << "enemy ship " << i;
    for (int32_t i = 0; i < LAYOUT_BOSS_COUNT; i++)
        EXPECT_GE(Visible("Ships", SheetLayout_Boss(i)), 80) << "boss " << i;
    for (int32_t i = 0; i < LAYOUT_BULLET_COUNT; i++)
        EXPECT_GE(Visible("Projectiles", SheetLayout_Bullet(i)), 3) << "bullet " << i;
    for (int32_t i = 0; i < 3; i++)
    {
        EXPECT_GE(Visible("Miscellaneous", LAYOUT_ENEMY_EXPLOSION[i]), 10) << "explosion " << i;
        EXPECT_GE(Visible("Miscellaneous", LAYOUT_PLAYER_EXPLOSION[i]), 10) << "explosion " << i;
    }
    EXPECT_GE(Visible("Miscellaneous", LAYOUT_SHIELD), 150);
    EXPECT_GE(Visible("Miscellaneous", LAYOUT_LIFE_ICON), 20);
    EXPECT_GE(Visible("Miscellaneous", LAYOUT_SHIELD_ICON), 30);
    EXPECT_EQ(Visible("BackGrounds", LAYOUT_BACKGROUND), 128 * 256);
}

// Transparent pixels are black. Ships, bullets and icons are drawn with source one, destination
// one minus source alpha, so their colours are premultiplied; ships have hard edges.
TEST_F(AssetSheets, TransparentPixelsAreBlackAndSpritesArePremultiplied)
{
    const SheetRect whole = {0, 0, 1 << 16, 1 << 16};
    for (const auto &[sheet, premultiplied] : {std::pair{"Ships", whole},
                                               {"Projectiles", whole},
                                               {"Miscellaneous", LAYOUT_LIFE_ICON},
                                               {"Miscellaneous", LAYOUT_SHIELD_ICON}})
    {
        const DecodedImage &image = (*images)[sheet];
        for (int32_t y = 0; y < image.height; y++)
            for (int32_t x = 0; x < image.width; x++)
            {
                const uint8_t *p = image.At(x, y);
                const bool inside = x >= premultiplied.x0 && x < premultiplied.x1 &&
                                    y >= premultiplied.y0 && y < premultiplied.y1;
                ASSERT_TRUE(p[3] != 0 || (p[0] | p[1] | p[2]) == 0) << sheet << x << "," << y;
                ASSERT_TRUE(!inside || (p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3]))
                    << sheet << " (" << x << ", " << y << ")";
                ASSERT_TRUE(sheet != std::string("Ships") || p[3] == 0 || p[3] == 255);
            }
    }
}

// Where the two copies meet, the last row runs into the first like any two neighbours.
TEST_F(AssetSheets, BackgroundIsVerticallySeamless)
{
    const DecodedImage &image = (*images)["BackGrounds"];
    auto rowDifference = [&](int32_t a, int32_t b)
    {
        double sum = 0;
        for (int32_t x = 0; x < image.width; x++)
            for (int32_t c = 0; c < 3; c++)
                sum += std::abs(int(image.At(x, a)[c]) - int(image.At(x, b)[c]));
        return sum;
    };
    double adjacent = 0;
    for (int32_t y = 0; y + 1 < image.height; y++)
        adjacent += rowDifference(y, y + 1) / (image.height - 1);
    EXPECT_LE(rowDifference(image.height - 1, 0), 2.0 * adjacent);
}
} // namespace
