// Test support for the asset builder: running it and reading what it wrote with readers that
// share no code with it (Info-ZIP, ImageMagick, SoX, ALUT).
#pragma once

#include "tests/support/support.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Runs a shell command; the exit status and what it printed on standard output.
std::pair<int, std::string> RunCommand(const std::string &command);
std::vector<uint8_t> ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// The path of the entry of the build's resource archive once Info-ZIP has unpacked it, once
// per process, into a scratch folder.
std::string UnpackedEntry(const std::string &name);

// A picture decoded by ImageMagick: rows from the top, red, green, blue, alpha; width 0 when
// it cannot decode it.
struct DecodedImage
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;

    const uint8_t *At(int32_t x, int32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};
DecodedImage DecodeImage(const std::string &path);
