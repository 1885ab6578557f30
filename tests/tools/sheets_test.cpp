// The four sprite sheets, decoded by ImageMagick from the built archive: sizes and depth, a
// picture in every rectangle the game cuts, clean transparency, and the art's ground rules.
#include "tests/tools/asset_files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <set>

namespace
{
struct Rect
{
    int32_t x0, y0, x1, y1;
};

struct Sheets
{
    ScratchDirectory scratch;
    std::map<std::string, std::vector<uint8_t>> files;
    DecodedImage background, misc, projectiles, ships;
};

Sheets *sheets = nullptr;

// One rectangle of a decoded sheet.
struct Cell
{
    const DecodedImage *image;
    Rect rect;
    int32_t Width() const { return rect.x1 - rect.x0; }
    int32_t Height() const { return rect.y1 - rect.y0; }
    const uint8_t *At(int32_t x, int32_t y) const { return image->At(rect.x0 + x, rect.y0 + y); }
};

int32_t CountVisible(const Cell &cell)
{
    int32_t count = 0;
    for (int32_t y = 0; y < cell.Height(); y++)
        for (int32_t x = 0; x < cell.Width(); x++)
        {
            const uint8_t *p = cell.At(x, y);
            count += (p[3] > 0 && (p[0] | p[1] | p[2]) != 0) ? 1 : 0;
        }
    return count;
}

bool IsMirrorSymmetric(const Cell &cell)
{
    for (int32_t y = 0; y < cell.Height(); y++)
        for (int32_t x = 0; x < cell.Width(); x++)
            if (!std::equal(cell.At(x, y), cell.At(x, y) + 4, cell.At(cell.Width() - 1 - x, y)))
                return false;
    return true;
}

std::vector<bool> ShapeOf(const Cell &cell)
{
    std::vector<bool> shape;
    for (int32_t y = 0; y < cell.Height(); y++)
        for (int32_t x = 0; x < cell.Width(); x++)
            shape.push_back(cell.At(x, y)[3] != 0);
    return shape;
}

std::set<uint32_t> ColorsOf(const Cell &cell)
{
    std::set<uint32_t> colors;
    for (int32_t y = 0; y < cell.Height(); y++)
        for (int32_t x = 0; x < cell.Width(); x++)
        {
            const uint8_t *p = cell.At(x, y);
            if (p[3] != 0)
                colors.insert(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
    return colors;
}

Cell PlayerShip(int32_t i)
{
    return {&sheets->ships, {8, 8 * i, 16, 8 * i + 8}};
}
Cell PlayerLeft(int32_t i)
{
    return {&sheets->ships, {0, 8 * i, 6, 8 * i + 8}};
}
Cell PlayerRight(int32_t i)
{
    return {&sheets->ships, {18, 8 * i, 24, 8 * i + 8}};
}
Cell EnemyShip(int32_t i)
{
    return {&sheets->ships, {32 + 8 * (i % 6), 8 * (i / 6), 40 + 8 * (i % 6), 8 * (i / 6) + 8}};
}
Cell BossShip(int32_t i)
{
    return {&sheets->ships,
            {32 + 16 * (i % 3), 48 + 16 * (i / 3), 48 + 16 * (i % 3), 64 + 16 * (i / 3)}};
}
Cell Bullet(int32_t i)
{
    return {&sheets->projectiles, {8 * (i % 6), 8 * (i / 6), 8 * (i % 6) + 8, 8 * (i / 6) + 8}};
}
Cell Misc(Rect rect)
{
    return {&sheets->misc, rect};
}

const Rect kShield = {88, 32, 104, 48};
const Rect kLifeIcon = {16, 0, 24, 8};
const Rect kShieldIcon = {24, 0, 32, 8};
const std::array<Rect, 6> kExplosions = {{
    {48, 48, 56, 56},
    {56, 48, 64, 56},
    {64, 48, 72, 56}, // enemy big, medium, small
    {80, 48, 88, 56},
    {88, 48, 96, 56},
    {97, 48, 103, 56}, // player big, medium, small
}};
} // namespace

class AssetSheets : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        sheets = new Sheets;
        for (ArchiveFile &file : ReadArchive(BuiltArchivePath()))
        {
            if (file.name.ends_with(".tga"))
            {
                WriteFileBytes(sheets->scratch.File(file.name), file.data);
                sheets->files[file.name] = std::move(file.data);
            }
        }
        auto decode = [](const char *name)
        { return DecodeImage(sheets->scratch.File(std::string("SpaceShooterAssetPack_") + name)); };
        sheets->background = decode("BackGrounds.tga");
        sheets->misc = decode("Miscellaneous.tga");
        sheets->projectiles = decode("Projectiles.tga");
        sheets->ships = decode("Ships.tga");
    }
    static void TearDownTestSuite()
    {
        delete sheets;
        sheets = nullptr;
    }
    void SetUp() override
    {
        ASSERT_EQ(sheets->ships.width, 80) << "the ships sheet did not decode";
        ASSERT_EQ(sheets->misc.width, 104) << "the miscellaneous sheet did not decode";
        ASSERT_EQ(sheets->projectiles.width, 48) << "the projectiles sheet did not decode";
        ASSERT_EQ(sheets->background.width, 128) << "the background sheet did not decode";
    }
};

