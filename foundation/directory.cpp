// directory: readdir order, straight into a list that owns the name copies.
#include "foundation/directory.h"

#include "foundation/allocator.h"
#include "foundation/console.h"
#include "foundation/list.h"

#include <cstdlib>
#include <cstring>
#include <dirent.h>

struct Directory
{
    char *path;
    List *fileList;
};

Directory *Directory_Create(const char *path)
{
    Directory *directory = MEMORY_ALLOCATE_RECORD(Directory);
    directory->path = strdup(path);
    return directory;
}

void Directory_Destroy(Directory *directory)
{
    free(directory->path);
    MEMORY_FREE(directory);
}

List *Directory_ReadFileList(Directory *directory)
{
    if (directory->fileList == nullptr)
    {
        directory->fileList = List_Create(free);
    }
    DIR *handle = opendir(directory->path);
    if (handle == nullptr)
    {
        return directory->fileList;
    }
    for (const dirent *entry = readdir(handle); entry != nullptr; entry = readdir(handle))
    {
        Console_PrintCStrFormat("File: %s\n", entry->d_name);
        List_AddLast(directory->fileList, strdup(entry->d_name));
    }
    closedir(handle);
    return directory->fileList;
}
