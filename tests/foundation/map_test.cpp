// The hash map: buckets, replacement, null values, and keys whose CRC-32 collide.
#include "foundation_test.h"

#include "foundation/checksum.h"
#include "foundation/map.h"
#include "foundation/mystring.h"

#include <algorithm>
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
    Map *map = nullptr;
    void SetUp() override
    {
        FoundationTest::SetUp();
        destroyed.clear();
    }
    // Get and Remove through a throw-away key; Put hands a new key over.
    void *Get(const std::string &key) { return _WithKey(key, Map_Get); }
    void Remove(const std::string &key)
    {
        _WithKey(key, [](Map *m, String *k) { return Map_Remove(m, k), nullptr; });
    }
    void Put(const std::string &key, void *value)
    {
        Map_Put(map, String_Create(key.c_str()), value);
    }

  private:
    template <typename Call> void *_WithKey(const std::string &key, Call call)
    {
        String *probe = String_Create(key.c_str());
        void *value = call(map, probe);
        String_Destroy(probe);
        return value;
    }
};

TEST_F(MapTest, BucketCountIsTheSquareRootOfTheCapacity)
{
    const std::pair<int32_t, int32_t> cases[] = {{1, 1},    {2, 1},    {3, 1},     {4, 2},
                                                 {100, 10}, {256, 16}, {1000, 31}, {1024, 32},
                                                 {0, 1},    {-5, 1}};
    for (const auto &[capacity, buckets] : cases)
    {
        map = Map_Create(capacity, nullptr);
        EXPECT_EQ(Map_GetBucketCount(map), buckets) << capacity;
        EXPECT_EQ(Get("anything"), nullptr);
        Map_Destroy(map);
    }
}

TEST_F(MapTest, PutGetReplaceRemove)
{
    map = Map_Create(49, _RecordDestroy); // 7 buckets; about half the hashes are negative
    std::vector<int> numbers(300);
    for (int i = 0; i < 300; i++)
    {
        numbers[i] = 1000 + i;
        Put("key " + std::to_string(i), &numbers[i]);
    }
    EXPECT_EQ(Map_GetSize(map), 300);
    for (int i = 0; i < 300; i++)
        ASSERT_EQ(Get("key " + std::to_string(i)), &numbers[i]) << i;
    Put("key 5", &values[1]);
    EXPECT_EQ(destroyed, std::vector<int>{1005}) << "the replaced value is handed over";
    EXPECT_EQ(Map_GetSize(map), 300);
    EXPECT_EQ(Get("key 5"), &values[1]);
    Remove("absent");
    Remove("key 7");
    EXPECT_EQ(Get("key 7"), nullptr);
    EXPECT_EQ(Map_GetSize(map), 299);
    EXPECT_EQ(destroyed.back(), 1007);
    Map_Destroy(map);
    EXPECT_EQ(destroyed.size(), 301u);
}

TEST_F(MapTest, NullValuesAreStoredButNeverFound)
{
    map = Map_Create(4, _RecordDestroy);
    Put("ghost", nullptr);
    EXPECT_EQ(Map_GetSize(map), 1);
    EXPECT_EQ(Get("ghost"), nullptr);
    Put("ghost", &values[2]);
    EXPECT_EQ(Map_GetSize(map), 2) << "the null entry is not replaced";
    EXPECT_EQ(Get("ghost"), &values[2]);
    Remove("ghost");
    EXPECT_EQ(Map_GetSize(map), 0) << "the null entry in front is removed on the way";
    Put("ghost", nullptr);
    Map_Destroy(map);
    EXPECT_EQ(destroyed, std::vector<int>{2})
        << "null values are not handed to the destroy function";
}

TEST_F(MapTest, DestroyOrderIsBucketThenInsertion)
{
    map = Map_Create(9, _RecordDestroy);       // 3 buckets
    std::vector<std::pair<int, int>> expected; // (bucket, insertion index)
    for (int i = 0; i < 8; i++)
    {
        String *key = String_Format("name-%d", i);
        expected.emplace_back(abs(String_GetCRC(key) % 3), i);
        Map_Put(map, key, &values[i]);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](auto &a, auto &b) { return a.first < b.first; });
    Map_Destroy(map);
    std::vector<int> order;
    order.reserve(expected.size());
    for (const auto &[bucket, index] : expected)
        order.push_back(index);
    EXPECT_EQ(destroyed, order);
}

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
            letter = static_cast<char>('a' + generator() % 26);
        auto [at, inserted] =
            seen.emplace(Checksum_CRC32(reinterpret_cast<const uint8_t *>(key.data()), 10), key);
        if (!inserted && at->second != key)
        {
            return {at->second, key};
        }
    }
}

TEST_F(MapTest, KeysWithEqualCrcKeepTheirOwnValues)
{
    const auto [first, second] = _CollidingKeys();
    String *a = String_Create(first.c_str());
    String *b = String_Create(second.c_str());
    ASSERT_EQ(String_GetCRC(a), String_GetCRC(b));

    map = Map_Create(100, _RecordDestroy);
    Map_Put(map, a, &values[1]);
    Map_Put(map, b, &values[2]);
    EXPECT_EQ(Map_GetSize(map), 2);
    EXPECT_TRUE(destroyed.empty()) << "neither value was replaced";
    EXPECT_EQ(Get(first), &values[1]);
    EXPECT_EQ(Get(second), &values[2]);
    Put(second, &values[3]);
    EXPECT_EQ(destroyed, std::vector<int>{2});
    Remove(first);
    EXPECT_EQ(Get(first), nullptr);
    EXPECT_EQ(Get(second), &values[3]);
    EXPECT_EQ(Map_GetSize(map), 1);
    Map_Destroy(map);
}
