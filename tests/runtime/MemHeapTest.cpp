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

// While gMemoryShort is set the system's heaps refuse to be created or to allocate, as when
// memory runs short; gCreatesToRefuse refuses that many heap creations first. On Linux the two
// functions below stand in front of the system's (gCanRefuse tells that they were reached); with
// the real Win32 they are not built and the tests that need them skip.
static bool gMemoryShort = false;
static int gCreatesToRefuse = 0;
static bool gCanRefuse = false;

#if !BWCORE_TEST_REAL_WIN32
HANDLE WINAPI HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize) {
    static const auto system = reinterpret_cast<decltype(&HeapCreate)>(dlsym(RTLD_NEXT, __func__));
    gCanRefuse = true;
    if (gMemoryShort || gCreatesToRefuse > 0) {
        --gCreatesToRefuse;
        return nullptr;
    }
    return system(options, initialSize, maximumSize);
}

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    static const auto system = reinterpret_cast<decltype(&HeapAlloc)>(dlsym(RTLD_NEXT, __func__));
    gCanRefuse = true;
    return gMemoryShort ? nullptr : system(heap, flags, bytes);
}
#endif

namespace {

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
    if (getenv("BWCORE_TEST_FRESH_PROCESS") == nullptr)
        GTEST_SKIP() << "needs a process without heaps (runtime_tests_fresh_process)";
    // Before the first heap nothing is initialised: every id is unknown; global memory works.
    EXPECT_EQ(MemHeapAlloc(1, 10), nullptr);
    EXPECT_EQ(MemHeapDestroy(1), 0);
    EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, MemHeapAlloc(MEMHEAP_GLOBAL, 10)), 1);
    gCreatesToRefuse = 1;
    const int32_t refused = MemHeapCreate(100, 0);
    gCreatesToRefuse = 0;
    EXPECT_EQ(refused, gCanRefuse ? -1 : 1) << "no master heap";
    MemHeapDestroy(refused);
    for (int32_t expected = 1; expected <= 99; ++expected)
        ASSERT_EQ(MemHeapCreate(100, 0), expected);
    EXPECT_EQ(MemHeapCreate(100, 0), -1);
    EXPECT_EQ(MemHeapDestroy(40) + MemHeapDestroy(5), 2);
    EXPECT_EQ(MemHeapCreate(100, 0), 5);
    EXPECT_EQ(MemHeapCreate(100, 0), 40);
    for (int32_t id = 1; id <= 99; ++id)
        MemHeapDestroy(id);
}

TEST(MemHeapAlloc, BlocksUpToTheMaximumWithTheSequenceNumberInFront) {
    const int32_t id = MemHeapCreate(1000, MEMHEAP_ZEROINIT);
    // The system heap beneath could hold 1001 bytes; the heap still refuses them.
    EXPECT_EQ(MemHeapAlloc(id, 1001), nullptr);
    char* block = static_cast<char*>(MemHeapAlloc(id, 1000));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(SequenceOf(block), 1u);
    memset(block, 'x', 1000);
    ASSERT_EQ(MemHeapFree(id, block), 1);
    block = static_cast<char*>(MemHeapAlloc(id, 1000));
    EXPECT_EQ(std::count(block, block + 1000, 0), 1000) << "zero-filled";
    EXPECT_NE(MemHeapAlloc(id, 0), nullptr);
    EXPECT_EQ(MemHeapDestroy(id), 1);
    for (int32_t unknown : {id, 0, -1, 100, 32765, 32767}) {
        EXPECT_EQ(MemHeapAlloc(unknown, 10), nullptr) << unknown;
        EXPECT_EQ(MemHeapDestroy(unknown), 0) << unknown;
    }
}

TEST(MemHeapAlloc, FullHeapWithoutExtensionsRefusesUntilABlockIsFreed) {
    const int32_t id = MemHeapCreate(1000, 0);
    const DWORD systemHeaps = GetProcessHeaps(0, nullptr);
    std::vector<void*> blocks;
    EXPECT_EQ(FillUpTo(id, 1000, 2, &blocks), nullptr);
    EXPECT_GE(blocks.size(), 1u);
    EXPECT_EQ(GetProcessHeaps(0, nullptr), systemHeaps) << "no extension heap";
    EXPECT_EQ(MemHeapFree(id, blocks.back()), 1);
    EXPECT_NE(MemHeapAlloc(id, 1000), nullptr);
    // A refusal while memory runs short is not one of a full heap: it is not kept.
    EXPECT_EQ(MemHeapFree(id, blocks.front()), 1);
    gMemoryShort = true;
    void* whileShort = MemHeapAlloc(id, 1000);
    gMemoryShort = false;
    EXPECT_EQ(gCanRefuse, !BWCORE_TEST_REAL_WIN32) << "the refusals reach the system's heaps";
    if (gCanRefuse) {
        EXPECT_EQ(whileShort, nullptr);
        EXPECT_NE(MemHeapAlloc(id, 1000), nullptr) << "the heap had room";
    }
    EXPECT_EQ(MemHeapDestroy(id), 1);
}

