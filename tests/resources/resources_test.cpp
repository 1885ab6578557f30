// The resources library against Info-ZIP's and ImageMagick's files, broken and hostile data.
#include "foundation/allocator.h"
#include "foundation/logging.h"
#include "resources/asset.h"
#include "resources/resource_win.h"
#include "resources/sheet_layout.h"
#include "resources/subtexture.h"
#include "resources/targa.h"
#include "resources/texture_win.h"
#include "tests/support/support.h"
#include "tools/art.h"

#include <GL/gl.h>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <gmock/gmock.h>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

using testing::Contains, testing::ElementsAre, testing::FloatNear, testing::Pointwise;

namespace
{

struct ResourceTest : testing::Test
{
    ResourceTest() { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    ~ResourceTest() { CaptureMessages(Resource_Unload), Logging_SetLevel(LOGGING_LEVEL_DEBUG); }
    static std::string FixturePath(const std::string &n) { return RESOURCES_FIXTURE_DIR "/" + n; }
    static Targa *Decode(const auto &b) { return Targa_Create_FromMemory(b.data(), int(b.size())); }
    static std::string ReadFixture(const std::string &name)
    {
        std::string bytes = FileContents(FixturePath(name));
        EXPECT_FALSE(bytes.empty() && name != "empty.txt") << name;
        return bytes;
    }
    static std::string Entry(const char *name)
    {
        const uint8_t *data = Resource_GetData(name);
        EXPECT_NE(data, nullptr) << name;
        return data == nullptr ? std::string() : std::string(data, data + Resource_GetSize(name));
    }
    // One file, rewritten each time: no test needs two at once.
    static std::string TemporaryFile(const std::string &bytes)
    {
        static ScratchFolder scratch;
        std::string path = scratch.File("archive");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

using ResourceArchive = ResourceTest;

TEST_F(ResourceArchive, InfoZipEntriesReadBackByTheirWholeExactNames)
{
    // Quiet at the game's Error level, where start-up prints one line only.
    const auto load = [] { Resource_Load(FixturePath("infozip.zip").c_str()); };
    EXPECT_THAT(CaptureMessages([&] { load(), Resource_GetSize("empty.txt"); }), ElementsAre());
    // Stored, deflated, empty (still a real buffer) and in a folder.
    for (const char *name : {"stored.bin", "deflated.txt", "empty.txt"})
        EXPECT_EQ(Entry(name), ReadFixture(name)) << name;
    EXPECT_EQ(Entry("folder/inner.txt"), ReadFixture("inner.txt"));
    EXPECT_TRUE(Entry("folder/").empty());
    Resource_GetData("deflated.txt")[0] ^= 0xFF;
    EXPECT_EQ(Entry("deflated.txt"), ReadFixture("deflated.txt"));
    for (const char *name : {"inner.txt", "folder", "STORED.BIN", "stored.bi", "tored.bin", ""})
    {
        EXPECT_EQ(Resource_GetSize(name), 0) << name;
        EXPECT_THAT(CaptureMessages([name = name] { EXPECT_EQ(Resource_GetData(name), nullptr); }),
                    ElementsAre(std::string("Unable to load resource: ") + name));
    }
    Resource_Load(FixturePath("sheets.dat").c_str());
    EXPECT_EQ(Resource_GetSize("stored.bin"), 0);
    EXPECT_GT(Resource_GetSize("SpaceShooterAssetPack_Ships.tga"), 0);
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    EXPECT_THAT(CaptureMessages(load), Contains("Resource name: folder/inner.txt, size: 18"));
}

TEST_F(ResourceArchive, ArchiveThatCannotBeOpenedFailsOnceThenFindsNothing)
{
    const std::string notZip = TemporaryFile(std::string(300, 'x'));
    for (const std::string &path : {std::string("no-such-archive.dat"), notZip})
    {
        EXPECT_THAT(CaptureMessages([&path] { Resource_Load(path.c_str()); }),
                    ElementsAre(testing::StartsWith("Can't open resource " + path + ": "), ""));
        EXPECT_EQ(Resource_GetSize("stored.bin"), 0);
        EXPECT_THAT(CaptureMessages([] { EXPECT_EQ(Resource_GetData("stored.bin"), nullptr); }),
                    ElementsAre("Unable to load resource: stored.bin"));
        EXPECT_THAT(CaptureMessages([] { Resource_Unload(), Resource_Unload(); }), ElementsAre());
    }
    EXPECT_THAT(CaptureMessages([] { Resource_Load("no-such-archive.dat"); })[0],
                testing::HasSubstr("No such file"));
}

TEST_F(ResourceArchive, EntryShorterThanItsSizeOrAlteredAfterZippingIsNotHandedOut)
{
    // Entries promising 4 bytes more than they hold, then a stored byte changed (CRC mismatch).
    for (const auto &[archive, name, longer] : {std::tuple{"infozip.zip", "stored.bin", 4},
                                                {"deflated.zip", "deflated.txt", 4},
                                                {"infozip.zip", "stored.bin", 0}})
    {
        std::string zip = ReadFixture(archive);
        // The directory's offset is in the end record; then the local and central sizes' low bytes.
        const size_t directory = uint8_t(zip[zip.size() - 6]) | uint8_t(zip[zip.size() - 5]) << 8;
        zip[22] = static_cast<char>(zip[22] + longer);
        zip[directory + 24] = static_cast<char>(zip[directory + 24] + longer);
        // A stored byte: the first after the local header and the name "stored.bin".
        zip[30 + 10 + 100] = static_cast<char>(zip[30 + 10 + 100] ^ (longer == 0));
        const std::string path = TemporaryFile(zip);
        Resource_Load(path.c_str()), unlink(path.c_str());
        EXPECT_EQ(Resource_GetSize(name), static_cast<int32_t>(ReadFixture(name).size()) + longer);
        EXPECT_THAT(CaptureMessages([name = name] { EXPECT_EQ(Resource_GetData(name), nullptr); }),
                    ElementsAre("Unable to read data"));
    }
}

TEST(ResourceLocation, FoundBesideTheProgramHoweverItIsStarted)
{
    const ScratchFolder scratch;
    const std::string &elsewhere = scratch.Path();
    // The working directory has no archive, only a link to the program.
    ASSERT_EQ(symlink(RESOURCE_PROBE_PATH, scratch.File("probe-link").c_str()), 0);
    for (const std::string &command :
         {"cd " + elsewhere + " && " RESOURCE_PROBE_PATH, "cd " + elsewhere + " && ./probe-link",
          // argv[0] is then a bare name without any directory part.
          "cd / && PATH=" + elsewhere + ":/usr/bin:/bin probe-link"})
        EXPECT_EQ(system((command + " >/dev/null").c_str()), 0) << command;
}

std::vector<uint8_t> Tga(uint8_t type, uint16_t w, uint16_t h, uint8_t depth, uint8_t descriptor,
                         std::vector<uint8_t> body = {}, uint8_t idLength = 0, uint8_t colorMap = 0)
{
    body.insert(body.begin(), {idLength, colorMap, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(w),
                               uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), depth, descriptor});
    return body;
}

using TargaDecoder = ResourceTest;

TEST_F(TargaDecoder, RefusalsNameTheFirstCheckThatFails)
{
    const std::pair<std::vector<uint8_t>, const char *> cases[] = {
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
        {Tga(10, 4, 1, 24, 0, {0x82, 1, 2, 3}), "DataSize"},
        {Tga(10, 4, 1, 24, 0, {0x83, 1, 2}), "DataSize"},
        {Tga(10, 2, 1, 24, 0, {0x01, 1, 2, 3, 4, 5}), "DataSize"},
        {Tga(10, 1, 1, 24, 0), "DataSize"},
        {Tga(10, 65535, 65535, 32, 8, {0xFF, 1, 2, 3, 4}), "DataSize"}, // huge: refused unmade
        // Too short for a header (last, leaving it for the calls below): debugString untouched.
        {std::vector<uint8_t>(17), "earlier"},
    };
    for (const auto &[bytes, check] : cases)
    {
        debugString = "earlier";
        EXPECT_EQ(Decode(bytes), nullptr) << check;
        EXPECT_STREQ(debugString, check);
    }
    EXPECT_EQ(Targa_Create_FromMemory(nullptr, 100), nullptr);
    EXPECT_EQ(Targa_Create_FromMemory(Tga(2, 0, 0, 24, 0).data(), -5), nullptr);
    EXPECT_STREQ(debugString, "earlier");
}

TEST_F(TargaDecoder, PixelsComeOutInRgbOrderWithRowsInFileOrder)
{
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    // The two longest packets, 128 pixels each: a run, then a raw packet.
    std::vector<uint8_t> longest = {0xFF, 9, 8, 7, 0x7F}, longestPixels;
    for (uint8_t i = 0; i < 128; i++) // the run's pixels go ahead of the raw ones
        longest.insert(longest.end(), {i, 0, 0}),
            longestPixels.insert(longestPixels.begin(), {7, 8, 9}),
            longestPixels.insert(longestPixels.end(), {0, 0, i});
    const std::pair<std::vector<uint8_t>, std::vector<uint8_t>> cases[] = {
        // ID bytes skipped, rows of 9 bytes without padding, trailing bytes ignored.
        {Tga(2, 3, 2, 24, 0,
             {'i', 'd', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 99}, 2),
         {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
        // Descriptors up to 63 are accepted; file row 0 stays row 0 whatever the origin bits.
        {Tga(2, 1, 2, 32, 0x3F, {1, 2, 3, 4, 5, 6, 7, 8}), {3, 2, 1, 4, 7, 6, 5, 8}},
        {Tga(10, 5, 1, 32, 8, {0x83, 1, 2, 3, 4, 0x00, 5, 6, 7, 8}),
         {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 7, 6, 5, 8}},
        {Tga(10, 3, 2, 24, 0, {0x83, 1, 2, 3, 0x81, 4, 5, 6}),
         {3, 2, 1, 3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 6, 5, 4}},
        {Tga(10, 256, 1, 24, 0, longest), longestPixels},
        {Tga(10, 3, 1, 24, 0, {0xFF, 1, 2, 3}), {3, 2, 1, 3, 2, 1, 3, 2, 1}}, // stops at the end
        {Tga(10, 2, 1, 24, 0, {0x03, 1, 2, 3, 4, 5, 6}), {3, 2, 1, 6, 5, 4}},
        // 16 bits become 32; the top bit is alpha only when the descriptor has alpha bits.
        {Tga(2, 3, 1, 16, 1, {0xFF, 0xFF, 0x00, 0x7C, 0x1F, 0x80}),
         {255, 255, 255, 255, 255, 0, 0, 0, 0, 0, 255, 255}},
        {Tga(10, 3, 1, 16, 0, {0x82, 0, 0x7C}), {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255}},
        {Tga(2, 2, 1, 8, 0, {7, 9}), {7, 9}}, // other depths keep their bytes
        {Tga(10, 3, 1, 4, 0), {}},            // below 8 bits there are no pixels at all
        {Tga(10, 0, 0, 32, 8), {}},
        {Tga(2, 7, 0, 24, 0), {}},
    };
    for (const auto &[bytes, pixels] : cases)
    {
        SCOPED_TRACE(testing::PrintToString(bytes));
        Targa *targa = nullptr;
        EXPECT_THAT(CaptureMessages([&, &bytes = bytes] { targa = Decode(bytes); }), ElementsAre());
        ASSERT_NE(targa, nullptr);
        EXPECT_EQ(Targa_GetWidth(targa), uint32_t(bytes[12] | bytes[13] << 8));
        EXPECT_EQ(Targa_GetHeight(targa), uint32_t(bytes[14] | bytes[15] << 8));
        EXPECT_EQ(Targa_GetBitsPerPixel(targa), bytes[16] == 16 ? 32 : bytes[16]);
        const uint8_t *data = Targa_GetData(targa);
        EXPECT_EQ(data ? std::vector<uint8_t>(data, data + pixels.size()) : pixels, pixels);
        EXPECT_EQ(data == nullptr, pixels.empty());
        Targa_Destroy(targa);
    }
}

Texture *(*const textures[7])(Asset *) = {Asset_GetBackgroundTexture, Asset_GetMiscellaneousTexture,
                                          Asset_GetProjectileTexture, Asset_GetShipsTexture,
                                          Asset_GetFontUppercase,     Asset_GetFontLowercase,
                                          Asset_GetBrindleLogo};
const int sizes[7][2] = {{128, 256}, {104, 56},  {48, 40},    {80, 80},
                         {128, 128}, {128, 128}, {1024, 1024}};

std::vector<uint8_t> ReadBack(Texture *texture, GLenum format = GL_RGBA, int channels = 4)
{
    std::vector<uint8_t> pixels(size_t{4} * Texture_GetWidth(texture) * Texture_GetHeight(texture));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, Texture_GetTextureNumber(texture));
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data()); // left bound
    pixels.resize(pixels.size() / 4 * channels);
    return pixels;
}

bool IsPlaceholder(Texture *texture)
{
    const std::vector<uint8_t> pixels = ReadBack(texture);
    return std::all_of(pixels.begin(), pixels.end(),
                       [&](const uint8_t &v)
                       { return v == ((&v - pixels.data()) % 4 == 1 ? 0 : 255); });
}

// Returns cell, so that one made for the check can be destroyed in the same line.
SubTexture *ExpectCell(SubTexture *cell, Texture *texture, SheetRect r)
{
    EXPECT_EQ(SubTexture_GetTexture(cell), texture);
    const float w = float(Texture_GetWidth(texture)), h = float(Texture_GetHeight(texture));
    const Vector2 a = SubTexture_GetUpperLeftCoordinate(cell);
    const Vector2 b = SubTexture_GetLowerRightCoordinate(cell), s = SubTexture_GetSize(cell);
    EXPECT_THAT((std::vector<float>{a.x * w, a.y * h, b.x * w, b.y * h, s.x * w, s.y * h}),
                Pointwise(FloatNear(1e-4f),
                          {r.x0, r.y0, r.x1, r.y1, std::abs(r.x1 - r.x0), std::abs(r.y1 - r.y0)}));
    return cell;
}

struct AssetTest : ResourceTest
{
    void SetUp() override { ASSERT_TRUE(MakeGlContextCurrent(64)); }
    Asset *Build(const std::string &path, Asset *asset = nullptr)
    {
        messages = CaptureMessages([&] { Resource_Load(path.c_str()), asset = Asset_Create(); });
        return asset;
    }
    std::vector<std::string> messages;
};

TEST_F(AssetTest, LoadingHelpersMakeSharpRepeatingTexturesWithClearOwnersOrNone)
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
    std::vector<GLint> parameters;
    for (GLenum parameter :
         {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER})
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &parameters.emplace_back());
    EXPECT_THAT(parameters, ElementsAre(GL_REPEAT, GL_REPEAT, GL_NEAREST, GL_NEAREST));
    SubTexture_Destroy(ExpectCell(Asset_GetSubTexture(texture), texture, {0, 0, 37, 23}));
    Texture_Destroy(texture);
    EXPECT_EQ(glIsTexture(name), GL_FALSE);
    Targa_Destroy(targa);

