// Textures and the catalogue in a real OpenGL context (Xvfb under the test scripts). The
// catalogue is built from sheets whose pixels tell where they are (red = column, green =
// row, blue = sheet) and from broken archives.
#include "resources/asset.h"

#include "foundation/allocator.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"
#include "test_support.h"
#include "tools/art.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <climits>
#include <cstring>
#include <tuple>

using testing::ElementsAre;

namespace
{

const char *sheetNames[4] = {
    "SpaceShooterAssetPack_BackGrounds.tga", "SpaceShooterAssetPack_Miscellaneous.tga",
    "SpaceShooterAssetPack_Projectiles.tga", "SpaceShooterAssetPack_Ships.tga"};
const int sheetSizes[4][2] = {{128, 256}, {104, 56}, {48, 40}, {80, 80}};
// The four sheets in the order above, then the fonts and the logo.
Texture *(*const textures[7])(Asset *) = {Asset_GetBackgroundTexture, Asset_GetMiscellaneousTexture,
                                          Asset_GetProjectileTexture, Asset_GetShipsTexture,
                                          Asset_GetFontUppercase,     Asset_GetFontLowercase,
                                          Asset_GetBrindleLogo};

// The pixels OpenGL holds for the texture, rows packed without padding.
std::vector<uint8_t> ReadBack(Texture *texture, GLenum format = GL_RGBA, int channels = 4)
{
    std::vector<uint8_t> pixels(size_t{4} * Texture_GetWidth(texture) * Texture_GetHeight(texture));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(texture));
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    pixels.resize(pixels.size() / 4 * channels);
    return pixels;
}

// Whether every pixel is the conspicuous magenta of a sheet that could not be used.
bool IsPlaceholder(Texture *texture)
{
    const std::vector<uint8_t> pixels = ReadBack(texture);
    for (size_t i = 0; i < pixels.size(); i += 4)
    {
        if (memcmp(&pixels[i], "\xFF\x00\xFF\xFF", 4) != 0)
        {
            return false;
        }
    }
    return true;
}

// The sub-texture covers pixels (x0, y0) to (x1, y1) of texture, corners in that order, and
// its size is the rectangle's (always positive).
void ExpectCell(SubTexture *cell, Texture *texture, int x0, int y0, int x1, int y1)
{
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(SubTexture_GetTexture(cell), texture);
    const float w = float(Texture_GetWidth(texture)), h = float(Texture_GetHeight(texture));
    const Vector2 a = SubTexture_GetUpperLeftCoordinate(cell);
    const Vector2 b = SubTexture_GetLowerRightCoordinate(cell);
    const Vector2 size = SubTexture_GetSize(cell);
    EXPECT_THAT((std::vector<float>{a.x * w, a.y * h, b.x * w, b.y * h, size.x * w, size.y * h}),
                testing::Pointwise(testing::FloatNear(1e-4f),
                                   {x0, y0, x1, y1, std::abs(x1 - x0), std::abs(y1 - y0)}))
        << x0 << "," << y0 << " to " << x1 << "," << y1;
}

class AssetTest : public ResourceTest
{
  protected:
    // A hidden window whose context stays current for the whole process (starting and ending
    // GLFW over and over is not reliable under Xvfb).
    void SetUp() override
    {
        ResourceTest::SetUp();
        static GLFWwindow *window = nullptr;
        if (window == nullptr && glfwInit())
        {
            glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
            window = glfwCreateWindow(64, 64, "resources test", nullptr, nullptr);
        }
        ASSERT_NE(window, nullptr) << "no OpenGL window (no display?)";
        glfwMakeContextCurrent(window);
    }

    // Opens the archive at path and builds a catalogue from it, keeping the log messages.
    Asset *Build(const std::string &path)
    {
        Asset *asset = nullptr;
        messages = CaptureMessages(
            [&asset, &path]
            {
                Resource_Load(path.c_str());
                asset = Asset_Create();
            });
        return asset;
    }

