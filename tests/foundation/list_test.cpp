// The list and its built-in cursor: walks that remove, add and search while they run.
#include "foundation_test.h"

#include "foundation/list.h"

#include <vector>

// A list built from values[], whose addresses are the user pointers.
class ListTest : public FoundationTest
{
  protected:
    int values[6] = {0, 1, 2, 3, 4, 5};
    List *list = nullptr;

    void Fill(int count)
    {
        list = List_Create(nullptr);
        for (int i = 0; i < count; i++)
        {
            List_AddLast(list, &values[i]);
        }
    }
    void TearDown() override
    {
        if (list != nullptr)
        {
            List_Destroy(list);
        }
        FoundationTest::TearDown();
    }
    // Front to back with a fresh walk; -1 marks a user pointer that is not one of values[].
    std::vector<int> Contents()
    {
        std::vector<int> seen;
        for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
        {
            seen.push_back(*static_cast<int *>(p));
        }
        std::vector<int> backwards;
        for (void *p = List_GetLast(list); p != nullptr; p = List_GetPrevious(list))
        {
            backwards.insert(backwards.begin(), *static_cast<int *>(p));
        }
        EXPECT_EQ(seen, backwards) << "forward and backward links disagree";
        EXPECT_EQ(static_cast<int32_t>(seen.size()), List_GetSize(list));
        return seen;
    }
    int Value(void *p) { return p == nullptr ? -1 : *static_cast<int *>(p); }
};

TEST_F(ListTest, EmptyListIsHarmless)
{
    const int64_t live = Live();
    Fill(0);
    EXPECT_EQ(Live(), live + 1) << "an empty list is one record";
    EXPECT_EQ(List_GetFirst(list), nullptr);
    EXPECT_EQ(List_GetLast(list), nullptr);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(List_GetPrevious(list), nullptr);
    EXPECT_EQ(List_RemoveCurrent(list), nullptr);
    EXPECT_EQ(List_RemoveFirst(list), nullptr);
    EXPECT_EQ(List_RemoveLast(list), nullptr);
    EXPECT_EQ(List_Remove(list, &values[0]), nullptr);
    EXPECT_EQ(List_Find(list, &values[0]), nullptr);
    List_ForEach(list, [](List *, void *) { FAIL() << "called on an empty list"; });
    EXPECT_EQ(List_GetSize(list), 0);
}

TEST_F(ListTest, AddFirstAddLastAndEntryLinks)
{
    list = List_Create(nullptr);
    List_AddLast(list, &values[2]);
    List_AddFirst(list, &values[1]);
    List_AddLast(list, &values[3]);
    List_AddFirst(list, &values[0]);
    List_AddLast(list, nullptr);
    List_AddFirst(list, nullptr);
    EXPECT_EQ(Contents(), (std::vector<int>{0, 1, 2, 3})) << "null user pointers are refused";

    ListEntry *entry = List_Find(list, &values[1]);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(ListEntry_GetUserPointer(entry), &values[1]);
    EXPECT_EQ(ListEntry_GetUserPointer(ListEntry_GetPrevious(entry)), &values[0]);
    EXPECT_EQ(ListEntry_GetUserPointer(ListEntry_GetNext(entry)), &values[2]);
    EXPECT_EQ(ListEntry_GetPrevious(ListEntry_GetPrevious(entry)), nullptr);

    ListEntry *loose = ListEntry_Create(&values[5]);
    EXPECT_EQ(ListEntry_GetNext(loose), nullptr);
    ListEntry_Destroy(loose);
}

TEST_F(ListTest, StepsStopAtTheEndsAndKeepTheCursor)
{
    Fill(3);
    EXPECT_EQ(Value(List_GetFirst(list)), 0);
    EXPECT_EQ(Value(List_GetPrevious(list)), -1);
    EXPECT_EQ(Value(List_GetNext(list)), 1) << "a failed step leaves the cursor where it was";
    EXPECT_EQ(Value(List_GetNext(list)), 2);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(List_GetNext(list), nullptr) << "stays at the end";
    EXPECT_EQ(Value(List_GetPrevious(list)), 1) << "the cursor still stands on the last entry";
    EXPECT_EQ(Value(List_GetNext(list)), 2);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(Value(List_RemoveCurrent(list)), 2) << "current is the last entry visited";
    EXPECT_EQ(Contents(), (std::vector<int>{0, 1}));
}

TEST_F(ListTest, RemovingDuringAWalkContinuesWithTheNeighbours)
{
    Fill(5);
    // Remove the odd values while walking forward.
    for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
    {
        if (Value(p) % 2 == 1)
        {
            EXPECT_EQ(List_RemoveCurrent(list), p);
            EXPECT_EQ(List_RemoveCurrent(list), nullptr) << "a second removal removes nothing";
        }
    }
    EXPECT_EQ(Contents(), (std::vector<int>{0, 2, 4}));

    // In the middle: both cached neighbours survive and still link up.
    EXPECT_EQ(Value(List_GetFirst(list)), 0);
    EXPECT_EQ(Value(List_GetNext(list)), 2);
    List_RemoveCurrent(list);
    EXPECT_EQ(Value(List_GetPrevious(list)), 0);
    EXPECT_EQ(Value(List_GetNext(list)), 4) << "the neighbours were linked to each other";

    // The last entry: the walk ends, backwards still works.
    List_RemoveCurrent(list);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(Value(List_GetPrevious(list)), 0);

    // The only entry: everything empties.
    List_RemoveCurrent(list);
    EXPECT_EQ(List_GetSize(list), 0);
    EXPECT_EQ(List_GetFirst(list), nullptr);
    EXPECT_EQ(List_GetLast(list), nullptr);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(List_GetPrevious(list), nullptr);
}

