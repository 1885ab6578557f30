// A test fixture that makes sounds with sox, zips them into an archive, opens it through the
// resource module and OpenAL's null output, and releases everything afterwards.
#pragma once

#include "audio/audio_openal.h"
#include "foundation/logging.h"
#include "resources/resource_win.h"
#include "tests/audio/audio_test_support.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

struct Layout
{
    const char *label;
    int32_t format;
    int32_t channels;
    int32_t width;
    const char *soxOptions;
};

inline const Layout mono8 = {"Mono 8bit", AL_FORMAT_MONO8, 1, 1, "-c 1 -b 8 -e unsigned-integer"};
inline const Layout mono16 = {"Mono 16bit", AL_FORMAT_MONO16, 1, 2, "-c 1 -b 16 -e signed-integer"};
inline const Layout stereo8 = {"Stereo 8bit", AL_FORMAT_STEREO8, 2, 1,
                               "-c 2 -b 8 -e unsigned-integer"};
inline const Layout stereo16 = {"Stereo 16bit", AL_FORMAT_STEREO16, 2, 2,
                                "-c 2 -b 16 -e signed-integer"};
inline const Layout *const allLayouts[] = {&mono8, &mono16, &stereo8, &stereo16};

class SampleTest : public ::testing::Test
{
  protected:
    static void SetUpTestSuite()
    {
        setenv("ALSOFT_DRIVERS", "null", 1);
        Logging_SetLevel(LOGGING_LEVEL_ERROR);
    }

    void TearDown() override { Close(); }

    // Destroys the samples, closes the audio output and unloads the archive.
    void Close()
    {
        for (Sample *sample : samples)
        {
            Sample_Destroy(sample);
        }
        samples.clear();
        if (opened)
        {
            Audio_Deinitialize();
            opened = false;
        }
        Resource_Unload();
    }

    // Writes name with sox: the layout's options at rate, then the synth arguments.
    void MakeSound(const std::string &name, const Layout &layout, int32_t rate,
                   const std::string &synth)
    {
        ASSERT_TRUE(RunIn(folder, "sox -D -r " + std::to_string(rate) + " -n " + layout.soxOptions +
                                      " " + name + " synth " + synth));
        files.push_back(name);
    }

    void AddFile(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        WriteBytes(folder.Path(name), bytes);
        files.push_back(name);
    }

    // Zips every file made so far into the archive and opens the audio output.
    void Open(const char *deviceName = nullptr)
    {
        ASSERT_TRUE(LoadArchive(folder, "sounds.zip", files));
        Audio_Initialize(deviceName);
        opened = true;
    }

    Sample *Create(const std::string &name)
    {
        Sample *sample = Sample_Create(name.c_str());
        samples.push_back(sample);
        return sample;
    }

    uint8_t *Bytes(Sample *sample) { return static_cast<uint8_t *>(Sample_GetData(sample)); }

    // The sample's values as stored: 8-bit ones unsigned, 16-bit ones signed.
    static std::vector<int32_t> Values(Sample *sample, const Layout &layout)
    {
        const auto *bytes = static_cast<const uint8_t *>(Sample_GetData(sample));
        const size_t count = static_cast<size_t>(Sample_GetSize(sample)) / layout.width;
        std::vector<int32_t> values(count);
        for (size_t i = 0; i < count; i++)
        {
            values[i] = layout.width == 1
                            ? bytes[i]
                            : static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        }
        return values;
    }

    // Overwrites the first values.size() values of the sample's data.
    static void SetValues(Sample *sample, const Layout &layout, const std::vector<int32_t> &values)
    {
        auto *bytes = static_cast<uint8_t *>(Sample_GetData(sample));
        for (size_t i = 0; i < values.size(); i++)
        {
            if (layout.width == 1)
            {
                bytes[i] = static_cast<uint8_t>(values[i]);
            }
            else
            {
                bytes[2 * i] = static_cast<uint8_t>(values[i] & 0xFF);
                bytes[2 * i + 1] = static_cast<uint8_t>((values[i] >> 8) & 0xFF);
            }
        }
    }

    ScratchFolder folder;
    std::vector<std::string> files;
    std::vector<Sample *> samples;
    bool opened = false;
};