    std::vector<std::string> messages;
};

using TextureTest = AssetTest;

TEST_F(TextureTest, UploadsSharpRepeatingRowsWithoutPaddingAndDeletesItsObject)
{
    // A 24-bit image 5 pixels wide: rows of 15 bytes, which a 4-byte alignment would misread.
    std::vector<uint8_t> file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 3, 0, 24, 0};
    for (int i = 0; i < 5 * 3 * 3; i++)
    {
        file.push_back(static_cast<uint8_t>(i * 5 + 1));
    }
    Targa *targa = Targa_Create_FromMemory(file.data(), static_cast<int32_t>(file.size()));
    ASSERT_NE(targa, nullptr);
    const std::vector<uint8_t> pixels(Targa_GetData(targa), Targa_GetData(targa) + 45);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    Texture *texture = Texture_CreateFromTarga(targa);
    EXPECT_EQ(Texture_GetTarga(texture), targa);
    EXPECT_EQ(Texture_GetPixelData(texture), Targa_GetData(targa));
    EXPECT_EQ(Texture_GetBytesPerPixel(texture), 3);
    EXPECT_EQ(ReadBack(texture, GL_RGB, 3), pixels);
    const GLuint name = Texture_GetTextureNumber(texture);
    glBindTexture(GL_TEXTURE_2D, name);
    for (auto [parameter, value] : {std::pair<GLenum, GLint>{GL_TEXTURE_WRAP_S, GL_REPEAT},
                                    {GL_TEXTURE_WRAP_T, GL_REPEAT},
                                    {GL_TEXTURE_MAG_FILTER, GL_NEAREST},
                                    {GL_TEXTURE_MIN_FILTER, GL_NEAREST}})
    {
        GLint actual = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &actual);
        EXPECT_EQ(actual, value) << parameter;
    }
    // Destroying unbinds and deletes the texture object, and leaves the pixels to their owner.
    Texture_Destroy(texture);
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(std::vector<uint8_t>(Targa_GetData(targa), Targa_GetData(targa) + 45), pixels);
    Targa_Destroy(targa);
    // Four bytes a pixel, and any other count, upload as RGBA.
    const std::vector<uint8_t> rgba = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int32_t bytesPerPixel : {4, 2})
    {
        texture = Texture_Create(rgba.data(), bytesPerPixel, 3, 1);
        EXPECT_EQ(ReadBack(texture), rgba) << bytesPerPixel;
        Texture_Destroy(texture);
    }
}

TEST_F(TextureTest, PixelPositionsBecomeCoordinatesWhateverTheCornersOrder)
{
    Texture *texture = Texture_Create(nullptr, 4, 128, 256);
    // No clamping either way; worked out in double precision, rounded once to float.
    const float cases[][4] = {
        {64, 64, 0.5f, 0.25f}, {-64, 512, -0.5f, 2}, {1, 3, float(1.0 / 128), float(3.0 / 256)}};
    for (const auto &c : cases)
    {
        const Vector2 position = Texture_CalculatePixelPosition(texture, int(c[0]), int(c[1]));
        EXPECT_EQ(position.x, c[2]) << c[0];
        EXPECT_EQ(position.y, c[3]) << c[1];
    }
    // Plain, mirrored (x swapped) and upside down (y swapped): corners as passed, one size.
    for (auto [x0, y0, x1, y1] : {std::tuple{8, 0, 24, 32}, {24, 0, 8, 32}, {8, 32, 24, 0}})
    {
        SubTexture *cell =
            SubTexture_Create(texture, Texture_CalculatePixelPosition(texture, x0, y0),
                              Texture_CalculatePixelPosition(texture, x1, y1));
        ExpectCell(cell, texture, x0, y0, x1, y1);
        SubTexture_Destroy(cell);
    }
    Texture_Destroy(texture);
}

