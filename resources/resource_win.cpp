// resource_win: entries are found by linear scans of the archive's directory; the game asks
// for eight entries, so no index is kept. Buffers come from the standard heap (not the
// tracking allocator) and live in one list whose destroy function is free.
#include "resources/resource_win.h"

#include "foundation/checksum.h"
#include "foundation/list.h"
#include "foundation/logging.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <libgen.h>
#include <unistd.h>
#include <zip.h>

// Twice the largest picture a texture may hold (4096 x 4096 x 4 bytes): no entry the game
// reads comes near, and a damaged directory cannot ask for gigabytes.
static constexpr zip_uint64_t largestEntry = zip_uint64_t{128} << 20;

static zip_t *zipArchive = nullptr;
static List *loadedResources = nullptr;

static void _FreeBuffer(void *buffer)
{
    free(buffer);
}

// The directory part of the running program's path, or false when it cannot be told.
// argv[0] is only a fallback: started through PATH it has no directory part at all.
static bool _ProgramDirectory(char **argv, char *directory, size_t capacity)
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length > 0)
    {
        path[length] = '\0';
    }
    else if (argv != nullptr && argv[0] != nullptr && strlen(argv[0]) < sizeof(path))
    {
        strcpy(path, argv[0]);
    }
    else
    {
        return false;
    }
    // dirname may write into its argument and may return static storage.
    const char *parent = dirname(path);
    if (strlen(parent) >= capacity)
    {
        return false;
    }
    strcpy(directory, parent);
    return true;
}

void Resource_Init(int32_t, char **argv)
{
    char directory[PATH_MAX];
    if (!_ProgramDirectory(argv, directory, sizeof(directory)))
    {
        LOG_ERROR("Unable to find the program's directory");
        return;
    }
    if (chdir(directory) != 0)
    {
        LOG_ERROR("Unable to change to directory %s", directory);
    }
}

// Index of the first entry named name, or -1. The count is asked again at every step, as
// it is when the archive is listed. With logNames every readable name up to the match is
// logged at Error level: size lookups list the names they scanned.
// Kept as is: that Error-level listing is part of the archive's observable log output.
static zip_int64_t _FindEntry(const char *name, bool logNames, zip_stat_t *stat)
{
    if (zipArchive == nullptr)
    {
        return -1;
    }
    for (zip_int64_t index = 0; index < zip_get_num_entries(zipArchive, 0); index++)
    {
        zip_stat_init(stat);
        if (zip_stat_index(zipArchive, static_cast<zip_uint64_t>(index), 0, stat) != 0 ||
            (stat->valid & ZIP_STAT_NAME) == 0 || (stat->valid & ZIP_STAT_SIZE) == 0)
        {
            continue;
        }
        // A trace of the scan, at Debug level: at the game's Error level a lookup must stay
        // quiet, since start-up prints exactly one line.
        if (logNames)
        {
            LOG_DEBUG("%s", stat->name);
        }
        if (strcmp(stat->name, name) == 0)
        {
            return index;
        }
    }
    return -1;
}

void Resource_Load(const char *path)
{
    if (zipArchive != nullptr)
    {
        Resource_Unload();
    }
    LOG_INFO("Data file: %s", path);
    int error = 0;
    zipArchive = zip_open(path, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (zipArchive == nullptr)
    {
        const int systemError = errno;
        char message[256];
        zip_error_to_str(message, sizeof(message), error, systemError);
        LOG_ERROR("Can't open resource %s: %s\n", path, message);
        return;
    }
    for (zip_int64_t index = 0; index < zip_get_num_entries(zipArchive, 0); index++)
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(zipArchive, static_cast<zip_uint64_t>(index), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_NAME) != 0 && (stat.valid & ZIP_STAT_SIZE) != 0)
        {
            LOG_INFO("Resource name: %s, size: %d", stat.name, static_cast<int32_t>(stat.size));
        }
    }
    loadedResources = List_Create(_FreeBuffer);
}

int32_t Resource_GetSize(const char *name)
{
    zip_stat_t stat;
    if (_FindEntry(name, true, &stat) < 0)
    {
        return 0;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(stat.size));
}

// The size bytes of an open entry in a new heap block (one byte at least, so an empty entry
// still gets a real, distinct buffer), or null when they cannot all be read. The block grows
// with the bytes that actually arrive, so a directory that states far more than the entry
// holds costs no more memory than the entry.
static uint8_t *_ReadEntry(zip_file_t *file, zip_uint64_t size)
{
    constexpr zip_uint64_t firstBlock = 64 * 1024;
    uint8_t *buffer = nullptr;
    zip_uint64_t capacity = 0;
    zip_uint64_t total = 0;
    do
    {
        if (total == capacity)
        {
            capacity =
                std::max<zip_uint64_t>(std::min(size, std::max(firstBlock, 2 * capacity)), 1);
            auto *grown = static_cast<uint8_t *>(realloc(buffer, capacity));
            if (grown == nullptr)
            {
                free(buffer);
                return nullptr;
            }
            buffer = grown;
        }
        if (total == size)
        {
            break;
        }
        const zip_int64_t count = zip_fread(file, buffer + total, capacity - total);
        // A read that gives nothing while bytes are still missing would repeat forever:
        // the entry is shorter than its directory says, which is a read failure too.
        if (count <= 0)
        {
            free(buffer);
            return nullptr;
        }
        total += static_cast<zip_uint64_t>(count);
    } while (total < size);
    return buffer;
}

uint8_t *Resource_GetData(const char *name)
{
    zip_stat_t stat;
    const zip_int64_t index = _FindEntry(name, false, &stat);
    if (index < 0)
    {
        LOG_ERROR("Unable to load resource: %s", name);
        return nullptr;
    }
    if (stat.size > largestEntry)
    {
        LOG_ERROR("Unable to read data");
        return nullptr;
    }
    zip_file_t *file = zip_fopen_index(zipArchive, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr)
    {
        LOG_ERROR("Unable to open file");
        return nullptr;
    }
    uint8_t *buffer = _ReadEntry(file, stat.size);
    zip_fclose(file);
    // libzip verifies the CRC only on a read that reaches the end of the entry, which the
    // reading the stated size never makes; altered bytes must not pass for the entry.
    if (buffer == nullptr || ((stat.valid & ZIP_STAT_CRC) != 0 &&
                              Checksum_CRC32(buffer, static_cast<int32_t>(stat.size)) != stat.crc))
    {
        free(buffer);
        LOG_ERROR("Unable to read data");
        return nullptr;
    }
    List_AddLast(loadedResources, buffer);
    return buffer;
}

void Resource_Unload(void)
{
    if (zipArchive == nullptr)
    {
        return;
    }
    List_Destroy(loadedResources);
    loadedResources = nullptr;
    // Nothing was changed, so closing writes nothing; should it fail all the same, the
    // handle is dropped rather than leaked.
    if (zip_close(zipArchive) != 0)
    {
        zip_discard(zipArchive);
    }
    zipArchive = nullptr;
}
