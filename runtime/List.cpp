#include <bwcore/runtime/List.h>

#include <bwcore/platform.h>
#include <bwcore/runtime/MemHeap.h>
#include <bwcore/runtime/Strings.h>

#include "ListRecord.h"
#include "MemHeapOwned.h"

#include <string.h>

namespace {

constexpr uint32_t kSharedHeapMaxBlock = 65000;
constexpr uint32_t kSharedHeapFlags = MEMHEAP_EXTENSIBLE | MEMHEAP_ZEROINIT;
// Items are copied with a 16-bit byte count.
constexpr size_t kLargestCopy = 65535;
constexpr uint32_t kStatusNotOwned = 4;
constexpr uint32_t kStatusNullBlock = 14;

// Process-wide and unguarded, like the heap table beneath.
int32_t gSharedHeap = -1;
bool gSharedHeapTried = false;
int32_t gListsCreated = 0;
int32_t gListsDestroyed = 0;

int32_t SharedHeap() {
    // Created once only: when creation fails the id stays -1 and list creation keeps failing.
    if (!gSharedHeapTried) {
        gSharedHeapTried = true;
        gSharedHeap = MemHeapCreate(kSharedHeapMaxBlock, kSharedHeapFlags);
    }
    return gSharedHeap;
}

bool IsPointerList(const BWLIST* list) {
    return list->itemSize < 0;
}

bool IsStringList(const BWLIST* list) {
    return list->itemSize == 0;
}

BWLISTNODE* NewNode(BWLIST* list, void* item, bool copied) {
    BWLISTNODE* node = static_cast<BWLISTNODE*>(MemHeapAlloc(list->heapId, sizeof(BWLISTNODE)));
    if (node != nullptr) {
        node->item = item;
        node->next = nullptr;
        node->previous = nullptr;
        node->copied = copied;
    }
    return node;
}

bool LinkFirst(BWLIST* list, void* item, bool copied) {
    BWLISTNODE* node = NewNode(list, item, copied);
    if (node == nullptr)
        return false;
    node->next = list->first;
    if (list->first != nullptr)
        list->first->previous = node;
    else
        list->last = node;
    list->first = node;
    list->current = node;
    ++list->count;
    return true;
}

// A copy of a string or record item in a block of the list's heap: the string with its terminator
// or the record's bytes, and one spare byte.
void* CopyItem(BWLIST* list, const void* item) {
    const size_t size =
        IsStringList(list) ? strlen(static_cast<const char*>(item)) + 1 : size_t(list->itemSize);
    if (size > kLargestCopy)
        return nullptr;
    void* copy = MemHeapAlloc(list->heapId, static_cast<uint32_t>(size + 1));
    if (copy != nullptr)
        _xlmemcpy(copy, item, static_cast<uint16_t>(size));
    return copy;
}

// Frees a node's string or record item into the list's heap; what the heap does not recognise as
// its block (say a pointer given to ListAdd), and every item of a pointer list, goes to the
// release callback instead. An item the list did not copy may be any pointer at all, so the heap
// checks it before reading in front of it.
void ReleaseItem(BWLIST* list, const BWLISTNODE* node) {
    if (!IsPointerList(list)) {
        MemHeapConfigure(1, 0);
        if (node->copied)
            MemHeapFree(list->heapId, node->item);
        else
            bwcore::MemHeapFreeIfOwned(list->heapId, node->item);
        MEMHEAPSTATUS status = {0, 0};
        MemHeapStatus(&status);
        MemHeapConfigure(1, 1);
        if (status.lastError != kStatusNotOwned && status.lastError != kStatusNullBlock)
            return;
    }
    if (list->release != nullptr)
        list->release(node->item);
}

// Unlinks the current node; its successor becomes current, or its predecessor when it has none.
BWLISTNODE* UnlinkCurrent(BWLIST* list) {
    BWLISTNODE* node = list->current;
    if (node->previous != nullptr)
        node->previous->next = node->next;
    else
        list->first = node->next;
    if (node->next != nullptr)
        node->next->previous = node->previous;
    else
        list->last = node->previous;
    list->current = node->next != nullptr ? node->next : node->previous;
    --list->count;
    return node;
}

int32_t Insert(BWLIST* list, const void* item, bool atHead) {
    if (list == nullptr || item == nullptr || IsPointerList(list))
        return 0;
    void* copy = CopyItem(list, item);
    if (copy == nullptr)
        return 0;
    const bool linked =
        atHead ? LinkFirst(list, copy, true) : bwcore::ListLinkAfterCurrent(list, copy, true);
    if (!linked) {
        MemHeapFree(list->heapId, copy);
        return 0;
    }
    return 1;
}

void* ItemOf(const BWLISTNODE* node) {
    return node != nullptr ? node->item : nullptr;
}

bool Matches(const BWLIST* list, const void* key, const void* item, LISTCOMPAREPROC compare,
             uint8_t flags) {
    if (compare != nullptr)
        return compare(key, item) != 0;
    if (!IsStringList(list))
        return key == item;
    const char* a = static_cast<const char*>(key);
    const char* b = static_cast<const char*>(item);
    return ((flags & LISTFIND_EXACT) ? lstrcmpA(a, b) : lstrcmpiA(a, b)) == 0;
}

} // namespace

