// The archive against zip files written by Info-ZIP and against broken archives.
#include "resources/resource_win.h"

#include "foundation/checksum.h"
#include "foundation/logging.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace
{

class ResourceArchive : public testing::Test
{
  protected:
    void SetUp() override { Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    void TearDown() override
    {
        Resource_Unload();
        Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    }

    // The entry's bytes as handed out, checked against its size.
    static std::vector<uint8_t> Entry(const char *name)
    {
        const int32_t size = Resource_GetSize(name);
        const uint8_t *data = Resource_GetData(name);
        EXPECT_NE(data, nullptr) << name;
        if (data == nullptr)
        {
            return {};
        }
        return {data, data + size};
    }

    static std::vector<std::string> Messages(const std::function<void()> &action)
    {
        std::vector<std::string> messages;
        for (const std::string &line : CaptureLines(action))
        {
            messages.push_back(LogMessage(line));
        }
        return messages;
    }
};

TEST_F(ResourceArchive, InfoZipEntriesReadBackExactly)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    CaptureLines(
        []
        {
            EXPECT_EQ(Entry("stored.bin"), ReadFile(FixturePath("stored.bin")));
            EXPECT_EQ(Entry("deflated.txt"), ReadFile(FixturePath("deflated.txt")));
            EXPECT_EQ(Entry("folder/inner.txt"), ReadFile(FixturePath("inner.txt")));
        });
}

TEST_F(ResourceArchive, EmptyEntriesGiveRealBuffers)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    CaptureLines(
        []
        {
            EXPECT_EQ(Resource_GetSize("empty.txt"), 0);
            EXPECT_NE(Resource_GetData("empty.txt"), nullptr);
            EXPECT_EQ(Resource_GetSize("folder/"), 0);
            EXPECT_NE(Resource_GetData("folder/"), nullptr);
        });
}

TEST_F(ResourceArchive, NamesMatchWholeAndExactly)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    for (const char *name : {"inner.txt", "folder", "STORED.BIN", "stored.bi", "tored.bin", ""})
    {
        std::vector<std::string> messages = Messages(
            [name]
            {
                EXPECT_EQ(Resource_GetSize(name), 0) << name;
                EXPECT_EQ(Resource_GetData(name), nullptr) << name;
            });
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back(), std::string("Unable to load resource: ") + name);
    }
}

TEST_F(ResourceArchive, LoadingListsEveryEntryAtInfoLevel)
{
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    const std::string path = FixturePath("infozip.zip");
    const std::vector<std::string> lines = CaptureLines([&path] { Resource_Load(path.c_str()); });
    std::vector<std::string> messages;
    for (const std::string &line : lines)
    {
        EXPECT_THAT(line, StartsWith("Info at resource_win.cpp:"));
        messages.push_back(LogMessage(line));
    }
    EXPECT_THAT(messages,
                ElementsAre("Data file: " + path, "Resource name: stored.bin, size: 256",
                            "Resource name: deflated.txt, size: 7200",
                            "Resource name: empty.txt, size: 0", "Resource name: folder/, size: 0",
                            "Resource name: folder/inner.txt, size: 18"));
}

TEST_F(ResourceArchive, SizeLookupTracesTheNamesItScansAtDebugLevel)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    EXPECT_TRUE(CaptureLines([] { Resource_GetSize("empty.txt"); }).empty())
        << "quiet at the game's Error level";
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    std::vector<std::string> lines =
        CaptureLines([] { EXPECT_EQ(Resource_GetSize("empty.txt"), 0); });
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string &line : lines)
    {
        EXPECT_THAT(line, StartsWith("Debug at resource_win.cpp:"));
    }
    EXPECT_THAT(Messages([] { Resource_GetSize("empty.txt"); }),
                ElementsAre("stored.bin", "deflated.txt", "empty.txt"));
    EXPECT_EQ(Messages([] { Resource_GetSize("nothing"); }).size(), 5u);
    // Data lookups scan silently.
    EXPECT_THAT(Messages([] { Resource_GetData("folder/inner.txt"); }),
                Not(Contains("stored.bin")));
}

TEST_F(ResourceArchive, EveryRequestReadsIntoANewBuffer)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    uint8_t *first = Resource_GetData("deflated.txt");
    uint8_t *second = Resource_GetData("deflated.txt");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(memcmp(first, second, 7200), 0);
    first[0] ^= 0xFF;
    EXPECT_EQ(Entry("deflated.txt"), ReadFile(FixturePath("deflated.txt")));
}

