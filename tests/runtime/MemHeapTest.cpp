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

} // namespace

TEST(FreshProcess, GlobalMemoryBeforeAnyHeap) {
    if (!InFreshProcess())
        GTEST_SKIP() << "needs a process without heaps (runtime_tests_fresh_process)";
    char* block = static_cast<char*>(MemHeapAlloc(MEMHEAP_GLOBAL, 10));
    ASSERT_NE(block, nullptr);
    // Room for 32 times the size asked for, zero-filled.
    EXPECT_EQ(std::count(block, block + 320, 0), 320);
    memset(block, 'x', 320);
    EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, block), 1);
    EXPECT_EQ(LastError(), 0u);
}

TEST(FreshProcess, IdsFromOneTo99AndTheLowestFreeFirst) {
    if (!InFreshProcess())
        GTEST_SKIP() << "needs a process without heaps (runtime_tests_fresh_process)";
    // Before the first heap nothing is initialised: every id is unknown.
    EXPECT_EQ(MemHeapAlloc(1, 10), nullptr);
    EXPECT_EQ(MemHeapDestroy(1), 0);
    HeapIds heaps;
    for (int32_t expected = 1; expected <= 99; ++expected)
        ASSERT_EQ(heaps.Create(100, 0), expected);
    EXPECT_EQ(heaps.Create(100, 0), -1);
    EXPECT_TRUE(heaps.Destroy(5));
    EXPECT_TRUE(heaps.Destroy(40));
    EXPECT_EQ(heaps.Create(100, 0), 5);
    EXPECT_EQ(heaps.Create(100, 0), 40);
    EXPECT_EQ(heaps.Create(100, 0), -1);
}

TEST(MemHeapCreate, HandsOutTheLowestFreeIdUntilNoneIsLeft) {
    HeapIds heaps;
    std::vector<int32_t> ids;
    for (int32_t id = heaps.Create(100, 0); id != -1; id = heaps.Create(100, 0))
        ids.push_back(id);
    ASSERT_GE(ids.size(), 2u);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_GE(ids.front(), 1);
    EXPECT_EQ(ids.back(), 99);
    EXPECT_EQ(heaps.Create(100, 0), -1);
    const int32_t low = ids[ids.size() / 3];
    const int32_t high = ids[ids.size() / 2];
    EXPECT_TRUE(heaps.Destroy(high));
    EXPECT_TRUE(heaps.Destroy(low));
    EXPECT_EQ(heaps.Create(100, 0), low);
    EXPECT_EQ(heaps.Create(100, 0), high);
}

TEST(MemHeapAlloc, BlockCarriesTheSequenceNumberInFront) {
    HeapIds heaps;
    const int32_t id = heaps.Create(100, 0);
    ASSERT_NE(id, -1);
    char* block = static_cast<char*>(MemHeapAlloc(id, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(SequenceOf(block), 1u);
    memset(block, 'x', 100);
    EXPECT_EQ(MemHeapFree(id, block), 1);
}

TEST(MemHeapAlloc, RefusesRequestsAboveTheMaximumBlockSize) {
    HeapIds heaps;
    const int32_t id = heaps.Create(100, 0);
    ASSERT_NE(id, -1);
    // The system heap beneath could hold 101 bytes; the heap still refuses them.
    EXPECT_EQ(MemHeapAlloc(id, 101), nullptr);
    EXPECT_NE(MemHeapAlloc(id, 100), nullptr);
    EXPECT_NE(MemHeapAlloc(id, 0), nullptr);
}

TEST(MemHeapAlloc, RefusesIdsThatNameNoHeap) {
    HeapIds heaps;
    const int32_t id = heaps.Create(100, 0);
    ASSERT_NE(id, -1);
    ASSERT_TRUE(heaps.Destroy(id));
    for (int32_t unknown : {id, 0, -1, 100, 32765, 32767})
        EXPECT_EQ(MemHeapAlloc(unknown, 10), nullptr) << unknown;
}

TEST(MemHeapAlloc, ZeroFillFlag) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, MEMHEAP_ZEROINIT);
    ASSERT_NE(id, -1);
    char* block = static_cast<char*>(MemHeapAlloc(id, 1000));
    ASSERT_NE(block, nullptr);
    memset(block, 'x', 1000);
    ASSERT_EQ(MemHeapFree(id, block), 1);
    block = static_cast<char*>(MemHeapAlloc(id, 1000));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::count(block, block + 1000, 0), 1000);
}

TEST(MemHeapAlloc, FullHeapWithoutExtensionsRefuses) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, 0);
    ASSERT_NE(id, -1);
    const DWORD systemHeaps = SystemHeapCount();
    std::vector<void*> blocks;
    while (void* block = MemHeapAlloc(id, 1000)) {
        blocks.push_back(block);
        ASSERT_LT(blocks.size(), 100u) << "the heap never fills up";
    }
    EXPECT_GE(blocks.size(), 1u);
    EXPECT_EQ(MemHeapAlloc(id, 1000), nullptr);
    EXPECT_EQ(SystemHeapCount(), systemHeaps) << "no extension heap";
    // Freeing makes room again.
    EXPECT_EQ(MemHeapFree(id, blocks.back()), 1);
    EXPECT_NE(MemHeapAlloc(id, 1000), nullptr);
}

