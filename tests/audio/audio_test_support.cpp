#include "tests/audio/audio_test_support.h"

#include "resources/resource_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder()
{
    char pattern[] = "/tmp/zindrel-audio-XXXXXX";
    const char *made = mkdtemp(pattern);
    path = made != nullptr ? made : "";
}

ScratchFolder::~ScratchFolder()
{
    if (!path.empty())
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}

bool RunIn(const ScratchFolder &folder, const std::string &command)
{
    const std::string line = "cd '" + folder.Root() + "' && " + command;
    return std::system(line.c_str()) == 0;
}

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char *>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
}

static uint32_t _Read32(const std::vector<uint8_t> &bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

static uint16_t _Read16(const std::vector<uint8_t> &bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// Finds a chunk of a RIFF/WAVE file; its payload starts at *offset.
static bool _FindChunk(const std::vector<uint8_t> &wave, const char *id, size_t *offset,
                       uint32_t *length)
{
    if (wave.size() < 12 || memcmp(wave.data(), "RIFF", 4) != 0 ||
        memcmp(wave.data() + 8, "WAVE", 4) != 0)
    {
        return false;
    }
    size_t at = 12;
    while (at + 8 <= wave.size())
    {
        const uint32_t size = _Read32(wave, at + 4);
        if (memcmp(wave.data() + at, id, 4) == 0)
        {
            *offset = at + 8;
            *length = static_cast<uint32_t>(std::min<size_t>(size, wave.size() - at - 8));
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

bool FindWaveData(const std::vector<uint8_t> &wave, size_t *offset, uint32_t *length)
{
    return _FindChunk(wave, "data", offset, length);
}

bool ParseWave(const std::vector<uint8_t> &wave, WaveFile *file)
{
    size_t offset;
    uint32_t length;
    if (!_FindChunk(wave, "fmt ", &offset, &length) || length < 16)
    {
        return false;
    }
    file->channels = _Read16(wave, offset + 2);
    file->rate = static_cast<int32_t>(_Read32(wave, offset + 4));
    file->bits = _Read16(wave, offset + 14);
    if (!FindWaveData(wave, &offset, &length))
    {
        return false;
    }
    file->data.assign(wave.begin() + static_cast<std::ptrdiff_t>(offset),
                      wave.begin() + static_cast<std::ptrdiff_t>(offset + length));
    return true;
}

bool LoadArchive(const ScratchFolder &folder, const std::string &archive,
                 const std::vector<std::string> &files)
{
    std::string command = "zip -q -X '" + archive + "'";
    for (const std::string &file : files)
    {
        command += " '" + file + "'";
    }
    if (!RunIn(folder, command))
    {
        return false;
    }
    Resource_Load(folder.Path(archive).c_str());
    return true;
}

std::vector<int16_t> ToInt16(const uint8_t *bytes, size_t count)
{
    std::vector<int16_t> values(count);
    for (size_t i = 0; i < count; i++)
    {
        values[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return values;
}

void StoreInt16(uint8_t *bytes, const std::vector<int16_t> &values)
{
    for (size_t i = 0; i < values.size(); i++)
    {
        const auto value = static_cast<uint16_t>(values[i]);
        bytes[2 * i] = static_cast<uint8_t>(value & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(value >> 8);
    }
}

int32_t CountLinesWith(const std::string &output, const std::string &text)
{
    std::istringstream stream(output);
    std::string line;
    int32_t count = 0;
    while (std::getline(stream, line))
    {
        if (line.find(text) != std::string::npos)
        {
            count++;
        }
    }
    return count;
}
