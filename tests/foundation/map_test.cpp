// The hash map: buckets, replacement, null values, and keys whose CRC-32 collide.
#include "foundation_test.h"

#include "foundation/map.h"

static std::vector<int> destroyed;

class MapTest : public FoundationTest
{
  protected:
    int values[4] = {0, 1, 2, 3};
    Map *map = nullptr;
    void Create(int32_t capacity)
    {
        destroyed.clear();
        map = Map_Create(capacity,
                         [](void *value) { destroyed.push_back(*static_cast<int *>(value)); });
    }
    // Get and Remove through a throw-away key (null Get for Remove); Put hands a new key over.
    void *Get(const std::string &key, bool remove = false)
    {
        String *probe = String_Create(key.c_str());
        void *value = remove ? (Map_Remove(map, probe), nullptr) : Map_Get(map, probe);
        String_Destroy(probe);
        return value;
    }
    void Remove(const std::string &key) { Get(key, true); }
    void Put(const std::string &key, void *value)
    {
        Map_Put(map, String_Create(key.c_str()), value);
    }
};

TEST_F(MapTest, BucketCountIsTheSquareRootOfTheCapacity)
{
    const std::pair<int32_t, int32_t> cases[] = {{1, 1},    {2, 1},    {3, 1},     {4, 2},
                                                 {100, 10}, {256, 16}, {1000, 31}, {1024, 32},
                                                 {0, 1},    {-5, 1}};
    for (const auto &[capacity, buckets] : cases)
    {
        Create(capacity);
        EXPECT_EQ(Map_GetBucketCount(map), buckets) << capacity;
        EXPECT_EQ(Get("anything"), nullptr);
        Map_Destroy(map);
    }
}

// Destroying hands the values over bucket by bucket, each in the order of insertion.
TEST_F(MapTest, PutGetReplaceRemoveAndDestroyOrder)
{
    Create(49); // 7 buckets; about half the hashes are negative
    std::vector<int> numbers(300);
    std::vector<std::pair<int, int>> order; // (bucket, value); a replaced value goes last
    for (int i = 0; i < 300; i++)
    {
        String *key = String_Format("key %d", i);
        numbers[i] = 1000 + i;
        if (i != 7)
            order.emplace_back(abs(String_GetCRC(key) % 7), i == 5 ? 0 : numbers[i]);
        Map_Put(map, key, &numbers[i]);
    }
    order.emplace_back(order[5].first, 1);
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
    EXPECT_EQ(destroyed, (std::vector<int>{1005, 1007}));
    destroyed.clear();
    Map_Destroy(map);
    std::stable_sort(order.begin(), order.end(),
                     [](auto &a, auto &b) { return a.first < b.first; });
    std::vector<int> expected;
    for (const auto &[bucket, value] : order)
        if (value != 0)
            expected.push_back(value);
    EXPECT_EQ(destroyed, expected);
}

TEST_F(MapTest, NullValuesAreStoredButNeverFound)
{
    Create(4);
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

TEST_F(MapTest, KeysWithEqualCrcKeepTheirOwnValues)
{
    const std::string first = "plumless", second = "buckeroo";
    ASSERT_EQ(Checksum_CRC32(reinterpret_cast<const uint8_t *>(first.data()), 8),
              Checksum_CRC32(reinterpret_cast<const uint8_t *>(second.data()), 8));
    Create(100);
    Put(first, &values[1]);
    Put(second, &values[2]);
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
