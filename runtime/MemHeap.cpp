#include <bwcore/runtime/MemHeap.h>

#include <bwcore/platform.h>

#include "MemHeapOwned.h"

#include <string.h>

#include <algorithm>
#include <new>
#include <vector>

namespace {

constexpr int32_t kSlotCount = 100;
constexpr uint32_t kErrorNone = 0;
constexpr uint32_t kErrorNotOwned = 4;
constexpr uint32_t kErrorNullBlock = 14;

// The header in front of a global-memory block holds its handle; 16 bytes keep the caller's bytes
// as aligned as the block itself.
constexpr SIZE_T kGlobalHeader = 16;
static_assert(sizeof(HGLOBAL) <= kGlobalHeader, "the whole handle fits in the header");
// The header in front of a private-heap block: the sequence number of the system heap holding it.
constexpr SIZE_T kBlockHeader = 4;

struct HeapRecord {
    uint32_t flags;
    uint32_t maxBlockSize;
    uint32_t sequence;
    HANDLE heap;
    HeapRecord* next;
};

// The records of one id in chain order, with what each of them refused. A system heap that
// refused a request for want of room under its maximum refuses every larger one until a block is
// freed in it, as nothing else makes room there; so each record keeps the smallest such request
// since its last free, and a tree of maxima over the chain finds the first record that may take a
// request in a few steps.
// The result is the one the walk along the chain, trying every heap in turn, would give. Records
// are found by sequence number in the same way, since the sequence numbers count the chain.
class HeapChain {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    // False when memory for the index runs out.
    bool Append(HeapRecord* record) {
        try {
            if (records_.size() == capacity_)
                Grow();
            records_.push_back(record);
        } catch (const std::bad_alloc&) {
            return false;
        }
        Set(records_.size() - 1, kNothingRefused);
        return true;
    }

    HeapRecord* First() const { return records_.front(); }
    HeapRecord* Last() const { return records_.back(); }

    HeapRecord* BySequence(uint32_t sequence) const {
        return sequence >= 1 && sequence <= records_.size() ? records_[sequence - 1] : nullptr;
    }

    // The index of the first record that has refused no request of `bytes` or fewer, or kNone.
    // The last answer is tried first: it still holds while no record before it may take the
    // request, which the largest refusal before it (or a bound above that) tells.
    size_t FirstThatMayTake(uint64_t bytes) {
        if (boundBeforeHint_ <= bytes && smallestRefused_[capacity_ + hint_] > bytes)
            return hint_;
        if (smallestRefused_[1] <= bytes)
            return kNone;
        size_t node = 1;
        uint64_t before = 0;
        while (node < capacity_) {
            if (smallestRefused_[2 * node] > bytes) {
                node = 2 * node;
            } else {
                before = std::max(before, smallestRefused_[2 * node]);
                node = 2 * node + 1;
            }
        }
        hint_ = node - capacity_;
        boundBeforeHint_ = before;
        return hint_;
    }

    // The index of the first record after `index` that has refused no request of `bytes` or
    // fewer, or kNone.
    size_t NextThatMayTake(size_t index, uint64_t bytes) const {
        size_t node = capacity_ + index;
        while (node > 1 && (node % 2 == 1 || smallestRefused_[node + 1] <= bytes))
            node /= 2;
        if (node == 1)
            return kNone;
        for (node = node + 1; node < capacity_;)
            node = smallestRefused_[2 * node] > bytes ? 2 * node : 2 * node + 1;
        return node - capacity_;
    }

    // A refusal only lowers a record's value, so the bound before the hint stays a bound.
    void Refused(size_t index, uint64_t bytes) { Set(index, bytes); }

    void Freed(uint32_t sequence) {
        const size_t index = sequence - 1;
        if (smallestRefused_[capacity_ + index] == kNothingRefused)
            return;
        Set(index, kNothingRefused);
        if (index < hint_)
            boundBeforeHint_ = kNothingRefused;
    }

private:
    static constexpr uint64_t kNothingRefused = UINT64_MAX;

    void Set(size_t index, uint64_t value) {
        size_t node = capacity_ + index;
        smallestRefused_[node] = value;
        for (node /= 2; node >= 1; node /= 2)
            smallestRefused_[node] =
                std::max(smallestRefused_[2 * node], smallestRefused_[2 * node + 1]);
    }

    // Doubles the leaves; empty leaves hold 0, which every request reaches.
    void Grow() {
        const size_t capacity = capacity_ == 0 ? 1 : 2 * capacity_;
        std::vector<uint64_t> tree(2 * capacity, 0);
        for (size_t i = 0; i < records_.size(); ++i)
            tree[capacity + i] = smallestRefused_[capacity_ + i];
        for (size_t node = capacity - 1; node >= 1; --node)
            tree[node] = std::max(tree[2 * node], tree[2 * node + 1]);
        records_.reserve(capacity);
        smallestRefused_.swap(tree);
        capacity_ = capacity;
    }