TEST_F(AssetTest, SheetsFontsAndLogoBecomePrivateRgbaTextures)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    EXPECT_THAT(messages, ElementsAre());
    for (int sheet = 0; sheet < 4; sheet++)
    {
        Texture *texture = textures[sheet](asset);
        const int width = sheetSizes[sheet][0];
        ASSERT_EQ(Texture_GetWidth(texture), width);
        ASSERT_EQ(Texture_GetHeight(texture), sheetSizes[sheet][1]);
        EXPECT_EQ(Texture_GetBytesPerPixel(texture), 4);
        EXPECT_EQ(Texture_GetTarga(texture), nullptr);
        const std::vector<uint8_t> pixels = ReadBack(texture);
        // Every pixel where the sheet has it: row y of the file is row y of the texture.
        for (size_t i = 0; i < pixels.size() / 4; i++)
        {
            const int x = int(i) % width, y = int(i) / width;
            const int alpha = (x + y) % 2 ? 255 : 127; // half, as ImageMagick rounds it
            ASSERT_THAT(std::vector<int>(&pixels[4 * i], &pixels[4 * i + 4]),
                        ElementsAre(x, y, sheet + 1, alpha))
                << sheetNames[sheet] << " at " << x << "," << y;
        }
        // The texture's block is its own copy, equal to what OpenGL holds.
        EXPECT_EQ(memcmp(Texture_GetPixelData(texture), pixels.data(), pixels.size()), 0);
    }
    // The fonts gain opaque alpha; the logo is copied as it is.
    for (auto [texture, art] : {std::pair{Asset_GetFontUppercase(asset), FontC64Uppercase},
                                std::pair{Asset_GetFontLowercase(asset), FontC64Lowercase}})
    {
        ASSERT_EQ(Texture_GetWidth(texture) * Texture_GetHeight(texture), 128 * 128);
        EXPECT_EQ(Texture_GetBytesPerPixel(texture), 4);
        const std::vector<uint8_t> pixels = ReadBack(texture);
        for (size_t i = 0; i < 128 * 128; i++)
        {
            ASSERT_EQ(memcmp(&pixels[4 * i], art + 12 + 3 * i, 3), 0) << i;
            ASSERT_EQ(pixels[4 * i + 3], 255) << i;
        }
    }
    Texture *logo = Asset_GetBrindleLogo(asset);
    ASSERT_EQ(Texture_GetWidth(logo) * Texture_GetHeight(logo), 1024 * 1024);
    EXPECT_NE(Texture_GetPixelData(logo), BrindleLogo + 12);
    EXPECT_EQ(memcmp(ReadBack(logo).data(), BrindleLogo + 12, 1024 * 1024 * 4), 0);
    Asset_Destroy(asset);
}

