// map: the CRC-32 picks the bucket and rules out most entries cheaply; equal CRCs are then
// settled by comparing the key texts, so colliding keys never overwrite each other.
#include "foundation/map.h"

#include "foundation/allocator.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/mystring.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

struct Map
{
    MapDestroyFunction destroyFunction;
    int32_t size;
    int32_t bucketCount;
    List **buckets;
};

struct MapEntry
{
    Map *map;
    int32_t hash;
    String *key;
    void *value;
};

// The bucket lists own their entries through this, so List_Destroy disposes of them too.
static void _DestroyEntry(void *userPointer)
{
    auto *entry = static_cast<MapEntry *>(userPointer);
    // A null value holds nothing to release, and destroy functions need not accept null.
    if (entry->map->destroyFunction != nullptr && entry->value != nullptr)
    {
        entry->map->destroyFunction(entry->value);
    }
    String_Destroy(entry->key);
    MEMORY_FREE(entry);
}

// floor(sqrt(value)), exact even where the double's rounding lands one off.
static int32_t _SquareRoot(int32_t value)
{
    auto root = static_cast<int64_t>(std::sqrt(static_cast<double>(value)));
    while (root * root > value)
    {
        root--;
    }
    while ((root + 1) * (root + 1) <= value)
    {
        root++;
    }
    return static_cast<int32_t>(root);
}

static List *_Bucket(Map *map, int32_t hash)
{
    // The remainder takes the dividend's sign; its magnitude is below bucketCount.
    return map->buckets[abs(hash % map->bucketCount)];
}

static bool _SameKey(const MapEntry *entry, int32_t hash, String *key)
{
    if (entry->hash != hash)
    {
        return false;
    }
    const int32_t length = String_Length(key);
    return String_Length(entry->key) == length &&
           memcmp(String_ToCStr(entry->key), String_ToCStr(key), static_cast<size_t>(length)) == 0;
}

Map *Map_Create(int32_t capacity, MapDestroyFunction destroyFunction)
{
    if (capacity < 1)
    {
        LOG_ERROR("Map capacity %d is below 1, using 1.", capacity);
        capacity = 1;
    }
    Map *map = MEMORY_ALLOCATE_RECORD(Map);
    map->destroyFunction = destroyFunction;
    map->bucketCount = _SquareRoot(capacity);
    map->buckets = static_cast<List **>(
        // NOLINTNEXTLINE(bugprone-sizeof-expression): an array of pointers is sized so on purpose.
        MEMORY_ALLOCATE(static_cast<size_t>(map->bucketCount) * sizeof(List *)));
    for (int32_t i = 0; i < map->bucketCount; i++)
    {
        map->buckets[i] = List_Create(_DestroyEntry);
    }
    return map;
}

void Map_Destroy(Map *map)
{
    for (int32_t i = 0; i < map->bucketCount; i++)
    {
        List_Destroy(map->buckets[i]);
    }
    MEMORY_FREE(map->buckets);
    MEMORY_FREE(map);
}

static void *_Get(Map *map, int32_t hash, String *key)
{
    List *bucket = _Bucket(map, hash);
    for (auto *entry = static_cast<MapEntry *>(List_GetFirst(bucket)); entry != nullptr;
         entry = static_cast<MapEntry *>(List_GetNext(bucket)))
    {
        if (entry->value != nullptr && _SameKey(entry, hash, key))
        {
            return entry->value;
        }
    }
    return nullptr;
}

static void _Remove(Map *map, int32_t hash, String *key)
{
    List *bucket = _Bucket(map, hash);
    for (auto *entry = static_cast<MapEntry *>(List_GetFirst(bucket)); entry != nullptr;
         entry = static_cast<MapEntry *>(List_GetNext(bucket)))
    {
        if (!_SameKey(entry, hash, key))
        {
            continue;
        }
        const bool hadValue = entry->value != nullptr;
        List_RemoveCurrent(bucket);
        _DestroyEntry(entry);
        map->size--;
        if (hadValue)
        {
            return;
        }
    }
}

void Map_Put(Map *map, String *key, void *value)
{
    const int32_t hash = String_GetCRC(key);
    if (_Get(map, hash, key) != nullptr)
    {
        _Remove(map, hash, key);
    }
    MapEntry *entry = MEMORY_ALLOCATE_RECORD(MapEntry);
    entry->map = map;
    entry->hash = hash;
    entry->key = key;
    entry->value = value;
    List_AddLast(_Bucket(map, hash), entry);
    map->size++;
}

void *Map_Get(Map *map, String *key)
{
    return _Get(map, String_GetCRC(key), key);
}

void Map_Remove(Map *map, String *key)
{
    _Remove(map, String_GetCRC(key), key);
}

int32_t Map_GetSize(Map *map)
{
    return map->size;
}

int32_t Map_GetBucketCount(Map *map)
{
    return map->bucketCount;
}
