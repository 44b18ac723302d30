// Hash links: hash tables of string keys with pointer-sized values, chained through linked
// entries. The caller owns the bucket array (cleared to nulls before first use) and passes it
// with its bucket count to every call; the library allocates and frees the entries and their
// key copies with malloc and free.
//
// Contract:
// - A key's bucket is the sum of its bytes, each taken as a signed 8-bit value, kept to 16 bits
//   (as unsigned), modulo the bucket count. New entries go to the head of their bucket's chain.
// - HashLinkAdd and HashLinkUpdate compare keys exactly; HashLinkQuery compares without case,
//   but only within the bucket of the key's own bytes.
// - Results: 0, or HASHLINK_NOTFOUND (no table, or no such entry), HASHLINK_DUPLICATE,
//   HASHLINK_NOMEMORY. A bucket count of 0 is treated like a missing table.
// - HashLinkEnum keeps one process-wide position (bucket index and entry), so one enumeration at
//   a time in the whole process: mode 1 starts it, mode 2 continues it bucket by bucket and,
//   within a bucket, newest entry first; 0 at the end and for other modes. Mode 2 gives 0 when
//   no enumeration of that bucket array is under way: before any mode 1, after a mode 1 that
//   found nothing, and after the array was destroyed or relocated.
// - The relocations add or subtract a base address across the table, so that a table can be
//   stored as offsets: HashLinkAddTablePtr expects every stored address (bucket heads, links,
//   keys, values) to be an offset from the base and turns them all into addresses;
//   HashLinkSubtractTablePtrFromNode turns only the heads and links into offsets and leaves keys
//   and values alone.
// - Not locked.
#pragma once

#include <bwcore/export.h>

#include <stdint.h>

#define HASHLINK_NOTFOUND (-207)
#define HASHLINK_DUPLICATE (-206)
#define HASHLINK_NOMEMORY (-119)

// HashLinkEnum modes.
#define HASHLINK_ENUM_FIRST 1
#define HASHLINK_ENUM_NEXT 2

// One entry; the layout is part of the interface (HashLinkEnum returns entries).
typedef struct HASHLINK {
    char* key; // a private copy, length + 2 bytes
    uintptr_t value;
    struct HASHLINK* next; // the next (older) entry of the same bucket
} HASHLINK;

BW_EXTERN_C BWCORE_API int32_t HashLinkAdd(HASHLINK** buckets, uint16_t bucketCount,
                                           const char* key, uintptr_t value);
// The value, or 0 when there is no such key.
BW_EXTERN_C BWCORE_API uintptr_t HashLinkQuery(HASHLINK** buckets, uint16_t bucketCount,
                                               const char* key);
BW_EXTERN_C BWCORE_API int32_t HashLinkUpdate(HASHLINK** buckets, uint16_t bucketCount,
                                              const char* key, uintptr_t value);
// The number of entries, kept to 16 bits.
BW_EXTERN_C BWCORE_API uint16_t HashLinkGetCount(HASHLINK** buckets, uint16_t bucketCount);
BW_EXTERN_C BWCORE_API HASHLINK* HashLinkEnum(HASHLINK** buckets, uint16_t bucketCount,
                                              int32_t mode);
// Frees every entry; the bucket array keeps its (now dangling) contents.
BW_EXTERN_C BWCORE_API void HashLinkDestroy(HASHLINK** buckets, uint16_t bucketCount);
// 1, or 0 for a missing table.
BW_EXTERN_C BWCORE_API int32_t HashLinkAddTablePtr(HASHLINK** buckets, uint16_t bucketCount,
                                                   uintptr_t delta);
BW_EXTERN_C BWCORE_API int32_t HashLinkSubtractTablePtrFromNode(HASHLINK** buckets,
                                                                uint16_t bucketCount,
                                                                uintptr_t delta);
