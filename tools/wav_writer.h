// wav_writer: encodes 16-bit PCM sound as a canonical RIFF WAVE file.
#pragma once

#include <cstdint>
#include <vector>

struct Sound
{
    int32_t sampleRate;
    int32_t channels;
    std::vector<int16_t> samples; // interleaved by channel
};

// The file's bytes: the 44-byte header (format 1, PCM) then the samples, little-endian.
std::vector<uint8_t> WavWriter_Encode(const Sound &sound);
