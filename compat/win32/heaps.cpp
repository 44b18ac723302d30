#include <bwcore/win32/heaps.h>

#include <bwcore/win32/errors.h>

#include <stdlib.h>
#include <string.h>
#include <sys/single_threaded.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_map>
#include <vector>

// Under AddressSanitizer the caller's bytes of each block are the only addressable part of the
// heap's memory, so that overruns and use after HeapFree are reported as with malloc.
#if defined(__SANITIZE_ADDRESS__)
#define BW_HEAPS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BW_HEAPS_ASAN 1
#endif
#endif
#if defined(BW_HEAPS_ASAN)
#include <sanitizer/asan_interface.h>
#define BW_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define BW_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define BW_POISON(p, n) ((void)(p), (void)(n))
#define BW_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

// How much a fixed heap holds. The system's heaps were measured under Wine 8 (64-bit), and this
// model reproduces every row of those measurements exactly:
//  - The heap's size T is max(C, round_up(maximum, 4096)), where C is round_up(initial, 4096),
//    or 65536 when the initial size is 0.
//  - The heap's own structures take 880 bytes of it; its blocks share the other T - 880.
//  - A block of n bytes costs round_up(n + 8, 16) bytes, and at least 48.
//  - So the largest block is T - 888 (the one block that takes all T - 880), but single blocks
//    above 1044440 bytes are refused whatever the size, as the system caps them just under 1 MiB.
// Examples: (0, 65536) holds 1347 blocks of 4 bytes (48 each), 577 of 100 (112 each) and 64 of
// 1000 (1008 each); (0, 326000) holds 5 blocks of 65004.
// Where this differs from the system: the free space is one pool, so a heap never fails through
// fragmentation (the system's may, after mixed frees); the initial size is not committed up front,
// so a large initial size does not make HeapCreate fail; and Windows itself rounds differently
// from Wine (its overheads are its own), so exact counts hold for the measured implementation
// only. Growable heaps (maximum 0) keep no account and refuse only when memory runs out.
//
// Where the blocks live: apart from that account, a heap keeps its blocks in segments of memory
// of its own. Each block is a 16-byte header (its size, and a link while it is free) followed by
// the caller's bytes, rounded up to one of a set of size classes; freed blocks wait in a list per
// class for the next request of that class, and once the heap holds no block at all its segments
// are cut afresh from their starts. Blocks above 128 KiB get a segment of their own. A bitmap per
// segment marks the addresses of live blocks, so that HeapFree recognises its own blocks exactly
// and never reads through a foreign pointer. HeapDestroy frees the segments.

