// allocator: counts blocks from the standard heap and logs each one at Debug level.
// It keeps no pool and no list of live blocks; the two counters are its whole state.
#include "foundation/allocator.h"

#include "foundation/logging.h"

#include <cinttypes>
#include <cstdlib>
#include <cstring>

static uint32_t allocatedObjects = 0;
static uint32_t deallocatedObjects = 0;

void *_Allocator_Allocate(const char *file, int32_t line, int32_t size)
{
    // A negative size sign-extends to a huge request and fails like any exhaustion.
    void *block = calloc(1, static_cast<size_t>(static_cast<intptr_t>(size)));
    if (block == nullptr)
    {
        Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_ERROR,
                      "Failed to allocate %d byte at %s:%d.", size, file, line);
        exit(1);
    }
    Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_DEBUG,
                  "Allocated object %x of size=%d at %s:%d",
                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(block)), size, file, line);
    allocatedObjects++;
    return block;
}

void _Allocator_Free(const char *file, int32_t line, void *pointer)
{
    if (pointer == nullptr)
    {
        Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_ERROR,
                      "Trying to free NULL pointer at %s:%d.", file, line);
        exit(1);
    }
    const auto address = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
    free(pointer);
    deallocatedObjects++;
    Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_DEBUG, "Deallocated object %x at %s:%d",
                  address, file, line);
}

void *_Allocator_Clone(const char *file, int32_t line, const void *source, int32_t size)
{
    void *block = _Allocator_Allocate(file, line, size);
    if (size > 0)
    {
        memcpy(block, source, static_cast<size_t>(size));
    }
    return block;
}

void Allocator_PrintDebugOutput(void)
{
    if (allocatedObjects == deallocatedObjects)
    {
        return;
    }
    for (int i = 0; i < 2; i++)
    {
        Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_ERROR,
                      "Allocator allocated %d objects and deallocated %d objects.",
                      allocatedObjects, deallocatedObjects);
    }
    const int64_t active =
        static_cast<int64_t>(allocatedObjects) - static_cast<int64_t>(deallocatedObjects);
    Logging_Print(__FILE__, __LINE__, LOGGING_LEVEL_ERROR,
                  "Allocator has %" PRId64 " active objects and %" PRId64 " bytes allocated.",
                  active, int64_t{0});
}

void Allocator_Initialize(int32_t, int32_t) {}

void Allocator_Shutdown(void) {}

uint32_t Allocator_GetAllocatedObjects(void)
{
    return allocatedObjects;
}

uint32_t Allocator_GetDeallocatedObjects(void)
{
    return deallocatedObjects;
}
