// mesh_3ds: a walk over the chunk tree with one level per nesting (main, editor, object,
// triangle-mesh block). Each walk counts the bytes left at the level that contains it, so it
// may run on past the end of its own chunk (later chunks are then skipped by their lengths),
// but it never runs past the data: every read is measured against those bytes first.
#include "toolkit/mesh_3ds.h"

#include "foundation/logging.h"
#include "resources/targa.h"
#include "toolkit/model.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

static constexpr int32_t _HEADER_SIZE = 6;

struct _Chunk
{
    uint16_t id;
    uint32_t length;
};

// Where the last chunk of each kind of the current triangle-mesh block starts, or null.
struct _Block
{
    const uint8_t *positions;
    const uint8_t *texCoords;
    const uint8_t *faces;
};

static uint16_t _ReadU16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

static uint32_t _ReadU32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

static float _ReadFloat(const uint8_t *p)
{
    const uint32_t bits = _ReadU32(p);
    float value;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

static void _Report(const char *text, int32_t value)
{
    debugString = text;
    debugInteger = value;
}

// False when no header fits in the bytes left: the walk of that level then ends, since the
// id and length were never read.
static bool _readChunkHeader(const uint8_t *data, int64_t left, _Chunk *chunk)
{
    if (left < _HEADER_SIZE)
    {
        LOG_ERROR("Invalid 3ds header size.");
        _Report("Invalid 3ds header size.", -1);
        return false;
    }
    chunk->id = _ReadU16(data);
    chunk->length = _ReadU32(data + 2);
    if (chunk->length > left)
    {
        LOG_ERROR("Invalid 3ds file size, %d: %u != %lld", chunk->id, chunk->length,
                  static_cast<long long>(left));
        _Report("Invalid 3ds file size.", -2);
    }
    return true;
}

// The next chunk of a walk. A length too short to hold its own header would never move the
// walk on, so it ends the level like a header that does not fit.
static bool _NextChunk(const uint8_t *data, int64_t left, _Chunk *chunk)
{
    if (left <= 0 || !_readChunkHeader(data, left, chunk))
    {
        return false;
    }
    if (chunk->length < static_cast<uint32_t>(_HEADER_SIZE))
    {
        LOG_ERROR("Invalid 3ds chunk length, %d: %u", chunk->id, chunk->length);
        _Report("Invalid 3ds header size.", -1);
        return false;
    }
    return true;
}

// The data of a count-prefixed array chunk when count x elementSize bytes fit in the bytes
// left at this point of the walk, else null (logged).
static const uint8_t *_CountedData(const uint8_t *chunk, int64_t left, int32_t elementSize,
                                   const char *message)
{
    const int64_t available = left - _HEADER_SIZE;
    if (available <= 1 ||
        available <= static_cast<int64_t>(_ReadU16(chunk + _HEADER_SIZE)) * elementSize + 1)
    {
        LOG_ERROR("%s", message);
        return nullptr;
    }
    return chunk + _HEADER_SIZE;
}

// Appends the block's arrays after what earlier blocks left, offsetting its indices.
static void _AppendBlock(Model *model, const _Block &block)
{
    const int32_t vertexBase = Model_GetVertexCount(model);
    const int32_t texCoordBase = Model_GetTexCoordCount(model);
    const int32_t firstFace = Model_GetFaceCount(model);
    if (block.positions != nullptr)
    {
        const int32_t count = _ReadU16(block.positions);
        for (int32_t i = 0; i < count; i++)
        {
            const uint8_t *p = block.positions + 2 + 12 * i;
            Model_AddVertex(model, _ReadFloat(p), _ReadFloat(p + 4), _ReadFloat(p + 8));
        }
    }
    int32_t texCoordCount = 0;
    if (block.texCoords != nullptr)
    {
        texCoordCount = _ReadU16(block.texCoords);
        for (int32_t i = 0; i < texCoordCount; i++)
        {
            const uint8_t *p = block.texCoords + 2 + 8 * i;
            Model_AddTexCoord(model, _ReadFloat(p), _ReadFloat(p + 4));
        }
    }
    if (block.faces != nullptr)
    {
        const int32_t count = _ReadU16(block.faces);
        for (int32_t i = 0; i < count; i++)
        {
            const uint8_t *p = block.faces + 2 + 8 * i;
            ModelFace face;
            for (int32_t k = 0; k < 3; k++)
            {
                const int32_t index = _ReadU16(p + 2 * k);
                face.vertex[k] = vertexBase + index;
                // Coordinates are per position; a block without them has none to point at.
                face.texCoord[k] = index < texCoordCount ? texCoordBase + index : -1;
                face.normal[k] = -1;
            }
            Model_AddFace(model, &face);
        }
    }
    const int32_t endFace = Model_GetFaceCount(model);
    Model_AddMesh(model, firstFace, endFace - firstFace, endFace);
}

static void _parseTag4100(Model *model, const uint8_t *data, int64_t left)
{
    LOG_ERROR("_parseTag4100");
    LOG_ERROR("TriangleData");
    debugString = "TriangleData";
    _Block block = {};
    _Chunk chunk;
    while (_NextChunk(data, left, &chunk))
    {
        if (chunk.id == 0x4110)
        {
            LOG_ERROR("_parseTag4110 - vertex coords");
            const uint8_t *found =
                _CountedData(data, left, 12, "Not enough data left for parseTag4110");
            block.positions = found != nullptr ? found : block.positions;
        }
        else if (chunk.id == 0x4120)
        {
            LOG_ERROR("_parseTag4120 - faces");
            const uint8_t *found =
                _CountedData(data, left, 8, "Not enough data left for parseTag4120");
            block.faces = found != nullptr ? found : block.faces;
        }
        else if (chunk.id == 0x4140)
        {
            LOG_ERROR("_parseTag4140 - texture coords");
            const uint8_t *found =
                _CountedData(data, left, 8, "Not enough data left for parseTag4140");
            block.texCoords = found != nullptr ? found : block.texCoords;
        }
        data += chunk.length;
        left -= chunk.length;
    }
    _AppendBlock(model, block);
}

typedef void (*_ChunkParser)(Model *model, const uint8_t *data, int64_t left);

// Walks the chunks of one level, handing the data of each chunk of the given id (and the bytes
// left from there) to its parser and stepping over all others by their lengths.
static void _WalkLevel(Model *model, const uint8_t *data, int64_t left, uint16_t id,
                       _ChunkParser parser)
{
    _Chunk chunk;
    while (_NextChunk(data, left, &chunk))
    {
        if (chunk.id == id)
        {
            parser(model, data + _HEADER_SIZE, left - _HEADER_SIZE);
        }
        data += chunk.length;
        left -= chunk.length;
    }
}

static void _parseTag4000(Model *model, const uint8_t *data, int64_t left)
{
    LOG_ERROR("_parseTag4000");
    const auto *terminator =
        static_cast<const uint8_t *>(memchr(data, 0, static_cast<size_t>(left)));
    if (terminator == nullptr)
    {
        LOG_ERROR("Object name runs past the data.");
        return;
    }
    const std::string name(reinterpret_cast<const char *>(data),
                           static_cast<size_t>(terminator - data));
    Model_SetName(model, name.c_str());
    LOG_ERROR("_parseTag4000 object name=%s.", name.c_str());
    _WalkLevel(model, terminator + 1, left - (terminator + 1 - data), 0x4100, _parseTag4100);
}

static void _parseTag3D3D(Model *model, const uint8_t *data, int64_t left)
{
    LOG_ERROR("_parseTag3D3D");
    _WalkLevel(model, data, left, 0x4000, _parseTag4000);
}

static void _parseTag0002(const uint8_t *data, int64_t left)
{
    LOG_ERROR("_parseTag0002");
    if (left - _HEADER_SIZE < 2)
    {
        LOG_ERROR("Not enough data left for parseTag0002");
        return;
    }
    _Report("3ds version", _ReadU16(data + _HEADER_SIZE));
}

// The chunks after the main header; returns the bytes left over (0 when the lengths add up).
static int64_t _parseTag4D4D(Model *model, const uint8_t *data, int64_t left)
{
    LOG_ERROR("_parseTag4D4D");
    _Chunk chunk;
    while (_NextChunk(data, left, &chunk))
    {
        switch (chunk.id)
        {
        case 0x0002:
            _parseTag0002(data, left);
            break;
        case 0x3D3D:
            _parseTag3D3D(model, data + _HEADER_SIZE, left - _HEADER_SIZE);
            break;
        case 0xB000:
            LOG_ERROR("_parseTagB000");
            break;
        default:
            LOG_ERROR("Unknown tag");
            _Report("Unknown tag", chunk.id);
            break;
        }
        data += chunk.length;
        left -= chunk.length;
    }
    return left;
}

Model *Mesh3DS_Create(const uint8_t *data, int32_t size)
{
    Model *model = Model_Create();
    LOG_ERROR("_parse3dsFile");
    LOG_ERROR("_is3DSData");
    const int64_t total = data != nullptr && size > 0 ? size : 0;
    _Chunk main;
    const bool headerRead = _readChunkHeader(data, total, &main);
    if (!headerRead || main.id != 0x4D4D)
    {
        if (headerRead)
        {
            LOG_ERROR("Invalid 3ds magic.");
            _Report("Invalid 3ds magic.", -2);
        }
        LOG_ERROR("Not 3DS data.");
        _Report("Not 3DS data.", -3);
        LOG_ERROR("Unable to parse 3dsFile");
        Model_Destroy(model);
        return nullptr;
    }
    const int64_t leftOver = _parseTag4D4D(model, data + _HEADER_SIZE, total - _HEADER_SIZE);
    if (leftOver != 0)
    {
        LOG_ERROR("Wrong size");
        _Report("Wrong size",
                static_cast<int32_t>(std::clamp<int64_t>(leftOver, INT32_MIN, INT32_MAX)));
    }
    _Report(nullptr, 0);
    Model_GenerateGPUData(model);
    return model;
}