namespace {

constexpr SIZE_T kPageSize = 4096;
constexpr SIZE_T kCommitWithoutInitialSize = 65536;
constexpr SIZE_T kHeapOwnBytes = 880;
constexpr SIZE_T kBlockOwnBytes = 8;
constexpr SIZE_T kSmallestBlockCost = 48;
constexpr SIZE_T kLargestSingleBlock = 1044440;
// Larger sizes (far beyond any memory) are refused before any arithmetic can overflow.
constexpr SIZE_T kLargestRequest = SIZE_T(1) << 40;

constexpr SIZE_T kUnit = 16;
constexpr SIZE_T kSmallSlotLimit = 1024;
constexpr SIZE_T kPooledSlotLimit = 128 * 1024;
// 16-byte steps up to 1 KiB, then four classes per doubling up to 128 KiB.
constexpr int kClassCount = 64 + 7 * 4;
constexpr SIZE_T kFirstSegmentLength = 64 * 1024;
constexpr SIZE_T kLargestSegmentLength = 1024 * 1024;

SIZE_T RoundUp(SIZE_T n, SIZE_T unit) {
    return (n + unit - 1) / unit * unit;
}

SIZE_T BlockCost(SIZE_T n) {
    return std::max(kSmallestBlockCost, RoundUp(n + kBlockOwnBytes, 16));
}

// The size class of a request of n bytes, and the bytes a block of that class holds.
int SizeClass(SIZE_T n, SIZE_T* slot) {
    const SIZE_T rounded = RoundUp(std::max<SIZE_T>(n, 1), kUnit);
    if (rounded <= kSmallSlotLimit) {
        *slot = rounded;
        return static_cast<int>(rounded / kUnit) - 1;
    }
    const int log2 = 63 - __builtin_clzll(rounded - 1);
    const SIZE_T base = SIZE_T(1) << log2;
    const int stepLog2 = log2 - 2;
    *slot = (((rounded - 1) >> stepLog2) + 1) << stepLog2;
    return 64 + (log2 - 10) * 4 + static_cast<int>((*slot - base) >> stepLog2) - 1;
}

struct BlockHeader {
    SIZE_T size;
    BlockHeader* nextFree;
};
static_assert(sizeof(BlockHeader) == kUnit, "blocks stay 16-byte aligned");

struct Segment {
    uintptr_t base;
    SIZE_T length;
    SIZE_T used;
    bool ownBlock;
    // One bit per 16-byte unit: set where a live block's caller address is.
    std::vector<uint64_t> starts;
};

struct Heap {
    DWORD options = 0;
    bool growable = true;
    SIZE_T capacity = 0;
    SIZE_T largestBlock = 0;
    SIZE_T charged = 0;
    std::vector<Segment*> segments; // ordered by base address
    std::vector<Segment*> pooled;   // the segments shared by small blocks, oldest first
    size_t bump = 0;                // the pooled segment new blocks are cut from
    SIZE_T liveBlocks = 0;
    SIZE_T nextSegmentLength = kFirstSegmentLength;
    BlockHeader* freeBlocks[kClassCount] = {};
    std::atomic_flag busy = ATOMIC_FLAG_INIT;
};

// Serialises a heap's operations unless the heap or the call asks not to. While the process has
// a single thread there is nothing to serialise, and no thread can start during the call.
class HeapLock {
public:
    HeapLock(Heap& heap, DWORD flags)
        : heap_(heap),
          active_(((heap.options | flags) & HEAP_NO_SERIALIZE) == 0 && !__libc_single_threaded) {
        if (!active_)
            return;
        while (heap_.busy.test_and_set(std::memory_order_acquire))
            std::this_thread::yield();
    }
    ~HeapLock() {
        if (active_)
            heap_.busy.clear(std::memory_order_release);
    }
    HeapLock(const HeapLock&) = delete;
    HeapLock& operator=(const HeapLock&) = delete;

private:
    Heap& heap_;
    bool active_;
};

// The registry, like the global memory table below, is never destroyed, so that heaps may still
// be destroyed by other objects' destructors at process exit. It is made in static storage, so
// that making it needs no memory.
template <typename T>
T& Undestroyed() {
    alignas(T) static unsigned char storage[sizeof(T)];
    static T* object = new (storage) T();
    return *object;
}

std::mutex& RegistryMutex() {
    return Undestroyed<std::mutex>();
}

std::vector<Heap*>& Registry() {
    return Undestroyed<std::vector<Heap*>>();
}

bool IsBitSet(const Segment& segment, SIZE_T unit) {
    return (segment.starts[unit / 64] >> (unit % 64)) & 1;
}

void SetBit(Segment& segment, SIZE_T unit, bool value) {
    const uint64_t mask = uint64_t(1) << (unit % 64);
    if (value)
        segment.starts[unit / 64] |= mask;
    else
        segment.starts[unit / 64] &= ~mask;
}

Segment* FindSegment(const Heap& heap, uintptr_t address) {
    const auto after =
        std::upper_bound(heap.segments.begin(), heap.segments.end(), address,
                         [](uintptr_t a, const Segment* segment) { return a < segment->base; });
    if (after == heap.segments.begin())
        return nullptr;
    Segment* segment = *(after - 1);
    return address - segment->base < segment->length ? segment : nullptr;
}

struct FoundBlock {
    Segment* segment;
    BlockHeader* header;
};

// The live block whose caller address is exactly `address`; nothing is read unless it is one.
FoundBlock FindBlock(const Heap& heap, const void* address) {
    const uintptr_t a = reinterpret_cast<uintptr_t>(address);
    Segment* segment = FindSegment(heap, a);
    if (segment == nullptr)
        return {nullptr, nullptr};
    const SIZE_T offset = a - segment->base;
    if (offset % kUnit != 0 || offset < kUnit)
        return {nullptr, nullptr};
    if (segment->ownBlock ? offset != kUnit : !IsBitSet(*segment, offset / kUnit))
        return {nullptr, nullptr};
    return {segment, reinterpret_cast<BlockHeader*>(a - kUnit)};
}

Segment* AddSegment(Heap& heap, SIZE_T length, bool ownBlock) {
    Segment* segment = new (std::nothrow) Segment();
    void* memory = malloc(length);
    if (segment == nullptr || memory == nullptr) {
        delete segment;
        free(memory);
        return nullptr;
    }
    segment->base = reinterpret_cast<uintptr_t>(memory);
    segment->length = length;
    segment->used = 0;
    segment->ownBlock = ownBlock;
    try {
        if (!ownBlock)
            segment->starts.assign((length / kUnit + 63) / 64, 0);
        const auto at =
            std::upper_bound(heap.segments.begin(), heap.segments.end(), segment->base,
                             [](uintptr_t a, const Segment* other) { return a < other->base; });
        heap.segments.insert(at, segment);
    } catch (const std::bad_alloc&) {
        free(memory);
        delete segment;
        return nullptr;
    }
    BW_POISON(memory, length);
    return segment;
}

void ReleaseSegment(Segment* segment) {
    void* memory = reinterpret_cast<void*>(segment->base);
    BW_UNPOISON(memory, segment->length);
    free(memory);
    delete segment;
}

void RemoveSegment(Heap& heap, Segment* segment) {
    heap.segments.erase(std::find(heap.segments.begin(), heap.segments.end(), segment));
    ReleaseSegment(segment);
}

FoundBlock NewBlock(Heap& heap, SIZE_T bytes) {
    SIZE_T slot = 0;
    if (RoundUp(std::max<SIZE_T>(bytes, 1), kUnit) > kPooledSlotLimit) {
        Segment* segment = AddSegment(heap, kUnit + RoundUp(bytes, kUnit), true);
        if (segment == nullptr)
            return {nullptr, nullptr};
        BlockHeader* block = reinterpret_cast<BlockHeader*>(segment->base);
        BW_UNPOISON(block, kUnit);
        return {segment, block};
    }
    const int sizeClass = SizeClass(bytes, &slot);
    if (BlockHeader* block = heap.freeBlocks[sizeClass]) {
        heap.freeBlocks[sizeClass] = block->nextFree;
        return {FindSegment(heap, reinterpret_cast<uintptr_t>(block)), block};
    }
    // Cut from the first pooled segment with room, from the current one on; the rest of a
    // segment passed over stays unused until the heap is empty again.
    while (heap.bump < heap.pooled.size() &&
           heap.pooled[heap.bump]->length - heap.pooled[heap.bump]->used < kUnit + slot)
        ++heap.bump;
    if (heap.bump == heap.pooled.size()) {
        // Segments grow up to 1 MiB.
        Segment* added = AddSegment(heap, std::max(heap.nextSegmentLength, kUnit + slot), false);
        if (added == nullptr)
            return {nullptr, nullptr};
        try {
            heap.pooled.push_back(added);
        } catch (const std::bad_alloc&) {
            RemoveSegment(heap, added);
            return {nullptr, nullptr};
        }
        heap.nextSegmentLength = std::min(heap.nextSegmentLength * 2, kLargestSegmentLength);
    }
    Segment* segment = heap.pooled[heap.bump];
    BlockHeader* block = reinterpret_cast<BlockHeader*>(segment->base + segment->used);
    BW_UNPOISON(block, kUnit);
    segment->used += kUnit + slot;
    return {segment, block};
}

// Once a heap holds no block, its segments are cut afresh from their starts: the memory is used
// again in order rather than through the lists of free blocks scattered over it.
void StartAfresh(Heap& heap) {
    for (Segment* segment : heap.pooled) {
        segment->used = 0;
        BW_POISON(reinterpret_cast<void*>(segment->base), segment->length);
    }
    std::fill(std::begin(heap.freeBlocks), std::end(heap.freeBlocks), nullptr);
    heap.bump = 0;
}

} // namespace