bool bwcore::ListLinkAfterCurrent(HLIST list, void* item, bool copied) {
    BWLISTNODE* node = NewNode(list, item, copied);
    if (node == nullptr)
        return false;
    BWLISTNODE* current = list->current;
    if (current == nullptr) {
        list->first = node;
        list->last = node;
    } else {
        node->previous = current;
        node->next = current->next;
        if (current->next != nullptr)
            current->next->previous = node;
        else
            list->last = node;
        current->next = node;
    }
    list->current = node;
    ++list->count;
    return true;
}

bool bwcore::ListInsertLine(HLIST list, const char* line, size_t available) {
    if (IsPointerList(list))
        return false;
    const size_t size = IsStringList(list)
                            ? static_cast<const char*>(memchr(line, '\0', available)) - line + 1
                            : size_t(list->itemSize);
    // Refused before anything is allocated, however large the item size.
    if (size > kLargestCopy)
        return false;
    char* copy = static_cast<char*>(MemHeapAlloc(list->heapId, static_cast<uint32_t>(size + 1)));
    if (copy == nullptr)
        return false;
    const size_t copied = size < available ? size : available;
    memcpy(copy, line, copied);
    memset(copy + copied, 0, size - copied);
    if (!ListLinkAfterCurrent(list, copy, true)) {
        MemHeapFree(list->heapId, copy);
        return false;
    }
    return true;
}

HLIST ListCreate(int32_t itemSize) {
    return ListCreateEx(itemSize, -1);
}

HLIST ListCreateEx(int32_t itemSize, int32_t heapId) {
    if (heapId == -1)
        heapId = SharedHeap();
    BWLIST* list = static_cast<BWLIST*>(MemHeapAlloc(heapId, sizeof(BWLIST)));
    if (list == nullptr)
        return nullptr;
    list->count = 0;
    list->itemSize = itemSize;
    list->first = nullptr;
    list->last = nullptr;
    list->current = nullptr;
    list->heapId = heapId;
    list->release = nullptr;
    ++gListsCreated;
    return list;
}

void ListDestroy(HLIST list) {
    if (list == nullptr)
        return;
    BWLISTNODE* node = list->first;
    while (node != nullptr) {
        BWLISTNODE* next = node->next;
        ReleaseItem(list, node);
        MemHeapFree(list->heapId, node);
        node = next;
    }
    MemHeapFree(list->heapId, list);
    ++gListsDestroyed;
}

void ListFreeFx(HLIST list, LISTRELEASEPROC release) {
    if (list != nullptr)
        list->release = release;
}

uint32_t ListCount(HLIST list) {
    return list != nullptr ? list->count : 0;
}

int32_t ListGetListSize(HLIST list) {
    return list != nullptr ? list->itemSize : -2;
}

int32_t ListGetHeap(void) {
    return gSharedHeap;
}

int32_t ListInfo(int32_t unused, int32_t selector) {
    switch (selector) {
    case LISTINFO_CREATED:
        return gListsCreated;
    case LISTINFO_DESTROYED:
        return gListsDestroyed;
    default:
        return -1;
    }
}

int32_t ListAdd(HLIST list, void* item) {
    if (list == nullptr || item == nullptr)
        return 0;
    return bwcore::ListLinkAfterCurrent(list, item, false) ? 1 : 0;
}