    CaptureMessages([] { EXPECT_EQ(Asset_GetTarga("nothing.tga"), nullptr); });
    EXPECT_EQ(Asset_GetTexture(nullptr), nullptr);
    EXPECT_EQ(Asset_GetSubTexture(nullptr), nullptr);
    // An image OpenGL would over-read is not made into a texture.
    Targa *eightBit = Decode(Tga(2, 1, 1, 8, 0, {7}));
    ASSERT_NE(eightBit, nullptr);
    CaptureMessages([eightBit] { EXPECT_EQ(Asset_GetTexture(eightBit), nullptr); });
    Targa_Destroy(eightBit);
    // Nor is one OpenGL refuses, which is reported once.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    EXPECT_EQ(Texture_GetLargestSize(), std::min(largest, 4096));
    const std::vector<uint8_t> row(4 * (static_cast<size_t>(largest) + 1));
    EXPECT_THAT(
        CaptureMessages([&] { EXPECT_EQ(Texture_Create(row.data(), 4, largest + 1, 1), nullptr); }),
        ElementsAre(testing::StartsWith("Unable to upload a " + std::to_string(largest + 1) +
                                        " x 1 texture")));
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
        EXPECT_EQ(memcmp(Texture_GetPixelData(texture), pixels.data(), pixels.size()), 0);
    }
    // A second catalogue keeps its pictures when the first goes with all its texture objects.
    Asset *second = Asset_Create();
    Asset_Destroy(asset);
    for (GLuint name : names)
        EXPECT_EQ(glIsTexture(name), GL_FALSE) << name;
    EXPECT_EQ(ReadBack(Asset_GetShipsTexture(second))[4 * 81 + 1], 1);
    Asset_Destroy(second);
    Resource_Unload();
    EXPECT_EQ(Allocator_GetAllocatedObjects() - Allocator_GetDeallocatedObjects(), liveBefore);
}

