// Files (size, seek, read, write, mapping) and directory listings, in a private temp folder.
#include "foundation_test.h"

#include "foundation/directory.h"
#include "foundation/file.h"
#include "foundation/list.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

class FileTest : public FoundationTest
{
  protected:
    std::string folder;
    void SetUp() override
    {
        FoundationTest::SetUp();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zindrel-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        std::filesystem::remove_all(folder);
        FoundationTest::TearDown();
    }
    std::string PathOf(const char *name) { return folder + "/" + name; }
};
using DirectoryTest = FileTest;

TEST_F(FileTest, PathSplitsAtTheLaterSeparator)
{
    struct Case
    {
        const char *path, *dir, *name;
    };
    const Case cases[] = {{"maps\\level.bin", "maps", "level.bin"},
                          {"level.bin", "", "level.bin"},
                          {"data/maps/level.bin", "data/maps", "level.bin"},
                          {"a/b\\c/d.txt", "a/b\\c", "d.txt"},
                          {"a\\b/c\\d.txt", "a\\b/c", "d.txt"},
                          {"/level.bin", "", "level.bin"},
                          {"dir/", "dir", ""}};
    for (const Case &c : cases)
    {
        File *file = File_Create(c.path, false, false, false);
        EXPECT_STREQ(File_GetPath(file), c.path);
        EXPECT_STREQ(File_GetDirPath(file), c.dir) << c.path;
        EXPECT_STREQ(File_GetName(file), c.name) << c.path;
        File_Destroy(file);
    }
}

TEST_F(FileTest, FailedOpenLeavesEveryOperationHarmless)
{
    File *file = File_Create(PathOf("missing/never.bin").c_str(), true, true, false);
    EXPECT_LT(File_GetFileDescriptor(file), 0);
    char buffer[8] = "intact";
    File_Seek(file, 10);
    EXPECT_EQ(File_Read(file, buffer, 8), 0);
    EXPECT_STREQ(buffer, "intact");
    EXPECT_EQ(File_Write(file, buffer, 8), 0);
    EXPECT_EQ(File_GetSize(file), -1);
    EXPECT_EQ(File_MapToMemory(file), nullptr);
    File_Destroy(file);

    File *notCreated = File_Create(PathOf("absent.bin").c_str(), false, true, false);
    EXPECT_LT(File_GetFileDescriptor(notCreated), 0);
    File_Destroy(notCreated);
    EXPECT_FALSE(std::filesystem::exists(PathOf("absent.bin"))) << "no create flag, no file";
}

TEST_F(FileTest, SizeSeekReadWriteRoundTrip)
{
    std::vector<uint8_t> bytes(100);
    for (int i = 0; i < 100; i++)
    {
        bytes[i] = static_cast<uint8_t>(i * 7);
    }
    const std::string path = PathOf("round.bin");
    File *file = File_Create(path.c_str(), true, true, false);
    ASSERT_GE(File_GetFileDescriptor(file), 0);
    EXPECT_EQ(File_GetSize(file), 0);
    EXPECT_EQ(File_Write(file, bytes.data(), 100), 100);
    File_Seek(file, 10);
    EXPECT_EQ(File_GetSize(file), 100);
    uint8_t read[8] = {};
    EXPECT_EQ(File_Read(file, read, 8), 8) << "the size did not move the position";
    EXPECT_TRUE(std::equal(read, read + 8, bytes.begin() + 10));
    File_Seek(file, 96);
    EXPECT_EQ(File_Read(file, read, 8), 4) << "only four bytes are left";
    EXPECT_EQ(File_Read(file, read, 8), 0);
    File_Destroy(file);

    // Appending: writes land at the end whatever the position.
    File *appender = File_Create(path.c_str(), false, true, true);
    File_Seek(appender, 0);
    EXPECT_EQ(File_Write(appender, "tail", 4), 4);
    EXPECT_EQ(File_GetSize(appender), 104);
    File_Destroy(appender);
    std::ifstream check(path, std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(check)), std::istreambuf_iterator<char>());
    EXPECT_EQ(contents.substr(0, 3), std::string("\x00\x07\x0e", 3));
    EXPECT_EQ(contents.substr(100), "tail");
}

TEST_F(FileTest, MappingReadsAndWritesTheWholeFile)
{
    const std::string path = PathOf("mapped.bin");
    File *file = File_Create(path.c_str(), true, true, false);
    EXPECT_EQ(File_MapToMemory(file), nullptr) << "an empty file cannot be mapped";
    const char text[] = "0123456789abcdef";
    File_Write(file, text, 16);
    auto *view = static_cast<char *>(File_MapToMemory(file));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::string(view, 16), text);
    view[0] = 'X';
    view[15] = 'Y';
    File_Write(file, "++", 2); // the file grows; a new mapping sees it
    view = static_cast<char *>(File_MapToMemory(file));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::string(view, 18), "X123456789abcdeY++");
    File_Destroy(file);

    File *reader = File_Create(path.c_str(), false, false, false);
    char back[18];
    EXPECT_EQ(File_Read(reader, back, 18), 18);
    EXPECT_EQ(std::string(back, 18), "X123456789abcdeY++")
        << "writes through the mapping reach the file";
    EXPECT_EQ(File_MapToMemory(reader), nullptr) << "a read-only file has no read-write mapping";
    File_Destroy(reader);
}

TEST_F(DirectoryTest, ListingTwiceAppendsTheNamesAgain)
{
    for (const char *name : {"a.txt", "b.bin", "c"})
    {
        std::ofstream(PathOf(name)) << name;
    }
    Directory *directory = Directory_Create(folder.c_str());
    List *first = nullptr;
    const std::string printed = CaptureOutput([&] { first = Directory_ReadFileList(directory); });
    List *second = Directory_ReadFileList(directory);
    EXPECT_EQ(first, second);
    std::vector<std::string> names;
    for (void *p = List_GetFirst(second); p != nullptr; p = List_GetNext(second))
    {
        names.emplace_back(static_cast<char *>(p));
    }
    ASSERT_EQ(names.size(), 10u);
    EXPECT_TRUE(std::equal(names.begin(), names.begin() + 5, names.begin() + 5))
        << "same order again";
    std::vector<std::string> once(names.begin(), names.begin() + 5);
    std::sort(once.begin(), once.end());
    EXPECT_EQ(once, (std::vector<std::string>{".", "..", "a.txt", "b.bin", "c"}));
    for (const std::string &name : once)
    {
        EXPECT_NE(printed.find("File: " + name + "\n"), std::string::npos) << name;
    }
    Directory_Destroy(directory);
    List_Destroy(second);

    Directory *missing = Directory_Create(PathOf("nowhere").c_str());
    List *empty = Directory_ReadFileList(missing);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(List_GetSize(empty), 0);
    List_Destroy(empty);
    Directory_Destroy(missing);
}
