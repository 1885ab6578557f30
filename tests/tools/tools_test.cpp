// The asset builder, checked through what it writes with readers that share no code with it:
// Info-ZIP, ImageMagick, ALUT and the game's own archive reader.
#include "resources/resource_win.h"
#include "resources/sheet_layout.h"
#include "tests/support/support.h"
#include "tools/art.h"
#include "tools/png_writer.h"
#include "tools/tga_writer.h"

#include <AL/alut.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace
{

// A shell command's exit status (-1 when it did not exit) and standard output.
std::pair<int, std::string> RunCommand(const std::string &command)
{
    static const ScratchFolder scratch;
    const std::string output = scratch.File("output");
    const int status = std::system(("(" + command + ") >'" + output + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileContents(output)};
}

std::string UnpackedEntry(const std::string &name)
{
    static const ScratchFolder folder;
    static const int status =
        RunCommand("unzip -q '" ZINDREL_RESOURCES_DAT "' -d '" + folder.Path() + "'").first;
    EXPECT_EQ(status, 0) << "the archive did not unpack";
    return folder.File(name);
}

// A picture as ImageMagick decodes it: rows from the top, RGBA; width 0 when it cannot.
struct DecodedImage
{
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rgba;
    const uint8_t *At(int32_t x, int32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

DecodedImage DecodeImage(const std::string &path)
{
    std::istringstream size(RunCommand("identify -format '%w %h' '" + path + "'").second);
    int32_t width = 0, height = 0;
    size >> width >> height;
    auto [status, pixels] = RunCommand("stream -map rgba -storage-type char '" + path + "' -");
    if (status != 0 || pixels.size() != size_t(width) * height * 4)
        return {};
    return {width, height, {pixels.begin(), pixels.end()}};
}

TEST(AssetArchive, HoldsTheEightEntriesInOrderAndBothReadersAgreeOnThem)
{
    const char *const names[] = {
        "SpaceShooterAssetPack_BackGrounds.tga", "SpaceShooterAssetPack_Miscellaneous.tga",
        "SpaceShooterAssetPack_Projectiles.tga", "SpaceShooterAssetPack_Ships.tga",
        "mixkit-game-whip-shot-1512.wav",        "mixkit-short-laser-gun-shot-1670.wav",
        "mixkit-arcade-fast-game-over-233.wav",  "mixkit-falling-hit-757.wav"};
    std::string expected;
    Resource_Load(ZINDREL_RESOURCES_DAT);
    for (const char *name : names)
    {
        expected += std::string(name) + "\n";
        const std::string unpacked = FileContents(UnpackedEntry(name));
        EXPECT_FALSE(unpacked.empty()) << name;
        const uint8_t *data = Resource_GetData(name);
        ASSERT_NE(data, nullptr) << name;
        EXPECT_TRUE(std::string(data, data + Resource_GetSize(name)) == unpacked) << name;
    }
    Resource_Unload();
    EXPECT_EQ(RunCommand("unzip -Z1 '" ZINDREL_RESOURCES_DAT "'").second, expected);
    EXPECT_EQ(RunCommand("unzip -tq '" ZINDREL_RESOURCES_DAT "' >/dev/null").first, 0);
}

// A run in another time zone and working directory writes the archive the build made.
TEST(AssetArchive, EveryRunWritesIdenticalBytesAndFailuresEndInAnErrorStatus)
{
    const ScratchFolder scratch;
    const std::string builder =
        std::string("cd / && TZ=Pacific/Kiritimati '") + ZINDREL_ASSETGEN + "' ";
    ASSERT_EQ(RunCommand(builder + "archive '" + scratch.File("resources.dat") + "'").first, 0);
    EXPECT_TRUE(FileContents(scratch.File("resources.dat")) == FileContents(ZINDREL_RESOURCES_DAT));
    for (const char *arguments : {"archive /nonexistent-directory/resources.dat",
                                  "blobs /nonexistent-directory", "unknown x"})
        EXPECT_NE(RunCommand(builder + arguments + " 2>/dev/null").first, 0) << arguments;
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
        std::ofstream(scratch.File(name), std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        const DecodedImage decoded = DecodeImage(scratch.File(name));
        EXPECT_EQ(decoded.width, picture.width) << name;
        EXPECT_TRUE(decoded.rgba == picture.pixels) << name;
    }
}

const DecodedImage &Sheet(const std::string &name)
{
    static std::map<std::string, DecodedImage> images;
    auto [image, added] = images.try_emplace(name);
    if (added)
        image->second = DecodeImage(UnpackedEntry("SpaceShooterAssetPack_" + name + ".tga"));
    return image->second;
}

// Sprites are drawn with source one, destination one minus source alpha, so their colours
// must be premultiplied; ships have hard edges. The game shows the first row at the top and
// rejects interleaved images; both of its decoder paths must be used.
TEST(AssetSheets, DecodeAtTheirSizesTopRowFirstWithBlackTransparencyAndPremultipliedSprites)
{
    const SheetRect whole = {0, 0, 1 << 16, 1 << 16}, none = {};
    std::set<int> imageTypes;
    for (const auto &[name, width, height, premultiplied] :
         {std::tuple{"BackGrounds", 128, 256, none},
          {"Miscellaneous", 104, 56, LAYOUT_LIFE_ICON},
          {"Miscellaneous", 104, 56, LAYOUT_SHIELD_ICON},
          {"Projectiles", 48, 40, whole},
          {"Ships", 80, 80, whole}})
    {
        SCOPED_TRACE(name);
        const std::string bytes =
            FileContents(UnpackedEntry(std::string("SpaceShooterAssetPack_") + name + ".tga"));
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_EQ(bytes[16], 32) << "bits per pixel";
        EXPECT_EQ(bytes[17], 0x28) << "eight alpha bits, top row first";
        imageTypes.insert(bytes[2]);
        const DecodedImage &image = Sheet(name);
        EXPECT_EQ(std::pair(image.width, image.height), std::pair(width, height));
        for (int32_t y = 0; y < image.height; y++)
            for (int32_t x = 0; x < image.width; x++)
            {
                const uint8_t *p = image.At(x, y);
                const bool inside = x >= premultiplied.x0 && x < premultiplied.x1 &&
                                    y >= premultiplied.y0 && y < premultiplied.y1;
                ASSERT_TRUE(p[3] != 0 || (p[0] | p[1] | p[2]) == 0) << x << "," << y;
                ASSERT_TRUE(!inside || std::max({p[0], p[1], p[2]}) <= p[3]) << x << "," << y;
                ASSERT_TRUE(name != std::string("Ships") || p[3] == 0 || p[3] == 255);
            }
    }
    EXPECT_EQ(imageTypes, (std::set<int>{2, 10}));
}

TEST(AssetSheets, EveryRectangleTheGameCutsHoldsAPicture)
{
    // Rectangles in each family, and pixels in each both opaque in part and not black.
    const std::tuple<const char *, SheetRect (*)(int32_t), int32_t, int32_t> families[] = {
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
    for (const auto &[sheet, rect, count, least] : families)
        for (int32_t i = 0; i < count; i++)
        {
            const SheetRect r = rect(i);
            int32_t visible = 0;
            for (int32_t y = r.y0; y < r.y1; y++)
                for (int32_t x = r.x0; x < r.x1; x++)
                {
                    const uint8_t *p = Sheet(sheet).At(x, y);
                    visible += p[3] > 0 && (p[0] | p[1] | p[2]) != 0;
                }
            EXPECT_GE(visible, least) << sheet << " at " << r.x0 << "," << r.y0;
        }
}

// Where the two copies meet, the last row runs into the first like any two neighbours.
TEST(AssetSheets, BackgroundIsVerticallySeamless)
{
    const DecodedImage &image = Sheet("BackGrounds");
    double adjacent = 0, seam = 0; // each row against the next; the last against the first
    for (int32_t y = 0; y < image.height; y++)
        for (int32_t x = 0; x < image.width; x++)
            for (int32_t c = 0; c < 3; c++)
                (y + 1 < image.height ? adjacent : seam) +=
                    std::abs(image.At(x, y)[c] - image.At(x, (y + 1) % image.height)[c]);
    EXPECT_LE(seam, 2.0 * adjacent / (image.height - 1));
}

TEST(AssetSounds, SixteenBitPcmOfTheStatedLayoutsShortAndLoudEnough)
{
    // Peaks as fractions of full scale; the jingle is played at a fraction of its volume, so it
    // is made as loud as 16 bits go.
    const std::tuple<const char *, ALfloat, int32_t, double, double> sounds[] = {
        {"mixkit-short-laser-gun-shot-1670.wav", 22050, 1, 0.3, 0.99},
        {"mixkit-game-whip-shot-1512.wav", 22050, 1, 0.3, 0.99},
        {"mixkit-falling-hit-757.wav", 22050, 2, 0.3, 0.99},
        {"mixkit-arcade-fast-game-over-233.wav", 44100, 2, 0.98, 1.0}};
    // ALUT decodes only with a current context; tests run with OpenAL's null device.
    ASSERT_EQ(alutInit(nullptr, nullptr), AL_TRUE) << alutGetErrorString(alutGetError());
    for (const auto &[name, rate, channels, minPeak, maxPeak] : sounds)
    {
        SCOPED_TRACE(name);
        const std::string bytes = FileContents(UnpackedEntry(name));
        ALenum format = 0;
        ALsizei size = 0;
        ALfloat frequency = 0;
        std::free(alutLoadMemoryFromFileImage(bytes.data(), static_cast<ALsizei>(bytes.size()),
                                              &format, &size, &frequency));
        EXPECT_EQ(format, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16);
        EXPECT_EQ(frequency, rate);
        EXPECT_EQ(static_cast<size_t>(size), bytes.size() - 44);
        EXPECT_GT(size / (2.0 * channels * rate), 0.05);
        EXPECT_LT(size / (2.0 * channels * rate), 1.5) << "effects are short";
        int32_t peak = 0;
        for (size_t i = 44; i + 1 < bytes.size(); i += 2)
            peak = std::max(peak, std::abs(int16_t(uint8_t(bytes[i]) | bytes[i + 1] << 8)));
        EXPECT_GE(peak / 32768.0, minPeak);
        EXPECT_LE(peak / 32768.0, maxPeak);
    }
    alutExit();
}

// The 92 cells the font cuts hold distinct glyphs in pure white on pure black, but for the at
// sign and brackets that both sheets share.
TEST(AssetCompiledArt, EveryCellTheFontUsesHoldsItsOwnBlackAndWhiteGlyph)
{
    const std::tuple<const uint8_t *, int32_t, int32_t> ranges[] = {
        {FontC64Lowercase, 8, 16}, {FontC64Lowercase, 9, 14},  {FontC64Uppercase, 8, 16},
        {FontC64Uppercase, 9, 14}, {FontC64Uppercase, 10, 16}, {FontC64Uppercase, 11, 16}};
    std::set<std::vector<bool>> seen;
    for (const auto &[sheet, row, cells] : ranges)
        for (int32_t column = 0; column < cells; column++)
        {
            std::vector<bool> cell(64);
            for (int32_t i = 0; i < 64; i++)
            {
                const uint8_t *p = sheet + 12 + ((row * 8 + i / 8) * 128 + column * 8 + i % 8) * 3;
                ASSERT_TRUE(p[0] == p[1] && p[1] == p[2] && (p[0] == 0 || p[0] == 255));
                cell[i] = p[0] != 0;
            }
            const bool shared = sheet == FontC64Uppercase &&
                                ((row == 8 && column == 0) || (row == 9 && column >= 11));
            EXPECT_TRUE(seen.insert(cell).second || shared)
                << "row " << row << " column " << column;
        }
}

} // namespace
