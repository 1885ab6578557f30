// console: thin writers to standard output.
#pragma once

#include <cstdint>

struct String;

// Writes the text and a newline.
void Console_PrintCStr(const char *text);
// Writes a String's text and a newline. The String stays the caller's.
void Console_Print(String *string);
// printf-style output, no newline added.
void Console_PrintCStrFormat(const char *format, ...) __attribute__((format(printf, 1, 2)));
// The first ceil(bits / 8) bytes at data as "dddddddd " groups; nothing for bits <= 0.
void Console_PrintBinary(const void *data, int32_t bits);
