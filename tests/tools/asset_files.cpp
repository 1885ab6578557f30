// Test support for the asset builder: scratch space, commands and independent readers.
#include "tests/tools/asset_files.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <zip.h>

std::pair<int, std::string> RunCommand(const std::string &command)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        return {-1, output};
    }
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    {
        output.append(buffer, count);
    }
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

int RunAssetBuilder(const std::string &arguments)
{
    return RunCommand(std::string("'") + ZINDREL_ASSETGEN + "' " + arguments).first;
}

std::vector<uint8_t> ReadFileBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char *>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<ArchiveFile> ReadArchive(const std::string &path)
{
    std::vector<ArchiveFile> files;
    int error = 0;
    zip_t *archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive == nullptr)
    {
        return files;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); i++)
    {
        zip_stat_t stat;
        zip_file_t *entry = nullptr;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            (entry = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0)) == nullptr)
        {
            continue;
        }
        ArchiveFile file{stat.name, std::vector<uint8_t>(stat.size)};
        zip_int64_t read = zip_fread(entry, file.data.data(), stat.size);
        zip_fclose(entry);
        if (read == static_cast<zip_int64_t>(stat.size))
        {
            files.push_back(std::move(file));
        }
    }
    zip_close(archive);
    return files;
}

std::string IdentifyImage(const std::string &path, const std::string &format)
{
    return RunCommand("identify -format '" + format + "' '" + path + "' 2>/dev/null").second;
}

DecodedImage DecodeImage(const std::string &path)
{
    DecodedImage image;
    std::istringstream size(IdentifyImage(path, "%w %h"));
    int32_t width = 0, height = 0;
    if (!(size >> width >> height))
    {
        return image;
    }
    auto [status, pixels] =
        RunCommand("stream -map rgba -storage-type char '" + path + "' - 2>/dev/null");
    if (status != 0 || pixels.size() != size_t(width) * size_t(height) * 4)
    {
        return image;
    }
    image.width = width;
    image.height = height;
    image.rgba.assign(pixels.begin(), pixels.end());
    return image;
}

std::string BuiltArchivePath()
{
    return ZINDREL_RESOURCES_DAT;
}
