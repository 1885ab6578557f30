// resource_win: the game's one data archive, "resources.dat", read with libzip.
// The archive is opened once at start-up; named entries are handed out as fresh heap
// buffers that this module keeps and releases when the archive is unloaded.
#pragma once

#include <cstdint>

// Makes the directory of the running program the working directory, so the archive is
// found beside the program whatever directory it was started from and through whatever
// link. The program is located through the running executable itself; only where that
// is not available is the directory of argv[0] used. The count is not used.
void Resource_Init(int32_t argc, char **argv);

// Opens the archive read-only with consistency checks and logs its entries. A failure is
// logged and leaves the module unopened: every lookup then finds nothing. Loading while
// an archive is open unloads that one first.
void Resource_Load(const char *path);

// Uncompressed size of the entry whose whole name equals name, or 0 when there is none.
// Every entry name scanned up to the match is logged at Error level.
int32_t Resource_GetSize(const char *name);

// A new buffer holding the uncompressed bytes of the entry named name, or null (logged)
// when there is no such entry or it cannot be read in full. Every call reads anew.
// Ownership: this module; callers never release it. Valid until Resource_Unload.
uint8_t *Resource_GetData(const char *name);

// Releases every buffer handed out and closes the archive; nothing when none is open.
void Resource_Unload(void);
