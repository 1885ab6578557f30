// mesh_obj: one pass over a private, zero-terminated copy of the text, line by line. Numbers
// are read the way "%f" and "%d" read them, but without scanf's per-call cost: every read is
// bounded by the end of its line, so no input can lead the reader past the data.
#include "toolkit/mesh_obj.h"

#include "foundation/logging.h"
#include "toolkit/float_text.h"
#include "toolkit/model.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>

static constexpr char _MAGIC[] = "# Wavefront OBJ";
static constexpr int32_t _MAGIC_LENGTH = 15;
// Longest face token and group name kept, as "%31s" and "%32s" would keep them.
static constexpr int32_t _TOKEN_LENGTH = 31;
static constexpr int32_t _NAME_LENGTH = 32;

struct _Line
{
    const char *start;
    const char *end; // one past the last character; *end is '\0' in the private copy
};

static inline bool _IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static inline const char *_SkipSpace(const char *p, const char *end)
{
    while (p < end && _IsSpace(*p))
    {
        p++;
    }
    return p;
}

// One "%f": optional blanks, then a decimal, hexadecimal, infinity or not-a-number.
static bool _ReadFloat(const char **cursor, const char *end, float *value)
{
    const char *p = _SkipSpace(*cursor, end);
    const char *number = p < end && *p == '+' ? p + 1 : p;
    const char *digits = number < end && (*number == '-' || *number == '+') ? number + 1 : number;
    const bool plusBeforeSign = number != p && digits != number;
    if (plusBeforeSign)
    {
        return false;
    }
    const bool hexadecimal = end - digits >= 2 && digits[0] == '0' && (digits[1] | 0x20) == 'x';
    if (!hexadecimal)
    {
#ifdef __EMSCRIPTEN__
        // Emscripten's C++ library has no float from_chars; this reads the same.
        const std::from_chars_result result = FloatText_FromChars(number, end, value);
#else
        const std::from_chars_result result = std::from_chars(number, end, *value);
#endif
        if (result.ec == std::errc())
        {
            *cursor = result.ptr;
            return true;
        }
        if (result.ec != std::errc::result_out_of_range)
        {
            return false;
        }
    }
    // Hexadecimal and out-of-range numbers: strtof gives them the values "%f" gives. The line
    // ends in a zero byte, so it stops there at the latest.
    char *stop = nullptr;
    *value = strtof(p, &stop);
    if (stop == p)
    {
        return false;
    }
    *cursor = stop;
    return true;
}

// One "%d": optional blanks, sign and digits; values beyond 32 bits saturate.
static bool _ReadInteger(const char **cursor, const char *end, int32_t *value)
{
    const char *p = _SkipSpace(*cursor, end);
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
    {
        negative = *p == '-';
        p++;
    }
    if (p >= end || *p < '0' || *p > '9')
    {
        return false;
    }
    int64_t number = 0;
    while (p < end && *p >= '0' && *p <= '9')
    {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX)
        {
            number = static_cast<int64_t>(INT32_MAX) + 1;
        }
        p++;
    }
    number = negative ? -number : number;
    *value = static_cast<int32_t>(number > INT32_MAX ? INT32_MAX : number);
    *cursor = p;
    return true;
}

// Reads up to count floats; returns how many were read, as scanf would.
static int32_t _ReadFloats(const char *p, const char *end, float *values, int32_t count)
{
    for (int32_t i = 0; i < count; i++)
    {
        if (!_ReadFloat(&p, end, &values[i]))
        {
            return i;
        }
    }
    return count;
}

// "%Ns": the next run of at most limit non-blank characters.
static int32_t _ReadToken(const char **cursor, const char *end, int32_t limit, const char **token)
{
    const char *p = _SkipSpace(*cursor, end);
    *token = p;
    while (p < end && p - *token < limit && !_IsSpace(*p))
    {
        p++;
    }
    *cursor = p;
    return static_cast<int32_t>(p - *token);
}

// The 0-based index written after a corner's slash, or -1 when there is none.
static int32_t _StoredIndex(bool present, int32_t written)
{
    if (!present)
    {
        return -1;
    }
    return written == INT32_MIN ? INT32_MIN : written - 1;
}

// One corner "v/t/n", "v//n", "v/t" or "v"; unreadable indices are stored as -1.
static void _ReadCorner(const char *token, int32_t length, int32_t *vertex, int32_t *texCoord,
                        int32_t *normal)
{
    const char *p = token;
    const char *end = token + length;
    int32_t number = 0;
    bool present = _ReadInteger(&p, end, &number);
    *vertex = _StoredIndex(present, number);
    *texCoord = -1;
    *normal = -1;
    if (!present || p >= end || *p != '/')
    {
        return;
    }
    p++;
    if (p < end && *p != '/')
    {
        present = _ReadInteger(&p, end, &number);
        *texCoord = _StoredIndex(present, number);
    }
    if (p < end && *p == '/')
    {
        p++;
        present = _ReadInteger(&p, end, &number);
        *normal = _StoredIndex(present, number);
    }
}

