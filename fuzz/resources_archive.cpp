// Any bytes as resources.dat, every entry asked for as the game asks: a buffer handed out holds
// the stated size and matches the CRC. The bytes go to a memory file reached by its /proc path.
#include "foundation/checksum.h"
#include "fuzz/fuzz_prologue.h"
#include "resources/resource_win.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <zip.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t length)
{
    static const int archiveFile = memfd_create("resources.dat", 0);
    static const std::string archivePath = "/proc/self/fd/" + std::to_string(archiveFile);
    if (archiveFile < 0)
        abort();
    if (!Fuzz_Accept(length) || ftruncate(archiveFile, 0) != 0 ||
        pwrite(archiveFile, bytes, length, 0) != static_cast<ssize_t>(length))
        return 0;
    Resource_Load(archivePath.c_str());
    zip_t *listing = zip_open(archivePath.c_str(), ZIP_RDONLY, nullptr);
    zip_stat_t stat;
    for (zip_int64_t i = 0; listing != nullptr && i < zip_get_num_entries(listing, 0); i++)
    {
        if (zip_stat_index(listing, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            (stat.valid & ZIP_STAT_NAME) == 0)
            continue;
        const int32_t size = Resource_GetSize(stat.name);
        const uint8_t *data = Resource_GetData(stat.name);
        if (data == nullptr || size < 0)
            continue;
        Fuzz_ReadAll(data, static_cast<size_t>(size));
        // Only the first entry of a name is the one handed out.
        if ((stat.valid & ZIP_STAT_CRC) != 0 && zip_name_locate(listing, stat.name, 0) == i &&
            static_cast<zip_uint64_t>(size) == stat.size && Checksum_CRC32(data, size) != stat.crc)
            abort();
    }
    if (listing != nullptr)
        zip_discard(listing);
    Resource_Unload();
    return 0;
}