    std::vector<HeapRecord*> records_;
    std::vector<uint64_t> smallestRefused_; // node 1 is the root; leaf i at capacity_ + i
    size_t capacity_ = 0;
    size_t hint_ = 0;
    uint64_t boundBeforeHint_ = kNothingRefused;
};

// Process-wide and unguarded: callers serialise their heap calls.
HeapChain* gTable[kSlotCount];
HANDLE gMasterHeap = nullptr;
uint32_t gLastError = kErrorNone;

bool Extensible(uint32_t flags) {
    return (flags & MEMHEAP_EXTENSIBLE) != 0;
}

// A system heap that holds blocks up to maxBlockSize, with room for five times as much when the
// heap may grow by extensions anyway.
HANDLE NewSystemHeap(uint32_t maxBlockSize, uint32_t flags) {
    const SIZE_T initialSize = SIZE_T(maxBlockSize) + 10;
    SIZE_T maximumSize = SIZE_T(maxBlockSize) + 200;
    if (Extensible(flags))
        maximumSize *= 5;
    return HeapCreate(0, initialSize, maximumSize);
}

HeapRecord* NewRecord(uint32_t maxBlockSize, uint32_t flags, uint32_t sequence) {
    HANDLE heap = NewSystemHeap(maxBlockSize, flags);
    if (heap == nullptr)
        return nullptr;
    HeapRecord* record =
        static_cast<HeapRecord*>(HeapAlloc(gMasterHeap, HEAP_ZERO_MEMORY, sizeof(HeapRecord)));
    if (record == nullptr) {
        HeapDestroy(heap);
        return nullptr;
    }
    record->flags = flags;
    record->maxBlockSize = maxBlockSize;
    record->sequence = sequence;
    record->heap = heap;
    record->next = nullptr;
    return record;
}

void DeleteRecord(HeapRecord* record) {
    HeapDestroy(record->heap);
    HeapFree(gMasterHeap, 0, record);
}

void* AllocIn(const HeapRecord* record, SIZE_T bytes) {
    const DWORD zero = (record->flags & MEMHEAP_ZEROINIT) ? HEAP_ZERO_MEMORY : 0;
    void* block = HeapAlloc(record->heap, zero, bytes);
    if (block == nullptr)
        return nullptr;
    memcpy(block, &record->sequence, kBlockHeader);
    return static_cast<char*>(block) + kBlockHeader;
}

// Whether the record's system heap refused `bytes` for want of room under its maximum, rather
// than because memory ran short: an empty system heap of the same size takes the request now.
// Only such a refusal holds until a block is freed there.
bool RefusedForItsMaximum(const HeapRecord* record, SIZE_T bytes) {
    HANDLE probe = NewSystemHeap(record->maxBlockSize, record->flags);
    if (probe == nullptr)
        return false;
    const bool taken = HeapAlloc(probe, 0, bytes) != nullptr;
    HeapDestroy(probe);
    return taken;
}

HeapChain* Chain(int32_t heapId) {
    if (gMasterHeap == nullptr || heapId < 1 || heapId >= kSlotCount)
        return nullptr;
    return gTable[heapId];
}

void* GlobalBlockAlloc(uint32_t size) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(size) * 32 + kGlobalHeader);
    if (handle == nullptr)
        return nullptr;
    char* block = static_cast<char*>(GlobalLock(handle));
    if (block == nullptr) {
        GlobalFree(handle);
        return nullptr;
    }
    memcpy(block, &handle, sizeof(handle));
    return block + kGlobalHeader;
}

// The header is read only once the system knows the block as global memory of its own.
bool GlobalBlockFree(void* block) {
    char* start = static_cast<char*>(block) - kGlobalHeader;
    if (GlobalHandle(start) == nullptr)
        return false;
    HGLOBAL handle = nullptr;
    memcpy(&handle, start, sizeof(handle));
    GlobalUnlock(handle);
    GlobalFree(handle);
    return true;
}

// The steps of MemHeapFree up to the search for the block's system heap; null when the search
// is not to be made (the result is then 0, or 1 for global memory, with the last-error word set).
HeapChain* StartFree(int32_t heapId, void* block, int32_t* result) {
    *result = 0;
    gLastError = kErrorNullBlock;
    if (block == nullptr)
        return nullptr;
    gLastError = kErrorNone;
    if (heapId == MEMHEAP_GLOBAL) {
        if (GlobalBlockFree(block)) {
            *result = 1;
        } else {
            gLastError = kErrorNotOwned;
        }
        return nullptr;
    }
    HeapChain* chain = Chain(heapId);
    if (chain != nullptr)
        gLastError = kErrorNotOwned;
    return chain;
}

