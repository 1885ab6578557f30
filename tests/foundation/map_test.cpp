// The hash map: buckets, replacement, null values, and keys whose CRC-32 collide.
#include "foundation_test.h"

#include "foundation/checksum.h"
#include "foundation/map.h"
#include "foundation/mystring.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <unordered_map>
#include <vector>

static std::vector<int> destroyed;
static void _RecordDestroy(void *value)
{
    destroyed.push_back(*static_cast<int *>(value));
}

class MapTest : public FoundationTest
{
  protected:
    int values[8] = {0, 1, 2, 3, 4, 5, 6, 7};
    void SetUp() override
    {
        FoundationTest::SetUp();
        destroyed.clear();
    }
    // Map_Get with a throw-away key.
    static void *Get(Map *map, const char *key)
    {
        String *probe = String_Create(key);
        void *value = Map_Get(map, probe);
        String_Destroy(probe);
        return value;
    }
    static void Remove(Map *map, const char *key)
    {
        String *probe = String_Create(key);
        Map_Remove(map, probe);
        String_Destroy(probe);
    }
};

// Two different ten-letter texts with equal CRC-32, found by a birthday search: about 2^16
// random keys make a collision likely. (Keys that vary in few bits, like numbered names,
// never collide: the CRC is linear and maps them one to one.)
static std::pair<std::string, std::string> _CollidingKeys()
{
    std::mt19937 generator(2024);
    std::unordered_map<uint32_t, std::string> seen;
    for (;;)
    {
        std::string key(10, 'a');
        for (char &letter : key)
        {
            letter = static_cast<char>('a' + generator() % 26);
        }
        const uint32_t crc = Checksum_CRC32(reinterpret_cast<const uint8_t *>(key.data()),
                                            static_cast<int32_t>(key.size()));
        auto [at, inserted] = seen.emplace(crc, key);
        if (!inserted && at->second != key)
        {
            return {at->second, key};
        }
    }
}

TEST_F(MapTest, BucketCountIsTheSquareRootOfTheCapacity)
{
    const std::pair<int32_t, int32_t> cases[] = {{1, 1},    {2, 1},    {3, 1},     {4, 2},
                                                 {100, 10}, {256, 16}, {1000, 31}, {1024, 32},
                                                 {0, 1},    {-5, 1}};
    for (const auto &[capacity, buckets] : cases)
    {
        Map *map = Map_Create(capacity, nullptr);
        EXPECT_EQ(Map_GetBucketCount(map), buckets) << capacity;
        EXPECT_EQ(Map_GetSize(map), 0);
        EXPECT_EQ(Get(map, "anything"), nullptr);
        Map_Destroy(map);
    }
}

TEST_F(MapTest, PutGetReplaceRemove)
{
    Map *map = Map_Create(49, _RecordDestroy);
    std::vector<int> numbers(300);
    for (int i = 0; i < 300; i++)
    {
        numbers[i] = 1000 + i;
        Map_Put(map, String_Format("key %d", i), &numbers[i]);
    }
    EXPECT_EQ(Map_GetSize(map), 300);
    for (int i = 0; i < 300; i++)
    {
        const std::string key = "key " + std::to_string(i);
        ASSERT_EQ(Get(map, key.c_str()), &numbers[i]) << key;
    }

    Map_Put(map, String_Create("key 5"), &values[1]);
    EXPECT_EQ(destroyed, std::vector<int>{1005}) << "the replaced value is handed over";
    EXPECT_EQ(Map_GetSize(map), 300);
    EXPECT_EQ(Get(map, "key 5"), &values[1]);

    Remove(map, "absent");
    EXPECT_EQ(Map_GetSize(map), 300);
    Remove(map, "key 7");
    EXPECT_EQ(Get(map, "key 7"), nullptr);
    EXPECT_EQ(Map_GetSize(map), 299);
    EXPECT_EQ(destroyed.back(), 1007);
    Map_Destroy(map);
    EXPECT_EQ(destroyed.size(), 301u);
}

TEST_F(MapTest, NullValuesAreStoredButNeverFound)
{
    Map *map = Map_Create(4, _RecordDestroy);
    Map_Put(map, String_Create("ghost"), nullptr);
    EXPECT_EQ(Map_GetSize(map), 1);
    EXPECT_EQ(Get(map, "ghost"), nullptr);
    Map_Put(map, String_Create("ghost"), &values[2]);
    EXPECT_EQ(Map_GetSize(map), 2) << "the null entry is not replaced";
    EXPECT_EQ(Get(map, "ghost"), &values[2]);
    Remove(map, "ghost");
    EXPECT_EQ(Map_GetSize(map), 0) << "the null entry in front is removed on the way";
    EXPECT_EQ(destroyed, std::vector<int>{2}) << "null values are not handed over";
    Map_Put(map, String_Create("ghost"), nullptr);
    Map_Destroy(map);
    EXPECT_EQ(destroyed.size(), 1u);
}

TEST_F(MapTest, DestroyOrderIsBucketThenInsertion)
{
    const char *keys[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta"};
    Map *map = Map_Create(9, _RecordDestroy);
    std::vector<std::pair<int, int>> expected; // (bucket, insertion index)
    for (int i = 0; i < 6; i++)
    {
        String *key = String_Create(keys[i]);
        expected.emplace_back(abs(String_GetCRC(key) % 3), i);
        Map_Put(map, key, &values[i]);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](auto &a, auto &b) { return a.first < b.first; });
    Map_Destroy(map);
    ASSERT_EQ(destroyed.size(), 6u);
    for (int i = 0; i < 6; i++)
    {
        EXPECT_EQ(destroyed[i], expected[i].second) << i;
    }
}

TEST_F(MapTest, KeysWithEqualCrcKeepTheirOwnValues)
{
    const auto [first, second] = _CollidingKeys();
    ASSERT_NE(first, second);
    String *a = String_Create(first.c_str());
    String *b = String_Create(second.c_str());
    ASSERT_EQ(String_GetCRC(a), String_GetCRC(b));

    Map *map = Map_Create(100, _RecordDestroy);
    Map_Put(map, a, &values[1]);
    Map_Put(map, b, &values[2]);
    EXPECT_EQ(Map_GetSize(map), 2);
    EXPECT_TRUE(destroyed.empty()) << "neither value was replaced";
    EXPECT_EQ(Get(map, first.c_str()), &values[1]);
    EXPECT_EQ(Get(map, second.c_str()), &values[2]);

    Map_Put(map, String_Create(second.c_str()), &values[3]);
    EXPECT_EQ(destroyed, std::vector<int>{2});
    EXPECT_EQ(Get(map, first.c_str()), &values[1]);

    Remove(map, first.c_str());
    EXPECT_EQ(Get(map, first.c_str()), nullptr);
    EXPECT_EQ(Get(map, second.c_str()), &values[3]);
    EXPECT_EQ(Map_GetSize(map), 1);
    Map_Destroy(map);
}
