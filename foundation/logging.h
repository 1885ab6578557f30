// logging: levelled diagnostic lines "Error at file:line - message" on standard output.
#pragma once

#include <cstdint>

#define LOGGING_LEVEL_SILENT 0
#define LOGGING_LEVEL_ERROR  1
#define LOGGING_LEVEL_INFO   2
#define LOGGING_LEVEL_DEBUG  3

// Lines of a level above this one are dropped; the level starts at 3 (everything).
void Logging_SetLevel(uint32_t level);
uint32_t Logging_GetLevel(void);

// True when a line of this level would be printed; lets a caller skip costly arguments.
bool Logging_IsEnabled(uint32_t level);

// Formats and prints one line when the level passes. The message is cut at 255 characters;
// a filtered line is not formatted at all.
void Logging_Print(const char *file, int32_t line, uint32_t level, const char *format, ...)
    __attribute__((format(printf, 4, 5)));

#define LOG_ERROR(...) Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_ERROR, __VA_ARGS__)
#define LOG_INFO(...)  Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_INFO, __VA_ARGS__)
#define LOG_DEBUG(...) Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_DEBUG, __VA_ARGS__)
