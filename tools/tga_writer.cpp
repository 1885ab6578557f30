// tga_writer: 32-bit TGA files (image types 2 and 10) from a pixmap.
#include "tools/tga_writer.h"

#include <cstring>

static void _PutPixel(std::vector<uint8_t> &out, const uint8_t *rgba)
{
    // TGA stores blue, green, red, alpha.
    out.push_back(rgba[2]);
    out.push_back(rgba[1]);
    out.push_back(rgba[0]);
    out.push_back(rgba[3]);
}

static void _PutHeader(std::vector<uint8_t> &out, const Pixmap &pixmap, bool runLengthEncoded)
{
    uint8_t header[18] = {};
    header[2] = runLengthEncoded ? 10 : 2;
    header[12] = static_cast<uint8_t>(pixmap.width);
    header[13] = static_cast<uint8_t>(pixmap.width >> 8);
    header[14] = static_cast<uint8_t>(pixmap.height);
    header[15] = static_cast<uint8_t>(pixmap.height >> 8);
    header[16] = 32;
    header[17] = 0x28; // 8 alpha bits, first row at the top
    for (uint8_t byte : header)
    {
        out.push_back(byte);
    }
}

static void _PutRunLengthRow(std::vector<uint8_t> &out, const uint8_t *row, int32_t width)
{
    auto same = [row](int32_t a, int32_t b)
    { return std::memcmp(row + a * 4, row + b * 4, 4) == 0; };
    int32_t x = 0;
    while (x < width)
    {
        int32_t run = 1;
        while (x + run < width && run < 128 && same(x, x + run))
        {
            run++;
        }
        if (run >= 2)
        {
            out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
            _PutPixel(out, row + x * 4);
            x += run;
            continue;
        }
        // A raw packet lasts until the next pair of equal pixels, which starts a run.
        int32_t count = 1;
        while (x + count < width && count < 128 &&
               !(x + count + 1 < width && same(x + count, x + count + 1)))
        {
            count++;
        }
        out.push_back(static_cast<uint8_t>(count - 1));
        for (int32_t i = 0; i < count; i++)
        {
            _PutPixel(out, row + (x + i) * 4);
        }
        x += count;
    }
}

std::vector<uint8_t> TgaWriter_Encode(const Pixmap &pixmap, bool runLengthEncoded)
{
    std::vector<uint8_t> out;
    _PutHeader(out, pixmap, runLengthEncoded);
    for (int32_t y = 0; y < pixmap.height; y++)
    {
        const uint8_t *row = &pixmap.pixels[static_cast<size_t>(y) * pixmap.width * 4];
        if (runLengthEncoded)
        {
            _PutRunLengthRow(out, row, pixmap.width);
            continue;
        }
        for (int32_t x = 0; x < pixmap.width; x++)
        {
            _PutPixel(out, row + x * 4);
        }
    }
    return out;
}