HANDLE WINAPI HeapCreate(DWORD flOptions, SIZE_T dwInitialSize, SIZE_T dwMaximumSize) {
    if (dwInitialSize > kLargestRequest || dwMaximumSize > kLargestRequest) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Heap* heap = new (std::nothrow) Heap();
    if (heap == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    heap->options = flOptions;
    heap->growable = dwMaximumSize == 0;
    if (!heap->growable) {
        const SIZE_T committed =
            dwInitialSize != 0 ? RoundUp(dwInitialSize, kPageSize) : kCommitWithoutInitialSize;
        const SIZE_T total = std::max(committed, RoundUp(dwMaximumSize, kPageSize));
        heap->capacity = total - kHeapOwnBytes;
        heap->largestBlock = std::min(total - kHeapOwnBytes - kBlockOwnBytes, kLargestSingleBlock);
    }
    try {
        std::lock_guard<std::mutex> lock(RegistryMutex());
        Registry().push_back(heap);
    } catch (const std::bad_alloc&) {
        delete heap;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return heap;
}

BOOL WINAPI HeapDestroy(HANDLE hHeap) {
    Heap* heap = static_cast<Heap*>(hHeap);
    {
        std::lock_guard<std::mutex> lock(RegistryMutex());
        std::vector<Heap*>& heaps = Registry();
        const auto it = std::find(heaps.begin(), heaps.end(), heap);
        if (it == heaps.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        heaps.erase(it);
    }
    for (Segment* segment : heap->segments)
        ReleaseSegment(segment);
    delete heap;
    return TRUE;
}

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes) {
    Heap& heap = *static_cast<Heap*>(hHeap);
    HeapLock lock(heap, dwFlags);
    if (dwBytes > kLargestRequest) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const SIZE_T cost = BlockCost(dwBytes);
    if (!heap.growable && (dwBytes > heap.largestBlock || cost > heap.capacity - heap.charged)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const FoundBlock found = NewBlock(heap, dwBytes);
    if (found.header == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    BlockHeader* block = found.header;
    Segment* segment = found.segment;
    block->size = dwBytes;
    block->nextFree = nullptr;
    char* bytes = reinterpret_cast<char*>(block) + kUnit;
    if (!segment->ownBlock)
        SetBit(*segment, (reinterpret_cast<uintptr_t>(bytes) - segment->base) / kUnit, true);
    BW_UNPOISON(bytes, dwBytes);
    if (dwFlags & HEAP_ZERO_MEMORY)
        memset(bytes, 0, dwBytes);
    if (!heap.growable)
        heap.charged += cost;
    ++heap.liveBlocks;
    return bytes;
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem) {
    if (lpMem == nullptr)
        return TRUE;
    Heap& heap = *static_cast<Heap*>(hHeap);
    HeapLock lock(heap, dwFlags);
    const FoundBlock found = FindBlock(heap, lpMem);
    if (found.header == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BlockHeader* block = found.header;
    if (!heap.growable)
        heap.charged -= BlockCost(block->size);
    --heap.liveBlocks;
    if (found.segment->ownBlock) {
        RemoveSegment(heap, found.segment);
    } else {
        SIZE_T slot = 0;
        const int sizeClass = SizeClass(block->size, &slot);
        SetBit(*found.segment, (reinterpret_cast<uintptr_t>(lpMem) - found.segment->base) / kUnit,
               false);
        BW_POISON(lpMem, slot);
        block->nextFree = heap.freeBlocks[sizeClass];
        heap.freeBlocks[sizeClass] = block;
    }
    if (heap.liveBlocks == 0)
        StartAfresh(heap);
    return TRUE;
}

SIZE_T WINAPI HeapSize(HANDLE hHeap, DWORD dwFlags, LPCVOID lpMem) {
    Heap& heap = *static_cast<Heap*>(hHeap);
    HeapLock lock(heap, dwFlags);
    const FoundBlock found = FindBlock(heap, lpMem);
    if (found.header == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return static_cast<SIZE_T>(-1);
    }
    return found.header->size;
}

BOOL WINAPI HeapValidate(HANDLE hHeap, DWORD dwFlags, LPCVOID lpMem) {
    Heap& heap = *static_cast<Heap*>(hHeap);
    HeapLock lock(heap, dwFlags);
    return lpMem == nullptr || FindBlock(heap, lpMem).header != nullptr;
}

DWORD WINAPI GetProcessHeaps(DWORD NumberOfHeaps, HANDLE* ProcessHeaps) {
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const std::vector<Heap*>& heaps = Registry();
    for (DWORD i = 0; i < NumberOfHeaps && i < heaps.size(); ++i)
        ProcessHeaps[i] = heaps[i];
    return static_cast<DWORD>(heaps.size());
}

namespace {

struct GlobalBlock {
    char* data;
    SIZE_T size;
    bool movable;
    LONG locks;
};

struct GlobalTable {
    std::mutex mutex;
    std::unordered_map<const void*, GlobalBlock*> byHandle;
    std::unordered_map<const void*, GlobalBlock*> byAddress;
};

GlobalTable& Globals() {
    return Undestroyed<GlobalTable>();
}

// A movable block's handle is its record; a fixed block's handle is its address.
HGLOBAL HandleOf(GlobalBlock* block) {
    return block->movable ? static_cast<HGLOBAL>(block) : static_cast<HGLOBAL>(block->data);
}

GlobalBlock* FindGlobal(HGLOBAL hMem) {
    GlobalTable& table = Globals();
    const auto it = table.byHandle.find(hMem);
    if (it == table.byHandle.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

} // namespace

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
    if (dwBytes > kLargestRequest) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    GlobalBlock* block = new (std::nothrow) GlobalBlock();
    // Every block is real memory, even of size 0, so that each has an address of its own.
    char* data =
        static_cast<char*>((uFlags & GMEM_ZEROINIT) ? calloc(std::max<SIZE_T>(dwBytes, 1), 1)
                                                    : malloc(std::max<SIZE_T>(dwBytes, 1)));
    if (block == nullptr || data == nullptr) {
        delete block;
        free(data);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    *block = GlobalBlock{data, dwBytes, (uFlags & GMEM_MOVEABLE) != 0, 0};
    GlobalTable& table = Globals();
    std::lock_guard<std::mutex> lock(table.mutex);
    try {
        table.byHandle.emplace(HandleOf(block), block);
        table.byAddress.emplace(data, block);
    } catch (const std::bad_alloc&) {
        table.byHandle.erase(HandleOf(block));
        free(data);
        delete block;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return HandleOf(block);
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
    std::lock_guard<std::mutex> lock(Globals().mutex);
    GlobalBlock* block = FindGlobal(hMem);
    if (block == nullptr)
        return nullptr;
    if (block->movable)
        ++block->locks;
    return block->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
    std::lock_guard<std::mutex> lock(Globals().mutex);
    GlobalBlock* block = FindGlobal(hMem);
    if (block == nullptr)
        return FALSE;
    if (!block->movable)
        return TRUE;
    if (block->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->locks > 0)
        return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
    if (hMem == nullptr)
        return nullptr;
    GlobalTable& table = Globals();
    GlobalBlock* block = nullptr;
    {
        std::lock_guard<std::mutex> lock(table.mutex);
        block = FindGlobal(hMem);
        if (block == nullptr)
            return hMem;
        table.byHandle.erase(hMem);
        table.byAddress.erase(block->data);
    }
    free(block->data);
    delete block;
    return nullptr;
}

HGLOBAL WINAPI GlobalHandle(LPCVOID pMem) {
    GlobalTable& table = Globals();
    std::lock_guard<std::mutex> lock(table.mutex);
    const auto it = table.byAddress.find(pMem);
    if (it == table.byAddress.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return HandleOf(it->second);
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
    std::lock_guard<std::mutex> lock(Globals().mutex);
    GlobalBlock* block = FindGlobal(hMem);
    return block != nullptr ? block->size : 0;
}
