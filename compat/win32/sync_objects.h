// The handle space that the file handles share with events, semaphores and threads (sync.cpp).
//
// File handles are (slot + 1) * 4 for the slots of the file table; the other objects take
// sync_handle_base + (slot + 1) * 4, below the directory searches' range (find.cpp, from
// 0x40000000), so no two kinds share a value while each table stays below 0x08000000 slots.
#pragma once

#include <bwcore/win32/types.h>

namespace bwcompat {

constexpr uintptr_t sync_handle_base = 0x20000000;

// CloseHandle for a handle that is not a file handle: closes the event, semaphore or thread, or
// fails with ERROR_INVALID_HANDLE.
BOOL CloseSyncHandle(HANDLE handle);

} // namespace bwcompat
