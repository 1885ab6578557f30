// list: the cursor's next and previous are copies taken when it last moved, which is what
// lets a walk survive the removal of the entry it stands on.
#include "foundation/list.h"

#include "foundation/allocator.h"
#include "foundation/logging.h"

struct ListEntry
{
    void *userPointer;
    ListEntry *previous;
    ListEntry *next;
};

struct List
{
    int32_t size;
    ListEntry *first;
    ListEntry *last;
    ListDestroyFunction destroyFunction;
    ListEntry *next;
    ListEntry *current;
    ListEntry *previous;
};

ListEntry *ListEntry_Create(void *userPointer)
{
    ListEntry *entry = MEMORY_ALLOCATE_RECORD(ListEntry);
    entry->userPointer = userPointer;
    return entry;
}

void ListEntry_Destroy(ListEntry *entry)
{
    MEMORY_FREE(entry);
}

void *ListEntry_GetUserPointer(ListEntry *entry)
{
    return entry->userPointer;
}

ListEntry *ListEntry_GetPrevious(ListEntry *entry)
{
    return entry->previous;
}

ListEntry *ListEntry_GetNext(ListEntry *entry)
{
    return entry->next;
}

List *List_Create(ListDestroyFunction destroyFunction)
{
    List *list = MEMORY_ALLOCATE_RECORD(List);
    list->destroyFunction = destroyFunction;
    return list;
}

int32_t List_GetSize(List *list)
{
    return list->size;
}

// Every walk reads a null user pointer as the end of the list, so a null entry would hide
// the entries behind it from walks and from List_Destroy (leaking them). Refuse it.
static bool _IsAddable(void *userPointer)
{
    if (userPointer == nullptr)
    {
        LOG_ERROR("Null user pointer not added to the list.");
        return false;
    }
    return true;
}

void List_AddFirst(List *list, void *userPointer)
{
    if (!_IsAddable(userPointer))
    {
        return;
    }
    ListEntry *entry = ListEntry_Create(userPointer);
    entry->next = list->first;
    if (list->first != nullptr)
    {
        list->first->previous = entry;
    }
    else
    {
        list->last = entry;
    }
    list->first = entry;
    list->size++;
}

void List_AddLast(List *list, void *userPointer)
{
    if (!_IsAddable(userPointer))
    {
        return;
    }
    ListEntry *entry = ListEntry_Create(userPointer);
    entry->previous = list->last;
    if (list->last != nullptr)
    {
        list->last->next = entry;
    }
    else
    {
        list->first = entry;
    }
    list->last = entry;
    list->size++;
}

static void *_PlaceCursor(List *list, ListEntry *entry)
{
    if (entry == nullptr)
    {
        return nullptr;
    }
    list->next = entry->next;
    list->current = entry;
    list->previous = entry->previous;
    return entry->userPointer;
}

void *List_GetFirst(List *list)
{
    return _PlaceCursor(list, list->first);
}

void *List_GetLast(List *list)
{
    return _PlaceCursor(list, list->last);
}

void *List_GetNext(List *list)
{
    return _PlaceCursor(list, list->next);
}

void *List_GetPrevious(List *list)
{
    return _PlaceCursor(list, list->previous);
}

void *List_RemoveCurrent(List *list)
{
    ListEntry *entry = list->current;
    if (entry == nullptr)
    {
        return nullptr;
    }
    if (entry == list->first)
    {
        list->first = entry->next;
        if (list->first != nullptr)
        {
            list->first->previous = nullptr;
        }
    }
    if (entry == list->last)
    {
        list->last = entry->previous;
        if (list->last != nullptr)
        {
            list->last->next = nullptr;
        }
    }
    if (entry->next != nullptr)
    {
        entry->next->previous = entry->previous;
    }
    if (entry->previous != nullptr)
    {
        entry->previous->next = entry->next;
    }
    list->next = entry->next;
    list->previous = entry->previous;
    list->current = nullptr;

    void *userPointer = entry->userPointer;
    entry->next = nullptr;
    entry->previous = nullptr;
    list->size--;
    ListEntry_Destroy(entry);
    return userPointer;
}

void *List_RemoveFirst(List *list)
{
    if (_PlaceCursor(list, list->first) != nullptr)
    {
        List_RemoveCurrent(list);
    }
    return nullptr;
}

void *List_RemoveLast(List *list)
{
    if (_PlaceCursor(list, list->last) != nullptr)
    {
        List_RemoveCurrent(list);
    }
    return nullptr;
}

void List_ForEach(List *list, ListForEachFunction function)
{
    void *userPointer = List_GetFirst(list);
    while (userPointer != nullptr)
    {
        function(list, userPointer);
        if (list->next == nullptr)
        {
            return;
        }
        userPointer = List_GetNext(list);
    }
}

ListEntry *List_Find(List *list, void *userPointer)
{
    for (ListEntry *entry = list->first; entry != nullptr; entry = entry->next)
    {
        if (entry->userPointer == userPointer)
        {
            _PlaceCursor(list, entry);
            return entry;
        }
    }
    return nullptr;
}

void *List_Remove(List *list, void *userPointer)
{
    ListEntry *entry = List_Find(list, userPointer);
    if (entry == nullptr)
    {
        return nullptr;
    }
    List_RemoveCurrent(list);
    // Only a success flag: the entry itself is gone.
    return list;
}

void List_Destroy(List *list)
{
    void *userPointer = List_GetFirst(list);
    while (userPointer != nullptr)
    {
        List_RemoveCurrent(list);
        if (list->destroyFunction != nullptr)
        {
            list->destroyFunction(userPointer);
        }
        if (list->next == nullptr)
        {
            break;
        }
        userPointer = List_GetNext(list);
    }
    MEMORY_FREE(list);
}
