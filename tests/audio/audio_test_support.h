// Test support for the audio modules: a scratch folder, sounds made by sox, zip archives loaded
// through the resource module, WAV parsing and log capture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under /tmp, removed with everything in it when the object goes.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    std::string Path(const std::string &name) const { return path + "/" + name; }
    const std::string &Root() const { return path; }

  private:
    std::string path;
};

// Runs a shell command in folder; true when it exits 0. Its output goes to the test's log.
bool RunIn(const ScratchFolder &folder, const std::string &command);

std::vector<uint8_t> ReadBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// The byte offset of a RIFF/WAVE file's "data" payload and its length; false when absent.
bool FindWaveData(const std::vector<uint8_t> &wave, size_t *offset, uint32_t *length);

// A WAV file's fmt fields and its data payload.
struct WaveFile
{
    int32_t channels = 0;
    int32_t rate = 0;
    int32_t bits = 0;
    std::vector<uint8_t> data;
};
bool ParseWave(const std::vector<uint8_t> &wave, WaveFile *file);

// Zips the named files of folder into folder/archive (stored as top-level entries) and opens
// it through the resource module. Call Resource_Unload when done.
bool LoadArchive(const ScratchFolder &folder, const std::string &archive,
                 const std::vector<std::string> &files);

// 16-bit little-endian values of a byte block, and back.
std::vector<int16_t> ToInt16(const uint8_t *bytes, size_t count);
void StoreInt16(uint8_t *bytes, const std::vector<int16_t> &values);

// Lines of captured output that contain text.
int32_t CountLinesWith(const std::string &output, const std::string &text);
