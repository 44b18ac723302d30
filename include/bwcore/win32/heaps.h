// Private heaps (HeapCreate and its family) and movable global memory (GlobalAlloc and its
// family), for Linux.
//
// Private heaps:
// - A heap with a maximum size is fixed: it holds what fits in its usable size and then refuses
//   with ERROR_NOT_ENOUGH_MEMORY, as the system's does. The usable size, the largest single block
//   and the cost of each block follow the system's rounding as measured (heaps.cpp has the model
//   and where it differs). A heap with maximum size 0 is growable and refuses only when the
//   process is out of memory.
// - HeapDestroy releases every block of the heap at once.
// - HeapFree, HeapSize and HeapValidate recognise the heap's own live blocks exactly: any other
//   address (a block of another heap, a freed block, a pointer into a block, memory that no heap
//   gave out) is refused with ERROR_INVALID_PARAMETER, without reading the memory it points to.
// - Heaps are serialised unless created with HEAP_NO_SERIALIZE. HEAP_GENERATE_EXCEPTIONS is
//   accepted and not acted on: failures are reported by result and last error only.
// - GetProcessHeaps counts the heaps created with HeapCreate and not yet destroyed; the Linux
//   layer has no process default heap.
//
// Global memory: GMEM_MOVEABLE blocks are named by a handle that is not their address and carry a
// lock count (GlobalLock/GlobalUnlock); they never actually move. Without GMEM_MOVEABLE the handle
// is the block's address. GMEM_ZEROINIT zero-fills. Unknown handles fail with
// ERROR_INVALID_HANDLE; GlobalUnlock of a block that is not locked returns FALSE with
// ERROR_NOT_LOCKED.
#pragma once

#include <bwcore/win32/types.h>

#define HEAP_NO_SERIALIZE 0x00000001
#define HEAP_GENERATE_EXCEPTIONS 0x00000004
#define HEAP_ZERO_MEMORY 0x00000008

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

BW_EXTERN_C BWAFX_API HANDLE WINAPI HeapCreate(DWORD flOptions, SIZE_T dwInitialSize,
                                               SIZE_T dwMaximumSize);
BW_EXTERN_C BWAFX_API BOOL WINAPI HeapDestroy(HANDLE hHeap);
BW_EXTERN_C BWAFX_API LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes);
BW_EXTERN_C BWAFX_API BOOL WINAPI HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);
// The size requested for the block; (SIZE_T)-1 for an address that is no block of the heap.
BW_EXTERN_C BWAFX_API SIZE_T WINAPI HeapSize(HANDLE hHeap, DWORD dwFlags, LPCVOID lpMem);
// TRUE when lpMem is a live block of the heap; with a null lpMem, TRUE for a valid heap.
BW_EXTERN_C BWAFX_API BOOL WINAPI HeapValidate(HANDLE hHeap, DWORD dwFlags, LPCVOID lpMem);
// Stores up to NumberOfHeaps handles and returns the number of heaps in the process.
BW_EXTERN_C BWAFX_API DWORD WINAPI GetProcessHeaps(DWORD NumberOfHeaps, HANDLE* ProcessHeaps);

BW_EXTERN_C BWAFX_API HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
BW_EXTERN_C BWAFX_API LPVOID WINAPI GlobalLock(HGLOBAL hMem);
BW_EXTERN_C BWAFX_API BOOL WINAPI GlobalUnlock(HGLOBAL hMem);
// Null on success; the handle itself when it is unknown.
BW_EXTERN_C BWAFX_API HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
BW_EXTERN_C BWAFX_API HGLOBAL WINAPI GlobalHandle(LPCVOID pMem);
BW_EXTERN_C BWAFX_API SIZE_T WINAPI GlobalSize(HGLOBAL hMem);
