// The list and its built-in cursor: walks that remove, add and search while they run.
#include "foundation_test.h"

#include "foundation/list.h"

#include <vector>

// A list built from values[], whose addresses are the user pointers; V() reads one back.
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
    // Front to back with a fresh walk, checked against a backward walk and the size.
    std::vector<int> Contents()
    {
        std::vector<int> forward, backward;
        for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
        {
            forward.push_back(V(p));
        }
        for (void *p = List_GetLast(list); p != nullptr; p = List_GetPrevious(list))
        {
            backward.insert(backward.begin(), V(p));
        }
        EXPECT_EQ(forward, backward) << "forward and backward links disagree";
        EXPECT_EQ(static_cast<int32_t>(forward.size()), List_GetSize(list));
        return forward;
    }
    static int V(void *p) { return p == nullptr ? -1 : *static_cast<int *>(p); }
};
using Ints = std::vector<int>;

TEST_F(ListTest, EmptyListIsHarmless)
{
    const int64_t live = Live();
    Fill(0);
    EXPECT_EQ(Live(), live + 1) << "an empty list is one record";
    for (auto step : {List_GetFirst, List_GetLast, List_GetNext, List_GetPrevious,
                      List_RemoveCurrent, List_RemoveFirst, List_RemoveLast})
    {
        EXPECT_EQ(step(list), nullptr);
    }
    EXPECT_EQ(List_Remove(list, &values[0]), nullptr);
    EXPECT_EQ(List_Find(list, &values[0]), nullptr);
    List_ForEach(list, [](List *, void *) { FAIL() << "called on an empty list"; });
}

TEST_F(ListTest, AddingAndEntryLinks)
{
    list = List_Create(nullptr);
    List_AddLast(list, &values[2]);
    List_AddFirst(list, &values[1]);
    List_AddLast(list, &values[3]);
    List_AddFirst(list, &values[0]);
    List_AddLast(list, nullptr);
    List_AddFirst(list, nullptr);
    EXPECT_EQ(Contents(), (Ints{0, 1, 2, 3})) << "null user pointers are refused";

    ListEntry *entry = List_Find(list, &values[1]);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(V(ListEntry_GetUserPointer(entry)), 1);
    EXPECT_EQ(V(ListEntry_GetUserPointer(ListEntry_GetPrevious(entry))), 0);
    EXPECT_EQ(V(ListEntry_GetUserPointer(ListEntry_GetNext(entry))), 2);
    EXPECT_EQ(ListEntry_GetPrevious(ListEntry_GetPrevious(entry)), nullptr);
}

TEST_F(ListTest, StepsStopAtTheEndsAndKeepTheCursor)
{
    Fill(3);
    std::vector<void *(*)(List *)> steps = {List_GetFirst,    List_GetPrevious, List_GetNext,
                                            List_GetNext,     List_GetNext,     List_GetNext,
                                            List_GetPrevious, List_GetNext,     List_GetNext};
    Ints seen;
    for (auto step : steps)
    {
        seen.push_back(V(step(list)));
    }
    // A failed step leaves the cursor where it was, on the last entry visited.
    EXPECT_EQ(seen, (Ints{0, -1, 1, 2, -1, -1, 1, 2, -1}));
    EXPECT_EQ(V(List_RemoveCurrent(list)), 2);
    EXPECT_EQ(Contents(), (Ints{0, 1}));
}

TEST_F(ListTest, RemovingDuringAWalkContinuesWithTheNeighbours)
{
    Fill(6);
    for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
    {
        if (V(p) % 2 == 1)
        {
            EXPECT_EQ(List_RemoveCurrent(list), p);
            EXPECT_EQ(List_RemoveCurrent(list), nullptr) << "a second removal removes nothing";
        }
    }
    EXPECT_EQ(Contents(), (Ints{0, 2, 4}));

    // In the middle both cached neighbours stay valid and are linked to each other.
    List_GetFirst(list);
    List_GetNext(list);
    List_RemoveCurrent(list);
    EXPECT_EQ(V(List_GetPrevious(list)), 0);
    EXPECT_EQ(V(List_GetNext(list)), 4);
    List_RemoveCurrent(list); // the last entry: the walk ends, backwards still works
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(V(List_GetPrevious(list)), 0);
    List_RemoveCurrent(list); // the only entry: everything empties
    EXPECT_EQ(Contents(), Ints{});
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(List_GetPrevious(list), nullptr);

    List_Destroy(list);
    Fill(4); // backwards, removing everything
    Ints seen;
    for (void *p = List_GetLast(list); p != nullptr; p = List_GetPrevious(list))
    {
        seen.push_back(V(List_RemoveCurrent(list)));
    }
    EXPECT_EQ(seen, (Ints{3, 2, 1, 0}));
    EXPECT_EQ(Contents(), Ints{});
}

