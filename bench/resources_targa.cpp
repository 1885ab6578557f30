// The TGA decoder against stb_image on one 1024 x 1024 32-bit picture, stored raw and run-
// length encoded. The picture mixes flat areas (runs) with gradients (raw packets), as
// sprite sheets do. Both decoders read the same bytes in the same run and must agree.
#include "foundation/logging.h"
#include "resources/targa.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace
{

constexpr int size = 1024;

// Blue, green, red, alpha as a TGA file stores them.
std::vector<uint8_t> Picture()
{
    std::vector<uint8_t> pixels(size_t{size} * size * 4);
    for (int y = 0; y < size; y++)
    {
        for (int x = 0; x < size; x++)
        {
            uint8_t *p = &pixels[(size_t{static_cast<size_t>(y)} * size + x) * 4];
            const int block = (x / 64) + (y / 64);
            if (block % 3 == 0)
            {
                p[0] = static_cast<uint8_t>(x * 3 + y);
                p[1] = static_cast<uint8_t>(y * 5);
                p[2] = static_cast<uint8_t>(x ^ y);
                p[3] = static_cast<uint8_t>(128 + (x & 127));
            }
            else
            {
                p[0] = static_cast<uint8_t>(block * 40);
                p[1] = static_cast<uint8_t>(block * 13);
                p[2] = static_cast<uint8_t>(200 - block);
                p[3] = block % 3 == 1 ? 255 : 0;
            }
        }
    }
    return pixels;
}

std::vector<uint8_t> Header(uint8_t type)
{
    // Top-left origin (0x28), so neither decoder has a reason to move rows.
    return {0, 0, type, 0,           0,         0,           0,         0,  0,
            0, 0, 0,    size & 0xFF, size >> 8, size & 0xFF, size >> 8, 32, 0x28};
}

std::vector<uint8_t> RawFile(const std::vector<uint8_t> &pixels)
{
    std::vector<uint8_t> file = Header(2);
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

// Runs of two or more equal pixels become run packets, everything else raw packets; no
// packet crosses a row, as common encoders write them.
std::vector<uint8_t> RleFile(const std::vector<uint8_t> &pixels)
{
    std::vector<uint8_t> file = Header(10);
    auto same = [&pixels](size_t a, size_t b)
    { return memcmp(&pixels[a * 4], &pixels[b * 4], 4) == 0; };
    for (size_t row = 0; row < size; row++)
    {
        size_t x = 0;
        while (x < size)
        {
            const size_t start = row * size + x;
            size_t run = 1;
            while (x + run < size && run < 128 && same(start, start + run))
            {
                run++;
            }
            if (run > 1)
            {
                file.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                file.insert(file.end(), &pixels[start * 4], &pixels[start * 4] + 4);
                x += run;
                continue;
            }
            size_t raw = 1;
            while (x + raw < size && raw < 128 && !same(start + raw - 1, start + raw))
            {
                raw++;
            }
            file.push_back(static_cast<uint8_t>(raw - 1));
            file.insert(file.end(), &pixels[start * 4], &pixels[(start + raw) * 4]);
            x += raw;
        }
    }
    return file;
}

const std::vector<uint8_t> &File(bool rle)
{
    static const std::vector<uint8_t> raw = RawFile(Picture());
    static const std::vector<uint8_t> compressed = RleFile(Picture());
    return rle ? compressed : raw;
}

// Both decoders must produce the same pixels, or the timings mean nothing.
void CheckAgreement(bool rle)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    const std::vector<uint8_t> &file = File(rle);
    Targa *targa = Targa_Create_FromMemory(file.data(), static_cast<int32_t>(file.size()));
    int width = 0, height = 0, channels = 0;
    stbi_uc *stb = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width,
                                         &height, &channels, 4);
    if (targa == nullptr || stb == nullptr || width != size || height != size ||
        memcmp(Targa_GetData(targa), stb, size_t{size} * size * 4) != 0)
    {
        fprintf(stderr, "decoders disagree on the %s picture\n", rle ? "RLE" : "raw");
        exit(1);
    }
    stbi_image_free(stb);
    Targa_Destroy(targa);
}

void BM_Targa(benchmark::State &state)
{
    const bool rle = state.range(0) != 0;
    CheckAgreement(rle);
    const std::vector<uint8_t> &file = File(rle);
    for (auto _ : state)
    {
        Targa *targa = Targa_Create_FromMemory(file.data(), static_cast<int32_t>(file.size()));
        benchmark::DoNotOptimize(Targa_GetData(targa));
        Targa_Destroy(targa);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size * size * 4);
    state.SetLabel(rle ? "RLE" : "raw");
}

void BM_StbImage(benchmark::State &state)
{
    const bool rle = state.range(0) != 0;
    CheckAgreement(rle);
    const std::vector<uint8_t> &file = File(rle);
    for (auto _ : state)
    {
        int width, height, channels;
        stbi_uc *pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width,
                                                &height, &channels, 0);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size * size * 4);
    state.SetLabel(rle ? "RLE" : "raw");
}

BENCHMARK(BM_Targa)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StbImage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
