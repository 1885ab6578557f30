// The asset builder, checked through what it writes, with readers that share no code with it:
// the archive with Info-ZIP and the game's reader, the sheets with ImageMagick, the sounds with
// SoX and ALUT (the game's decoder), the compiled-in pictures as linked.
#include "game/world.h"
#include "resources/resource_win.h"
#include "resources/sheet_layout.h"
#include "tests/support/support.h"
#include "tools/art.h"
#include "tools/png_writer.h"
#include "tools/tga_writer.h"

#include <AL/alut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace
{

// Runs a shell command; the exit status and what it printed on standard output.
std::pair<int, std::string> RunCommand(const std::string &command)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, output};
    char buffer[4096];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, count);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

// The path of the entry of the build's resource archive once Info-ZIP has unpacked it, once
// per process, into a scratch folder.
std::string UnpackedEntry(const std::string &name)
{
    static const ScratchFolder folder;
    static const int status =
        RunCommand("unzip -q '" ZINDREL_RESOURCES_DAT "' -d '" + folder.Path() + "'").first;
    EXPECT_EQ(status, 0) << "the archive did not unpack";
    return folder.File(name);
}

// A picture decoded by ImageMagick: rows from the top, red, green, blue, alpha; width 0 when
// it cannot decode it.
struct DecodedImage
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t *At(int32_t x, int32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

DecodedImage DecodeImage(const std::string &path)
{
    DecodedImage image;
    std::istringstream size(RunCommand("identify -format '%w %h' '" + path + "'").second);
    int32_t width = 0, height = 0;
    auto [status, pixels] = RunCommand("stream -map rgba -storage-type char '" + path + "' -");
    if (!(size >> width >> height) || status != 0 || pixels.size() != size_t(width) * height * 4)
        return image;
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels.begin(), pixels.end());
    return image;
}

TEST(AssetArchive, HoldsTheEightEntriesInOrderAndBothReadersAgreeOnThem)
{
    const char *const names[] = {
        "SpaceShooterAssetPack_BackGrounds.tga", "SpaceShooterAssetPack_Miscellaneous.tga",
        "SpaceShooterAssetPack_Projectiles.tga", "SpaceShooterAssetPack_Ships.tga",
        "mixkit-game-whip-shot-1512.wav",        "mixkit-short-laser-gun-shot-1670.wav",
        "mixkit-arcade-fast-game-over-233.wav",  "mixkit-falling-hit-757.wav"};
    std::string expected;
    for (const char *name : names)
        expected += std::string(name) + "\n";
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
        WriteFileBytes(scratch.File(name), bytes);
        const DecodedImage decoded = DecodeImage(scratch.File(name));
        EXPECT_EQ(decoded.width, picture.width) << name;
        EXPECT_TRUE(decoded.rgba == picture.pixels) << name;
    }
}

// The sheet as ImageMagick decodes it, once per process.
const DecodedImage &Sheet(const std::string &name)
{
    static std::map<std::string, DecodedImage> images;
    auto [image, added] = images.try_emplace(name);
    if (added)
        image->second = DecodeImage(UnpackedEntry("SpaceShooterAssetPack_" + name + ".tga"));
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

TEST(AssetSounds, SixteenBitPcmOfTheStatedLayoutsShortLoudEnoughAndNeverClipped)
{
    struct Sound
    {
        const char *name;
        int32_t rate, channels;
        double minPeak, maxPeak, volume; // peaks of full scale, the volume the game plays at
    };
    // The jingle is played at a fraction of its volume, so it is made as loud as 16 bits go.
    const Sound sounds[] = {
        {"mixkit-short-laser-gun-shot-1670.wav", 22050, 1, 0.3, 0.99, 1.0},
        {"mixkit-game-whip-shot-1512.wav", 22050, 1, 0.3, 0.99, 1.0},
        {"mixkit-falling-hit-757.wav", 22050, 2, 0.3, 0.99, 1.0},
        {"mixkit-arcade-fast-game-over-233.wav", 44100, 2, 0.98, 1.0, WORLD_ENEMY_KILLED_VOLUME}};
    double rms[4] = {}; // dB of full scale as played, all channels together
    // ALUT decodes only with a current context; tests run with OpenAL's null device.
    ASSERT_EQ(alutInit(nullptr, nullptr), AL_TRUE) << alutGetErrorString(alutGetError());
    for (size_t i = 0; i < 4; i++)
    {
        const Sound &sound = sounds[i];
        SCOPED_TRACE(sound.name);
        const std::vector<uint8_t> bytes = ReadFileBytes(UnpackedEntry(sound.name));
        ALenum format = 0;
        ALsizei size = 0;
        ALfloat frequency = 0;
        void *pcm = alutLoadMemoryFromFileImage(bytes.data(), static_cast<ALsizei>(bytes.size()),
                                                &format, &size, &frequency);
        ASSERT_NE(pcm, nullptr) << alutGetErrorString(alutGetError());
        std::free(pcm);
        EXPECT_EQ(format, sound.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16);
        EXPECT_EQ(frequency, static_cast<ALfloat>(sound.rate));
        EXPECT_EQ(static_cast<size_t>(size), bytes.size() - 44);
        const double seconds = size / (2.0 * sound.channels * sound.rate);
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 1.5) << "effects are short";
        // The flat factor is above 0 when runs of samples sit at the peak, as clipping leaves.
        std::istringstream stats(RunCommand("sox '" + UnpackedEntry(sound.name) +
                                            "' -n stats 2>&1 | awk '/^Pk lev dB/ {print $4} "
                                            "/^RMS lev dB/ {print $4} /^Flat factor/ {print $3}'")
                                     .second);
        double peak = 0, flatFactor = -1;
        ASSERT_TRUE(stats >> peak >> rms[i] >> flatFactor);
        EXPECT_GE(std::pow(10.0, peak / 20.0), sound.minPeak);
        EXPECT_LE(std::pow(10.0, peak / 20.0), sound.maxPeak + 1e-6);
        EXPECT_EQ(flatFactor, 0.0);
        rms[i] += 20.0 * std::log10(sound.volume);
    }
    alutExit();
    EXPECT_NEAR(rms[3], rms[0], 3.0);
    EXPECT_LT(rms[1], rms[3]) << "the enemies' fire drowns the kill";
}