TEST_F(AssetSheets, DecodeAtTheirSizesAsThirtyTwoBitImagesBothRawAndRunLength)
{
    const std::map<std::string, std::pair<int32_t, int32_t>> sizes = {
        {"SpaceShooterAssetPack_BackGrounds.tga", {128, 256}},
        {"SpaceShooterAssetPack_Miscellaneous.tga", {104, 56}},
        {"SpaceShooterAssetPack_Projectiles.tga", {48, 40}},
        {"SpaceShooterAssetPack_Ships.tga", {80, 80}},
    };
    std::set<int> imageTypes;
    for (const auto &[name, size] : sizes)
    {
        std::string expected =
            std::to_string(size.first) + " " + std::to_string(size.second) + " 8 srgba";
        EXPECT_EQ(IdentifyImage(sheets->scratch.File(name), "%w %h %z %[channels]"), expected)
            << name;
        const std::vector<uint8_t> &bytes = sheets->files[name];
        ASSERT_GE(bytes.size(), 18u) << name;
        EXPECT_EQ(bytes[16], 32) << name << ": bits per pixel";
        EXPECT_LE(bytes[17], 63) << name << ": the game rejects interleaved images";
        // The game keeps rows in file order and shows the first at the top; the origin bit
        // makes ImageMagick read them the same way.
        EXPECT_EQ(bytes[17] & 0x30, 0x20) << name << ": rows must be stored top row first";
        imageTypes.insert(bytes[2]);
    }
    EXPECT_EQ(imageTypes, (std::set<int>{2, 10})) << "both decoder paths must be used";
}

TEST_F(AssetSheets, EveryRectangleTheGameCutsHoldsAPicture)
{
    for (int32_t i = 0; i < 5; i++)
    {
        EXPECT_GE(CountVisible(PlayerShip(i)), 24) << "player ship " << i;
        EXPECT_GE(CountVisible(PlayerLeft(i)), 18) << "player going left " << i;
        EXPECT_GE(CountVisible(PlayerRight(i)), 18) << "player going right " << i;
    }
    for (int32_t i = 0; i < 36; i++)
        EXPECT_GE(CountVisible(EnemyShip(i)), 20) << "enemy ship " << i;
    for (int32_t i = 0; i < 6; i++)
        EXPECT_GE(CountVisible(BossShip(i)), 80) << "boss " << i;
    for (int32_t i = 0; i < 30; i++)
        EXPECT_GE(CountVisible(Bullet(i)), 3) << "bullet " << i;
    for (size_t i = 0; i < kExplosions.size(); i++)
        EXPECT_GE(CountVisible(Misc(kExplosions[i])), 10) << "explosion frame " << i;
    EXPECT_GE(CountVisible(Misc(kShield)), 150);
    EXPECT_GE(CountVisible(Misc(kLifeIcon)), 20);
    EXPECT_GE(CountVisible(Misc(kShieldIcon)), 30);
    EXPECT_EQ(CountVisible({&sheets->background, {0, 0, 128, 256}}), 128 * 256);
}

