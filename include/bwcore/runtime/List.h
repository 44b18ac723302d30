// Lists: doubly linked lists behind opaque handles, stored in the numbered heaps (MemHeap.h), with
// a current position that most operations read or move.
//
// Contract:
// - A list's kind is fixed at creation by its item size: below 0 a pointer list (the nodes hold
//   the caller's pointers, never copied or freed by the list), 0 a string list (each item a copy
//   of a zero-terminated string, in a block of length + 2 bytes), above 0 a record list (each item
//   a copy of exactly that many bytes, in a block of one more).
// - HLIST, the handle, is the address of the list's record; HLISTPOS, a position, is the address
//   of a node. Both are opaque. A null handle makes every function return its failure value (0,
//   null, or as stated) and change nothing.
// - ListCreate puts the list in the shared list heap, which the first ListCreate (or
//   ListCreateEx with heap id -1) creates with a maximum block size of 65000 and flags 0x1003,
//   once per process; ListGetHeap returns its id (-1 before, and when its creation failed, in
//   which case every ListCreate fails). ListCreateEx puts the record, nodes and copies in the
//   given heap.
// - The current position is null exactly when the list is empty. Added and inserted items are
//   linked after the current node (at the head for the First variants) and become current.
//   ListSetCurrent takes a position of the same list; a null position changes nothing and gives
//   null.
// - Copies are at most 65535 bytes (longer items are refused) and, in the shared list heap, at
//   most 65000 bytes with their terminator and spare byte (a string of 64998 bytes).
// - Releasing an item (ListDelete, ListUpdate of a string, ListDestroy): a string or record item
//   is freed into the list's heap; an item that is no block of that heap (a pointer given to
//   ListAdd), and every item of a pointer list, goes to the release callback set by ListFreeFx
//   instead, if there is one. ListRemove never releases.
// - Not locked: lists, the shared heap id and the counters are process-wide and unguarded.
#pragma once

#include <bwcore/export.h>

#include <stdint.h>

typedef struct BWLIST* HLIST;
typedef struct BWLISTNODE* HLISTPOS;

// Called with an item that the list cannot free itself; its result is ignored.
typedef int32_t (*LISTRELEASEPROC)(void* item);
// Called by ListFind with (key, item); non-zero means a match.
typedef int32_t (*LISTCOMPAREPROC)(const void* key, const void* item);

// ListFind flags: compare strings exactly (lstrcmpA) instead of without case (lstrcmpiA).
#define LISTFIND_EXACT 0x01

// ListInfo selectors.
#define LISTINFO_CREATED 1
#define LISTINFO_DESTROYED 2

BW_EXTERN_C BWCORE_API HLIST ListCreate(int32_t itemSize);
BW_EXTERN_C BWCORE_API HLIST ListCreateEx(int32_t itemSize, int32_t heapId);
BW_EXTERN_C BWCORE_API void ListDestroy(HLIST list);
BW_EXTERN_C BWCORE_API void ListFreeFx(HLIST list, LISTRELEASEPROC release);
BW_EXTERN_C BWCORE_API uint32_t ListCount(HLIST list);
// The item size; -2 for a null handle.
BW_EXTERN_C BWCORE_API int32_t ListGetListSize(HLIST list);
BW_EXTERN_C BWCORE_API int32_t ListGetHeap(void);
// Lists created or destroyed since the process started; -1 for any other selector.
BW_EXTERN_C BWCORE_API int32_t ListInfo(int32_t unused, int32_t selector);

// Store the pointer itself, for every kind of list.
BW_EXTERN_C BWCORE_API int32_t ListAdd(HLIST list, void* item);
BW_EXTERN_C BWCORE_API int32_t ListAddFirst(HLIST list, void* item);
// Store a copy (string and record lists; 0 for a pointer list).
BW_EXTERN_C BWCORE_API int32_t ListInsert(HLIST list, const void* item);
BW_EXTERN_C BWCORE_API int32_t ListInsertFirst(HLIST list, const void* item);

// Items are the copies' addresses, or the stored pointers of a pointer list; null means none.
BW_EXTERN_C BWCORE_API void* ListFirst(HLIST list);
BW_EXTERN_C BWCORE_API void* ListLast(HLIST list);
BW_EXTERN_C BWCORE_API void* ListNext(HLIST list);
BW_EXTERN_C BWCORE_API void* ListPrev(HLIST list);
BW_EXTERN_C BWCORE_API void* ListCurrent(HLIST list);
BW_EXTERN_C BWCORE_API HLISTPOS ListGetCurrent(HLIST list);
BW_EXTERN_C BWCORE_API HLISTPOS ListSetCurrent(HLIST list, HLISTPOS position);
BW_EXTERN_C BWCORE_API void* ListSetCurIndex(HLIST list, int32_t index);
BW_EXTERN_C BWCORE_API int32_t ListIsCurrentFirst(HLIST list);
BW_EXTERN_C BWCORE_API int32_t ListIsCurrentLast(HLIST list);

// Copies the current item into the buffer (a string with its terminator, or item-size bytes).
BW_EXTERN_C BWCORE_API int32_t ListGet(HLIST list, void* buffer);
BW_EXTERN_C BWCORE_API void ListUpdate(HLIST list, void* item);
// The successor becomes current, or the predecessor when there is none.
BW_EXTERN_C BWCORE_API void ListDelete(HLIST list);
BW_EXTERN_C BWCORE_API int32_t ListRemove(HLIST list);
// Searches from the head; a null compare callback compares strings (see LISTFIND_EXACT) or, in
// the other kinds, the key with the item value itself. Without a match the last node is current.
BW_EXTERN_C BWCORE_API int32_t ListFind(HLIST list, const void* key, LISTCOMPAREPROC compare,
                                        uint8_t flags);
