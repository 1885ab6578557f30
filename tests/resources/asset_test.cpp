// The catalogue in a real OpenGL context, built from sheets whose pixels tell where they are
// (red = column, green = row, blue = sheet), from broken archives and from our real one.
#include "resources/asset.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "resources/resource_win.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"
#include "test_support.h"
#include "tools/art.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using testing::ElementsAre;
using testing::HasSubstr;

namespace
{

const char *sheetNames[4] = {
    "SpaceShooterAssetPack_BackGrounds.tga", "SpaceShooterAssetPack_Miscellaneous.tga",
    "SpaceShooterAssetPack_Projectiles.tga", "SpaceShooterAssetPack_Ships.tga"};

class AssetTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        ASSERT_TRUE(MakeGlContextCurrent());
    }
    void TearDown() override
    {
        Resource_Unload();
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    // Opens the archive at path, builds a catalogue from it and keeps the messages of the
    // lines that are not the size lookups' lists of entry names.
    Asset *Build(const std::string &path)
    {
        Asset *asset = nullptr;
        for (const std::string &line : CaptureLines(
                 [&asset, &path]
                 {
                     Resource_Load(path.c_str());
                     asset = Asset_Create();
                 }))
        {
            const std::string message = LogMessage(line);
            if (message.rfind("SpaceShooterAssetPack_", 0) != 0)
            {
                messages.push_back(message);
            }
        }
        return asset;
    }

    static std::vector<uint8_t> ReadBack(Texture *texture)
    {
        std::vector<uint8_t> pixels(static_cast<size_t>(Texture_GetWidth(texture)) *
                                    Texture_GetHeight(texture) * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(texture));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return pixels;
    }

    // The sub-texture covers pixels (x0, y0) to (x1, y1) of texture, corners in that order.
    static void ExpectCell(SubTexture *cell, Texture *texture, int x0, int y0, int x1, int y1)
    {
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(SubTexture_GetTexture(cell), texture);
        const float w = static_cast<float>(Texture_GetWidth(texture));
        const float h = static_cast<float>(Texture_GetHeight(texture));
        const Vector2 upperLeft = SubTexture_GetUpperLeftCoordinate(cell);
        const Vector2 lowerRight = SubTexture_GetLowerRightCoordinate(cell);
        EXPECT_FLOAT_EQ(upperLeft.x * w, static_cast<float>(x0));
        EXPECT_FLOAT_EQ(upperLeft.y * h, static_cast<float>(y0));
        EXPECT_FLOAT_EQ(lowerRight.x * w, static_cast<float>(x1));
        EXPECT_FLOAT_EQ(lowerRight.y * h, static_cast<float>(y1));
        // The size is a difference of two rounded coordinates: equal to a few ulps.
        EXPECT_NEAR(SubTexture_GetSize(cell).x * w, std::abs(x1 - x0), 1e-4);
        EXPECT_NEAR(SubTexture_GetSize(cell).y * h, std::abs(y1 - y0), 1e-4);
    }

    static bool IsPlaceholder(Texture *texture)
    {
        const std::vector<uint8_t> pixels = ReadBack(texture);
        for (size_t i = 0; i < pixels.size(); i += 4)
        {
            if (pixels[i] != 255 || pixels[i + 1] != 0 || pixels[i + 2] != 255 ||
                pixels[i + 3] != 255)
            {
                return false;
            }
        }
        return true;
    }

    static Texture *SheetTexture(Asset *asset, int sheet)
    {
        switch (sheet)
        {
        case 0:
            return Asset_GetBackgroundTexture(asset);
        case 1:
            return Asset_GetMiscellaneousTexture(asset);
        case 2:
            return Asset_GetProjectileTexture(asset);
        default:
            return Asset_GetShipsTexture(asset);
        }
    }

    std::vector<std::string> messages;
};

