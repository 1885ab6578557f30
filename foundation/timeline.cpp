// timeline: the environment is read lazily, not by a global constructor, so a program that
// never marks anything never looks at it. Each line goes out with one unbuffered write, so
// lines of a crashing program are not lost in a buffer.
#include "foundation/timeline.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

static int _enabled = -1;

static int64_t _Now(void)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

static void _Write(const char *kind, const char *name, int64_t nanoseconds)
{
    char line[160];
    const int length = snprintf(line, sizeof(line), "%s %s %lld\n", kind, name,
                                static_cast<long long>(nanoseconds));
    if (length > 0)
    {
        const size_t count = static_cast<size_t>(length) < sizeof(line)
                                 ? static_cast<size_t>(length)
                                 : sizeof(line) - 1;
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, count);
    }
}

bool Timeline_IsEnabled(void)
{
    if (_enabled < 0)
    {
        const char *value = getenv("ZINDREL_TIMELINE");
        _enabled = value != nullptr && value[0] != '\0' && strcmp(value, "0") != 0 ? 1 : 0;
    }
    return _enabled == 1;
}

void Timeline_Mark(const char *name)
{
    if (Timeline_IsEnabled())
    {
        _Write("timeline", name, _Now());
    }
}

void Timeline_MarkFrame(int64_t number)
{
    if (Timeline_IsEnabled())
    {
        char text[24];
        snprintf(text, sizeof(text), "%lld", static_cast<long long>(number));
        _Write("frame", text, _Now());
    }
}