TEST_F(AssetSheets, TransparentPixelsAreBlackAndSpritesArePremultiplied)
{
    for (const DecodedImage *image : {&sheets->ships, &sheets->projectiles, &sheets->misc})
    {
        for (size_t i = 0; i < image->rgba.size(); i += 4)
        {
            const uint8_t *p = &image->rgba[i];
            ASSERT_TRUE(p[3] != 0 || (p[0] | p[1] | p[2]) == 0) << "pixel " << i / 4;
        }
    }
    // Ships, bullets and icons are drawn with source one, destination one minus source alpha.
    std::vector<Cell> premultiplied = {Misc(kLifeIcon),
                                       Misc(kShieldIcon),
                                       {&sheets->ships, {0, 0, 80, 80}},
                                       {&sheets->projectiles, {0, 0, 48, 40}}};
    for (const Cell &cell : premultiplied)
        for (int32_t y = 0; y < cell.Height(); y++)
            for (int32_t x = 0; x < cell.Width(); x++)
            {
                const uint8_t *p = cell.At(x, y);
                ASSERT_TRUE(p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3])
                    << "(" << cell.rect.x0 + x << ", " << cell.rect.y0 + y << ")";
            }
    // Ships have hard edges: every pixel is opaque or empty.
    for (size_t i = 0; i < sheets->ships.rgba.size(); i += 4)
        ASSERT_TRUE(sheets->ships.rgba[i + 3] == 0 || sheets->ships.rgba[i + 3] == 255);
}

TEST_F(AssetSheets, PlayerShipsAreOneSymmetricFamilyWithMirroredBanking)
{
    std::set<uint32_t> shared = ColorsOf(PlayerShip(0));
    for (int32_t i = 0; i < 5; i++)
    {
        EXPECT_TRUE(IsMirrorSymmetric(PlayerShip(i))) << "player ship " << i;
        // Banking left and right are the same roll seen from the two sides.
        for (int32_t y = 0; y < 8; y++)
            for (int32_t x = 0; x < 6; x++)
                ASSERT_TRUE(std::equal(PlayerLeft(i).At(x, y), PlayerLeft(i).At(x, y) + 4,
                                       PlayerRight(i).At(5 - x, y)))
                    << "ship " << i << " at (" << x << ", " << y << ")";
        EXPECT_FALSE(IsMirrorSymmetric(PlayerLeft(i))) << "ship " << i << " does not bank";
        std::set<uint32_t> colors = ColorsOf(PlayerShip(i)), common;
        std::set_intersection(shared.begin(), shared.end(), colors.begin(), colors.end(),
                              std::inserter(common, common.begin()));
        shared = common;
        for (int32_t j = 0; j < i; j++)
            EXPECT_NE(ShapeOf(PlayerShip(i)), ShapeOf(PlayerShip(j))) << i << " and " << j;
    }
    // The family's hull, canopy and exhaust colours run through all five.
    EXPECT_GE(shared.size(), 5u);
}

TEST_F(AssetSheets, EnemyShipsAreSymmetricAndChangeShapeAndPaletteEveryLevel)
{
    for (int32_t i = 0; i < 36; i++)
    {
        EXPECT_TRUE(IsMirrorSymmetric(EnemyShip(i))) << "enemy ship " << i;
        for (int32_t j = 0; j < i; j++)
            EXPECT_NE(ShapeOf(EnemyShip(i)), ShapeOf(EnemyShip(j))) << i << " and " << j;
        // Level n shows ship n; level 36 wraps round to ship 0.
        int32_t next = (i + 1) % 36;
        EXPECT_NE(ColorsOf(EnemyShip(i)), ColorsOf(EnemyShip(next))) << i << " and " << next;
        EXPECT_GE(ColorsOf(EnemyShip(i)).size(), 4u) << "outline, shades and a highlight";
    }
    for (int32_t i = 0; i < 6; i++)
    {
        EXPECT_TRUE(IsMirrorSymmetric(BossShip(i))) << "boss " << i;
        for (int32_t j = 0; j < i; j++)
            EXPECT_NE(ShapeOf(BossShip(i)), ShapeOf(BossShip(j))) << i << " and " << j;
    }
}

