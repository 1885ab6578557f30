// targa: one pass over the input, one write of the output. Every read is measured against
// the input and every write against the pixel buffer, so no input, however malformed,
// reaches outside either.
#include "resources/targa.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

struct Targa
{
    uint32_t width;
    uint32_t height;
    int32_t bitsPerPixel;
    uint8_t *data;
};

const char *debugString = nullptr;
int32_t debugInteger = 0;

static constexpr int32_t headerSize = 18;
static constexpr uint8_t imageTypeTrueColor = 2;
static constexpr uint8_t imageTypeTrueColorRle = 10;
static constexpr uint8_t descriptorLimit = 63;
static constexpr uint32_t packetRunFlag = 0x80;
static constexpr uint32_t packetMaxPixels = 128;

// How a file pixel becomes a buffer pixel: the three depths that are converted, and
// everything else, whose bytes are copied unchanged.
enum class PixelFormat
{
    Bgr24,
    Bgra32,
    Argb16,
    Unconverted
};

struct PixelLayout
{
    PixelFormat format;
    uint32_t fileBytes;   // bytes per pixel in the file
    uint32_t bufferBytes; // bytes per pixel in the decoded buffer
    bool alphaBit;        // 16-bit only: whether bit 15 carries alpha
};

static PixelLayout _Layout(uint8_t depth, uint8_t descriptor)
{
    switch (depth)
    {
    case 24:
        return {PixelFormat::Bgr24, 3, 3, false};
    case 32:
        return {PixelFormat::Bgra32, 4, 4, false};
    case 16:
        // Expanded to four bytes, so the buffer is sized and stepped for what is written.
        return {PixelFormat::Argb16, 2, 4, (descriptor & 0x0F) != 0};
    default:
        return {PixelFormat::Unconverted, depth / 8u, depth / 8u, false};
    }
}

static uint8_t _Expand5(uint32_t value)
{
    return static_cast<uint8_t>((value << 3) | (value >> 2));
}