TEST_F(AssetTest, SheetsBecomePrivateRgbaTexturesInFileRowOrder)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    EXPECT_TRUE(messages.empty()) << messages.front();
    const int sizes[4][2] = {{128, 256}, {104, 56}, {48, 40}, {80, 80}};
    for (int sheet = 0; sheet < 4; sheet++)
    {
        Texture *texture = SheetTexture(asset, sheet);
        EXPECT_EQ(Texture_GetWidth(texture), sizes[sheet][0]);
        EXPECT_EQ(Texture_GetHeight(texture), sizes[sheet][1]);
        EXPECT_EQ(Texture_GetBytesPerPixel(texture), 4);
        EXPECT_EQ(Texture_GetTarga(texture), nullptr);
        const std::vector<uint8_t> pixels = ReadBack(texture);
        // Every pixel where the sheet has it: row y of the file is row y of the texture.
        for (int y = 0; y < sizes[sheet][1]; y++)
        {
            for (int x = 0; x < sizes[sheet][0]; x++)
            {
                const uint8_t *p = &pixels[(static_cast<size_t>(y) * sizes[sheet][0] + x) * 4];
                ASSERT_EQ(p[0], x) << sheet << " at " << x << "," << y;
                ASSERT_EQ(p[1], y) << sheet << " at " << x << "," << y;
                ASSERT_EQ(p[2], sheet + 1);
                ASSERT_EQ(p[3], (x + y) % 2 ? 255 : 127); // half alpha, as ImageMagick rounds it
            }
        }
        // The texture's block is its own copy, equal to what OpenGL holds.
        EXPECT_EQ(memcmp(Texture_GetPixelData(texture), pixels.data(), pixels.size()), 0);
    }
    Asset_Destroy(asset);
}

TEST_F(AssetTest, FontsGainOpaqueAlphaAndTheLogoIsCopied)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    for (auto [texture, art] : {std::pair{Asset_GetFontUppercase(asset), FontC64Uppercase},
                                std::pair{Asset_GetFontLowercase(asset), FontC64Lowercase}})
    {
        EXPECT_EQ(Texture_GetWidth(texture), 128);
        EXPECT_EQ(Texture_GetHeight(texture), 128);
        EXPECT_EQ(Texture_GetBytesPerPixel(texture), 4);
        const std::vector<uint8_t> pixels = ReadBack(texture);
        for (size_t i = 0; i < 128 * 128; i++)
        {
            ASSERT_EQ(memcmp(&pixels[4 * i], art + 12 + 3 * i, 3), 0) << i;
            ASSERT_EQ(pixels[4 * i + 3], 255) << i;
        }
    }
    Texture *logo = Asset_GetBrindleLogo(asset);
    EXPECT_EQ(Texture_GetWidth(logo), 1024);
    EXPECT_EQ(Texture_GetHeight(logo), 1024);
    EXPECT_EQ(Texture_GetBytesPerPixel(logo), 4);
    EXPECT_NE(Texture_GetPixelData(logo), BrindleLogo + 12);
    EXPECT_EQ(memcmp(ReadBack(logo).data(), BrindleLogo + 12, 1024 * 1024 * 4), 0);
    Asset_Destroy(asset);
}

TEST_F(AssetTest, CompiledInPicturesHaveTheSizesTheCatalogueAssumes)
{
    // The catalogue does not read these headers at run time; they must agree with it.
    auto header = [](const uint8_t *art)
    {
        uint32_t values[3];
        memcpy(values, art, sizeof(values));
        return std::vector<uint32_t>(values, values + 3);
    };
    EXPECT_THAT(header(FontC64Uppercase), ElementsAre(128u, 128u, 3u));
    EXPECT_THAT(header(FontC64Lowercase), ElementsAre(128u, 128u, 3u));
    EXPECT_THAT(header(BrindleLogo), ElementsAre(1024u, 1024u, 4u));
}

