// Test support for the asset builder: running it and reading what it wrote with readers that
// share no code with it (libzip, ImageMagick, SoX, ALUT).
#pragma once

#include "tests/support/support.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Runs a shell command; the exit status and what it printed on standard output.
std::pair<int, std::string> RunCommand(const std::string &command);
// Runs the asset builder with the arguments (already quoted as needed); its exit status.
int RunAssetBuilder(const std::string &arguments);

std::vector<uint8_t> ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);

struct ArchiveFile
{
    std::string name;
    std::vector<uint8_t> data;
};

// Every entry of a zip archive in stored order, read with libzip as the game reads it. Empty
// when the archive cannot be opened.
std::vector<ArchiveFile> ReadArchive(const std::string &path);

// A picture decoded by ImageMagick: rows from the top, red, green, blue, alpha.
struct DecodedImage
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t *At(int32_t x, int32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

// ImageMagick's identify line for the file, formatted with the given escapes.
std::string IdentifyImage(const std::string &path, const std::string &format);
// The picture decoded by ImageMagick; width 0 when it cannot decode it.
DecodedImage DecodeImage(const std::string &path);

// The path of the resource archive the build made.
std::string BuiltArchivePath();
