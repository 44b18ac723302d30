// MemHeapFree for blocks that may come from anywhere. Internal to runtime/.
#pragma once

#include <stdint.h>

namespace bwcore {

// As MemHeapFree, with the same result and last-error word, but the 4 bytes in front of the block
// are read only once a system heap of the id has recognised the block as its own, so any pointer
// may be passed. Each system heap of the chain is asked in turn, so this costs a walk along the
// chain; the lists use it for items they did not copy themselves.
int32_t MemHeapFreeIfOwned(int32_t heapId, void* block);

} // namespace bwcore
