// Damaged and hostile data: a picture whose header promises far more pixels than anything the
// game could use, an upload OpenGL refuses, and archive bytes altered after zipping. Each must
// end in one log line and a refusal, never in gigabytes of memory or garbled pictures.
#include "foundation/logging.h"
#include "resources/asset.h"
#include "resources/resource_win.h"
#include "resources/targa.h"
#include "resources/texture_win.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>
#include <zip.h>

namespace
{
const std::string archive = testing::TempDir() + "hostile_" + std::to_string(getpid()) + ".dat";
const char *const ships = "SpaceShooterAssetPack_Ships.tga";

// An archive of one entry; stored rather than deflated when store is set.
void WriteArchive(const char *name, const std::vector<uint8_t> &bytes, bool store)
{
    zip_t *zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_NE(zip, nullptr);
    zip_source_t *source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    const zip_int64_t index = zip_file_add(zip, name, source, ZIP_FL_OVERWRITE);
    ASSERT_GE(index, 0);
    if (store)
    {
        zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

// A 32-bit run-length encoded picture of side x side pixels, all of one colour: runs of 128.
std::vector<uint8_t> Bomb(uint32_t side)
{
    std::vector<uint8_t> tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (uint32_t value : {side, side})
    {
        tga.push_back(static_cast<uint8_t>(value));
        tga.push_back(static_cast<uint8_t>(value >> 8));
    }
    tga.insert(tga.end(), {32, 8});
    for (uint64_t pixels = uint64_t{side} * side; pixels > 0; pixels -= 128)
    {
        tga.insert(tga.end(), {0xFF, 0x20, 0x40, 0x60, 0xFF});
    }
    return tga;
}

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// 8192 x 8192 would be 256 MB of pixels from a 2.6 MB entry that zips to a few kilobytes.
// Refused from its header: in a child process, so the peak is this load's alone, the
// catalogue's load grows the peak by little more than the entry and names the reason.
TEST(Hostile, PictureLargerThanATextureIsRefusedBeforeItsPixelsAreMade)
{
    WriteArchive(ships, Bomb(8192), false);
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Logging_SetLevel(LOGGING_LEVEL_ERROR);
            Resource_Load(archive.c_str());
            const long before = PeakKilobytes();
            Targa *targa = Asset_GetTarga(ships);
            const long grown = PeakKilobytes() - before;
            fflush(stdout);
            fprintf(stderr, "grown %ld kB\n", grown);
            _exit(targa == nullptr && grown < 32 * 1024 ? 0 : 1);
        },
        testing::ExitedWithCode(0),
        "Unable to use resource SpaceShooterAssetPack_Ships.tga \\(8192 x 8192 is larger than "
        "4096 x 4096\\)");
}

// A texture wider than OpenGL takes is reported once and not handed out as a black square.
TEST(Hostile, RefusedUploadIsReportedOnceAndGivesNoTexture)
{
    ASSERT_TRUE(glfwInit());
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow *window = glfwCreateWindow(64, 64, "hostile test", nullptr, nullptr);
    ASSERT_NE(window, nullptr) << "no OpenGL window (no display?)";
    glfwMakeContextCurrent(window);
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    EXPECT_EQ(Texture_GetLargestSize(), std::min(largest, 4096));
    const std::vector<uint8_t> row(4 * (static_cast<size_t>(largest) + 1));

    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    testing::internal::CaptureStdout();
    Texture *texture = Texture_Create(row.data(), 4, largest + 1, 1);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(texture, nullptr);
    EXPECT_NE(printed.find("Unable to upload a " + std::to_string(largest + 1) + " x 1 texture"),
              std::string::npos)
        << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    glfwDestroyWindow(window);
    glfwTerminate();
}

// One byte of a stored entry flipped in the archive file: the entry's CRC no longer matches.
TEST(Hostile, EntryAlteredAfterZippingIsUnreadable)
{
    const std::vector<uint8_t> bytes(1000, 'z');
    for (bool alter : {false, true})
    {
        WriteArchive("entry.bin", bytes, true);
        if (alter)
        {
            std::fstream file(archive, std::ios::in | std::ios::out | std::ios::binary);
            const std::string text{std::istreambuf_iterator<char>(file), {}};
            file.seekp(static_cast<std::streamoff>(text.find(std::string(1000, 'z')) + 500));
            file.put('y');
        }
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
        testing::internal::CaptureStdout();
        Resource_Load(archive.c_str());
        const uint8_t *data = Resource_GetData("entry.bin");
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(data == nullptr, alter);
        EXPECT_EQ(printed.find("Unable to read data") != std::string::npos, alter) << printed;
        Resource_Unload();
    }
}
} // namespace
