// mystring: Strings own their text and never change it, so lengths are counted once.
#include "foundation/mystring.h"

#include "foundation/allocator.h"
#include "foundation/checksum.h"
#include "foundation/console.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

struct String
{
    char *text;
    int32_t length;
};

static constexpr int32_t FORMAT_BUFFER_SIZE = 1024;

static String *_CreateWithLength(const char *characters, int32_t length)
{
    String *string = MEMORY_ALLOCATE_RECORD(String);
    string->length = length;
    string->text = static_cast<char *>(MEMORY_ALLOCATE(length + 1));
    memcpy(string->text, characters, static_cast<size_t>(length));
    return string;
}

static String *_Concatenate(String *a, const char *b, int32_t bLength)
{
    const int32_t aLength = String_Length(a);
    String *string = MEMORY_ALLOCATE_RECORD(String);
    string->length = aLength + bLength;
    string->text = static_cast<char *>(MEMORY_ALLOCATE(string->length + 1));
    memcpy(string->text, a->text, static_cast<size_t>(aLength));
    memcpy(string->text + aLength, b, static_cast<size_t>(bLength));
    return string;
}

String *String_Create(const char *characters)
{
    return _CreateWithLength(characters, String_LengthOfCStr(characters));
}

String *String_Copy(String *string)
{
    return _CreateWithLength(string->text, String_Length(string));
}

String *String_Append_CStr(String *a, const char *b)
{
    return _Concatenate(a, b, String_LengthOfCStr(b));
}

String *String_Append_String(String *a, String *b)
{
    return _Concatenate(a, b->text, String_Length(b));
}

String *String_Append_Integer(String *a, int32_t value)
{
    char digits[16];
    const int count = snprintf(digits, sizeof(digits), "%" PRId32, value);
    return _Concatenate(a, digits, count);
}

String *String_Append_Decimal(String *a, double value)
{
    // %lf of a huge double runs to over 300 digits; the buffer takes any of them.
    char digits[FORMAT_BUFFER_SIZE];
    snprintf(digits, sizeof(digits), "%lf", value);
    return _Concatenate(a, digits, String_LengthOfCStr(digits));
}

String *String_VFormat(const char *format, va_list arguments)
{
    char buffer[FORMAT_BUFFER_SIZE];
    const int written = vsnprintf(buffer, sizeof(buffer), format, arguments);
    int32_t length = 0;
    if (written > 0)
    {
        length = written < FORMAT_BUFFER_SIZE ? written : FORMAT_BUFFER_SIZE - 1;
    }
    return _CreateWithLength(buffer, length);
}

String *String_Format(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    String *string = String_VFormat(format, arguments);
    va_end(arguments);
    return string;
}

void String_Destroy(String *string)
{
    MEMORY_FREE(string->text);
    MEMORY_FREE(string);
}

int32_t String_Length(String *string)
{
    // Zero also means "not counted yet".
    if (string->length == 0)
    {
        string->length = String_LengthOfCStr(string->text);
    }
    return string->length;
}

const char *String_ToCStr(String *string)
{
    return string->text;
}

void String_Print(String *string)
{
    Console_Print(string);
}

int32_t String_GetCRC(String *string)
{
    return static_cast<int32_t>(
        Checksum_CRC32(reinterpret_cast<const uint8_t *>(string->text), String_Length(string)));
}

int32_t String_LengthOfCStr(const char *characters)
{
    return static_cast<int32_t>(strlen(characters));
}

char *String_CStrCopy(const char *characters)
{
    return strdup(characters);
}

void String_CStrFree(char *characters)
{
    free(characters);
}
