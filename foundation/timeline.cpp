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

static void _Write(const char *line, int length)
{
    if (length > 0)
    {
        [[maybe_unused]] const ssize_t written =
            write(STDERR_FILENO, line, static_cast<size_t>(length));
    }
}

// Resident kilobytes from /proc/self/statm (its second number counts pages), or 0.
static long long _ResidentKilobytes(void)
{
    FILE *statm = fopen("/proc/self/statm", "r");
    if (statm == nullptr)
    {
        return 0;
    }
    long long size = 0;
    long long resident = 0;
    const int read = fscanf(statm, "%lld %lld", &size, &resident);
    fclose(statm);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
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
        char line[160];
        const long long now = static_cast<long long>(_Now());
        const int length = snprintf(line, sizeof(line), "timeline %lld %lld %.100s\n", now,
                                    _ResidentKilobytes(), name);
        _Write(line, length);
    }
}

void Timeline_MarkFrame(int64_t number)
{
    if (Timeline_IsEnabled())
    {
        char line[64];
        const int length = snprintf(line, sizeof(line), "frame %lld %lld\n",
                                    static_cast<long long>(number), static_cast<long long>(_Now()));
        _Write(line, length);
    }
}