TEST_F(AssetTest, EveryFamilyIsCutWhereTheTableSays)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    Texture *ships = Asset_GetShipsTexture(asset);
    Texture *misc = Asset_GetMiscellaneousTexture(asset);
    Texture *projectiles = Asset_GetProjectileTexture(asset);
    for (int i = 0; i < 5; i++)
    {
        ExpectCell(Asset_GetPlayerSubTexture(asset, i), ships, 8, 8 * i, 16, 8 * i + 8);
        ExpectCell(Asset_GetPlayerGoingLeftSubTexture(asset, i), ships, 0, 8 * i, 6, 8 * i + 8);
        ExpectCell(Asset_GetPlayerGoingRightSubTexture(asset, i), ships, 18, 8 * i, 24, 8 * i + 8);
    }
    ExpectCell(Asset_GetPlayerExplosionBigSubTexture(asset), misc, 80, 48, 88, 56);
    ExpectCell(Asset_GetPlayerExplosionMediumSubTexture(asset), misc, 88, 48, 96, 56);
    ExpectCell(Asset_GetPlayerExplosionSmallSubTexture(asset), misc, 97, 48, 103, 56);
    ExpectCell(Asset_GetPlayerShieldSubTexture(asset), misc, 88, 32, 104, 48);
    for (int i = 0; i < 30; i++)
    {
        const int x = 8 * (i % 6), y = 8 * (i / 6);
        ExpectCell(Asset_GetPlayerBulletSubTexture(asset, i), projectiles, x, y, x + 8, y + 8);
        // The same cell upside down.
        ExpectCell(Asset_GetSpaceShipBulletSubTexture(asset, i), projectiles, x, y + 8, x + 8, y);
    }
    for (int i = 0; i < 36; i++)
    {
        const int x = 32 + 8 * (i % 6), y = 8 * (i / 6);
        ExpectCell(Asset_GetSpaceShipSubTexture(asset, i), ships, x, y, x + 8, y + 8);
    }
    ExpectCell(Asset_GetSpaceShipExplosionBigSubTexture(asset), misc, 48, 48, 56, 56);
    ExpectCell(Asset_GetSpaceShipExplosionMediumSubTexture(asset), misc, 56, 48, 64, 56);
    ExpectCell(Asset_GetSpaceShipExplosionSmallSubTexture(asset), misc, 64, 48, 72, 56);
    for (int i = 0; i < 6; i++)
    {
        const int x = 32 + 16 * (i % 3), y = 48 + 16 * (i / 3);
        ExpectCell(Asset_GetBossSpaceShipSubTexture(asset, i), ships, x, y, x + 16, y + 16);
    }
    // The examples: player bullet 7, enemy ship 13, boss 4, and the whole background.
    ExpectCell(Asset_GetPlayerBulletSubTexture(asset, 7), projectiles, 8, 8, 16, 16);
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 13), ships, 40, 16, 48, 24);
    ExpectCell(Asset_GetBossSpaceShipSubTexture(asset, 4), ships, 48, 64, 64, 80);
    SubTexture *background = Asset_GetBackgroundSubTexture(asset);
    EXPECT_EQ(SubTexture_GetTexture(background), Asset_GetBackgroundTexture(asset));
    EXPECT_FLOAT_EQ(SubTexture_GetUpperLeftCoordinate(background).x, 0.0f);
    EXPECT_FLOAT_EQ(SubTexture_GetUpperLeftCoordinate(background).y, 0.0f);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(background).x, 1.0f);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(background).y, 1.0f);
    Asset_Destroy(asset);
}

TEST_F(AssetTest, IndicesWrapWithTheirFamilyIncludingNegativeOnes)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    EXPECT_EQ(Asset_GetNumberOfPlayerSubTextures(asset), 5);
    EXPECT_EQ(Asset_GetNumberOfPlayerBulletSubTextures(asset), 30);
    EXPECT_EQ(Asset_GetNumberOfSpaceShipBulletSubTextures(asset), 30);
    EXPECT_EQ(Asset_GetNumberOfSpaceShipSubTextures(asset), 36);

    EXPECT_EQ(Asset_GetPlayerSubTexture(asset, 7), Asset_GetPlayerSubTexture(asset, 2));
    EXPECT_EQ(Asset_GetPlayerSubTexture(asset, -3), Asset_GetPlayerSubTexture(asset, 3));
    EXPECT_EQ(Asset_GetPlayerSubTexture(asset, -1), Asset_GetPlayerSubTexture(asset, 1));
    EXPECT_EQ(Asset_GetPlayerGoingLeftSubTexture(asset, 12),
              Asset_GetPlayerGoingLeftSubTexture(asset, 2));
    EXPECT_EQ(Asset_GetPlayerGoingRightSubTexture(asset, -6),
              Asset_GetPlayerGoingRightSubTexture(asset, 1));
    EXPECT_EQ(Asset_GetPlayerBulletSubTexture(asset, 31),
              Asset_GetPlayerBulletSubTexture(asset, 1));
    EXPECT_EQ(Asset_GetSpaceShipBulletSubTexture(asset, -29),
              Asset_GetSpaceShipBulletSubTexture(asset, 29));
    EXPECT_EQ(Asset_GetSpaceShipSubTexture(asset, 36), Asset_GetSpaceShipSubTexture(asset, 0));
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 36), Asset_GetShipsTexture(asset), 32, 0, 40, 8);
    EXPECT_EQ(Asset_GetBossSpaceShipSubTexture(asset, 6),
              Asset_GetBossSpaceShipSubTexture(asset, 0));
    EXPECT_EQ(Asset_GetBossSpaceShipSubTexture(asset, -7),
              Asset_GetBossSpaceShipSubTexture(asset, 1));
    // The extremes of the index type stay inside the arrays.
    EXPECT_EQ(Asset_GetPlayerSubTexture(asset, INT_MIN), Asset_GetPlayerSubTexture(asset, 3));
    EXPECT_EQ(Asset_GetSpaceShipSubTexture(asset, INT_MAX),
              Asset_GetSpaceShipSubTexture(asset, 19));
    // Different indices within a family are different pictures.
    EXPECT_NE(Asset_GetPlayerSubTexture(asset, 0), Asset_GetPlayerSubTexture(asset, 1));
    Asset_Destroy(asset);
}

