// archive_writer: writes named byte blocks into a zip archive that comes out byte-identical
// on every run (fixed order, fixed time stamps, fixed attributes, fixed compression level).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArchiveEntry
{
    std::string name;
    std::vector<uint8_t> data;
};

// Replaces whatever file is at path. Returns false (after a message on standard error) when
// the archive cannot be written.
bool ArchiveWriter_Write(const char *path, const std::vector<ArchiveEntry> &entries);
