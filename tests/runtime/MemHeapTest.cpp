// Numbered memory heaps. The heap table is process-wide and other tests of this program hold
// heaps of their own (the shared list heap among them), so each test works with the ids it gets
// and gives them back; the tests that need a process in which no heap exists yet (suite
// FreshProcess) run on their own in a separate test run and skip themselves elsewhere.

#include <bwcore/platform.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#if !BWCORE_TEST_REAL_WIN32
#include <dlfcn.h>
#endif

namespace {

// While set, the system's heaps refuse to be created or to allocate, as when memory runs short.
bool gMemoryShort = false;
// Whether the refusals reach the heaps at all: on Linux the functions below stand in front of the
// system's; with the real Win32 they are not built and the tests that need them skip.
bool gCanRefuse = false;

} // namespace

#if !BWCORE_TEST_REAL_WIN32
HANDLE WINAPI HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize) {
    static const auto system = reinterpret_cast<decltype(&HeapCreate)>(dlsym(RTLD_NEXT, __func__));
    gCanRefuse = true;
    return gMemoryShort ? nullptr : system(options, initialSize, maximumSize);
}

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    static const auto system = reinterpret_cast<decltype(&HeapAlloc)>(dlsym(RTLD_NEXT, __func__));
    gCanRefuse = true;
    return gMemoryShort ? nullptr : system(heap, flags, bytes);
}
#endif

namespace {

// Destroys the heaps it was given when the test ends.
class HeapIds {
public:
    ~HeapIds() {
        for (int32_t id : ids_)
            MemHeapDestroy(id);
    }
    int32_t Create(uint32_t maxBlockSize, uint32_t flags) {
        const int32_t id = MemHeapCreate(maxBlockSize, flags);
        if (id != -1)
            ids_.push_back(id);
        return id;
    }
    bool Destroy(int32_t id) {
        ids_.erase(std::remove(ids_.begin(), ids_.end(), id), ids_.end());
        return MemHeapDestroy(id) == 1;
    }

private:
    std::vector<int32_t> ids_;
};

uint32_t LastError() {
    MEMHEAPSTATUS status = {0xDEADBEEF, 0xDEADBEEF};
    EXPECT_EQ(MemHeapStatus(&status), 1);
    EXPECT_EQ(status.reserved, 0xDEADBEEFu) << "the first field is the caller's";
    return status.lastError;
}

uint32_t SequenceOf(const void* block) {
    uint32_t sequence = 0;
    memcpy(&sequence, static_cast<const char*>(block) - 4, 4);
    return sequence;
}

DWORD SystemHeapCount() {
    return GetProcessHeaps(0, nullptr);
}

bool InFreshProcess() {
    const char* fresh = getenv("BWCORE_TEST_FRESH_PROCESS");
    return fresh != nullptr && strcmp(fresh, "1") == 0;
}

// Allocates blocks of `size` until one comes from a system heap with a sequence number of
// `sequence` or more, and returns that block (null when none does).
void* FillUpTo(int32_t id, uint32_t size, uint32_t sequence, std::vector<void*>* blocks) {
    for (int i = 0; i < 1000; ++i) {
        void* block = MemHeapAlloc(id, size);
        if (block == nullptr || SequenceOf(block) >= sequence)
            return block;
        blocks->push_back(block);
    }
    return nullptr;
}

} // namespace

TEST(FreshProcess, MasterHeapIsCreatedOnFirstUseAndTriedAgainAfterAFailure) {
    if (!InFreshProcess())
        GTEST_SKIP() << "needs a process without heaps (runtime_tests_fresh_process)";
    // Before the first heap nothing is initialised: every id is unknown; global memory works.
    EXPECT_EQ(MemHeapAlloc(1, 10), nullptr);
    EXPECT_EQ(MemHeapDestroy(1), 0);
    char* global = static_cast<char*>(MemHeapAlloc(MEMHEAP_GLOBAL, 10));
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, global), 1);
    gMemoryShort = true;
    const int32_t refused = MemHeapCreate(100, 0);
    gMemoryShort = false;
    if (gCanRefuse)
        EXPECT_EQ(refused, -1) << "no master heap";
    else
        MemHeapDestroy(refused);
    HeapIds heaps;
    for (int32_t expected = 1; expected <= 99; ++expected)
        ASSERT_EQ(heaps.Create(100, 0), expected);
    EXPECT_EQ(heaps.Create(100, 0), -1);
    EXPECT_TRUE(heaps.Destroy(5));
    EXPECT_TRUE(heaps.Destroy(40));
    EXPECT_EQ(heaps.Create(100, 0), 5);
    EXPECT_EQ(heaps.Create(100, 0), 40);
}

TEST(MemHeapAlloc, BlocksUpToTheMaximumWithTheSequenceNumberInFront) {
    for (uint32_t flags : {0u, MEMHEAP_ZEROINIT}) {
        HeapIds heaps;
        const int32_t id = heaps.Create(1000, flags);
        ASSERT_NE(id, -1);
        // The system heap beneath could hold 1001 bytes; the heap still refuses them.
        EXPECT_EQ(MemHeapAlloc(id, 1001), nullptr);
        char* block = static_cast<char*>(MemHeapAlloc(id, 1000));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(SequenceOf(block), 1u);
        memset(block, 'x', 1000);
        ASSERT_EQ(MemHeapFree(id, block), 1);
        block = static_cast<char*>(MemHeapAlloc(id, 1000));
        ASSERT_NE(block, nullptr);
        if (flags == MEMHEAP_ZEROINIT) {
            EXPECT_EQ(std::count(block, block + 1000, 0), 1000);
        }
        EXPECT_NE(MemHeapAlloc(id, 0), nullptr);
    }
    for (int32_t unknown : {0, -1, 100, 32765, 32767})
        EXPECT_EQ(MemHeapAlloc(unknown, 10), nullptr) << unknown;
}

