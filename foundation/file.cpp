// file: POSIX descriptors and mmap. Every call checks the descriptor first, so a file whose
// open failed can be passed around and destroyed like any other.
#include "foundation/file.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

struct File
{
    char *path;
    char *name;
    char *dirPath;
    int32_t writable;
    int32_t fd;
    void *view;
    int32_t mappedSize;
};

File *File_Create(const char *path, bool create, bool writable, bool append)
{
    File *file = MEMORY_ALLOCATE_RECORD(File);
    if (path == nullptr)
    {
        LOG_ERROR("Unable to open a file without a path");
        path = "";
    }
    int flags = (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC;
    if (create)
    {
        flags |= O_CREAT;
    }
    if (append)
    {
        flags |= O_APPEND;
    }
    file->fd = open(path, flags, 0644);
    // A directory opens read-only like a file, but nothing read from it or mapped is a file's.
    struct stat status;
    if (file->fd >= 0 && fstat(file->fd, &status) == 0 && S_ISDIR(status.st_mode))
    {
        LOG_ERROR("Unable to open %s: it is a directory", path);
        close(file->fd);
        file->fd = -1;
    }
    file->writable = writable ? 1 : 0;
    file->path = strdup(path);

    // Both separators count, so paths written for either platform split the same way.
    const char *slash = strrchr(path, '/');
    const char *backslash = strrchr(path, '\\');
    const char *separator = std::max(slash, backslash);
    if (separator == nullptr)
    {
        file->name = strdup(path);
        file->dirPath = strdup("");
    }
    else
    {
        file->name = strdup(separator + 1);
        file->dirPath = strndup(path, static_cast<size_t>(separator - path));
    }
    return file;
}

static void _Unmap(File *file)
{
    if (file->view != nullptr)
    {
        munmap(file->view, static_cast<size_t>(file->mappedSize));
        file->view = nullptr;
        file->mappedSize = 0;
    }
}

void File_Destroy(File *file)
{
    _Unmap(file);
    free(file->path);
    free(file->name);
    free(file->dirPath);
    if (file->fd >= 0)
    {
        close(file->fd);
    }
    MEMORY_FREE(file);
}

void File_Seek(File *file, int32_t position)
{
    if (file->fd >= 0)
    {
        lseek(file->fd, position, SEEK_SET);
    }
}

// read and write may move fewer bytes than asked (signals, pipes); keep going until done,
// the end of the file, or an error.
template <typename Transfer, typename Buffer>
static int32_t _TransferAll(File *file, Buffer *buffer, int32_t count, Transfer transfer)
{
    if (file->fd < 0 || buffer == nullptr || count <= 0)
    {
        return 0;
    }
    int32_t done = 0;
    while (done < count)
    {
        const ssize_t moved = transfer(file->fd, buffer + done, static_cast<size_t>(count - done));
        if (moved < 0 && errno == EINTR)
        {
            continue;
        }
        if (moved <= 0)
        {
            break;
        }
        done += static_cast<int32_t>(moved);
    }
    return done;
}

int32_t File_Read(File *file, void *buffer, int32_t count)
{
    return _TransferAll(file, static_cast<uint8_t *>(buffer), count, read);
}

int32_t File_Write(File *file, const void *buffer, int32_t count)
{
    return _TransferAll(file, static_cast<const uint8_t *>(buffer), count, write);
}

int32_t File_GetSize(File *file)
{
    if (file->fd < 0)
    {
        return -1;
    }
    const off_t position = lseek(file->fd, 0, SEEK_CUR);
    const off_t size = lseek(file->fd, 0, SEEK_END);
    if (position >= 0)
    {
        lseek(file->fd, position, SEEK_SET);
    }
    if (position < 0 || size < 0 || size > INT32_MAX)
    {
        return -1;
    }
    return static_cast<int32_t>(size);
}

void *File_MapToMemory(File *file)
{
    _Unmap(file);
    const int32_t size = File_GetSize(file);
    if (size <= 0)
    {
        return nullptr;
    }
    void *view =
        mmap(nullptr, static_cast<size_t>(size), PROT_READ | PROT_WRITE, MAP_SHARED, file->fd, 0);
    if (view == MAP_FAILED)
    {
        return nullptr;
    }
    file->view = view;
    file->mappedSize = size;
    return view;
}

const char *File_GetPath(File *file)
{
    return file->path;
}

const char *File_GetName(File *file)
{
    return file->name;
}

const char *File_GetDirPath(File *file)
{
    return file->dirPath;
}

int32_t File_GetFileDescriptor(File *file)
{
    return file->fd;
}
