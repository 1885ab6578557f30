// map: values stored under String keys in a chained hash table. The hash is the key's
// CRC-32 and each bucket is a List; keys are told apart by their text, so two keys that
// share a CRC-32 live side by side in one bucket.
#pragma once

#include <cstdint>

struct Map;
struct String;

typedef void (*MapDestroyFunction)(void *value);

// An empty map with floor(sqrt(capacity)) buckets. A capacity below 1 is a caller error;
// it is logged and treated as 1. With a destroy function the map owns its values and hands
// each non-null one to it when it is replaced, removed or left at Map_Destroy.
// Ownership: the caller; release with Map_Destroy.
Map *Map_Create(int32_t capacity, MapDestroyFunction destroyFunction);
// Disposes of every entry (bucket by bucket, each in insertion order), then the map.
void Map_Destroy(Map *map);

// Stores value under key, replacing (and disposing of) a non-null value stored under the
// same text. A null value is stored as an entry of its own that Map_Get passes over.
// Ownership: the key passes to the map and must not be used afterwards.
void Map_Put(Map *map, String *key, void *value);
// The non-null value stored under key's text, or null. The key stays the caller's.
// The value stays the map's when it has a destroy function.
void *Map_Get(Map *map, String *key);
// Disposes of the entries stored under key's text, up to and including the first one with
// a non-null value. The key stays the caller's.
void Map_Remove(Map *map, String *key);

int32_t Map_GetSize(Map *map);
int32_t Map_GetBucketCount(Map *map);
