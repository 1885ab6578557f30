// allocator: the one place heap memory for records is obtained and released.
// Every call names its calling site so the Debug log can tell who allocated what;
// exhaustion and releasing null end the process, so callers never check for null.
#pragma once

#include <cstdint>

// Zero-filled block of size bytes. Never returns null.
// Ownership: the caller; release with MEMORY_FREE.
void *_Allocator_Allocate(const char *file, int32_t line, int32_t size);

// Releases a block from _Allocator_Allocate or _Allocator_Clone. Null is fatal.
void _Allocator_Free(const char *file, int32_t line, void *pointer);

// New block holding a copy of size bytes at source, counted as one allocation.
// Ownership: the caller; release with MEMORY_FREE.
void *_Allocator_Clone(const char *file, int32_t line, const void *source, int32_t size);

// Logs the summary at Error level when allocations and releases differ.
void Allocator_PrintDebugOutput(void);

// Start-up and shut-down hooks; both do nothing.
void Allocator_Initialize(int32_t initialObjects, int32_t initialBytes);
void Allocator_Shutdown(void);

// The counters, for checks that everything made was released.
uint32_t Allocator_GetAllocatedObjects(void);
uint32_t Allocator_GetDeallocatedObjects(void);

#define MEMORY_ALLOCATE(size)      _Allocator_Allocate(__FILE__, __LINE__, (int32_t)(size))
#define MEMORY_FREE(pointer)       _Allocator_Free(__FILE__, __LINE__, (pointer))
#define MEMORY_CLONE(source, size) _Allocator_Clone(__FILE__, __LINE__, (source), (int32_t)(size))
// Typed allocation of one zeroed record.
// NOLINTNEXTLINE(bugprone-macro-parentheses): Type is a type name, which cannot be parenthesised.
#define MEMORY_ALLOCATE_RECORD(Type) static_cast<Type *>(MEMORY_ALLOCATE(sizeof(Type)))
