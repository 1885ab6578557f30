// file: one open file descriptor with its path, name and directory: plain reading,
// writing and seeking, the size, and a read-write mapping of the whole file.
// A file whose open failed keeps a negative descriptor; every operation on it is harmless
// and reports nothing useful (no bytes, size -1, no mapping).
#pragma once

#include <cstdint>

struct File;

// Opens path read-write when writable, read-only otherwise; create adds create-if-missing
// (mode 0644 before the umask), append makes every write go to the end. The path is split
// at its last '/' or '\\', whichever comes later, into directory and name. A null path (kept
// as an empty one) and a directory are refused with an Error line, as a failed open.
// Ownership: the caller; release with File_Destroy (also after a failed open).
File *File_Create(const char *path, bool create, bool writable, bool append);
// Unmaps the mapping, if any, closes the descriptor and frees the record.
void File_Destroy(File *file);

// Moves to an absolute position from the start.
void File_Seek(File *file, int32_t position);
// Reads up to count bytes at the current position; returns how many were read
// (fewer at the end of the file, 0 on failure).
int32_t File_Read(File *file, void *buffer, int32_t count);
// Writes count bytes at the current position; returns how many were written
// (fewer or 0 on failure).
int32_t File_Write(File *file, const void *buffer, int32_t count);
// The size in bytes; the position is left where it was. -1 when it cannot be taken or
// does not fit 32 bits.
int32_t File_GetSize(File *file);
// Maps the whole file read-write (writes reach the file); null when that fails, e.g. for an
// empty file or one opened read-only. A second call replaces the earlier mapping, whose
// address is then no longer valid. Ownership: the file's; File_Destroy unmaps it.
void *File_MapToMemory(File *file);

// The file's own texts; valid until File_Destroy.
const char *File_GetPath(File *file);
const char *File_GetName(File *file);
const char *File_GetDirPath(File *file);
int32_t File_GetFileDescriptor(File *file);
