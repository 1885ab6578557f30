// The list and its cursor, and the hash map.
#include "foundation_test.h"

#include "foundation/map.h"

// A list built from values[], whose addresses are the user pointers; V() reads one back.
class ListTest : public FoundationTest
{
  protected:
    int values[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    static inline List *list = nullptr;

    std::string Contents()
    {
        std::string forward, backward;
        for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
            forward += Digit(p);
        for (void *p = List_GetLast(list); p != nullptr; p = List_GetPrevious(list))
            backward.insert(backward.begin(), Digit(p));
        EXPECT_EQ(forward, backward) << "forward and backward links disagree";
        EXPECT_EQ(static_cast<int32_t>(forward.size()), List_GetSize(list));
        return forward;
    }
    // Runs a script of one-letter calls and gives back what they returned, a character each
    // ('-' for null). First, Last, Next, Previous: f l n p; RemoveCurrent, RemoveFirst,
    // RemoveLast: c F L; AddLast, AddFirst of value d (or of null for '_'): a<d> A<d>;
    // Remove of d: x<d> ('+' for success); Find of d: ?<d> gives the found entry's previous,
    // own and next values. '.' gives the contents in brackets. ForEach removing each entry but 2
    // (e), or the entry after each (E): what each visit saw and removed, in parentheses.
    std::string Run(const char *script)
    {
        const char *const names = "flnpcFL";
        void *(*const steps[])(List *) = {List_GetFirst,    List_GetLast,       List_GetNext,
                                          List_GetPrevious, List_RemoveCurrent, List_RemoveFirst,
                                          List_RemoveLast};
        std::string trace;
        for (const char *op = script; *op != '\0'; op++)
        {
            void *arg = op[1] >= '0' && op[1] <= '9' ? &values[op[1] - '0'] : nullptr;
            if (const char *step = strchr(names, *op); step != nullptr)
                trace += Digit(steps[step - names](list));
            else if (*op == 'a' || *op == 'A')
                (*op == 'a' ? List_AddLast : List_AddFirst)(list, arg), op++;
            else if (*op == 'x')
                trace += List_Remove(list, arg) == nullptr ? '-' : '+', op++;
            else if (*op == '?')
            {
                ListEntry *e = List_Find(list, arg);
                trace += e ? std::string{Entry(ListEntry_GetPrevious(e)), Entry(e),
                                         Entry(ListEntry_GetNext(e))}
                           : "---";
                op++;
            }
            else if (*op == '.')
                trace += "[" + Contents() + "]";
            else if (*op == 'e' || *op == 'E')
            {
                visited.clear();
                List_ForEach(list, *op == 'e' ? _RemoveAllBut2 : _RemoveNext);
                trace += "(" + visited + ")";
            }
        }
        return trace;
    }
    static inline std::string visited;
    static void _RemoveAllBut2(List *l, void *p)
    {
        visited += Digit(p);
        if (Digit(p) != '2')
            visited += Digit(List_RemoveCurrent(l));
    }
    static void _RemoveNext(List *l, void *p)
    {
        visited += Digit(p);
        void *next = ListEntry_GetUserPointer(ListEntry_GetNext(List_Find(l, p)));
        visited += List_Remove(l, next) == nullptr ? '-' : '+';
    }
    static char Digit(void *p) { return p ? static_cast<char>('0' + *static_cast<int *>(p)) : '-'; }
    static char Entry(ListEntry *e) { return e ? Digit(ListEntry_GetUserPointer(e)) : '-'; }
};

TEST_F(ListTest, CursorWalksAddsRemovesAndSearches)
{
    const std::tuple<int, const char *, const char *> cases[] = {
        // fill, script, trace
        {0, "flnpcFL x0 ?0 .", "-----------[]"},
        {0, "a2 A1 a3 A0 a_ A_ . ?1 ?0", "[0123]012-01"},
        // A failed step leaves the cursor where it was, on the last entry visited.
        {3, "fpnnnnpnnc .", "0-12--12-2[01]"},
        // Removing during a walk continues with the neighbours; a second removal removes nothing.
        {6, "fnccnnccnncc n . fncpncnpc . np", "011-233-455--[024]022044-00[]--"},
        {4, "lcpcpcpcp .", "33221100-[]"},
        // Cached references must not outlive the entries RemoveFirst and RemoveLast remove.
        {4, "l Fpn Lnp .", "3--1--2[12]"},
        // Added ahead of the cursor: visited; behind it: not, even from the last entry.
        {2, "f a2 A5 nn a3 n . l a4 cn", "012-[50123]334"},
        // The front-most match; a failed search leaves the cursor alone, a hit places it.
        {3, "a0 f ?4 n ?0 n x0 x4 .", "0---1-011+-[120]"},
        // ForEach removing the current entry, or the one after it (which is then skipped).
        {0, "e", "()"},
        {5, "e .", "(001123344)[2]"},
        {6, "E .", "(0+2+4+)[024]"},
    };
    // Destroying hands the entries left over front to back, each unlinked first: what is handed
    // over is each value and the size left then.
    for (const auto &[fill, script, trace] : cases)
    {
        SCOPED_TRACE(script);
        list = List_Create([](void *p) { visited += {Digit(p), char('0' + List_GetSize(list))}; });
        for (int i = 0; i < fill; i++)
            List_AddLast(list, &values[i]);
        EXPECT_EQ(Run(script), trace);
        std::string left = Contents(), handed;
        for (size_t k = 0; k < left.size(); k++)
            handed += std::string{left[k], char('0' + left.size() - 1 - k)};
        visited.clear();
        List_Destroy(list);
        EXPECT_EQ(visited, handed);
    }
}

static std::vector<int> destroyed;

class MapTest : public FoundationTest
{
  protected:
    int values[4] = {0, 1, 2, 3};
    Map *map = nullptr;
    void Create(int32_t capacity)
    {
        destroyed.clear();
        map = Map_Create(capacity, [](void *v) { destroyed.push_back(*static_cast<int *>(v)); });
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
    void Put(const std::string &key, void *v) { Map_Put(map, String_Create(key.c_str()), v); }
};

TEST_F(MapTest, BucketCountIsTheSquareRootOfTheCapacity)
{
    for (const auto &[capacity, buckets] :
         {std::pair{1, 1}, {3, 1}, {4, 2}, {100, 10}, {1000, 31}, {1024, 32}, {0, 1}, {-5, 1}})
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
    Create(49);                                // 7 buckets; about half the hashes are negative
    std::vector<int> numbers(300), buckets[7]; // values by bucket, in the order of insertion
    for (int i = 0; i < 300; i++)
    {
        String *key = String_Format("key %d", i);
        numbers[i] = 1000 + i;
        if (i != 7)
            buckets[abs(String_GetCRC(key) % 7)].push_back(numbers[i]);
        Map_Put(map, key, &numbers[i]);
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
    EXPECT_EQ(destroyed, (std::vector<int>{1005, 1007}));
    destroyed.clear();
    Map_Destroy(map);
    std::vector<int> expected;
    for (std::vector<int> &bucket : buckets)
    {
        if (std::erase(bucket, 1005) != 0) // a replaced value goes last
            bucket.push_back(1);
        expected.insert(expected.end(), bucket.begin(), bucket.end());
    }
    EXPECT_EQ(destroyed, expected);
}

// Colliding keys keep their own values; null values are stored but never found, not replaced,
// removed on the way to the entry behind them and never handed to the destroy function.
TEST_F(MapTest, KeysWithEqualCrcAndNullValues)
{
    ASSERT_EQ(Checksum_CRC32(reinterpret_cast<const uint8_t *>("plumless"), 8),
              Checksum_CRC32(reinterpret_cast<const uint8_t *>("buckeroo"), 8));
    Create(100);
    Put("plumless", &values[1]);
    Put("buckeroo", &values[2]);
    EXPECT_EQ(Get("plumless"), &values[1]);
    EXPECT_EQ(Get("buckeroo"), &values[2]);
    Put("buckeroo", &values[3]);
    EXPECT_EQ(destroyed, std::vector<int>{2});
    Remove("plumless");
    EXPECT_EQ(Get("plumless"), nullptr);
    EXPECT_EQ(Get("buckeroo"), &values[3]);
    EXPECT_EQ(Map_GetSize(map), 1);

    Put("ghost", nullptr);
    EXPECT_EQ(Get("ghost"), nullptr);
    Put("ghost", &values[2]);
    EXPECT_EQ(Map_GetSize(map), 3);
    EXPECT_EQ(Get("ghost"), &values[2]);
    Remove("ghost");
    EXPECT_EQ(Map_GetSize(map), 1);
    Put("ghost", nullptr);
    Map_Destroy(map);
    EXPECT_EQ(destroyed, (std::vector<int>{2, 1, 2, 3}));
}