// Cell (column, row) of a glyph sheet as 64 booleans, true where the glyph is drawn.
std::vector<bool> Cell(const uint8_t *sheet, int32_t column, int32_t row)
{
    std::vector<bool> cell(64);
    for (int32_t i = 0; i < 64; i++)
        cell[i] = sheet[12 + ((row * 8 + i / 8) * 128 + column * 8 + i % 8) * 3] != 0;
    return cell;
}

TEST(AssetCompiledArt, GlyphSheetsArePureBlackAndWhiteAndTheTopHalfIsTheInverseOfTheBottom)
{
    for (const uint8_t *sheet : {FontC64Uppercase, FontC64Lowercase})
        for (size_t i = 0; i < 128 * 128; i++)
        {
            const uint8_t *p = sheet + 12 + i * 3;
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2] && (p[0] == 0 || p[0] == 255)) << i;
            ASSERT_TRUE(i >= 64 * 128 || p[0] != p[64 * 128 * 3]) << "pixel " << i;
        }
}

// The 92 cells the font cuts: rows 8 and 9 of the lower-case sheet (16 and 14 cells), rows 8 to
// 11 of the upper-case sheet (16, 14, 16, 16). All but the blank hold distinct glyphs.
TEST(AssetCompiledArt, EveryCellTheFontUsesHoldsItsOwnGlyph)
{
    struct Range
    {
        const uint8_t *sheet;
        int32_t row, cells;
    };
    const Range ranges[] = {{FontC64Lowercase, 8, 16},  {FontC64Lowercase, 9, 14},
                            {FontC64Uppercase, 8, 16},  {FontC64Uppercase, 9, 14},
                            {FontC64Uppercase, 10, 16}, {FontC64Uppercase, 11, 16}};
    std::set<std::vector<bool>> seen;
    int32_t used = 0;
    for (const Range &range : ranges)
        for (int32_t column = 0; column < range.cells; column++, used++)
        {
            const std::vector<bool> cell = Cell(range.sheet, column, range.row);
            const int64_t ink = std::count(cell.begin(), cell.end(), true);
            if (range.sheet == FontC64Uppercase && range.row == 10 && column == 0)
            {
                EXPECT_EQ(ink, 0) << "the space";
                continue;
            }
            EXPECT_GE(ink, 2) << "row " << range.row << " column " << column;
            // The at sign and the brackets are shared by both sheets; everything else differs.
            const bool shared =
                range.sheet == FontC64Uppercase &&
                ((range.row == 8 && column == 0) || (range.row == 9 && column >= 11));
            EXPECT_TRUE(seen.insert(cell).second || shared)
                << "row " << range.row << " column " << column << " repeats a glyph";
        }
    EXPECT_EQ(used, 92);
}

// The splash screen shows rows 140 to 908 of the logo and draws it without blending.
TEST(AssetCompiledArt, LogoSitsInsideTheVisibleRowsOnBlack)
{
    int32_t top = 1024, bottom = -1, opaque = 0;
    for (int32_t y = 0; y < 1024; y++)
        for (int32_t x = 0; x < 1024; x++)
        {
            const uint8_t *p = BrindleLogo + 12 + (size_t(y) * 1024 + x) * 4;
            if (p[3] == 0)
            {
                ASSERT_EQ(p[0] | p[1] | p[2], 0) << "(" << x << ", " << y << ")";
                continue;
            }
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            opaque++;
        }
    EXPECT_GE(top, 140);
    EXPECT_LE(bottom, 908);
    EXPECT_GE(opaque, 1024 * 768 / 10) << "a mark, not a speck";
}

} // namespace
