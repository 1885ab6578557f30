// list: the one container, a doubly linked list of untyped pointers with a cursor built in.
// The entry under the cursor may be removed in the middle of a walk; the walk then goes on
// with its neighbour. A list has one cursor, so walks of one list cannot be nested.
#pragma once

#include <cstdint>

struct List;
struct ListEntry;

typedef void (*ListDestroyFunction)(void *userPointer);
typedef void (*ListForEachFunction)(List *list, void *userPointer);

// An empty list. With a destroy function the list owns its user pointers and hands each
// one still in it to that function at List_Destroy; with null it owns none.
// Ownership: the caller; release with List_Destroy.
List *List_Create(ListDestroyFunction destroyFunction);
// Removes every entry front to back (handing each user pointer to the destroy function
// after unlinking it) and frees the list.
void List_Destroy(List *list);
int32_t List_GetSize(List *list);

// New entry at the front or back. The cursor is not touched. A null user pointer (which
// every walk would read as the end) is logged and not added.
void List_AddFirst(List *list, void *userPointer);
void List_AddLast(List *list, void *userPointer);

// Cursor steps: each places the cursor on an entry and returns its user pointer, or returns
// null and leaves the cursor alone when there is no such entry.
void *List_GetFirst(List *list);
void *List_GetLast(List *list);
void *List_GetNext(List *list);
void *List_GetPrevious(List *list);

// Unlinks and frees the entry under the cursor; returns its user pointer (not freed) or null.
void *List_RemoveCurrent(List *list);
// Remove the first or last entry; always return null. The user pointer is not freed.
void *List_RemoveFirst(List *list);
void *List_RemoveLast(List *list);

// Calls function(list, userPointer) front to back; the function may remove the current entry.
void List_ForEach(List *list, ListForEachFunction function);
// The entry nearest the front holding userPointer (cursor placed on it), or null.
// The entry stays the list's.
ListEntry *List_Find(List *list, void *userPointer);
// Removes the entry nearest the front holding userPointer. Non-null only signals success.
void *List_Remove(List *list, void *userPointer);

// A detached entry. Ownership: the caller; release with ListEntry_Destroy (not its user pointer).
ListEntry *ListEntry_Create(void *userPointer);
void ListEntry_Destroy(ListEntry *entry);
void *ListEntry_GetUserPointer(ListEntry *entry);
ListEntry *ListEntry_GetPrevious(ListEntry *entry);
ListEntry *ListEntry_GetNext(ListEntry *entry);