static uint32_t _SwapRedBlue(uint32_t pixel)
{
    return (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
}

static void _ConvertBgra32(const uint8_t *__restrict in, uint8_t *__restrict out, size_t count)
{
    // Blocks of a fixed pixel count let the compiler use vector instructions at -O2; the
    // pixels left over go one by one.
    constexpr size_t block = 16;
    size_t i = 0;
    for (; i + block <= count; i += block)
    {
        for (size_t j = 0; j < block; j++)
        {
            uint32_t pixel;
            memcpy(&pixel, in + 4 * (i + j), 4);
            pixel = _SwapRedBlue(pixel);
            memcpy(out + 4 * (i + j), &pixel, 4);
        }
    }
    for (; i < count; i++)
    {
        uint32_t pixel;
        memcpy(&pixel, in + 4 * i, 4);
        pixel = _SwapRedBlue(pixel);
        memcpy(out + 4 * i, &pixel, 4);
    }
}

// count pixels from in to out; the two never overlap.
static void _ConvertPixels(const PixelLayout &layout, const uint8_t *__restrict in,
                           uint8_t *__restrict out, size_t count)
{
    switch (layout.format)
    {
    case PixelFormat::Bgra32:
        _ConvertBgra32(in, out, count);
        break;
    case PixelFormat::Bgr24:
        for (size_t i = 0; i < count; i++)
        {
            out[3 * i + 0] = in[3 * i + 2];
            out[3 * i + 1] = in[3 * i + 1];
            out[3 * i + 2] = in[3 * i + 0];
        }
        break;
    case PixelFormat::Argb16:
        for (size_t i = 0; i < count; i++)
        {
            const uint32_t word = in[2 * i] | (in[2 * i + 1] << 8);
            out[4 * i + 0] = _Expand5((word >> 10) & 0x1F);
            out[4 * i + 1] = _Expand5((word >> 5) & 0x1F);
            out[4 * i + 2] = _Expand5(word & 0x1F);
            // Without alpha bits in the descriptor the top bit means nothing: opaque.
            out[4 * i + 3] = (!layout.alphaBit || (word & 0x8000) != 0) ? 0xFF : 0x00;
        }
        break;
    case PixelFormat::Unconverted:
        memcpy(out, in, count * layout.fileBytes);
        break;
    }
}

// Writes one converted pixel count times, starting at out.
static void _RepeatPixel(const PixelLayout &layout, const uint8_t *in, uint8_t *out, size_t count)
{
    _ConvertPixels(layout, in, out, 1);
    const uint32_t step = layout.bufferBytes;
    if (step == 4)
    {
        uint32_t pixel;
        memcpy(&pixel, out, 4);
        for (size_t i = 1; i < count; i++)
        {
            memcpy(out + 4 * i, &pixel, 4);
        }
        return;
    }
    for (size_t i = 1; i < count; i++)
    {
        memcpy(out + step * i, out, step);
    }
}

// Logs one Debug line per output pixel of a packet, as compressed loads always have.
static void _LogPacket(bool run, uint32_t packetPixels, uint32_t used, size_t outOffset,
                       size_t outTotal, size_t inOffset, int32_t inSize, uint32_t bufferBytes,
                       uint32_t fileBytes)
{
    for (uint32_t i = 0; i < used; i++)
    {
        const auto output = static_cast<int32_t>(outOffset + i * bufferBytes);
        const auto input = static_cast<int32_t>(run ? inOffset : inOffset + i * fileBytes);
        if (run)
        {
            LOG_DEBUG("RLE Repeat %d/%d -> %d/%d from %d/%d.", static_cast<int32_t>(i),
                      static_cast<int32_t>(packetPixels), output, static_cast<int32_t>(outTotal),
                      input, inSize);
        }
        else
        {
            LOG_DEBUG("RLE Uncomp %d/%d -> %d/%d from %d/%d.", static_cast<int32_t>(i),
                      static_cast<int32_t>(packetPixels), output, static_cast<int32_t>(outTotal),
                      input, inSize);
        }
    }
}

// Decodes packets until the image is full; false when the input ends first. A packet that
// reaches past the last pixel is cut there.
static bool _DecodeRle(const PixelLayout &layout, const uint8_t *in, size_t available,
                       int32_t inputSize, uint8_t *out, size_t pixelCount)
{
    // Formatting a line per pixel is costly, so it is only done when the line is printed.
    const bool logPixels = Logging_IsEnabled(LOGGING_LEVEL_DEBUG);
    const size_t outTotal = pixelCount * layout.bufferBytes;
    size_t inOffset = 0;
    size_t pixel = 0;
    while (pixel < pixelCount)
    {
        if (inOffset >= available)
        {
            return false;
        }
        const uint32_t header = in[inOffset++];
        const uint32_t packetPixels = (header & (packetRunFlag - 1)) + 1;
        const auto used = static_cast<uint32_t>(std::min<size_t>(packetPixels, pixelCount - pixel));
        const bool run = (header & packetRunFlag) != 0;
        const size_t inBytes = run ? layout.fileBytes : size_t{used} * layout.fileBytes;
        if (inBytes > available - inOffset)
        {
            return false;
        }
        uint8_t *target = out + pixel * layout.bufferBytes;
        if (run)
        {
            _RepeatPixel(layout, in + inOffset, target, used);
        }
        else
        {
            _ConvertPixels(layout, in + inOffset, target, used);
        }
        if (logPixels)
        {
            _LogPacket(run, packetPixels, used, pixel * layout.bufferBytes, outTotal, inOffset,
                       inputSize, layout.bufferBytes, layout.fileBytes);
        }
        inOffset += inBytes;
        pixel += used;
    }
    return true;
}

static Targa *_Reject(const char *check)
{
    debugString = check;
    return nullptr;
}

// What the header says, with the pixel data it introduces.
struct Header
{
    uint8_t imageType;
    uint32_t width;
    uint32_t height;
    uint8_t depth;
    PixelLayout layout;
    const uint8_t *pixels;
    size_t available;
    size_t pixelCount;
    size_t bufferSize;
};

// The header checks in their order; the name of the failed one, or null when the image can
// be decoded. Every byte count is taken with overflow checks, so no product wraps round into
// a small buffer.
static const char *_CheckHeader(const uint8_t *data, int32_t size, Header *header)
{
    const uint8_t idLength = data[0];
    const uint8_t colorMapType = data[1];
    const uint8_t descriptor = data[17];
    header->imageType = data[2];
    header->width = data[12] | (data[13] << 8);
    header->height = data[14] | (data[15] << 8);
    header->depth = data[16];

    if (headerSize + idLength > size)
    {
        return "HeaderSize";
    }
    if (colorMapType != 0)
    {
        return "ColorMap";
    }
    if (header->imageType != imageTypeTrueColor && header->imageType != imageTypeTrueColorRle)
    {
        return "ImageType";
    }
    const PixelLayout layout = _Layout(header->depth, descriptor);
    header->layout = layout;
    header->pixels = data + headerSize + idLength;
    header->available = static_cast<size_t>(size - headerSize - idLength);
    size_t fileSize = 0;
    if (__builtin_mul_overflow(size_t{header->width}, size_t{header->height},
                               &header->pixelCount) ||
        __builtin_mul_overflow(header->pixelCount, size_t{layout.fileBytes}, &fileSize) ||
        __builtin_mul_overflow(header->pixelCount, size_t{layout.bufferBytes}, &header->bufferSize))
    {
        return "DataSize";
    }
    // Uncompressed data is measured before the descriptor is looked at.
    if (header->imageType == imageTypeTrueColor && fileSize > header->available)
    {
        return "DataSize";
    }
    if (descriptor > descriptorLimit)
    {
        return "interleavingFlag";
    }
    // A packet of one header byte and one value gives at most 128 pixels. An image larger
    // than the input could ever fill is refused before its buffer is made.
    if (header->imageType == imageTypeTrueColorRle && layout.fileBytes > 0 &&
        header->pixelCount > packetMaxPixels * (header->available / (1 + layout.fileBytes)))
    {
        return "DataSize";
    }
    return nullptr;
}

bool Targa_ReadSize(const uint8_t *data, int32_t size, uint32_t *width, uint32_t *height)
{
    Header header{};
    if (data == nullptr || size < headerSize || _CheckHeader(data, size, &header) != nullptr)
    {
        return false;
    }
    *width = header.width;
    *height = header.height;
    return true;
}

Targa *Targa_Create_FromMemory(const uint8_t *data, int32_t size)
{
    if (data == nullptr || size < headerSize)
    {
        return nullptr;
    }
    Header header{};
    const char *failed = _CheckHeader(data, size, &header);
    if (failed != nullptr)
    {
        return _Reject(failed);
    }
    const PixelLayout &layout = header.layout;
    uint8_t *buffer = nullptr;
    if (header.bufferSize > 0)
    {
        buffer = static_cast<uint8_t *>(malloc(header.bufferSize));
        if (buffer == nullptr)
        {
            LOG_ERROR("Unable to allocate %llu bytes of pixels",
                      static_cast<unsigned long long>(header.bufferSize));
            return nullptr;
        }
        if (header.imageType == imageTypeTrueColor)
        {
            _ConvertPixels(layout, header.pixels, buffer, header.pixelCount);
        }
        else if (!_DecodeRle(layout, header.pixels, header.available, size, buffer,
                             header.pixelCount))
        {
            free(buffer);
            return _Reject("DataSize");
        }
    }

    Targa *targa = MEMORY_ALLOCATE_RECORD(Targa);
    targa->width = header.width;
    targa->height = header.height;
    targa->bitsPerPixel = layout.format == PixelFormat::Argb16 ? 32 : header.depth;
    targa->data = buffer;
    return targa;
}

Targa *Targa_Create(void)
{
    return MEMORY_ALLOCATE_RECORD(Targa);
}

void Targa_Destroy(Targa *targa)
{
    if (targa == nullptr)
    {
        return;
    }
    free(targa->data);
    MEMORY_FREE(targa);
}

uint32_t Targa_GetWidth(Targa *targa)
{
    return targa->width;
}

uint32_t Targa_GetHeight(Targa *targa)
{
    return targa->height;
}

int32_t Targa_GetBitsPerPixel(Targa *targa)
{
    return targa->bitsPerPixel;
}

uint8_t *Targa_GetData(Targa *targa)
{
    return targa->data;
}
