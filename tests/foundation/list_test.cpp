#include "foundation_test.h"

#include <utility>

// A list built from values[], whose addresses are the user pointers; V() reads one back.
class ListTest : public FoundationTest
{
  protected:
    int values[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    List *list = nullptr;

    void Fill(int count)
    {
        list = List_Create(nullptr);
        for (int i = 0; i < count; i++)
            List_AddLast(list, &values[i]);
    }
    void TearDown() override
    {
        if (list != nullptr)
            List_Destroy(list);
        FoundationTest::TearDown();
    }
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
                trace += Links(List_Find(list, arg)), op++;
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
    static std::string Links(ListEntry *e)
    {
        return e == nullptr ? "---"
                            : std::string{Entry(ListEntry_GetPrevious(e)), Entry(e),
                                          Entry(ListEntry_GetNext(e))};
    }
    static inline std::string visited;
    static void _RemoveAllBut2(List *l, void *p)
    {
        visited += Digit(p);
        if (V(p) != 2)
            visited += Digit(List_RemoveCurrent(l));
    }
    static void _RemoveNext(List *l, void *p)
    {
        visited += Digit(p);
        void *next = ListEntry_GetUserPointer(ListEntry_GetNext(List_Find(l, p)));
        visited += List_Remove(l, next) == nullptr ? '-' : '+';
    }
    static char Digit(void *p) { return p == nullptr ? '-' : static_cast<char>('0' + V(p)); }
    static char Entry(ListEntry *e)
    {
        return e == nullptr ? '-' : Digit(ListEntry_GetUserPointer(e));
    }
    static int V(void *p) { return *static_cast<int *>(p); }
};

TEST_F(ListTest, CursorWalksAddsRemovesAndSearches)
{
    const struct
    {
        int fill;
        const char *script, *trace;
    } cases[] = {
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
    for (const auto &c : cases)
    {
        SCOPED_TRACE(c.script);
        Fill(c.fill);
        EXPECT_EQ(Run(c.script), c.trace);
        List_Destroy(std::exchange(list, nullptr));
    }
}

static std::vector<int> visits;
static List *destroyed = nullptr;

TEST_F(ListTest, DestroyHandsOverFrontToBackAfterUnlinking)
{
    const int64_t live = Live();
    destroyed = List_Create([](void *p) { visits.push_back(V(p) * 10 + List_GetSize(destroyed)); });
    EXPECT_EQ(Live(), live + 1) << "a list is one record";
    for (int i = 1; i <= 3; i++)
        List_AddLast(destroyed, &values[i]);
    List_Destroy(destroyed);
    EXPECT_EQ(visits, (std::vector{12, 21, 30})) << "value * 10 + the size left when handed over";
}