// Frees the block in the system heap of `record`, which the header names; the system checks that
// the block is one of that heap's before anything is freed.
int32_t FinishFree(HeapChain* chain, const HeapRecord* record, void* start) {
    if (record == nullptr || !HeapValidate(record->heap, 0, start) ||
        !HeapFree(record->heap, 0, start))
        return 0;
    chain->Freed(record->sequence);
    gLastError = kErrorNone;
    return 1;
}

} // namespace

int32_t MemHeapCreate(uint32_t maxBlockSize, uint32_t flags) {
    if (gMasterHeap == nullptr) {
        memset(gTable, 0, sizeof(gTable));
        gMasterHeap = HeapCreate(0, 64000, 256000);
        if (gMasterHeap == nullptr)
            return -1;
    }
    int32_t id = 1;
    while (id < kSlotCount && gTable[id] != nullptr)
        ++id;
    if (id == kSlotCount)
        return -1;
    HeapChain* chain = new (std::nothrow) HeapChain();
    HeapRecord* record = chain != nullptr ? NewRecord(maxBlockSize, flags, 1) : nullptr;
    if (record == nullptr || !chain->Append(record)) {
        if (record != nullptr)
            DeleteRecord(record);
        delete chain;
        return -1;
    }
    gTable[id] = chain;
    return id;
}

void* MemHeapAlloc(int32_t heapId, uint32_t size) {
    if (heapId == MEMHEAP_GLOBAL)
        return GlobalBlockAlloc(size);
    HeapChain* chain = Chain(heapId);
    if (chain == nullptr || size > chain->First()->maxBlockSize)
        return nullptr;
    const SIZE_T bytes = SIZE_T(size) + kBlockHeader;
    for (size_t index = chain->FirstThatMayTake(bytes); index != HeapChain::kNone;
         index = chain->NextThatMayTake(index, bytes)) {
        const HeapRecord* record = chain->BySequence(uint32_t(index) + 1);
        if (void* block = AllocIn(record, bytes))
            return block;
        if (RefusedForItsMaximum(record, bytes))
            chain->Refused(index, bytes);
    }
    HeapRecord* last = chain->Last();
    if (!Extensible(last->flags))
        return nullptr;
    HeapRecord* extension = NewRecord(last->maxBlockSize, last->flags, last->sequence + 1);
    if (extension == nullptr)
        return nullptr;
    void* block = AllocIn(extension, bytes);
    if (block == nullptr || !chain->Append(extension)) {
        DeleteRecord(extension);
        return nullptr;
    }
    last->next = extension;
    return block;
}

int32_t MemHeapFree(int32_t heapId, void* block) {
    int32_t result = 0;
    HeapChain* chain = StartFree(heapId, block, &result);
    if (chain == nullptr)
        return result;
    void* start = static_cast<char*>(block) - kBlockHeader;
    uint32_t sequence = 0;
    memcpy(&sequence, start, kBlockHeader);
    return FinishFree(chain, chain->BySequence(sequence), start);
}

int32_t bwcore::MemHeapFreeIfOwned(int32_t heapId, void* block) {
    int32_t result = 0;
    HeapChain* chain = StartFree(heapId, block, &result);
    if (chain == nullptr)
        return result;
    // Nothing in front of the block is read before a system heap of the chain knows it.
    void* start = static_cast<char*>(block) - kBlockHeader;
    HeapRecord* owner = chain->First();
    while (owner != nullptr && !HeapValidate(owner->heap, 0, start))
        owner = owner->next;
    if (owner == nullptr)
        return 0;
    uint32_t sequence = 0;
    memcpy(&sequence, start, kBlockHeader);
    return FinishFree(chain, sequence == owner->sequence ? owner : nullptr, start);
}

int32_t MemHeapDestroy(int32_t heapId) {
    HeapChain* chain = Chain(heapId);
    if (chain == nullptr)
        return 0;
    HeapRecord* record = chain->First();
    while (record != nullptr) {
        HeapRecord* next = record->next;
        DeleteRecord(record);
        record = next;
    }
    delete chain;
    gTable[heapId] = nullptr;
    return 1;
}

int32_t MemHeapStatus(MEMHEAPSTATUS* status) {
    if (status == nullptr)
        return 0;
    status->lastError = gLastError;
    return 1;
}

int32_t MemHeapConfigure(int32_t option, int32_t value) {
    return 1;
}

int32_t MemHeapIsPtrValid(int32_t heapId, const void* block) {
    return 0;
}
