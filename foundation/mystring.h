// mystring: an immutable text value (String) and helpers for plain C strings.
// Every operation that combines text returns a new String owned by the caller.
#pragma once

#include <cstdarg>
#include <cstdint>

struct String;

// Ownership of every String returned here: the caller; release with String_Destroy.
String *String_Create(const char *characters);
String *String_Copy(String *string);
String *String_Append_CStr(String *a, const char *b);
String *String_Append_String(String *a, String *b);
String *String_Append_Integer(String *a, int32_t value);
String *String_Append_Decimal(String *a, double value);
// printf-style; the text is cut at 1023 characters.
String *String_Format(const char *format, ...) __attribute__((format(printf, 1, 2)));
String *String_VFormat(const char *format, va_list arguments);

void String_Destroy(String *string);
int32_t String_Length(String *string);
// The String's own characters; valid until String_Destroy.
const char *String_ToCStr(String *string);
// Writes the text and a line break to standard output.
void String_Print(String *string);
// CRC-32 of the text, as a signed value.
int32_t String_GetCRC(String *string);

int32_t String_LengthOfCStr(const char *characters);
// Heap copy as strdup makes it. Ownership: the caller; release with String_CStrFree.
char *String_CStrCopy(const char *characters);
void String_CStrFree(char *characters);