TEST_F(ListTest, BackwardWalkRemovingEverything)
{
    Fill(4);
    int visited = 0;
    for (void *p = List_GetLast(list); p != nullptr; p = List_GetPrevious(list))
    {
        EXPECT_EQ(Value(p), 3 - visited++);
        List_RemoveCurrent(list);
    }
    EXPECT_EQ(visited, 4);
    EXPECT_TRUE(Contents().empty());
}

TEST_F(ListTest, RemoveFirstAndLastMoveTheCursorToTheNeighbours)
{
    Fill(4);
    List_GetLast(list); // the cached references must not outlive the removed entries
    EXPECT_EQ(List_RemoveFirst(list), nullptr);
    EXPECT_EQ(List_GetPrevious(list), nullptr);
    EXPECT_EQ(Value(List_GetNext(list)), 1);
    EXPECT_EQ(List_RemoveLast(list), nullptr);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(Value(List_GetPrevious(list)), 2);
    EXPECT_EQ(Contents(), (std::vector<int>{1, 2}));
}

TEST_F(ListTest, AddingDuringAWalk)
{
    Fill(2);
    std::vector<int> seen;
    for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
    {
        seen.push_back(Value(p));
        if (Value(p) == 0)
        {
            List_AddLast(list, &values[2]);  // ahead of the cursor: visited
            List_AddFirst(list, &values[5]); // behind it: not visited
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));

    // Standing on the last entry, its cached next is null: the new entry is not reached.
    seen.clear();
    for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
    {
        seen.push_back(Value(p));
        if (Value(p) == 2)
        {
            List_AddLast(list, &values[3]);
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{5, 0, 1, 2}));
    EXPECT_EQ(Contents(), (std::vector<int>{5, 0, 1, 2, 3}));

    // Removing that entry refreshes the cursor from the entry's own links: the walk goes on.
    List_GetLast(list);
    List_AddLast(list, &values[4]);
    List_RemoveCurrent(list);
    EXPECT_EQ(Value(List_GetNext(list)), 4);
    EXPECT_EQ(Contents(), (std::vector<int>{5, 0, 1, 2, 4}));
}

static std::vector<int> visits;

TEST_F(ListTest, ForEachWithRemovals)
{
    Fill(5);
    visits.clear();
    // Removing the current entry, as the level does when destroying its ships.
    List_ForEach(list,
                 [](List *l, void *p)
                 {
                     visits.push_back(*static_cast<int *>(p));
                     if (*static_cast<int *>(p) != 2)
                     {
                         EXPECT_EQ(List_RemoveCurrent(l), p);
                     }
                 });
    EXPECT_EQ(visits, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Contents(), (std::vector<int>{2}));
    List_Destroy(list);

    // Removing the entry after the current one skips it; removing the last one ends the walk
    // even though it stands at the end with nothing cached after it.
    Fill(6);
    visits.clear();
    List_ForEach(list,
                 [](List *l, void *p)
                 {
                     const int value = *static_cast<int *>(p);
                     visits.push_back(value);
                     if (value % 2 == 0)
                     {
                         ListEntry *self = List_Find(l, p);
                         ASSERT_NE(self, nullptr);
                         EXPECT_NE(
                             List_Remove(l, ListEntry_GetUserPointer(ListEntry_GetNext(self))),
                             nullptr);
                     }
                 });
    EXPECT_EQ(visits, (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(Contents(), (std::vector<int>{0, 2, 4}));
}

TEST_F(ListTest, FindAndRemoveActOnTheFrontMostMatch)
{
    Fill(3);
    List_AddLast(list, &values[0]); // 0 1 2 0
    List_GetFirst(list);
    List_GetNext(list);
    EXPECT_EQ(List_Find(list, &values[4]), nullptr);
    EXPECT_EQ(Value(List_GetNext(list)), 2) << "a failed search leaves the cursor alone";

    ListEntry *found = List_Find(list, &values[0]);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(ListEntry_GetPrevious(found), nullptr);
    EXPECT_EQ(Value(List_GetNext(list)), 1) << "a hit places the cursor";

    EXPECT_NE(List_Remove(list, &values[0]), nullptr);
    EXPECT_EQ(List_Remove(list, &values[4]), nullptr);
    EXPECT_EQ(Contents(), (std::vector<int>{1, 2, 0}));
}

static List *destroyedList = nullptr;

TEST_F(ListTest, DestroyHandsOverFrontToBackAfterUnlinking)
{
    visits.clear();
    int values2[3] = {7, 8, 9};
    destroyedList = List_Create(
        [](void *p)
        {
            // Each entry is already unlinked when its user pointer is handed over.
            visits.push_back(*static_cast<int *>(p) * 10 + List_GetSize(destroyedList));
        });
    for (int &v : values2)
    {
        List_AddLast(destroyedList, &v);
    }
    List_Destroy(destroyedList);
    EXPECT_EQ(visits, (std::vector<int>{72, 81, 90}));
}
