// Textures and the catalogue in a real OpenGL context, from sheets whose pixels tell where
// they are (red = column, green = row, blue = sheet), from broken archives and from hostile data:
// a picture whose header promises far more pixels than the game could use and an upload OpenGL
// refuses, each to end in one log line and a refusal, never in gigabytes or garbled pictures.
#include "resources/asset.h"

#include "foundation/allocator.h"
#include "resources/sheet_layout.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"
#include "test_support.h"
#include "tools/art.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

using testing::ElementsAre;

namespace
{

// The four sheets, the two fonts and the logo, with their sizes.
Texture *(*const textures[7])(Asset *) = {Asset_GetBackgroundTexture, Asset_GetMiscellaneousTexture,
                                          Asset_GetProjectileTexture, Asset_GetShipsTexture,
                                          Asset_GetFontUppercase,     Asset_GetFontLowercase,
                                          Asset_GetBrindleLogo};
const int sizes[7][2] = {{128, 256}, {104, 56},  {48, 40},    {80, 80},
                         {128, 128}, {128, 128}, {1024, 1024}};

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
    size_t i = 0;
    while (i < pixels.size() && pixels[i] == (i % 4 == 1 ? 0 : 255))
        i++;
    return i == pixels.size();
}

// The cell has corners (x0, y0) and (x1, y1) of texture, in that order, and a positive size.
void ExpectCell(SubTexture *cell, Texture *texture, SheetRect r)
{
    EXPECT_EQ(SubTexture_GetTexture(cell), texture);
    const float w = float(Texture_GetWidth(texture)), h = float(Texture_GetHeight(texture));
    const Vector2 a = SubTexture_GetUpperLeftCoordinate(cell);
    const Vector2 b = SubTexture_GetLowerRightCoordinate(cell), size = SubTexture_GetSize(cell);
    EXPECT_THAT(
        (std::vector<float>{a.x * w, a.y * h, b.x * w, b.y * h, size.x * w, size.y * h}),
        testing::Pointwise(testing::FloatNear(1e-4f),
                           {r.x0, r.y0, r.x1, r.y1, std::abs(r.x1 - r.x0), std::abs(r.y1 - r.y0)}));
}

class AssetTest : public ResourceTest
{
  protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        ASSERT_TRUE(MakeGlContextCurrent(64));
    }

    // Opens the archive at path and builds a catalogue from it, keeping the log messages.
    Asset *Build(const std::string &path)
    {
        Asset *asset = nullptr;
        messages = CaptureMessages([&] { Resource_Load(path.c_str()), asset = Asset_Create(); });
        return asset;
    }

    std::vector<std::string> messages;
};

TEST_F(AssetTest, LoadingHelpersMakeSharpRepeatingTexturesWithClearOwners)
{
    Resource_Load(FixturePath("sheets.dat").c_str());
    Targa *targa = Asset_GetTarga("im_24_None_TopLeft.tga");
    ASSERT_NE(targa, nullptr);
    // 37 pixels of 3 bytes: rows of 111 bytes, which a 4-byte alignment would misread.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    Texture *texture = Asset_GetTexture(targa);
    ASSERT_NE(texture, nullptr);
    // The texture borrows the Targa's pixels; each block has exactly one owner.
    EXPECT_EQ(Texture_GetTarga(texture), targa);
    EXPECT_EQ(Texture_GetPixelData(texture), Targa_GetData(targa));
    EXPECT_EQ(ReadBack(texture, GL_RGB, 3),
              std::vector<uint8_t>(Targa_GetData(targa), Targa_GetData(targa) + 37 * 23 * 3));
    const GLuint name = Texture_GetTextureNumber(texture);
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<GLint> parameters;
    for (GLenum parameter :
         {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER})
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &parameters.emplace_back());
    EXPECT_THAT(parameters, ElementsAre(GL_REPEAT, GL_REPEAT, GL_NEAREST, GL_NEAREST));
    SubTexture *whole = Asset_GetSubTexture(texture);
    ExpectCell(whole, texture, {0, 0, 37, 23});
    SubTexture_Destroy(whole);
    // Destroying deletes the texture object too.
    Texture_Destroy(texture);
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    Targa_Destroy(targa);

    CaptureMessages([] { EXPECT_EQ(Asset_GetTarga("nothing.tga"), nullptr); });
    EXPECT_EQ(Asset_GetTexture(nullptr), nullptr);
    EXPECT_EQ(Asset_GetSubTexture(nullptr), nullptr);
    // An image OpenGL would over-read is not made into a texture.
    const uint8_t grey[] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0, 7};
    Targa *eightBit = Targa_Create_FromMemory(grey, sizeof(grey));
    ASSERT_NE(eightBit, nullptr);
    CaptureMessages([eightBit] { EXPECT_EQ(Asset_GetTexture(eightBit), nullptr); });
    Targa_Destroy(eightBit);
}