static void _AddTriangle(Model *model, const char *const *tokens, const int32_t *lengths, int32_t a,
                         int32_t b, int32_t c)
{
    ModelFace face;
    const int32_t corners[3] = {a, b, c};
    for (int32_t k = 0; k < 3; k++)
    {
        _ReadCorner(tokens[corners[k]], lengths[corners[k]], &face.vertex[k], &face.texCoord[k],
                    &face.normal[k]);
    }
    Model_AddFace(model, &face);
}

static void _ParseFace(Model *model, _Line line)
{
    const char *p = line.start + 1;
    const char *tokens[4];
    int32_t lengths[4];
    int32_t count = 0;
    while (count < 4)
    {
        lengths[count] = _ReadToken(&p, line.end, _TOKEN_LENGTH, &tokens[count]);
        if (lengths[count] == 0)
        {
            break;
        }
        count++;
    }
    if (count == 3)
    {
        _AddTriangle(model, tokens, lengths, 0, 1, 2);
    }
    else if (count == 4)
    {
        _AddTriangle(model, tokens, lengths, 0, 1, 2);
        _AddTriangle(model, tokens, lengths, 0, 2, 3);
    }
    else
    {
        LOG_ERROR("Unable to parse polygon line <%s>.", line.start);
    }
}

// Closes the faces since the last group line as one mesh.
static void _CloseGroup(Model *model, int32_t *groupStart)
{
    const int32_t faceCount = Model_GetFaceCount(model);
    Model_AddMesh(model, *groupStart, faceCount - *groupStart, faceCount);
    *groupStart = faceCount;
}

static void _ParseGroup(Model *model, _Line line, int32_t *groupStart)
{
    _CloseGroup(model, groupStart);
    const char *p = line.start + 1;
    const char *name = nullptr;
    const int32_t length = _ReadToken(&p, line.end, _NAME_LENGTH, &name);
    if (length == 0)
    {
        LOG_ERROR("Unable to parse group");
        return;
    }
    LOG_ERROR("group %.*s", length, name);
}

static void _ParseLine(Model *model, _Line line, int32_t *groupStart)
{
    float values[3];
    switch (line.start[0])
    {
    case 'v':
        if (line.start[1] == 't')
        {
            if (_ReadFloats(line.start + 2, line.end, values, 2) == 2)
            {
                Model_AddTexCoord(model, values[0], values[1]);
            }
            else
            {
                LOG_ERROR("Unable to parse texcoord");
            }
        }
        else if (line.start[1] == 'n')
        {
            if (_ReadFloats(line.start + 2, line.end, values, 3) == 3)
            {
                Model_AddNormal(model, values[0], values[1], values[2]);
            }
            else
            {
                LOG_ERROR("Unable to parse normal");
            }
        }
        else if (_ReadFloats(line.start + 1, line.end, values, 3) == 3)
        {
            Model_AddVertex(model, values[0], values[1], values[2]);
        }
        else
        {
            LOG_ERROR("Unable to parse vertex");
        }
        break;
    case 'f':
        _ParseFace(model, line);
        break;
    case 'g':
        if (line.end - line.start == 1)
        {
            LOG_ERROR("group");
        }
        else
        {
            _ParseGroup(model, line, groupStart);
        }
        break;
    case 'm':
        LOG_ERROR("mtllib");
        break;
    case 'u':
        LOG_ERROR("usemtl");
        break;
    default:
        break;
    }
}

Model *MeshObj_Create(const char *data, int32_t size)
{
    Model *model = Model_Create();
    // Kept as is: these two Error lines are part of the reader's observable log output.
    LOG_ERROR("_parseObjFile");
    LOG_ERROR("_isObjData");
    if (data == nullptr || size < _MAGIC_LENGTH || memcmp(data, _MAGIC, _MAGIC_LENGTH) != 0)
    {
        if (data != nullptr && size >= _MAGIC_LENGTH)
        {
            LOG_ERROR("Invalid OBJ magic.");
        }
        LOG_ERROR("Not Wavefront OBJ txt data.");
        Model_Destroy(model);
        LOG_ERROR("Unable to parse Obj File");
        return nullptr;
    }

    // Line ends become zero bytes in the copy, so a line can be logged and strtof can stop.
    char *text = static_cast<char *>(malloc(static_cast<size_t>(size) + 1));
    if (text == nullptr)
    {
        LOG_ERROR("Failed to copy %d bytes of OBJ text.", size);
        exit(1);
    }
    memcpy(text, data, static_cast<size_t>(size));
    text[size] = '\0';

    int32_t groupStart = 0;
    const char *end = text + size;
    char *p = text;
    while (p < end)
    {
        char *lineFeed = static_cast<char *>(memchr(p, '\n', static_cast<size_t>(end - p)));
        char *lineEnd = lineFeed != nullptr ? lineFeed : text + size;
        char *next = lineFeed != nullptr ? lineFeed + 1 : lineEnd;
        if (lineEnd > p && lineEnd[-1] == '\r')
        {
            lineEnd--;
        }
        *lineEnd = '\0';
        if (lineEnd > p)
        {
            _ParseLine(model, _Line{p, lineEnd}, &groupStart);
        }
        p = next;
    }
    free(text);

    _CloseGroup(model, &groupStart);
    Model_GenerateGPUData(model);
    return model;
}
