// archive_writer: libzip with every field that could carry the build's time or host pinned.
#include "tools/archive_writer.h"

#include <cstdio>
#include <zip.h>

// 2024-01-01 00:00:00 in MS-DOS date and time form; a DOS date, unlike a time_t, does not go
// through the build machine's time zone on its way into the archive.
static const zip_uint16_t kDosDate = ((2024 - 1980) << 9) | (1 << 5) | 1;
static const zip_uint16_t kDosTime = 0;
// Regular file, rw-r--r--, in the upper half as UNIX zip tools expect it.
static const zip_uint32_t kUnixAttributes = 0100644u << 16;

static bool _AddEntry(zip_t *archive, const ArchiveEntry &entry)
{
    // The buffer is read at zip_close; the caller's entries outlive the archive handle.
    zip_source_t *source = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
    if (source == nullptr)
    {
        return false;
    }
    zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0)
    {
        zip_source_free(source);
        return false;
    }
    zip_uint64_t i = static_cast<zip_uint64_t>(index);
    return zip_set_file_compression(archive, i, ZIP_CM_DEFLATE, 9) == 0 &&
           zip_file_set_dostime(archive, i, kDosTime, kDosDate, 0) == 0 &&
           zip_file_set_external_attributes(archive, i, 0, ZIP_OPSYS_UNIX, kUnixAttributes) == 0;
}

bool ArchiveWriter_Write(const char *path, const std::vector<ArchiveEntry> &entries)
{
    int error = 0;
    zip_t *archive = zip_open(path, ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
    {
        zip_error_t details;
        zip_error_init_with_code(&details, error);
        std::fprintf(stderr, "Cannot create %s: %s\n", path, zip_error_strerror(&details));
        zip_error_fini(&details);
        return false;
    }
    for (const ArchiveEntry &entry : entries)
    {
        if (!_AddEntry(archive, entry))
        {
            std::fprintf(stderr, "Cannot add %s to %s: %s\n", entry.name.c_str(), path,
                         zip_strerror(archive));
            zip_discard(archive);
            return false;
        }
    }
    if (zip_close(archive) != 0)
    {
        std::fprintf(stderr, "Cannot write %s: %s\n", path, zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}