TEST_F(ResourceArchive, MissingArchiveFailsOnceThenFindsNothing)
{
    std::vector<std::string> lines = CaptureLines([] { Resource_Load("no-such-archive.dat"); });
    // The message carries its own newline before the one logging adds.
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0], StartsWith("Error at resource_win.cpp:"));
    EXPECT_THAT(LogMessage(lines[0]), StartsWith("Can't open resource no-such-archive.dat: "));
    EXPECT_THAT(lines[0], HasSubstr("No such file"));
    EXPECT_EQ(lines[1], "");

    EXPECT_TRUE(Messages([] { EXPECT_EQ(Resource_GetSize("stored.bin"), 0); }).empty());
    EXPECT_THAT(Messages([] { EXPECT_EQ(Resource_GetData("stored.bin"), nullptr); }),
                ElementsAre("Unable to load resource: stored.bin"));
    EXPECT_TRUE(Messages([] { Resource_Unload(); }).empty());
}

TEST_F(ResourceArchive, ArchiveThatIsNoZipIsRefused)
{
    char path[] = "/tmp/zindrel-not-a-zip-XXXXXX";
    const int descriptor = mkstemp(path);
    ASSERT_GE(descriptor, 0);
    close(descriptor);
    WriteFile(path, std::vector<uint8_t>(300, 'x'));
    std::vector<std::string> messages = Messages([&path] { Resource_Load(path); });
    unlink(path);
    ASSERT_FALSE(messages.empty());
    EXPECT_THAT(messages[0], StartsWith(std::string("Can't open resource ") + path + ": "));
    EXPECT_EQ(Resource_GetData("x"), nullptr);
}

TEST_F(ResourceArchive, LoadingAgainReplacesTheOpenArchive)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    ASSERT_NE(Resource_GetData("stored.bin"), nullptr);
    Resource_Load(FixturePath("sheets.dat").c_str());
    CaptureLines(
        []
        {
            EXPECT_EQ(Resource_GetData("stored.bin"), nullptr);
            EXPECT_GT(Resource_GetSize("SpaceShooterAssetPack_Ships.tga"), 0);
        });
}

// A one-entry archive whose directory promises 8 bytes while its data holds only "ABCD".
std::vector<uint8_t> ShortEntryArchive(uint16_t method, const std::vector<uint8_t> &stream)
{
    const uint8_t payload[] = {'A', 'B', 'C', 'D'};
    const uint32_t crc = Checksum_CRC32(payload, 4);
    const std::string name = "short.bin";
    std::vector<uint8_t> out;
    auto u16 = [&out](uint32_t v)
    {
        out.push_back(v & 0xFF);
        out.push_back((v >> 8) & 0xFF);
    };
    auto u32 = [&u16](uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto header = [&](uint32_t signature, bool central)
    {
        u32(signature);
        if (central)
        {
            u16(20);
        }
        u16(20), u16(0), u16(method), u16(0), u16(0);
        u32(crc), u32(static_cast<uint32_t>(stream.size())), u32(8);
        u16(static_cast<uint32_t>(name.size())), u16(0);
        if (central)
        {
            u16(0), u16(0), u16(0), u32(0), u32(0);
        }
        out.insert(out.end(), name.begin(), name.end());
    };
    header(0x04034b50, false);
    out.insert(out.end(), stream.begin(), stream.end());
    const auto directoryStart = static_cast<uint32_t>(out.size());
    header(0x02014b50, true);
    const auto directorySize = static_cast<uint32_t>(out.size()) - directoryStart;
    u32(0x06054b50), u16(0), u16(0), u16(1), u16(1), u32(directorySize), u32(directoryStart);
    u16(0);
    return out;
}

TEST_F(ResourceArchive, EntryShorterThanItsSizeEndsTheRead)
{
    // Deflated, the stream simply ends (reads give 0); stored, the library reports an error.
    const std::vector<uint8_t> deflated = {0x01, 0x04, 0x00, 0xFB, 0xFF, 'A', 'B', 'C', 'D'};
    const std::vector<uint8_t> stored = {'A', 'B', 'C', 'D'};
    for (uint16_t method : {uint16_t{8}, uint16_t{0}})
    {
        char path[] = "/tmp/zindrel-short-XXXXXX";
        const int descriptor = mkstemp(path);
        ASSERT_GE(descriptor, 0);
        close(descriptor);
        WriteFile(path, ShortEntryArchive(method, method == 8 ? deflated : stored));
        Resource_Load(path);
        unlink(path);
        std::vector<std::string> messages = Messages(
            []
            {
                EXPECT_EQ(Resource_GetSize("short.bin"), 8);
                EXPECT_EQ(Resource_GetData("short.bin"), nullptr);
            });
        EXPECT_THAT(messages, ElementsAre("Unable to read data")) << method;
        Resource_Unload();
    }
}

TEST_F(ResourceArchive, UnloadWithoutLoadDoesNothing)
{
    EXPECT_TRUE(Messages(
                    []
                    {
                        Resource_Unload();
                        Resource_Unload();
                    })
                    .empty());
    EXPECT_EQ(Resource_GetSize("stored.bin"), 0);
}

} // namespace