TEST_F(AssetTest, CellsAreCutWhereTheTableSaysAndIndicesWrap)
{
    Asset *asset = Build(FixturePath("sheets.dat"));
    Texture *ships = Asset_GetShipsTexture(asset), *bullets = Asset_GetProjectileTexture(asset);
    using Family = SubTexture *(*)(Asset *, int32_t);
    const std::tuple<Family, SheetRect (*)(int32_t), int32_t, Texture *> families[] = {
        {Asset_GetPlayerSubTexture, SheetLayout_Player, LAYOUT_PLAYER_COUNT, ships},
        {Asset_GetPlayerGoingLeftSubTexture, SheetLayout_PlayerLeft, LAYOUT_PLAYER_COUNT, ships},
        {Asset_GetPlayerGoingRightSubTexture, SheetLayout_PlayerRight, LAYOUT_PLAYER_COUNT, ships},
        {Asset_GetSpaceShipSubTexture, SheetLayout_Enemy, LAYOUT_ENEMY_COUNT, ships},
        {Asset_GetBossSpaceShipSubTexture, SheetLayout_Boss, LAYOUT_BOSS_COUNT, ships},
        {Asset_GetPlayerBulletSubTexture, SheetLayout_Bullet, LAYOUT_BULLET_COUNT, bullets}};
    for (const auto &[family, layout, count, texture] : families)
        for (int32_t i = 0; i < count; i++)
            ExpectCell(family(asset, i), texture, layout(i));
    // The enemies' bullets are the player's cells upside down.
    for (int32_t i = 0; i < LAYOUT_BULLET_COUNT; i++)
    {
        const SheetRect r = SheetLayout_Bullet(i);
        ExpectCell(Asset_GetSpaceShipBulletSubTexture(asset, i), bullets, {r.x0, r.y1, r.x1, r.y0});
    }
    const std::pair<SubTexture *(*)(Asset *), SheetRect> singles[] = {
        {Asset_GetSpaceShipExplosionBigSubTexture, LAYOUT_ENEMY_EXPLOSION[0]},
        {Asset_GetSpaceShipExplosionMediumSubTexture, LAYOUT_ENEMY_EXPLOSION[1]},
        {Asset_GetSpaceShipExplosionSmallSubTexture, LAYOUT_ENEMY_EXPLOSION[2]},
        {Asset_GetPlayerExplosionBigSubTexture, LAYOUT_PLAYER_EXPLOSION[0]},
        {Asset_GetPlayerExplosionMediumSubTexture, LAYOUT_PLAYER_EXPLOSION[1]},
        {Asset_GetPlayerExplosionSmallSubTexture, LAYOUT_PLAYER_EXPLOSION[2]},
        {Asset_GetPlayerShieldSubTexture, LAYOUT_SHIELD}};
    for (const auto &[cell, rect] : singles)
        ExpectCell(cell(asset), Asset_GetMiscellaneousTexture(asset), rect);
    ExpectCell(Asset_GetBackgroundSubTexture(asset), textures[0](asset), LAYOUT_BACKGROUND);
    // Upside-down corners stay as given; positions are not clamped.
    SubTexture *cell = SubTexture_Create(ships, Texture_CalculatePixelPosition(ships, -8, 160),
                                         Texture_CalculatePixelPosition(ships, 8, 80));
    ExpectCell(cell, ships, {-8, 160, 8, 80});
    SubTexture_Destroy(cell);

    EXPECT_EQ(Asset_GetNumberOfPlayerSubTextures(asset), LAYOUT_PLAYER_COUNT);
    EXPECT_EQ(Asset_GetNumberOfPlayerBulletSubTextures(asset), LAYOUT_BULLET_COUNT);
    EXPECT_EQ(Asset_GetNumberOfSpaceShipBulletSubTextures(asset), LAYOUT_BULLET_COUNT);
    EXPECT_EQ(Asset_GetNumberOfSpaceShipSubTextures(asset), LAYOUT_ENEMY_COUNT);
    // Indices wrap with their family; negative remainders count from the front.
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
        EXPECT_EQ(Texture_GetWidth(texture), sizes[sheet][0]);
        EXPECT_EQ(Texture_GetHeight(texture), sizes[sheet][1]);
    }
    ExpectCell(Asset_GetSpaceShipSubTexture(asset, 13), textures[3](asset), SheetLayout_Enemy(13));
    Asset_Destroy(asset);

    // No archive: the open failure (two lines), each sheet named twice, all placeholders.
    asset = Build("no-such-resources.dat");
    EXPECT_EQ(messages.size(), 2u + 4 * 2);
    for (int sheet = 0; sheet < 5; sheet++) // the fonts are made, not loaded
        EXPECT_EQ(IsPlaceholder(textures[sheet](asset)), sheet < 4) << sheet;
    Asset_Destroy(asset);
}

TEST_F(ResourceTest, PictureLargerThanATextureIsRefusedBeforeItsPixelsAreMade)
{
    EXPECT_EXIT( // in a child process, so that the memory peak is this load's alone
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Resource_Load(FixturePath("bomb.dat").c_str());
            rusage usage[2] = {};
            getrusage(RUSAGE_SELF, &usage[0]);
            Targa *targa = Asset_GetTarga("SpaceShooterAssetPack_Ships.tga");
            getrusage(RUSAGE_SELF, &usage[1]);
            fflush(stdout);
            _exit(targa == nullptr && usage[1].ru_maxrss - usage[0].ru_maxrss < 32 * 1024 ? 0 : 1);
        },
        testing::ExitedWithCode(0),
        "Unable to use resource SpaceShooterAssetPack_Ships.tga \\(8192 x 8192 is larger than "
        "4096 x 4096\\)");
}

} // namespace