int32_t ListAddFirst(HLIST list, void* item) {
    if (list == nullptr || item == nullptr)
        return 0;
    return LinkFirst(list, item, false) ? 1 : 0;
}

int32_t ListInsert(HLIST list, const void* item) {
    return Insert(list, item, false);
}

int32_t ListInsertFirst(HLIST list, const void* item) {
    return Insert(list, item, true);
}

void* ListFirst(HLIST list) {
    if (list == nullptr)
        return nullptr;
    list->current = list->first;
    return ItemOf(list->current);
}

void* ListLast(HLIST list) {
    if (list == nullptr)
        return nullptr;
    list->current = list->last;
    return ItemOf(list->current);
}

void* ListNext(HLIST list) {
    if (list == nullptr || list->current == nullptr || list->current->next == nullptr)
        return nullptr;
    list->current = list->current->next;
    return list->current->item;
}

void* ListPrev(HLIST list) {
    if (list == nullptr || list->current == nullptr || list->current->previous == nullptr)
        return nullptr;
    list->current = list->current->previous;
    return list->current->item;
}

void* ListCurrent(HLIST list) {
    return list != nullptr ? ItemOf(list->current) : nullptr;
}

HLISTPOS ListGetCurrent(HLIST list) {
    return list != nullptr ? list->current : nullptr;
}

HLISTPOS ListSetCurrent(HLIST list, HLISTPOS position) {
    // A null position would leave a non-empty list without a current node.
    if (list == nullptr || position == nullptr)
        return nullptr;
    list->current = position;
    return position;
}

void* ListSetCurIndex(HLIST list, int32_t index) {
    if (list == nullptr || index < 0 || uint32_t(index) >= list->count)
        return nullptr;
    BWLISTNODE* node = list->first;
    for (int32_t i = 0; i < index; ++i)
        node = node->next;
    list->current = node;
    return node->item;
}

int32_t ListIsCurrentFirst(HLIST list) {
    return list != nullptr && list->current != nullptr && list->current->previous == nullptr;
}

int32_t ListIsCurrentLast(HLIST list) {
    return list != nullptr && list->current != nullptr && list->current->next == nullptr;
}

int32_t ListGet(HLIST list, void* buffer) {
    if (list == nullptr || buffer == nullptr || IsPointerList(list) || list->current == nullptr)
        return 0;
    const void* item = list->current->item;
    if (item == nullptr)
        return 0;
    if (IsStringList(list))
        strcpy(static_cast<char*>(buffer), static_cast<const char*>(item));
    else
        memcpy(buffer, item, size_t(list->itemSize));
    return 1;
}

void ListUpdate(HLIST list, void* item) {
    if (list == nullptr || item == nullptr || list->current == nullptr)
        return;
    BWLISTNODE* node = list->current;
    if (IsPointerList(list)) {
        node->item = item;
    } else if (IsStringList(list)) {
        // The new copy is made before the old one is released, so that an item may be updated
        // with its own text.
        const size_t length = strlen(static_cast<const char*>(item));
        void* copy = length + 2 <= UINT32_MAX
                         ? MemHeapAlloc(list->heapId, static_cast<uint32_t>(length + 2))
                         : nullptr;
        if (copy != nullptr)
            memcpy(copy, item, length + 1);
        ReleaseItem(list, node);
        node->item = copy;
        node->copied = true;
    } else if (node->item != nullptr) {
        memcpy(node->item, item, size_t(list->itemSize));
    }
}

void ListDelete(HLIST list) {
    if (list == nullptr || IsPointerList(list) || list->current == nullptr)
        return;
    BWLISTNODE* node = UnlinkCurrent(list);
    ReleaseItem(list, node);
    MemHeapFree(list->heapId, node);
}

int32_t ListRemove(HLIST list) {
    if (list == nullptr || list->current == nullptr)
        return 0;
    MemHeapFree(list->heapId, UnlinkCurrent(list));
    return 1;
}

int32_t ListFind(HLIST list, const void* key, LISTCOMPAREPROC compare, uint8_t flags) {
    if (list == nullptr || key == nullptr)
        return 0;
    list->current = list->first;
    if (list->current == nullptr)
        return 0;
    for (uint32_t compared = 0; compared < list->count; ++compared) {
        if (Matches(list, key, list->current->item, compare, flags))
            return 1;
        if (list->current->next != nullptr)
            list->current = list->current->next;
    }
    return 0;
}
