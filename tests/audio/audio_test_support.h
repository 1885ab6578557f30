// Sounds made by sox or written here, zipped into an archive, and the samples decoded from it.
#pragma once

#include "audio/audio_openal.h"
#include "foundation/logging.h"
#include "resources/resource_win.h"
#include "tests/support/support.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

struct Layout
{
    const char *label;
    int32_t format, channels, width; // width: bytes per value
};

inline const Layout mono8 = {"Mono 8bit", AL_FORMAT_MONO8, 1, 1};
inline const Layout mono16 = {"Mono 16bit", AL_FORMAT_MONO16, 1, 2};
inline const Layout stereo8 = {"Stereo 8bit", AL_FORMAT_STEREO8, 2, 1};
inline const Layout stereo16 = {"Stereo 16bit", AL_FORMAT_STEREO16, 2, 2};

// PCM values as stored: 8-bit ones unsigned, 16-bit ones signed little-endian.
inline std::vector<int32_t> Values(const std::string &data, int32_t width)
{
    const auto *bytes = reinterpret_cast<const uint8_t *>(data.data());
    std::vector<int32_t> values(data.size() / width);
    for (size_t i = 0; i < values.size(); i++)
        values[i] = width == 1 ? bytes[i] : int16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return values;
}
inline std::vector<int32_t> Values(Sample *sample, const Layout &layout)
{
    return Values({static_cast<char *>(Sample_GetData(sample)), size_t(Sample_GetSize(sample))},
                  layout.width);
}

// A plain PCM WAV file at 8 kHz holding values, then extra bytes that make no whole frame.
inline std::string Wave(const Layout &layout, const std::vector<int32_t> &values,
                        const std::vector<uint8_t> &extra)
{
    const uint32_t size = values.size() * layout.width + extra.size(), padded = size + (size & 1);
    const uint32_t frame = layout.channels * layout.width, rate = 8000;
    const uint32_t header[] = {0x46464952, 36 + padded,  0x45564157,
                               0x20746d66, 16,           1u | layout.channels << 16,
                               rate,       rate * frame, frame | 8 * layout.width << 16,
                               0x61746164, size};
    std::string wave(reinterpret_cast<const char *>(header), sizeof(header));
    for (const int32_t value : values)
        for (int32_t i = 0; i < layout.width; i++)
            wave.push_back(static_cast<char>(value >> 8 * i));
    wave.insert(wave.end(), extra.begin(), extra.end());
    wave.resize(sizeof(header) + padded); // chunks are padded to even sizes
    return wave;
}

// Scratch folder, audio output (OpenAL's null driver by default) and samples, released after.
class AudioTest : public ::testing::Test
{
  protected:
    AudioTest() { setenv("ALSOFT_DRIVERS", "null", 1), Logging_SetLevel(LOGGING_LEVEL_ERROR); }
    ~AudioTest() override { Close(); }

    void Close()
    {
        for (Sample *sample : samples)
            Sample_Destroy(sample);
        samples.clear();
        if (std::exchange(opened, false))
            Audio_Deinitialize();
        Resource_Unload();
    }

    std::string Path(const std::string &name) const { return scratch.File(name); }
    bool Run(const std::string &command) const
    {
        return !std::system(("cd " + scratch.Path() + " && " + command).c_str());
    }
    Sample *Create(const std::string &name)
    {
        return samples.emplace_back(Sample_Create(name.c_str()));
    }

    void Sox(const std::string &name, const Layout &layout, int32_t rate, const std::string &synth)
    {
        ASSERT_TRUE(
            Run("sox -D -r " + std::to_string(rate) + " -n -c " + std::to_string(layout.channels) +
                " -b " + std::to_string(8 * layout.width) +
                (layout.width == 1 ? " -e unsigned " : " -e signed ") + name + " synth " + synth));
        files += " " + name;
    }

    void Add(const std::string &name, const std::string &bytes)
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        files += " " + name;
    }

    void Open(const char *device = nullptr)
    {
        ASSERT_TRUE(Run("zip -q -X sounds.zip" + files));
        Resource_Load(Path("sounds.zip").c_str());
        Audio_Initialize(device);
        opened = true;
    }

    const ScratchFolder scratch;
    std::string files;
    std::vector<Sample *> samples;
    bool opened = false;
};
