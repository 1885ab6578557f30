// Arguments no caller should pass, refused with one Error line and a harmless result: no
// path, a directory for a file, no data for a checksum.
#include "foundation_test.h"

#include "foundation/checksum.h"
#include "foundation/file.h"

#include <algorithm>
#include <filesystem>

using ArgumentTest = FoundationTest;

TEST_F(ArgumentTest, FilesThatAreNoFilesBehaveAsFailedOpens)
{
    const std::string folder = std::filesystem::temp_directory_path().string();
    for (const char *path : {static_cast<const char *>(nullptr), folder.c_str()})
    {
        File *file = nullptr;
        const std::string printed =
            CaptureOutput([&] { file = File_Create(path, false, false, false); });
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_LT(File_GetFileDescriptor(file), 0);
        char byte = 0;
        EXPECT_EQ(File_Read(file, &byte, 1), 0);
        EXPECT_EQ(File_GetSize(file), -1);
        EXPECT_EQ(File_MapToMemory(file), nullptr);
        File_Destroy(file);
    }
}

TEST_F(ArgumentTest, ChecksumOfNoDataIsZero)
{
    uint32_t crc = 1;
    const std::string printed = CaptureOutput([&] { crc = Checksum_CRC32(nullptr, 10); });
    EXPECT_EQ(crc, 0u);
    EXPECT_NE(printed.find("null"), std::string::npos) << printed;
}
