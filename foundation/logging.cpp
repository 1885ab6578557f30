// logging: one fixed stack buffer per line and no allocation, so the allocator can log too.
#include "foundation/logging.h"

#include "foundation/console.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

static uint32_t currentLevel = LOGGING_LEVEL_DEBUG;

void Logging_SetLevel(uint32_t level)
{
    currentLevel = level;
}

uint32_t Logging_GetLevel(void)
{
    return currentLevel;
}

static const char *_LevelLabel(uint32_t level)
{
    switch (level)
    {
    case LOGGING_LEVEL_ERROR:
        return "Error";
    case LOGGING_LEVEL_INFO:
        return "Info";
    case LOGGING_LEVEL_DEBUG:
        return "Debug";
    default:
        return nullptr;
    }
}

bool Logging_IsEnabled(uint32_t level)
{
    return _LevelLabel(level) != nullptr && currentLevel >= level;
}

void Logging_Print(const char *file, int32_t line, uint32_t level, const char *format, ...)
{
    if (!Logging_IsEnabled(level))
    {
        return;
    }
    const char *slash = strrchr(file, '/');
    const char *label = slash != nullptr ? slash + 1 : file;

    char message[256];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(message, sizeof(message), format, arguments);
    va_end(arguments);

    Console_PrintCStrFormat("%s at %s:%d - %s\n", _LevelLabel(level), label, line, message);
}
