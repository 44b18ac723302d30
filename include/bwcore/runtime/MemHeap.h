// Numbered memory heaps: small integer ids naming private system heaps, plus id 32766 for
// movable global memory.
//
// Contract:
// - Ids 1 to 99 name private heaps; the lowest free id is handed out first. MemHeapCreate returns
//   -1 when no id is free or a system heap cannot be created.
// - A private heap accepts blocks up to its maximum block size. With flags & 3 it grows by
//   chaining further system heaps of the same size behind it when it is full; without, a full
//   heap refuses. Flags bit 0x1000 asks for zero-filled blocks. A system heap that refused a
//   request because memory ran short, not because it was full, is asked again the next time.
// - Id 32766 needs no MemHeapCreate: its blocks are zero-filled movable global memory, each with
//   room for 32 times the requested size.
// - MemHeapDestroy releases the heap and every block in it at once.
// - MemHeapFree leaves a last-error word that MemHeapStatus reads: 14 for a null block, 4 for a
//   block that no system heap of the id owns (for id 32766: that is no global memory block), 0
//   otherwise (also when the id names no heap). It reads the header in front of the block to find
//   its system heap, and the system checks the block before anything is freed, so an address
//   that no heap gave out is refused as long as the 4 bytes in front of it can be read.
// - A private-heap block is preceded by a 4-byte header holding the sequence number of the system
//   heap that holds it (1 for the heap MemHeapCreate made, 2 for its first extension, ...). The
//   caller's bytes are therefore only 4-byte aligned (the system's alignment plus 4).
// - Not locked: the id table and the last-error word are process-wide; one thread at a time.
#pragma once

#include <bwcore/export.h>

#include <stdint.h>

// The reserved id of movable global memory.
#define MEMHEAP_GLOBAL 32766

// Flags of MemHeapCreate.
#define MEMHEAP_EXTENSIBLE 0x0003u
#define MEMHEAP_ZEROINIT 0x1000u

// What MemHeapStatus fills in: the last-error word goes into the second field; the first field is
// the caller's and is never written.
typedef struct MEMHEAPSTATUS {
    uint32_t reserved;
    uint32_t lastError;
} MEMHEAPSTATUS;

BW_EXTERN_C BWCORE_API int32_t MemHeapCreate(uint32_t maxBlockSize, uint32_t flags);
BW_EXTERN_C BWCORE_API void* MemHeapAlloc(int32_t heapId, uint32_t size);
BW_EXTERN_C BWCORE_API int32_t MemHeapFree(int32_t heapId, void* block);
BW_EXTERN_C BWCORE_API int32_t MemHeapDestroy(int32_t heapId);
BW_EXTERN_C BWCORE_API int32_t MemHeapStatus(MEMHEAPSTATUS* status);
// Accepted for compatibility; changes nothing and returns 1.
BW_EXTERN_C BWCORE_API int32_t MemHeapConfigure(int32_t option, int32_t value);
// Performs no check; always 0.
BW_EXTERN_C BWCORE_API int32_t MemHeapIsPtrValid(int32_t heapId, const void* block);
