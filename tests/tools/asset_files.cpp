// Test support for the asset builder: commands and independent readers.
#include "tests/tools/asset_files.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

std::pair<int, std::string> RunCommand(const std::string &command)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        return {-1, output};
    }
    char buffer[4096];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    {
        output.append(buffer, count);
    }
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

std::string UnpackedEntry(const std::string &name)
{
    static const ScratchFolder folder;
    static const int status =
        RunCommand("unzip -q '" ZINDREL_RESOURCES_DAT "' -d '" + folder.Path() + "'").first;
    EXPECT_EQ(status, 0) << "the archive did not unpack";
    return folder.File(name);
}

DecodedImage DecodeImage(const std::string &path)
{
    DecodedImage image;
    std::istringstream size(RunCommand("identify -format '%w %h' '" + path + "'").second);
    int32_t width = 0, height = 0;
    auto [status, pixels] = RunCommand("stream -map rgba -storage-type char '" + path + "' -");
    if (!(size >> width >> height) || status != 0 || pixels.size() != size_t(width) * height * 4)
    {
        return image;
    }
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels.begin(), pixels.end());
    return image;
}