TEST_F(AssetTest, FamiliesAreCutWhereTheTableSaysAndIndicesWrap)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    Texture *ships = Asset_GetShipsTexture(asset);
    Texture *misc = Asset_GetMiscellaneousTexture(asset);
    Texture *projectiles = Asset_GetProjectileTexture(asset);
    // A cell or two of every family (among them the last ones), and every single picture.
    ExpectCell(Asset_GetPlayerSubTexture(asset, 4), ships, 8, 32, 16, 40);
    ExpectCell(Asset_GetPlayerGoingLeftSubTexture(asset, 1), ships, 0, 8, 6, 16);
    ExpectCell(Asset_GetPlayerGoingRightSubTexture(asset, 3), ships, 18, 24, 24, 32);
    ExpectCell(Asset_GetPlayerBulletSubTexture(asset, 7), projectiles, 8, 8, 16, 16);
    ExpectCell(Asset_GetPlayerBulletSubTexture(asset, 29), projectiles, 40, 32, 48, 40);
    // The enemies' bullets are the same cells upside down.
    ExpectCell(Asset_GetSpaceShipBulletSubTexture(asset, 7), projectiles, 8, 16, 16, 8);
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 13), ships, 40, 16, 48, 24);
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 35), ships, 72, 40, 80, 48);
    ExpectCell(Asset_GetBossSpaceShipSubTexture(asset, 2), ships, 64, 48, 80, 64);
    ExpectCell(Asset_GetBossSpaceShipSubTexture(asset, 4), ships, 48, 64, 64, 80);
    ExpectCell(Asset_GetPlayerExplosionBigSubTexture(asset), misc, 80, 48, 88, 56);
    ExpectCell(Asset_GetPlayerExplosionMediumSubTexture(asset), misc, 88, 48, 96, 56);
    ExpectCell(Asset_GetPlayerExplosionSmallSubTexture(asset), misc, 97, 48, 103, 56);
    ExpectCell(Asset_GetPlayerShieldSubTexture(asset), misc, 88, 32, 104, 48);
    ExpectCell(Asset_GetSpaceShipExplosionBigSubTexture(asset), misc, 48, 48, 56, 56);
    ExpectCell(Asset_GetSpaceShipExplosionMediumSubTexture(asset), misc, 56, 48, 64, 56);
    ExpectCell(Asset_GetSpaceShipExplosionSmallSubTexture(asset), misc, 64, 48, 72, 56);
    ExpectCell(Asset_GetBackgroundSubTexture(asset), textures[0](asset), 0, 0, 128, 256);

    EXPECT_THAT((std::vector<int32_t>{Asset_GetNumberOfPlayerSubTextures(asset),
                                      Asset_GetNumberOfPlayerBulletSubTextures(asset),
                                      Asset_GetNumberOfSpaceShipBulletSubTextures(asset),
                                      Asset_GetNumberOfSpaceShipSubTextures(asset)}),
                ElementsAre(5, 30, 30, 36));
    // Indices wrap with their family; negative remainders count from the front.
    using Family = SubTexture *(*)(Asset *, int32_t);
    const std::tuple<Family, int32_t, int32_t> wraps[] = {
        {Asset_GetPlayerSubTexture, 7, 2},           {Asset_GetPlayerSubTexture, -3, 3},
        {Asset_GetPlayerSubTexture, -1, 1},          {Asset_GetPlayerSubTexture, INT_MIN, 3},
        {Asset_GetPlayerGoingLeftSubTexture, 12, 2}, {Asset_GetPlayerGoingRightSubTexture, -6, 1},
        {Asset_GetPlayerBulletSubTexture, 31, 1},    {Asset_GetSpaceShipBulletSubTexture, -29, 29},
        {Asset_GetSpaceShipSubTexture, 36, 0},       {Asset_GetSpaceShipSubTexture, INT_MAX, 19},
        {Asset_GetBossSpaceShipSubTexture, 6, 0},    {Asset_GetBossSpaceShipSubTexture, -7, 1}};
    for (const auto &[family, index, wrapped] : wraps)
    {
        EXPECT_EQ(family(asset, index), family(asset, wrapped)) << index;
    }
    Asset_Destroy(asset);
}

TEST_F(AssetTest, DestroyReleasesEverythingOfItsOwnCatalogueOnly)
{
    const uint32_t liveBefore = Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects();
    Asset *first = Build(FixturePath("sheets.dat"));
    Asset *second = Asset_Create();
    std::vector<GLuint> names;
    for (Texture *(*texture)(Asset *) : textures)
    {
        names.push_back(Texture_GetTextureNumber(texture(first)));
        EXPECT_EQ(glIsTexture(names.back()), GL_TRUE);
    }
    Asset_Destroy(first);
    for (GLuint name : names)
    {
        EXPECT_EQ(glIsTexture(name), GL_FALSE) << name;
    }
    // The second still holds its pictures (green = row 1 in the ships' second row).
    EXPECT_EQ(ReadBack(Asset_GetShipsTexture(second))[4 * 81 + 1], 1);
    Asset_Destroy(second);
    // The archive's list of handed-out buffers goes at unload.
    Resource_Unload();
    EXPECT_EQ(Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects(), liveBefore);
}