TEST(MemHeapAlloc, FullExtensibleHeapChainsExtensions) {
    for (uint32_t flags : {1u, 2u, 3u, 0x1003u}) {
        SCOPED_TRACE(flags);
        const int32_t id = MemHeapCreate(1000, flags);
        const DWORD systemHeaps = GetProcessHeaps(0, nullptr);
        std::vector<void*> blocks;
        void* extended = FillUpTo(id, 1000, 2, &blocks);
        ASSERT_NE(extended, nullptr);
        EXPECT_EQ(SequenceOf(extended), 2u);
        EXPECT_EQ(GetProcessHeaps(0, nullptr), systemHeaps + 1);
        // Both system heaps serve the id: freeing in the first makes room there again.
        EXPECT_EQ(MemHeapFree(id, blocks.front()), 1);
        EXPECT_EQ(SequenceOf(MemHeapAlloc(id, 1000)), 1u);
        // A block of the extension is found by its header.
        EXPECT_EQ(MemHeapFree(id, extended), 1);
        EXPECT_EQ(LastError(), 0u);
        EXPECT_EQ(MemHeapDestroy(id), 1);
        EXPECT_EQ(GetProcessHeaps(0, nullptr), systemHeaps - 1) << "both system heaps are gone";
    }
}

TEST(MemHeapAlloc, LongChainsStillOfferTheRoomLeftInEarlierHeaps) {
    const int32_t id = MemHeapCreate(1000, MEMHEAP_EXTENSIBLE);
    std::vector<void*> blocks;
    void* fifth = FillUpTo(id, 1000, 5, &blocks);
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(SequenceOf(fifth), 5u) << "one extension at a time";
    // Each heap refused a large block but keeps room for a small one.
    EXPECT_EQ(SequenceOf(MemHeapAlloc(id, 4)), 1u);
    void* freed = blocks[blocks.size() / 2];
    const uint32_t sequence = SequenceOf(freed);
    EXPECT_EQ(MemHeapFree(id, freed), 1);
    EXPECT_EQ(SequenceOf(MemHeapAlloc(id, 1000)), sequence);
    EXPECT_EQ(MemHeapDestroy(id), 1);
}

TEST(MemHeapFree, LastErrorWord) {
    const int32_t id = MemHeapCreate(1000, MEMHEAP_EXTENSIBLE);
    const int32_t other = MemHeapCreate(1000, 0);
    void* block = MemHeapAlloc(id, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(MemHeapFree(id, nullptr), 0);
    EXPECT_EQ(LastError(), 14u);
    EXPECT_EQ(MemHeapStatus(nullptr), 0);
    EXPECT_EQ(MemHeapConfigure(1, 0) + MemHeapIsPtrValid(id, block), 1) << "they do nothing";
    // An id that names no heap.
    for (int32_t unknown : {0, 100}) {
        EXPECT_EQ(MemHeapFree(unknown, block), 0);
        EXPECT_EQ(LastError(), 0u);
    }
    // A block of another heap, with a sequence number that heap has too; a block of an
    // extension, freed through a heap without one; memory that no heap gave out, though its
    // header names a heap of the chain.
    std::vector<void*> blocks;
    char raw[32] = {1};
    const std::pair<int32_t, void*> foreign[] = {{other, block},
                                                 {other, FillUpTo(id, 1000, 2, &blocks)},
                                                 {id, raw + 4},
                                                 {MEMHEAP_GLOBAL, raw + 16}};
    for (const auto& f : foreign) {
        EXPECT_EQ(MemHeapFree(f.first, f.second), 0);
        EXPECT_EQ(LastError(), 4u);
    }
    EXPECT_EQ(MemHeapFree(id, block), 1);
    EXPECT_EQ(LastError(), 0u);
    EXPECT_EQ(MemHeapDestroy(id) + MemHeapDestroy(other), 2);
}

TEST(MemHeapAlloc, GlobalMemoryHasRoomFor32TimesTheSize) {
    for (uint32_t size : {0u, 1u, 5000u}) {
        char* block = static_cast<char*>(MemHeapAlloc(MEMHEAP_GLOBAL, size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(std::count(block, block + size * 32, 0), size * 32);
        memset(block, 'x', size * 32);
        EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, block) + LastError(), 1u);
    }
}
