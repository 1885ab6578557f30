// The archive against zip files written by Info-ZIP and against broken archives, and found
// beside the program however it is started.
#include "resources/resource_win.h"

#include "test_support.h"

#include <cstdio>
#include <fstream>
#include <tuple>
#include <unistd.h>

using testing::ElementsAre;

namespace
{

using ResourceArchive = ResourceTest;

// The entry's bytes as handed out, as many as its size says.
std::vector<uint8_t> Entry(const char *name)
{
    const int32_t size = Resource_GetSize(name);
    const uint8_t *data = Resource_GetData(name);
    EXPECT_NE(data, nullptr) << name;
    return data == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(data, data + size);
}

// Writes bytes to a new file in the scratch folder and returns its path.
std::string TemporaryFile(const std::vector<uint8_t> &bytes)
{
    static ScratchFolder scratch;
    static int files = 0;
    std::string path = scratch.File(std::to_string(files++));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

TEST_F(ResourceArchive, InfoZipEntriesReadBackByTheirWholeExactNames)
{
    Resource_Load(FixturePath("infozip.zip").c_str());
    // Stored, deflated, empty (still a real buffer) and in a folder.
    for (const char *name : {"stored.bin", "deflated.txt", "empty.txt"})
        EXPECT_EQ(Entry(name), ReadFile(FixturePath(name))) << name;
    EXPECT_EQ(Entry("folder/inner.txt"), ReadFile(FixturePath("inner.txt")));
    EXPECT_TRUE(Entry("folder/").empty());
    // Every request reads into a buffer of its own.
    Resource_GetData("deflated.txt")[0] ^= 0xFF;
    EXPECT_EQ(Entry("deflated.txt"), ReadFile(FixturePath("deflated.txt")));
    for (const char *name : {"inner.txt", "folder", "STORED.BIN", "stored.bi", "tored.bin", ""})
    {
        EXPECT_EQ(Resource_GetSize(name), 0) << name;
        EXPECT_THAT(CaptureMessages([name = name] { EXPECT_EQ(Resource_GetData(name), nullptr); }),
                    ElementsAre(std::string("Unable to load resource: ") + name));
    }
    // Loading again replaces the open archive.
    Resource_Load(FixturePath("sheets.dat").c_str());
    EXPECT_EQ(Resource_GetSize("stored.bin"), 0);
    EXPECT_GT(Resource_GetSize("SpaceShooterAssetPack_Ships.tga"), 0);
}

TEST_F(ResourceArchive, LoadingListsEntriesAtInfoAndSizeLookupsTraceTheirScanAtDebug)
{
    const std::string path = FixturePath("infozip.zip");
    // Quiet at the game's Error level, where start-up prints one line only.
    EXPECT_THAT(CaptureMessages([&path] { Resource_Load(path.c_str()); }), ElementsAre());
    EXPECT_THAT(CaptureMessages([] { Resource_GetSize("empty.txt"); }), ElementsAre());
    Logging_SetLevel(LOGGING_LEVEL_INFO);
    EXPECT_THAT(CaptureMessages([&path] { Resource_Load(path.c_str()); }),
                ElementsAre("Data file: " + path, "Resource name: stored.bin, size: 256",
                            "Resource name: deflated.txt, size: 7200",
                            "Resource name: empty.txt, size: 0", "Resource name: folder/, size: 0",
                            "Resource name: folder/inner.txt, size: 18"));
    EXPECT_THAT(CaptureMessages([] { Resource_GetSize("empty.txt"); }), ElementsAre());
    // At Debug, the names scanned up to the match, or all five; data lookups scan silently.
    Logging_SetLevel(LOGGING_LEVEL_DEBUG);
    EXPECT_THAT(CaptureMessages([] { EXPECT_EQ(Resource_GetSize("empty.txt"), 0); }),
                ElementsAre("stored.bin", "deflated.txt", "empty.txt"));
    EXPECT_EQ(CaptureMessages([] { Resource_GetSize("nothing"); }).size(), 5u);
    EXPECT_THAT(CaptureMessages([] { Resource_GetData("folder/inner.txt"); }, "resource_win.cpp"),
                ElementsAre());
}

TEST_F(ResourceArchive, ArchiveThatCannotBeOpenedFailsOnceThenFindsNothing)
{
    const std::string notZip = TemporaryFile(std::vector<uint8_t>(300, 'x'));
    for (const std::string &path : {std::string("no-such-archive.dat"), notZip})
    {
        // The message carries its own newline before the one logging adds.
        EXPECT_THAT(CaptureMessages([&path] { Resource_Load(path.c_str()); }),
                    ElementsAre(testing::StartsWith("Can't open resource " + path + ": "), ""));
        EXPECT_EQ(Resource_GetSize("stored.bin"), 0);
        EXPECT_THAT(CaptureMessages([] { EXPECT_EQ(Resource_GetData("stored.bin"), nullptr); }),
                    ElementsAre("Unable to load resource: stored.bin"));
        // Unloading what never opened, twice, is quiet and harmless.
        EXPECT_THAT(CaptureMessages([] { Resource_Unload(), Resource_Unload(); }), ElementsAre());
    }
    EXPECT_THAT(CaptureMessages([] { Resource_Load("no-such-archive.dat"); })[0],
                testing::HasSubstr("No such file"));
    unlink(notZip.c_str());
}

TEST_F(ResourceArchive, EntryShorterThanItsSizeOrAlteredAfterZippingIsNotHandedOut)
{
    // First entries made to promise 4 bytes more than they hold, deflated and stored, and a byte
    // inside a stored entry changed, so that its CRC no longer matches.
    for (const auto &[archive, name, longer] : {std::tuple{"infozip.zip", "stored.bin", 4},
                                                {"deflated.zip", "deflated.txt", 4},
                                                {"infozip.zip", "stored.bin", 0}})
    {
        std::vector<uint8_t> zip = ReadFile(FixturePath(archive));
        // The directory's offset is the end record's 17th byte on (these archives are small).
        const size_t directory = zip[zip.size() - 6] | zip[zip.size() - 5] << 8;
        zip[22] += longer,
            zip[directory + 24] += longer; // low bytes of the local and central sizes
        zip[30 + 10 + 100] ^= longer == 0; // after the local header and the name "stored.bin"
        const std::string path = TemporaryFile(zip);
        Resource_Load(path.c_str());
        unlink(path.c_str());
        EXPECT_EQ(Resource_GetSize(name),
                  static_cast<int32_t>(ReadFile(FixturePath(name)).size()) + longer);
        EXPECT_THAT(CaptureMessages([name = name] { EXPECT_EQ(Resource_GetData(name), nullptr); }),
                    ElementsAre("Unable to read data"));
    }
}

TEST(ResourceLocation, FoundBesideTheProgramHoweverItIsStarted)
{
    const ScratchFolder scratch;
    const std::string &elsewhere = scratch.Path();
    const std::string link = scratch.File("probe-link");
    // The working directory has no archive, only a link to the program.
    ASSERT_EQ(symlink(RESOURCE_PROBE_PATH, link.c_str()), 0);
    for (const std::string &command :
         {"cd " + elsewhere + " && " RESOURCE_PROBE_PATH, "cd " + elsewhere + " && ./probe-link",
          // argv[0] is then a bare name without any directory part.
          "cd / && PATH=" + elsewhere + ":/usr/bin:/bin probe-link"})
    {
        FILE *pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        char output[128] = {};
        const size_t length = fread(output, 1, sizeof(output) - 1, pipe);
        EXPECT_EQ(pclose(pipe), 0) << command;
        EXPECT_EQ(std::string(output, length), "inside the folder\n") << command;
    }
}

} // namespace
