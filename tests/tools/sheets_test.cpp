// The four sprite sheets, decoded by ImageMagick from the built archive: sizes, depth and row
// order, a picture in every rectangle the game cuts, clean transparency and the background's seam.
#include "resources/sheet_layout.h"
#include "tests/tools/asset_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

namespace
{

// The sheet as ImageMagick decodes it, once per process.
const DecodedImage &Sheet(const std::string &name)
{
    static std::map<std::string, DecodedImage> images;
    auto [image, added] = images.try_emplace(name);
    if (added)
    {
        image->second = DecodeImage(UnpackedEntry("SpaceShooterAssetPack_" + name + ".tga"));
    }
    return image->second;
}

// Pixels of a rectangle that are both opaque in part and not black.
int32_t Visible(const char *sheet, SheetRect r)
{
    int32_t count = 0;
    for (int32_t y = r.y0; y < r.y1; y++)
        for (int32_t x = r.x0; x < r.x1; x++)
        {
            const uint8_t *p = Sheet(sheet).At(x, y);
            count += p[3] > 0 && (p[0] | p[1] | p[2]) != 0;
        }
    return count;
}

TEST(AssetSheets, DecodeAtTheirSizesAsThirtyTwoBitImagesBothRawAndRunLength)
{
    std::set<int> imageTypes;
    for (const auto &[name, width, height] : {std::tuple{"BackGrounds", 128, 256},
                                              {"Miscellaneous", 104, 56},
                                              {"Projectiles", 48, 40},
                                              {"Ships", 80, 80}})
    {
        const std::vector<uint8_t> bytes =
            ReadFileBytes(UnpackedEntry(std::string("SpaceShooterAssetPack_") + name + ".tga"));
        ASSERT_GE(bytes.size(), 18u) << name;
        EXPECT_EQ(bytes[16], 32) << name << ": bits per pixel";
        // Eight alpha bits. The game keeps rows in file order and shows the first at the top,
        // and rejects interleaved images; the origin bit makes ImageMagick read rows the same way.
        EXPECT_EQ(bytes[17], 0x28) << name << ": rows must be stored top row first";
        EXPECT_EQ(Sheet(name).width, width) << name;
        EXPECT_EQ(Sheet(name).height, height) << name;
        imageTypes.insert(bytes[2]);
    }
    EXPECT_EQ(imageTypes, (std::set<int>{2, 10})) << "both decoder paths must be used";
}

TEST(AssetSheets, EveryRectangleTheGameCutsHoldsAPicture)
{
    struct Family
    {
        const char *sheet;
        SheetRect (*rect)(int32_t);
        int32_t count, least; // rectangles, and visible pixels in each
    };
    const Family families[] = {
        {"Ships", SheetLayout_Player, LAYOUT_PLAYER_COUNT, 24},
        {"Ships", SheetLayout_PlayerLeft, LAYOUT_PLAYER_COUNT, 18},
        {"Ships", SheetLayout_PlayerRight, LAYOUT_PLAYER_COUNT, 18},
        {"Ships", SheetLayout_Enemy, LAYOUT_ENEMY_COUNT, 20},
        {"Ships", SheetLayout_Boss, LAYOUT_BOSS_COUNT, 80},
        {"Projectiles", SheetLayout_Bullet, LAYOUT_BULLET_COUNT, 3},
        {"Miscellaneous", [](int32_t i) { return LAYOUT_ENEMY_EXPLOSION[i]; }, 3, 10},
        {"Miscellaneous", [](int32_t i) { return LAYOUT_PLAYER_EXPLOSION[i]; }, 3, 10},
        {"Miscellaneous", [](int32_t) { return LAYOUT_SHIELD; }, 1, 150},
        {"Miscellaneous", [](int32_t) { return LAYOUT_LIFE_ICON; }, 1, 20},
        {"Miscellaneous", [](int32_t) { return LAYOUT_SHIELD_ICON; }, 1, 30},
        {"BackGrounds", [](int32_t) { return LAYOUT_BACKGROUND; }, 1, 128 * 256}};
    for (const Family &family : families)
        for (int32_t i = 0; i < family.count; i++)
            EXPECT_GE(Visible(family.sheet, family.rect(i)), family.least)
                << "family " << &family - families << ", rectangle " << i;
}

// Transparent pixels are black. Ships, bullets and icons are drawn with source one, destination
// one minus source alpha, so their colours are premultiplied; ships have hard edges.
TEST(AssetSheets, TransparentPixelsAreBlackAndSpritesArePremultiplied)
{
    const SheetRect whole = {0, 0, 1 << 16, 1 << 16};
    for (const auto &[sheet, premultiplied] : {std::pair{"Ships", whole},
                                               {"Projectiles", whole},
                                               {"Miscellaneous", LAYOUT_LIFE_ICON},
                                               {"Miscellaneous", LAYOUT_SHIELD_ICON}})
    {
        const DecodedImage &image = Sheet(sheet);
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
TEST(AssetSheets, BackgroundIsVerticallySeamless)
{
    const DecodedImage &image = Sheet("BackGrounds");
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
