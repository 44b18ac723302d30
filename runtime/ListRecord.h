// The records behind list handles and positions, shared by the list functions and the list
// storage functions. Internal to runtime/.
#pragma once

#include <bwcore/runtime/List.h>

// Both live in blocks of the numbered heaps, which begin just after a 4-byte header and so are
// only 4-byte aligned: the records are packed to match.
#pragma pack(push, 4)

struct BWLISTNODE {
    void* item;
    BWLISTNODE* next;
    BWLISTNODE* previous;
    // Whether the item is a copy the list made in its heap, rather than a pointer it was given.
    uint32_t copied;
};

struct BWLIST {
    uint32_t count;
    int32_t itemSize;
    BWLISTNODE* first;
    BWLISTNODE* last;
    BWLISTNODE* current;
    int32_t heapId;
    LISTRELEASEPROC release;
};

#pragma pack(pop)

namespace bwcore {

// Links a new node holding `item` after the current node (the only node of an empty list) and
// makes it current; false when the node cannot be allocated. `copied` tells whether the item is a
// copy in the list's heap.
bool ListLinkAfterCurrent(HLIST list, void* item, bool copied);

// Copies a line that is terminated in place, with `available` bytes from its start to the end of
// its text, after the current node as ListInsert copies an item: a string list takes the text up
// to the terminator, a record list item-size bytes from the line's start (zeros for those beyond
// the available bytes), a pointer list nothing. False when nothing was inserted.
bool ListInsertLine(HLIST list, const char* line, size_t available);

} // namespace bwcore
