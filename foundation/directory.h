// directory: the names in a directory, gathered into a List of C strings.
#pragma once

struct Directory;
struct List;

// A directory record for path; nothing is read until Directory_ReadFileList.
// Ownership: the caller; release with Directory_Destroy.
Directory *Directory_Create(const char *path);
// Frees the path copy and the record, not the file list.
void Directory_Destroy(Directory *directory);
// Prints "File: <name>" for each entry ("." and ".." included) and appends a heap copy of
// each name to the directory's list, which is created on the first call and never cleared:
// a second call lists the names again. A directory that cannot be opened adds nothing.
// Ownership: the caller destroys the list with List_Destroy (which frees the names), once,
// after the last call; the same list is returned by every call.
List *Directory_ReadFileList(Directory *directory);