// Drawn at their cell's full size while the hit box is a fraction of it: the shape stays in the
// middle, two or three pixels a side, with its bright head up (the enemies' copy is flipped).
TEST_F(AssetSheets, BulletsAreSmallCentredAndPointed)
{
    for (int32_t i = 0; i < 30; i++)
    {
        const Cell bullet = Bullet(i);
        int32_t left = 8, right = -1, top = 8, bottom = -1;
        for (int32_t y = 0; y < 8; y++)
            for (int32_t x = 0; x < 8; x++)
                if (bullet.At(x, y)[3] != 0)
                {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        ASSERT_GE(right, 0) << "bullet " << i;
        EXPECT_GE(right - left + 1, 2) << "bullet " << i;
        EXPECT_LE(right - left + 1, 3) << "bullet " << i;
        EXPECT_GE(bottom - top + 1, 2) << "bullet " << i;
        EXPECT_LE(bottom - top + 1, 3) << "bullet " << i;
        EXPECT_LE(std::fabs((left + right + 1) / 2.0 - 4.0), 0.5) << "bullet " << i;
        EXPECT_LE(std::fabs((top + bottom + 1) / 2.0 - 4.0), 0.5) << "bullet " << i;
        auto rowLight = [&](int32_t y)
        {
            int32_t sum = 0;
            for (int32_t x = 0; x < 8; x++)
                sum += bullet.At(x, y)[0] + bullet.At(x, y)[1] + bullet.At(x, y)[2];
            return sum;
        };
        EXPECT_GT(rowLight(top), rowLight(bottom)) << "bullet " << i << " has no head";
    }
}

TEST_F(AssetSheets, ShieldIsATranslucentBubbleAndExplosionsGrowAndFade)
{
    const Cell shield = Misc(kShield);
    int32_t translucent = 0;
    for (int32_t y = 0; y < 16; y++)
        for (int32_t x = 0; x < 16; x++)
            translucent += (shield.At(x, y)[3] > 0 && shield.At(x, y)[3] < 128) ? 1 : 0;
    EXPECT_GE(translucent, 60) << "the ship must show through its shield";
    EXPECT_LT(shield.At(8, 8)[3], shield.At(8, 0)[3]) << "the rim is stronger than the middle";
    EXPECT_EQ(shield.At(0, 0)[3], 0) << "a bubble, not a square";

    for (size_t set = 0; set < 2; set++)
    {
        const Cell big = Misc(kExplosions[set * 3]), medium = Misc(kExplosions[set * 3 + 1]);
        EXPECT_GT(CountVisible(big), CountVisible(medium)) << "explosion set " << set;
        // The bright heart of the big frame is in its middle.
        EXPECT_EQ(big.At(3, 3)[3], 255) << "explosion set " << set;
        EXPECT_GE(big.At(3, 3)[0], 240) << "explosion set " << set;
    }
}

TEST_F(AssetSheets, BackgroundIsOpaqueFaintAndVerticallySeamless)
{
    const DecodedImage &image = sheets->background;
    auto rowDifference = [&](int32_t a, int32_t b)
    {
        double sum = 0;
        for (int32_t x = 0; x < image.width; x++)
            for (int32_t c = 0; c < 3; c++)
                sum += std::abs(int(image.At(x, a)[c]) - int(image.At(x, b)[c]));
        return sum / image.width;
    };
    double adjacent = 0;
    for (int32_t y = 0; y + 1 < image.height; y++)
        adjacent += rowDifference(y, y + 1);
    adjacent /= image.height - 1;
    // Where the two copies meet, the last row runs into the first like any two neighbours.
    EXPECT_LE(rowDifference(image.height - 1, 0), 2.0 * adjacent);

    int32_t dark = 0, clouded = 0;
    for (int32_t y = 0; y < image.height; y++)
        for (int32_t x = 0; x < image.width; x++)
        {
            const uint8_t *p = image.At(x, y);
            int32_t brightest = std::max({p[0], p[1], p[2]});
            dark += brightest < 64 ? 1 : 0;
            clouded += (brightest >= 16 && brightest < 64) ? 1 : 0;
        }
    EXPECT_GE(dark, image.width * image.height * 95 / 100) << "a dark sky behind the game";
    EXPECT_GE(clouded, image.width * image.height / 10) << "a faint nebula";
}