TEST_F(AssetTest, DestroyReleasesEveryRecordAndTextureObject)
{
    const uint32_t liveBefore = Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects();
    Asset *asset = Build(FixturePath("sheets.dat"));
    std::vector<GLuint> names;
    for (Texture *texture :
         {Asset_GetBackgroundTexture(asset), Asset_GetMiscellaneousTexture(asset),
          Asset_GetProjectileTexture(asset), Asset_GetShipsTexture(asset),
          Asset_GetFontUppercase(asset), Asset_GetFontLowercase(asset),
          Asset_GetBrindleLogo(asset)})
    {
        names.push_back(Texture_GetTextureNumber(texture));
        EXPECT_EQ(glIsTexture(names.back()), GL_TRUE);
    }
    Asset_Destroy(asset);
    // The archive's list of handed-out buffers goes at unload.
    Resource_Unload();
    EXPECT_EQ(Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects(), liveBefore);
    for (GLuint name : names)
    {
        EXPECT_EQ(glIsTexture(name), GL_FALSE) << name;
    }
}

TEST_F(AssetTest, TwoCataloguesAreIndependent)
{
    Asset *first = Build(FixturePath("sheets.dat"));
    Asset *second = Asset_Create();
    EXPECT_NE(Asset_GetShipsTexture(first), Asset_GetShipsTexture(second));
    EXPECT_NE(Texture_GetTextureNumber(Asset_GetShipsTexture(first)),
              Texture_GetTextureNumber(Asset_GetShipsTexture(second)));
    Asset_Destroy(first);
    // The second still holds its pictures.
    EXPECT_EQ(ReadBack(Asset_GetShipsTexture(second))[4 * 81 + 1], 1);
    Asset_Destroy(second);
}

TEST_F(AssetTest, MissingSheetIsNamedOnceAndReplacedByAPlaceholder)
{
    Asset *asset = Build(FixturePath("sheets_without_ships.dat"));
    EXPECT_THAT(messages, ElementsAre("Unable to load resource: SpaceShooterAssetPack_Ships.tga",
                                      "Unable to load resouce SpaceShooterAssetPack_Ships.tga."));
    Texture *ships = Asset_GetShipsTexture(asset);
    EXPECT_EQ(Texture_GetWidth(ships), 80);
    EXPECT_EQ(Texture_GetHeight(ships), 80);
    EXPECT_EQ(Texture_GetBytesPerPixel(ships), 4);
    EXPECT_TRUE(IsPlaceholder(ships));
    EXPECT_FALSE(IsPlaceholder(Asset_GetProjectileTexture(asset)));
    // Cut as usual, so pictures keep their sizes on screen.
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 13), ships, 40, 16, 48, 24);
    ExpectCell(Asset_GetPlayerSubTexture(asset, 4), ships, 8, 32, 16, 40);
    Asset_Destroy(asset);
}

TEST_F(AssetTest, SheetsThatCannotBeUsedAreReplacedToo)
{
    Asset *asset = Build(FixturePath("odd_sheets.dat"));
    EXPECT_THAT(messages,
                ElementsAre("Unable to decode resource SpaceShooterAssetPack_Projectiles.tga "
                            "(HeaderSize).",
                            "Unable to use resource SpaceShooterAssetPack_Ships.tga (8 bits per "
                            "pixel, 2 x 2)."));
    EXPECT_TRUE(IsPlaceholder(Asset_GetProjectileTexture(asset)));
    EXPECT_TRUE(IsPlaceholder(Asset_GetShipsTexture(asset)));
    EXPECT_EQ(Texture_GetWidth(Asset_GetProjectileTexture(asset)), 48);
    EXPECT_FALSE(IsPlaceholder(Asset_GetBackgroundTexture(asset)));
    Asset_Destroy(asset);
}