TEST(MemHeapAlloc, FullHeapWithoutExtensionsRefusesUntilABlockIsFreed) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, 0);
    ASSERT_NE(id, -1);
    const DWORD systemHeaps = SystemHeapCount();
    std::vector<void*> blocks;
    EXPECT_EQ(FillUpTo(id, 1000, 2, &blocks), nullptr);
    EXPECT_GE(blocks.size(), 1u);
    EXPECT_EQ(MemHeapAlloc(id, 1000), nullptr);
    EXPECT_EQ(SystemHeapCount(), systemHeaps) << "no extension heap";
    EXPECT_EQ(MemHeapFree(id, blocks.back()), 1);
    EXPECT_NE(MemHeapAlloc(id, 1000), nullptr);
}

TEST(MemHeapAlloc, RefusalWhileMemoryIsShortIsNotKept) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, 0);
    ASSERT_NE(id, -1);
    gMemoryShort = true;
    EXPECT_EQ(MemHeapAlloc(id, 100), nullptr);
    gMemoryShort = false;
    if (!gCanRefuse)
        GTEST_SKIP() << "the system's heaps cannot be made to refuse";
    EXPECT_NE(MemHeapAlloc(id, 100), nullptr) << "the heap is not full";
}

TEST(MemHeapAlloc, FullExtensibleHeapChainsExtensions) {
    for (uint32_t flags : {1u, 2u, 3u, 0x1003u}) {
        SCOPED_TRACE(flags);
        HeapIds heaps;
        const int32_t id = heaps.Create(1000, flags);
        ASSERT_NE(id, -1);
        const DWORD systemHeaps = SystemHeapCount();
        std::vector<void*> first;
        void* extended = FillUpTo(id, 1000, 2, &first);
        ASSERT_NE(extended, nullptr);
        EXPECT_EQ(SequenceOf(extended), 2u);
        EXPECT_EQ(SystemHeapCount(), systemHeaps + 1);
        // Both system heaps serve the id: freeing in the first makes room there again.
        EXPECT_EQ(MemHeapFree(id, first.front()), 1);
        void* again = MemHeapAlloc(id, 1000);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(SequenceOf(again), 1u);
        // A block of the extension is found by its header.
        EXPECT_EQ(MemHeapFree(id, extended), 1);
        EXPECT_EQ(LastError(), 0u);
        EXPECT_TRUE(heaps.Destroy(id));
        EXPECT_EQ(SystemHeapCount(), systemHeaps - 1) << "both system heaps are gone";
    }
}

TEST(MemHeapAlloc, LongChainsStillOfferTheRoomLeftInEarlierHeaps) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, MEMHEAP_EXTENSIBLE);
    ASSERT_NE(id, -1);
    std::vector<void*> blocks;
    void* fifth = FillUpTo(id, 1000, 5, &blocks);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(SequenceOf(fifth), 5u) << "one extension at a time";
    // Each heap refused a large block but keeps room for a small one.
    void* small = MemHeapAlloc(id, 4);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(SequenceOf(small), 1u);
    EXPECT_EQ(MemHeapFree(id, blocks[blocks.size() / 2]), 1);
    void* again = MemHeapAlloc(id, 1000);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SequenceOf(again), SequenceOf(blocks[blocks.size() / 2]));
}

TEST(MemHeapFree, LastErrorWord) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, MEMHEAP_EXTENSIBLE);
    const int32_t other = heaps.Create(1000, 0);
    ASSERT_NE(other, -1);
    void* block = MemHeapAlloc(id, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(MemHeapFree(id, nullptr), 0);
    EXPECT_EQ(LastError(), 14u);
    EXPECT_EQ(MemHeapStatus(nullptr), 0);
    // An id that names no heap.
    for (int32_t unknown : {0, 100}) {
        EXPECT_EQ(MemHeapFree(unknown, block), 0);
        EXPECT_EQ(LastError(), 0u);
    }
    // A block of another heap, with a sequence number that heap has too; a block of an
    // extension, freed through a heap without one.
    std::vector<void*> blocks;
    void* extended = FillUpTo(id, 1000, 2, &blocks);
    ASSERT_NE(extended, nullptr);
    for (void* foreign : {block, extended}) {
        EXPECT_EQ(MemHeapFree(other, foreign), 0);
        EXPECT_EQ(LastError(), 4u);
    }
    // Memory that no heap gave out, though its header names a heap of the chain.
    char raw[32] = {1};
    EXPECT_EQ(MemHeapFree(id, raw + 4), 0);
    EXPECT_EQ(LastError(), 4u);
    EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, raw + 16), 0);
    EXPECT_EQ(LastError(), 4u);
    EXPECT_EQ(MemHeapFree(id, block), 1);
    EXPECT_EQ(LastError(), 0u);
    EXPECT_TRUE(heaps.Destroy(id));
    EXPECT_FALSE(heaps.Destroy(id));
    for (int32_t unknown : {0, 100, MEMHEAP_GLOBAL})
        EXPECT_EQ(MemHeapDestroy(unknown), 0) << unknown;
}

TEST(MemHeapAlloc, GlobalMemoryHasRoomFor32TimesTheSize) {
    for (uint32_t size : {0u, 1u, 100u, 5000u}) {
        char* block = static_cast<char*>(MemHeapAlloc(MEMHEAP_GLOBAL, size));
        ASSERT_NE(block, nullptr);
        const size_t room = size_t(size) * 32;
        EXPECT_EQ(std::count(block, block + room, 0), static_cast<std::ptrdiff_t>(room));
        memset(block, 'x', room);
        EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, block), 1);
        EXPECT_EQ(LastError(), 0u);
    }
}
