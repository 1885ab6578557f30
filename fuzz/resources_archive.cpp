// Any bytes as resources.dat, every entry asked for as the game asks: a buffer handed out holds
// the stated size and matches the CRC. The bytes go to a memory file reached by its /proc path.
#include "foundation/checksum.h"
#include "fuzz/fuzz_prologue.h"
#include "resources/resource_win.h"

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#include <zip.h>

static int archiveFile = -1;
static char archivePath[64];

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    archiveFile = memfd_create("resources.dat", 0);
    if (archiveFile < 0)
        abort();
    snprintf(archivePath, sizeof(archivePath), "/proc/self/fd/%d", archiveFile);
    return 0;
}

// Only the first entry of a name is the one handed out.
static void _ReadEveryEntry(zip_t *listing)
{
    zip_stat_t stat;
    for (zip_int64_t i = 0; i < zip_get_num_entries(listing, 0); i++)
    {
        if (zip_stat_index(listing, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            (stat.valid & ZIP_STAT_NAME) == 0)
            continue;
        const int32_t size = Resource_GetSize(stat.name);
        const uint8_t *data = Resource_GetData(stat.name);
        if (data == nullptr || size < 0)
            continue;
        Fuzz_ReadAll(data, static_cast<size_t>(size));
        if ((stat.valid & ZIP_STAT_CRC) != 0 && zip_name_locate(listing, stat.name, 0) == i &&
            static_cast<zip_uint64_t>(size) == stat.size && Checksum_CRC32(data, size) != stat.crc)
            abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!Fuzz_Accept(size) || ftruncate(archiveFile, 0) != 0 ||
        pwrite(archiveFile, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    Resource_Load(archivePath);
    zip_t *listing = zip_open(archivePath, ZIP_RDONLY, nullptr);
    if (listing != nullptr)
    {
        _ReadEveryEntry(listing);
        zip_discard(listing);
    }
    Resource_Unload();
    return 0;
}
