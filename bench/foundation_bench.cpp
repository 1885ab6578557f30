// CRC-32 throughput beside zlib's crc32 on the same 1 MiB, and the list and map operations
// the game and the toolkit lean on. The log is kept at Error level so the allocator's
// Debug lines cost nothing, as in the game.
#include "foundation/checksum.h"
#include "foundation/list.h"
#include "foundation/logging.h"
#include "foundation/map.h"
#include "foundation/mystring.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>
#include <zlib.h>

static const std::vector<uint8_t> &_Buffer()
{
    static const std::vector<uint8_t> buffer = []
    {
        std::vector<uint8_t> bytes(1 << 20);
        std::mt19937 generator(1);
        for (uint8_t &byte : bytes)
        {
            byte = static_cast<uint8_t>(generator());
        }
        return bytes;
    }();
    return buffer;
}

// Argument 1: the fastest way this processor allows; 0: the tables alone.
static void BM_Checksum_CRC32(benchmark::State &state)
{
    const std::vector<uint8_t> &buffer = _Buffer();
    Checksum_AllowCarrylessMultiply(state.range(0) != 0);
    state.SetLabel(Checksum_UsesCarrylessMultiply() ? "carry-less multiplication" : "tables");
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(
            Checksum_CRC32(buffer.data(), static_cast<int32_t>(buffer.size())));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
    Checksum_AllowCarrylessMultiply(true);
}
BENCHMARK(BM_Checksum_CRC32)->Arg(1)->Arg(0);

static void BM_Zlib_crc32(benchmark::State &state)
{
    const std::vector<uint8_t> &buffer = _Buffer();
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(crc32(0L, buffer.data(), static_cast<uInt>(buffer.size())));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_Zlib_crc32);

// Build a list of n entries, walk it, then empty it by removing during a walk.
static void BM_List_AddWalkRemove(benchmark::State &state)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    const auto count = static_cast<int>(state.range(0));
    std::vector<int> values(static_cast<size_t>(count));
    for (auto _ : state)
    {
        List *list = List_Create(nullptr);
        for (int &value : values)
        {
            List_AddLast(list, &value);
        }
        int64_t sum = 0;
        for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
        {
            sum += *static_cast<int *>(p);
        }
        for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
        {
            List_RemoveCurrent(list);
        }
        benchmark::DoNotOptimize(sum);
        List_Destroy(list);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_List_AddWalkRemove)->Arg(64)->Arg(4096);

static std::vector<std::string> _Keys(int count)
{
    std::vector<std::string> keys;
    keys.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; i++)
    {
        keys.push_back("entity/" + std::to_string(i * 7919));
    }
    return keys;
}

static void BM_Map_Put(benchmark::State &state)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    const auto count = static_cast<int>(state.range(0));
    const std::vector<std::string> keys = _Keys(count);
    static int value = 1;
    for (auto _ : state)
    {
        Map *map = Map_Create(count, nullptr);
        for (const std::string &key : keys)
        {
            Map_Put(map, String_Create(key.c_str()), &value);
        }
        Map_Destroy(map);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Map_Put)->Arg(1024);

static void BM_Map_Get(benchmark::State &state)
{
    Logging_SetLevel(LOGGING_LEVEL_ERROR);
    const auto count = static_cast<int>(state.range(0));
    const std::vector<std::string> keys = _Keys(count);
    static int value = 1;
    Map *map = Map_Create(count, nullptr);
    std::vector<String *> probes;
    for (const std::string &key : keys)
    {
        Map_Put(map, String_Create(key.c_str()), &value);
        probes.push_back(String_Create(key.c_str()));
    }
    for (auto _ : state)
    {
        for (String *probe : probes)
        {
            benchmark::DoNotOptimize(Map_Get(map, probe));
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    for (String *probe : probes)
    {
        String_Destroy(probe);
    }
    Map_Destroy(map);
}
BENCHMARK(BM_Map_Get)->Arg(1024);
