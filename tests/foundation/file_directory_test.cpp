// Files (size, seek, read, write, mapping) and directory listings, in a private temp folder.
#include "foundation_test.h"

#include "foundation/directory.h"
#include "foundation/file.h"

#include <filesystem>
#include <fstream>

using FileTest = FoundationTest;

// None of these opens, yet every call is safe; no path and a directory are refused aloud.
TEST_F(FileTest, PathSplitsAtTheLaterSeparatorAndFailedOpensAreHarmless)
{
    const ScratchFolder scratch;
    const std::string missingDir = scratch.File("missing"), missing = missingDir + "/never.bin";
    const std::filesystem::path scratchPath(scratch.Path());
    const std::string parent = scratchPath.parent_path(), name = scratchPath.filename();
    const std::string refusal = "Unable to open " + scratch.Path() + ": it is a directory";
    const std::tuple<const char *, const char *, const char *, bool, const char *> cases[] = {
        // path, dirPath, name, open read-write, the line logged
        {"maps\\level.bin", "maps", "level.bin", true, nullptr},
        {"level.bin", "", "level.bin", true, nullptr},
        {"data/maps/level.bin", "data/maps", "level.bin", true, nullptr},
        {"a/b\\c/d.txt", "a/b\\c", "d.txt", true, nullptr},
        {"a\\b/c\\d.txt", "a\\b/c", "d.txt", true, nullptr},
        {"dir/", "dir", "", true, nullptr},
        {missing.c_str(), missingDir.c_str(), "never.bin", true, nullptr},
        {nullptr, "", "", false, "Unable to open a file without a path"},
        {scratch.Path().c_str(), parent.c_str(), name.c_str(), false, refusal.c_str()}};
    for (const auto &[path, dir, base, writable, line] : cases)
    {
        SCOPED_TRACE(path ? path : "null");
        File *file = nullptr;
        EXPECT_EQ(CaptureMessages(
                      [&, path = path, writable = writable]
                      { file = File_Create(path, path == missing.c_str(), writable, false); }),
                  line ? std::vector<std::string>{line} : std::vector<std::string>{});
        EXPECT_STREQ(File_GetPath(file), path ? path : "");
        EXPECT_STREQ(File_GetDirPath(file), dir);
        EXPECT_STREQ(File_GetName(file), base);
        EXPECT_LT(File_GetFileDescriptor(file), 0);
        char buffer[8] = "intact";
        File_Seek(file, 10);
        EXPECT_EQ(File_Read(file, buffer, 8), 0);
        EXPECT_STREQ(buffer, "intact");
        EXPECT_EQ(File_Write(file, buffer, 8), 0);
        EXPECT_EQ(File_GetSize(file), -1);
        EXPECT_EQ(File_MapToMemory(file), nullptr);
        File_Destroy(file);
    }
}

TEST_F(FileTest, SizeSeekReadWriteAndMappingRoundTrip)
{
    const ScratchFolder scratch;
    std::string bytes(100, '\0');
    for (int i = 0; i < 100; i++)
        bytes[i] = static_cast<char>(i * 7);
    std::string path = scratch.File("round.bin");
    File *file = File_Create(path.c_str(), true, true, false);
    ASSERT_GE(File_GetFileDescriptor(file), 0);
    EXPECT_EQ(File_GetSize(file), 0);
    EXPECT_EQ(File_Write(file, bytes.data(), 100), 100);
    File_Seek(file, 10);
    EXPECT_EQ(File_GetSize(file), 100);
    char read[8] = {};
    EXPECT_EQ(File_Read(file, read, 8), 8);
    EXPECT_EQ(std::string(read, 8), bytes.substr(10, 8))
        << "taking the size did not move the position";
    File_Seek(file, 96);
    EXPECT_EQ(File_Read(file, read, 8), 4) << "only four bytes are left";
    EXPECT_EQ(File_Read(file, read, 8), 0);
    File_Destroy(file);

    File *appender = File_Create(path.c_str(), false, true, true);
    File_Seek(appender, 0);
    EXPECT_EQ(File_Write(appender, "tail", 4), 4);
    File_Destroy(appender);
    EXPECT_EQ(FileContents(path), bytes + "tail") << "appended writes land at the end";

    file = File_Create((path = scratch.File("mapped.bin")).c_str(), true, true, false);
    EXPECT_EQ(File_MapToMemory(file), nullptr) << "an empty file cannot be mapped";
    File_Write(file, "0123456789abcdef", 16);
    auto *view = static_cast<char *>(File_MapToMemory(file));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::string(view, 16), "0123456789abcdef");
    view[0] = 'X';
    view[15] = 'Y';
    File_Write(file, "++", 2);
    view = static_cast<char *>(File_MapToMemory(file)); // the new mapping covers the growth
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::string(view, 18), "X123456789abcdeY++");
    File_Destroy(file);
    EXPECT_EQ(FileContents(path), "X123456789abcdeY++")
        << "writes through the mapping reach the file";

    File *reader = File_Create(path.c_str(), false, false, false);
    EXPECT_EQ(File_GetSize(reader), 18);
    EXPECT_EQ(File_MapToMemory(reader), nullptr) << "a read-only file has no read-write mapping";
    File_Destroy(reader);
}

TEST_F(FileTest, DirectoryListingTwiceAppendsTheNamesAgain)
{
    const ScratchFolder scratch;
    for (const char *name : {"a.txt", "b.bin", "c"})
        std::ofstream(scratch.File(name)) << name;
    Directory *directory = Directory_Create(scratch.Path().c_str());
    List *list = nullptr;
    const std::string printed = CaptureOutput([&] { list = Directory_ReadFileList(directory); });
    EXPECT_EQ(Directory_ReadFileList(directory), list);
    std::vector<std::string> names;
    for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
        names.emplace_back(static_cast<char *>(p));
    ASSERT_EQ(names.size(), 10u);
    EXPECT_TRUE(std::equal(names.begin(), names.begin() + 5, names.begin() + 5))
        << "same order again";
    std::sort(names.begin(), names.begin() + 5);
    EXPECT_EQ(std::vector(names.begin(), names.begin() + 5),
              (std::vector<std::string>{".", "..", "a.txt", "b.bin", "c"}));
    for (int i = 0; i < 5; i++)
        EXPECT_NE(printed.find("File: " + names[i] + "\n"), std::string::npos) << names[i];
    Directory_Destroy(directory), List_Destroy(list);

    Directory *missing = Directory_Create(scratch.File("nowhere").c_str());
    List *empty = Directory_ReadFileList(missing);
    EXPECT_EQ(List_GetSize(empty), 0);
    List_Destroy(empty), Directory_Destroy(missing);
}
