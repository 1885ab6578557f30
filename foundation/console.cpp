// console: everything the program prints goes through here to standard output.
#include "foundation/console.h"

#include "foundation/mystring.h"

#include <cstdarg>
#include <cstdio>

static constexpr const char *bit2strTable[16] = {
    "0000", "0001", "0010", "0011", "0100", "0101", "0110", "0111",
    "1000", "1001", "1010", "1011", "1100", "1101", "1110", "1111",
};

void Console_PrintCStr(const char *text)
{
    fputs(text, stdout);
    fputc('\n', stdout);
}

void Console_Print(String *string)
{
    Console_PrintCStr(String_ToCStr(string));
}

void Console_PrintCStrFormat(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    vfprintf(stdout, format, arguments);
    va_end(arguments);
}

void Console_PrintBinary(const void *data, int32_t bits)
{
    if (bits <= 0)
    {
        return;
    }
    const auto *bytes = static_cast<const uint8_t *>(data);
    const int32_t count = (bits + 7) / 8;
    for (int32_t i = 0; i < count; i++)
    {
        printf("%s%s ", bit2strTable[bytes[i] >> 4], bit2strTable[bytes[i] & 0x0F]);
    }
}