TEST_F(AssetTest, SheetsThatCannotBeUsedAreNamedOnceAndReplacedByPlaceholders)
{
    // Backgrounds fine, Miscellaneous missing, Projectiles no TGA, Ships of 8 bits a pixel.
    Asset *asset = Build(FixturePath("odd_sheets.dat"));
    EXPECT_THAT(messages,
                ElementsAre("Unable to load resource: SpaceShooterAssetPack_Miscellaneous.tga",
                            "Unable to load resouce SpaceShooterAssetPack_Miscellaneous.tga.",
                            "Unable to decode resource SpaceShooterAssetPack_Projectiles.tga "
                            "(HeaderSize).",
                            "Unable to use resource SpaceShooterAssetPack_Ships.tga (8 bits per "
                            "pixel, 2 x 2)."));
    for (int sheet = 0; sheet < 4; sheet++)
    {
        Texture *texture = textures[sheet](asset);
        EXPECT_EQ(IsPlaceholder(texture), sheet != 0) << sheetNames[sheet];
        // The sheet's size, cut as usual, so pictures keep their sizes on screen.
        EXPECT_EQ(Texture_GetWidth(texture), sheetSizes[sheet][0]);
        EXPECT_EQ(Texture_GetHeight(texture), sheetSizes[sheet][1]);
    }
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 13), textures[3](asset), 40, 16, 48, 24);
    Asset_Destroy(asset);

    // With no archive at all: the open failure (ending in its own newline), then each sheet
    // named by the archive and by the catalogue.
    asset = Build("no-such-resources.dat");
    ASSERT_EQ(messages.size(), 2u + 8u);
    EXPECT_THAT(messages[0], testing::StartsWith("Can't open resource no-such-resources.dat: "));
    for (int sheet = 0; sheet < 4; sheet++)
    {
        EXPECT_EQ(messages[2 + 2 * sheet],
                  std::string("Unable to load resource: ") + sheetNames[sheet]);
        EXPECT_EQ(messages[3 + 2 * sheet],
                  std::string("Unable to load resouce ") + sheetNames[sheet] + ".");
        EXPECT_TRUE(IsPlaceholder(textures[sheet](asset)));
    }
    EXPECT_FALSE(IsPlaceholder(Asset_GetFontUppercase(asset)));
    Asset_Destroy(asset);
}

TEST_F(AssetTest, LoadingHelpersHandOverObjectsWithClearOwners)
{
    Resource_Load(FixturePath("sheets.dat").c_str());
    Targa *targa = Asset_GetTarga("SpaceShooterAssetPack_Ships.tga");
    ASSERT_NE(targa, nullptr);
    // The texture borrows the Targa's pixels; each block has exactly one owner.
    Texture *texture = Asset_GetTexture(targa);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(Texture_GetTarga(texture), targa);
    EXPECT_EQ(Texture_GetPixelData(texture), Targa_GetData(targa));
    EXPECT_EQ(ReadBack(texture)[(80 * 3 + 5) * 4], 5);
    SubTexture *whole = Asset_GetSubTexture(texture);
    ExpectCell(whole, texture, 0, 0, 80, 80);
    SubTexture_Destroy(whole);
    Texture_Destroy(texture);
    Targa_Destroy(targa);

    EXPECT_THAT(
        CaptureMessages(
            []
            {
                EXPECT_EQ(Asset_GetTarga("nothing.tga"), nullptr);
                EXPECT_EQ(Asset_GetTexture(nullptr), nullptr);
                EXPECT_EQ(Asset_GetSubTexture(nullptr), nullptr);
            }),
        ElementsAre("Unable to load resource: nothing.tga", "Unable to load resouce nothing.tga."));
    // An image OpenGL would over-read is not made into a texture.
    const uint8_t grey[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0, 7};
    Targa *eightBit = Targa_Create_FromMemory(grey, sizeof(grey));
    ASSERT_NE(eightBit, nullptr);
    CaptureMessages([eightBit] { EXPECT_EQ(Asset_GetTexture(eightBit), nullptr); });
    Targa_Destroy(eightBit);
}

} // namespace