TEST(MemHeapAlloc, FullExtensibleHeapChainsAnExtension) {
    for (uint32_t flags : {1u, 2u, 3u, 0x1003u}) {
        SCOPED_TRACE(flags);
        HeapIds heaps;
        const int32_t id = heaps.Create(1000, flags);
        ASSERT_NE(id, -1);
        const DWORD systemHeaps = SystemHeapCount();
        std::vector<void*> first;
        void* extended = nullptr;
        while (void* block = MemHeapAlloc(id, 1000)) {
            if (SequenceOf(block) != 1) {
                extended = block;
                break;
            }
            first.push_back(block);
            ASSERT_LT(first.size(), 1000u) << "the heap never fills up";
        }
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
        // Destroying the id destroys both system heaps.
        EXPECT_TRUE(heaps.Destroy(id));
        EXPECT_EQ(SystemHeapCount(), systemHeaps - 1);
    }
}

TEST(MemHeapAlloc, ExtensionsKeepChaining) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, MEMHEAP_EXTENSIBLE);
    ASSERT_NE(id, -1);
    uint32_t highest = 0;
    for (int i = 0; i < 100; ++i) {
        void* block = MemHeapAlloc(id, 1000);
        ASSERT_NE(block, nullptr);
        EXPECT_GE(SequenceOf(block), highest);
        highest = SequenceOf(block);
    }
    EXPECT_GE(highest, 3u);
}

TEST(MemHeapFree, LastErrorWord) {
    HeapIds heaps;
    const int32_t id = heaps.Create(1000, MEMHEAP_EXTENSIBLE);
    const int32_t other = heaps.Create(1000, 0);
    ASSERT_NE(id, -1);
    ASSERT_NE(other, -1);
    void* block = MemHeapAlloc(id, 10);
    ASSERT_NE(block, nullptr);

    EXPECT_EQ(MemHeapFree(id, nullptr), 0);
    EXPECT_EQ(LastError(), 14u);
    // An id that names no heap.
    EXPECT_EQ(MemHeapFree(0, block), 0);
    EXPECT_EQ(LastError(), 0u);
    EXPECT_EQ(MemHeapFree(100, block), 0);
    EXPECT_EQ(LastError(), 0u);
    // A block of another heap, with a sequence number that heap has too.
    EXPECT_EQ(MemHeapFree(other, block), 0);
    EXPECT_EQ(LastError(), 4u);
    // A block of an extension, freed through a heap without one.
    void* extended = nullptr;
    while (extended == nullptr) {
        void* candidate = MemHeapAlloc(id, 1000);
        ASSERT_NE(candidate, nullptr);
        if (SequenceOf(candidate) == 2)
            extended = candidate;
    }
    EXPECT_EQ(MemHeapFree(other, extended), 0);
    EXPECT_EQ(LastError(), 4u);
    // Memory that no heap gave out, though its header names a heap of the chain.
    char foreign[32] = {};
    foreign[0] = 1;
    EXPECT_EQ(MemHeapFree(id, foreign + 4), 0);
    EXPECT_EQ(LastError(), 4u);
    EXPECT_EQ(MemHeapFree(MEMHEAP_GLOBAL, foreign + 16), 0);
    EXPECT_EQ(LastError(), 4u);

    EXPECT_EQ(MemHeapFree(id, block), 1);
    EXPECT_EQ(LastError(), 0u);
}

TEST(MemHeapDestroy, OnlyExistingHeaps) {
    HeapIds heaps;
    const int32_t id = heaps.Create(100, 0);
    ASSERT_NE(id, -1);
    EXPECT_NE(MemHeapAlloc(id, 100), nullptr);
    EXPECT_TRUE(heaps.Destroy(id));
    EXPECT_FALSE(heaps.Destroy(id));
    EXPECT_EQ(MemHeapDestroy(0), 0);
    EXPECT_EQ(MemHeapDestroy(100), 0);
    EXPECT_EQ(MemHeapDestroy(MEMHEAP_GLOBAL), 0);
}

TEST(MemHeapAlloc, GlobalMemory) {
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

TEST(MemHeap, ConfigureAndIsPtrValidDoNothing) {
    HeapIds heaps;
    const int32_t id = heaps.Create(100, 0);
    void* block = MemHeapAlloc(id, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(MemHeapConfigure(1, 0), 1);
    EXPECT_EQ(MemHeapConfigure(1, 1), 1);
    EXPECT_EQ(MemHeapIsPtrValid(id, block), 0);
    EXPECT_EQ(MemHeapIsPtrValid(0, nullptr), 0);
    EXPECT_EQ(MemHeapStatus(nullptr), 0);
}
