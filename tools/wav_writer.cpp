// wav_writer: RIFF WAVE with one "fmt " and one "data" chunk, the layout every decoder takes.
#include "tools/wav_writer.h"

#include <cstring>

static void _Put32(std::vector<uint8_t> &out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

static void _Put16(std::vector<uint8_t> &out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

static void _PutTag(std::vector<uint8_t> &out, const char *tag)
{
    for (int i = 0; i < 4; i++)
    {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

std::vector<uint8_t> WavWriter_Encode(const Sound &sound)
{
    const uint32_t dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
    const uint16_t blockAlign = static_cast<uint16_t>(sound.channels * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    _PutTag(out, "RIFF");
    _Put32(out, 36 + dataBytes);
    _PutTag(out, "WAVE");
    _PutTag(out, "fmt ");
    _Put32(out, 16);
    _Put16(out, 1); // PCM
    _Put16(out, static_cast<uint16_t>(sound.channels));
    _Put32(out, static_cast<uint32_t>(sound.sampleRate));
    _Put32(out, static_cast<uint32_t>(sound.sampleRate) * blockAlign);
    _Put16(out, blockAlign);
    _Put16(out, 16);
    _PutTag(out, "data");
    _Put32(out, dataBytes);
    for (int16_t sample : sound.samples)
    {
        _Put16(out, static_cast<uint16_t>(sample));
    }
    return out;
}