TEST_F(AssetTest, MissingArchiveStillGivesAWholeCatalogue)
{
    Asset *asset = Build("no-such-resources.dat");
    // The open failure, then each sheet named by the archive and by the catalogue.
    ASSERT_EQ(messages.size(), 2u + 8u);
    EXPECT_THAT(messages[0], HasSubstr("Can't open resource no-such-resources.dat: "));
    for (int sheet = 0; sheet < 4; sheet++)
    {
        EXPECT_EQ(messages[2 + 2 * sheet],
                  std::string("Unable to load resource: ") + sheetNames[sheet]);
        EXPECT_EQ(messages[3 + 2 * sheet],
                  std::string("Unable to load resouce ") + sheetNames[sheet] + ".");
        EXPECT_TRUE(IsPlaceholder(SheetTexture(asset, sheet)));
    }
    ExpectCell(Asset_GetBackgroundSubTexture(asset), Asset_GetBackgroundTexture(asset), 0, 0, 128,
               256);
    EXPECT_EQ(Texture_GetWidth(Asset_GetFontUppercase(asset)), 128);
    Asset_Destroy(asset);
}

TEST_F(AssetTest, LoadingHelpersHandOverObjectsWithClearOwners)
{
    Resource_Load(FixturePath("sheets.dat").c_str());
    Targa *targa = nullptr;
    CaptureLines([&targa] { targa = Asset_GetTarga("SpaceShooterAssetPack_Ships.tga"); });
    ASSERT_NE(targa, nullptr);
    EXPECT_EQ(Targa_GetWidth(targa), 80u);

    Texture *texture = Asset_GetTexture(targa);
    ASSERT_NE(texture, nullptr);
    // The texture borrows the Targa's pixels; each has exactly one owner.
    EXPECT_EQ(Texture_GetTarga(texture), targa);
    EXPECT_EQ(Texture_GetPixelData(texture), Targa_GetData(targa));
    EXPECT_EQ(Texture_GetBytesPerPixel(texture), 4);
    EXPECT_EQ(ReadBack(texture)[(80 * 3 + 5) * 4], 5);

    SubTexture *whole = Asset_GetSubTexture(texture);
    EXPECT_EQ(SubTexture_GetTexture(whole), texture);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(whole).x, 1.0f);
    EXPECT_FLOAT_EQ(SubTexture_GetLowerRightCoordinate(whole).y, 1.0f);
    EXPECT_FLOAT_EQ(SubTexture_GetSize(whole).x, 1.0f);

    SubTexture_Destroy(whole);
    Texture_Destroy(texture);
    Targa_Destroy(targa);

    std::vector<std::string> lines = CaptureLines(
        []
        {
            EXPECT_EQ(Asset_GetTarga("nothing.tga"), nullptr);
            EXPECT_EQ(Asset_GetTexture(nullptr), nullptr);
            EXPECT_EQ(Asset_GetSubTexture(nullptr), nullptr);
        });
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(LogMessage(lines.back()), "Unable to load resouce nothing.tga.");

    // An image OpenGL would over-read is not made into a texture.
    const uint8_t grey[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0, 7};
    Targa *eightBit = Targa_Create_FromMemory(grey, sizeof(grey));
    ASSERT_NE(eightBit, nullptr);
    CaptureLines([eightBit] { EXPECT_EQ(Asset_GetTexture(eightBit), nullptr); });
    Targa_Destroy(eightBit);
}

TEST_F(AssetTest, OurResourcesDatGivesEverySheet)
{
    Asset *asset = Build(ZINDREL_RESOURCES_DAT);
    EXPECT_TRUE(messages.empty()) << messages.front();
    const int least[4][2] = {{128, 256}, {104, 56}, {48, 40}, {80, 80}};
    for (int sheet = 0; sheet < 4; sheet++)
    {
        Texture *texture = SheetTexture(asset, sheet);
        EXPECT_GE(Texture_GetWidth(texture), least[sheet][0]) << sheetNames[sheet];
        EXPECT_GE(Texture_GetHeight(texture), least[sheet][1]) << sheetNames[sheet];
        EXPECT_FALSE(IsPlaceholder(texture)) << sheetNames[sheet];
        // The texture holds exactly the decoded sheet.
        Targa *targa = nullptr;
        CaptureLines([&targa, sheet] { targa = Asset_GetTarga(sheetNames[sheet]); });
        ASSERT_NE(targa, nullptr);
        EXPECT_EQ(Targa_GetBitsPerPixel(targa), 32) << sheetNames[sheet];
        EXPECT_EQ(memcmp(ReadBack(texture).data(), Targa_GetData(targa),
                         Targa_GetWidth(targa) * Targa_GetHeight(targa) * 4),
                  0)
            << sheetNames[sheet];
        Targa_Destroy(targa);
    }
    Asset_Destroy(asset);
}

} // namespace
