// png_writer: signature, IHDR, one IDAT compressed with zlib, IEND; no filtering.
#include "tools/png_writer.h"

#include <zlib.h>

static void _PutBig32(std::vector<uint8_t> &out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

static void _PutChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data)
{
    _PutBig32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + start, static_cast<uInt>(out.size() - start));
    _PutBig32(out, static_cast<uint32_t>(crc));
}

std::vector<uint8_t> PngWriter_Encode(const Pixmap &pixmap)
{
    // Every row starts with filter type 0 (none).
    const size_t stride = static_cast<size_t>(pixmap.width) * 4;
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * pixmap.height);
    for (int32_t y = 0; y < pixmap.height; y++)
    {
        raw.push_back(0);
        raw.insert(raw.end(), pixmap.pixels.begin() + static_cast<std::ptrdiff_t>(y * stride),
                   pixmap.pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * stride));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
    {
        return {};
    }
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    _PutBig32(header, static_cast<uint32_t>(pixmap.width));
    _PutBig32(header, static_cast<uint32_t>(pixmap.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace

    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> out(signature, signature + 8);
    _PutChunk(out, "IHDR", header);
    _PutChunk(out, "IDAT", packed);
    _PutChunk(out, "IEND", {});
    return out;
}