TEST_F(AssetTest, EveryPictureBecomesAPrivateRgbaTextureReleasedWithItsCatalogue)
{
    const uint32_t liveBefore = Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects();
    Asset *asset = Build(FixturePath("sheets.dat"));
    EXPECT_THAT(messages, ElementsAre());
    const uint8_t *arts[3] = {FontC64Uppercase, FontC64Lowercase, BrindleLogo};
    std::vector<GLuint> names;
    for (int slot = 0; slot < 7; slot++)
    {
        Texture *texture = textures[slot](asset);
        const size_t width = sizes[slot][0], channels = slot == 6 ? 4 : 3;
        ASSERT_EQ(Texture_GetWidth(texture), sizes[slot][0]);
        ASSERT_EQ(Texture_GetHeight(texture), sizes[slot][1]);
        names.push_back(Texture_GetTextureNumber(texture));
        // Sheets in file row order (ImageMagick rounds half alpha down), fonts made opaque.
        const std::vector<uint8_t> pixels = ReadBack(texture);
        std::vector<uint8_t> expected(pixels.size());
        for (size_t i = 0; i < expected.size(); i++)
        {
            const size_t x = i / 4 % width, y = i / 4 / width, channel = i % 4;
            const size_t sheetPixel[4] = {x, y, size_t(slot + 1), (x + y) % 2 ? 255u : 127u};
            expected[i] = slot < 4             ? sheetPixel[channel]
                          : channel < channels ? arts[slot - 4][12 + i / 4 * channels + channel]
                                               : 255;
        }
        EXPECT_TRUE(pixels == expected) << slot;
        // The block the texture names is equal to what OpenGL holds.
        EXPECT_EQ(memcmp(Texture_GetPixelData(texture), pixels.data(), pixels.size()), 0);
    }
    // A second catalogue keeps its pictures when the first goes with all its texture objects.
    Asset *second = Asset_Create();
    Asset_Destroy(asset);
    for (GLuint name : names)
        EXPECT_EQ(glIsTexture(name), GL_FALSE) << name;
    EXPECT_EQ(ReadBack(Asset_GetShipsTexture(second))[4 * 81 + 1], 1);
    Asset_Destroy(second);
    // The archive's list of handed-out buffers goes at unload.
    Resource_Unload();
    EXPECT_EQ(Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects(), liveBefore);
}

