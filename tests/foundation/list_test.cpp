// Smoke test of the list; the full cursor tests live beside it.
#include "foundation/list.h"

#include <gtest/gtest.h>

TEST(List, AddAndWalk)
{
    int a = 1, b = 2;
    List *list = List_Create(nullptr);
    List_AddLast(list, &a);
    List_AddLast(list, &b);
    EXPECT_EQ(List_GetFirst(list), &a);
    EXPECT_EQ(List_GetNext(list), &b);
    EXPECT_EQ(List_GetNext(list), nullptr);
    List_Destroy(list);
}