TEST_F(ListTest, RemoveFirstAndLastMoveTheCursorToTheNeighbours)
{
    Fill(4);
    List_GetLast(list); // cached references must not outlive the removed entries
    EXPECT_EQ(List_RemoveFirst(list), nullptr);
    EXPECT_EQ(List_GetPrevious(list), nullptr);
    EXPECT_EQ(V(List_GetNext(list)), 1);
    EXPECT_EQ(List_RemoveLast(list), nullptr);
    EXPECT_EQ(List_GetNext(list), nullptr);
    EXPECT_EQ(V(List_GetPrevious(list)), 2);
    EXPECT_EQ(Contents(), (Ints{1, 2}));
}

TEST_F(ListTest, AddingDuringAWalk)
{
    Fill(2);
    Ints seen;
    for (void *p = List_GetFirst(list); p != nullptr; p = List_GetNext(list))
    {
        seen.push_back(V(p));
        if (V(p) == 0)
        {
            List_AddLast(list, &values[2]);  // ahead of the cursor: visited
            List_AddFirst(list, &values[5]); // behind it: not visited
        }
        if (V(p) == 2)
        {
            List_AddLast(list, &values[3]); // on the last entry the cached next is null
        }
    }
    EXPECT_EQ(seen, (Ints{0, 1, 2}));
    EXPECT_EQ(Contents(), (Ints{5, 0, 1, 2, 3}));

    // Removing that entry refreshes the cursor from the entry's own links: the walk goes on.
    List_GetLast(list);
    List_AddLast(list, &values[4]);
    List_RemoveCurrent(list);
    EXPECT_EQ(V(List_GetNext(list)), 4);
}

static Ints visits;

TEST_F(ListTest, ForEachWithRemovals)
{
    // Removing the current entry, as the level does when destroying its ships.
    Fill(5);
    visits.clear();
    List_ForEach(list,
                 [](List *l, void *p)
                 {
                     visits.push_back(V(p));
                     if (V(p) != 2)
                     {
                         EXPECT_EQ(List_RemoveCurrent(l), p);
                     }
                 });
    EXPECT_EQ(visits, (Ints{0, 1, 2, 3, 4}));
    EXPECT_EQ(Contents(), (Ints{2}));
    List_Destroy(list);

    // Removing the entry after the current one skips it; removing the last one ends the walk.
    Fill(6);
    visits.clear();
    List_ForEach(
        list,
        [](List *l, void *p)
        {
            visits.push_back(V(p));
            EXPECT_NE(List_Remove(l, ListEntry_GetUserPointer(ListEntry_GetNext(List_Find(l, p)))),
                      nullptr);
        });
    EXPECT_EQ(visits, (Ints{0, 2, 4}));
    EXPECT_EQ(Contents(), (Ints{0, 2, 4}));
}

TEST_F(ListTest, FindAndRemoveActOnTheFrontMostMatch)
{
    Fill(3);
    List_AddLast(list, &values[0]); // 0 1 2 0
    List_GetFirst(list);
    EXPECT_EQ(List_Find(list, &values[4]), nullptr);
    EXPECT_EQ(V(List_GetNext(list)), 1) << "a failed search leaves the cursor alone";
    ListEntry *found = List_Find(list, &values[0]);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(ListEntry_GetPrevious(found), nullptr);
    EXPECT_EQ(V(List_GetNext(list)), 1) << "a hit places the cursor";
    EXPECT_NE(List_Remove(list, &values[0]), nullptr);
    EXPECT_EQ(List_Remove(list, &values[4]), nullptr);
    EXPECT_EQ(Contents(), (Ints{1, 2, 0}));
}

static List *destroyed = nullptr;

TEST_F(ListTest, DestroyHandsOverFrontToBackAfterUnlinking)
{
    visits.clear();
    destroyed = List_Create(
        [](void *p) { visits.push_back(*static_cast<int *>(p) * 10 + List_GetSize(destroyed)); });
    for (int i = 1; i <= 3; i++)
    {
        List_AddLast(destroyed, &values[i]);
    }
    List_Destroy(destroyed);
    EXPECT_EQ(visits, (Ints{12, 21, 30})) << "value * 10 + the size left when it was handed over";
}