TEST_F(AssetTest, CellsAreCutWhereTheTableSaysAndIndicesWrap)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    Texture *ships = Asset_GetShipsTexture(asset);
    Texture *misc = Asset_GetMiscellaneousTexture(asset);
    Texture *projectiles = Asset_GetProjectileTexture(asset);
    // Every family, on every sheet.
    for (int32_t i = 0; i < LAYOUT_PLAYER_COUNT; i++)
    {
        ExpectCell(Asset_GetPlayerSubTexture(asset, i), ships, SheetLayout_Player(i));
        ExpectCell(Asset_GetPlayerGoingLeftSubTexture(asset, i), ships, SheetLayout_PlayerLeft(i));
        ExpectCell(Asset_GetPlayerGoingRightSubTexture(asset, i), ships,
                   SheetLayout_PlayerRight(i));
    }
    for (int32_t i = 0; i < LAYOUT_BULLET_COUNT; i++)
    {
        const SheetRect r = SheetLayout_Bullet(i);
        ExpectCell(Asset_GetPlayerBulletSubTexture(asset, i), projectiles, r);
        // The enemies' bullets are the same cells upside down.
        ExpectCell(Asset_GetSpaceShipBulletSubTexture(asset, i), projectiles,
                   {r.x0, r.y1, r.x1, r.y0});
    }
    for (int32_t i = 0; i < LAYOUT_ENEMY_COUNT; i++)
        ExpectCell(Asset_GetSpaceShipSubTexture(asset, i), ships, SheetLayout_Enemy(i));
    for (int32_t i = 0; i < LAYOUT_BOSS_COUNT; i++)
        ExpectCell(Asset_GetBossSpaceShipSubTexture(asset, i), ships, SheetLayout_Boss(i));
    SubTexture *(*const explosions[6])(Asset *) = {
        Asset_GetSpaceShipExplosionBigSubTexture,   Asset_GetSpaceShipExplosionMediumSubTexture,
        Asset_GetSpaceShipExplosionSmallSubTexture, Asset_GetPlayerExplosionBigSubTexture,
        Asset_GetPlayerExplosionMediumSubTexture,   Asset_GetPlayerExplosionSmallSubTexture};
    // The family is picked as a pointer first: in the sanitizer build g++ 12 indexed a
    // conditional's array result wrongly (element 2 whatever the index).
    for (int32_t i = 0; i < 6; i++)
    {
        const SheetRect *family = i < 3 ? LAYOUT_ENEMY_EXPLOSION : LAYOUT_PLAYER_EXPLOSION;
        ExpectCell(explosions[i](asset), misc, family[i % 3]);
    }
    ExpectCell(Asset_GetPlayerShieldSubTexture(asset), misc, LAYOUT_SHIELD);
    ExpectCell(Asset_GetBackgroundSubTexture(asset), textures[0](asset), LAYOUT_BACKGROUND);
    // Mirrored and upside-down corners stay as given; positions are not clamped.
    for (const SheetRect r : {SheetRect{8, 0, 24, 32}, {24, 0, 8, 32}, {-8, 160, 8, 80}})
    {
        SubTexture *cell =
            SubTexture_Create(ships, Texture_CalculatePixelPosition(ships, r.x0, r.y0),
                              Texture_CalculatePixelPosition(ships, r.x1, r.y1));
        ExpectCell(cell, ships, r);
        SubTexture_Destroy(cell);
    }

    EXPECT_THAT((std::vector<int32_t>{Asset_GetNumberOfPlayerSubTextures(asset),
                                      Asset_GetNumberOfPlayerBulletSubTextures(asset),
                                      Asset_GetNumberOfSpaceShipBulletSubTextures(asset),
                                      Asset_GetNumberOfSpaceShipSubTextures(asset)}),
                ElementsAre(LAYOUT_PLAYER_COUNT, LAYOUT_BULLET_COUNT, LAYOUT_BULLET_COUNT,
                            LAYOUT_ENEMY_COUNT));
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
        EXPECT_EQ(family(asset, index), family(asset, wrapped)) << index;
    Asset_Destroy(asset);
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
        EXPECT_EQ(IsPlaceholder(texture), sheet != 0) << sheet;
        // The sheet's size, cut as usual, so pictures keep their sizes on screen.
        EXPECT_EQ(Texture_GetWidth(texture), sizes[sheet][0]);
        EXPECT_EQ(Texture_GetHeight(texture), sizes[sheet][1]);
    }
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 13), textures[3](asset), SheetLayout_Enemy(13));
    Asset_Destroy(asset);

    // No archive: the open failure (two lines), each sheet named twice, all placeholders.
    asset = Build("no-such-resources.dat");
    EXPECT_EQ(messages.size(), 2u + 4 * 2);
    for (int sheet = 0; sheet < 4; sheet++)
        EXPECT_TRUE(IsPlaceholder(textures[sheet](asset)));
    EXPECT_FALSE(IsPlaceholder(Asset_GetFontUppercase(asset)));
    Asset_Destroy(asset);
}

// Refused from its header: in a child process, so that the peak is this load's alone, the
// catalogue's load grows the peak by little more than the entry and names the reason.
TEST_F(ResourceTest, PictureLargerThanATextureIsRefusedBeforeItsPixelsAreMade)
{
    const auto peakKilobytes = []
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Resource_Load(FixturePath("bomb.dat").c_str());
            const long before = peakKilobytes();
            Targa *targa = Asset_GetTarga("SpaceShooterAssetPack_Ships.tga");
            const long grown = peakKilobytes() - before;
            fflush(stdout);
            fprintf(stderr, "grown %ld kB\n", grown);
            _exit(targa == nullptr && grown < 32 * 1024 ? 0 : 1);
        },
        testing::ExitedWithCode(0),
        "Unable to use resource SpaceShooterAssetPack_Ships.tga \\(8192 x 8192 is larger than "
        "4096 x 4096\\)");
}

// A texture wider than OpenGL takes is reported once and not handed out as a black square.
TEST_F(AssetTest, RefusedUploadIsReportedOnceAndGivesNoTexture)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    EXPECT_EQ(Texture_GetLargestSize(), std::min(largest, 4096));
    const std::vector<uint8_t> row(4 * (static_cast<size_t>(largest) + 1));
    EXPECT_THAT(
        CaptureMessages([&] { EXPECT_EQ(Texture_Create(row.data(), 4, largest + 1, 1), nullptr); }),
        ElementsAre(testing::StartsWith("Unable to upload a " + std::to_string(largest + 1) +
                                        " x 1 texture")));
}

} // namespace
