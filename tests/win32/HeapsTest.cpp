// Private heaps and global memory, checked against the reference tables heap.tsv and
// heap_limits.tsv (how many blocks fit in a heap of a given initial and maximum size, and the
// largest single block).

#include "FailingAllocator.h"
#include "ReferenceTable.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

SIZE_T Number(const std::string& text) {
    return static_cast<SIZE_T>(strtoull(text.c_str(), nullptr, 10));
}

// Growable heaps are filled only this far (the tables go to 100000 blocks of up to 65004 bytes,
// 6.5 GB), which shows just as well that they do not stop at any fixed size.
constexpr SIZE_T kGrowableBytesChecked = 64 * 1024 * 1024;

} // namespace

TEST(HeapCreate, HoldsAsManyBlocksAsTheReference) {
    const ReferenceTable table("heap.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const SIZE_T init = Number(table.Get(row, "init_size"));
        const SIZE_T max = Number(table.Get(row, "max_size"));
        const SIZE_T size = Number(table.Get(row, "alloc_size"));
        const SIZE_T successes = Number(table.Get(row, "successes"));
        const bool capped = table.Get(row, "capped") == "1";
        SCOPED_TRACE("HeapCreate(0, " + std::to_string(init) + ", " + std::to_string(max) +
                     "), blocks of " + std::to_string(size));
        HANDLE heap = HeapCreate(0, init, max);
        ASSERT_NE(heap, nullptr);
        const SIZE_T limit =
            capped ? std::min(successes, kGrowableBytesChecked / size) : successes + 1;
        SIZE_T count = 0;
        DWORD error = 0;
        while (count < limit) {
            SetLastError(0);
            if (HeapAlloc(heap, 0, size) == nullptr) {
                error = GetLastError();
                break;
            }
            ++count;
        }
        if (capped) {
            EXPECT_EQ(count, limit);
        } else {
            EXPECT_EQ(count, successes);
            EXPECT_EQ(std::to_string(error), table.Get(row, "last_error"));
        }
        EXPECT_TRUE(HeapDestroy(heap));
    }
}

TEST(HeapCreate, LargestBlockMatchesTheReference) {
    const ReferenceTable table("heap_limits.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    const auto fits = [](SIZE_T init, SIZE_T max, SIZE_T size) {
        HANDLE heap = HeapCreate(0, init, max);
        EXPECT_NE(heap, nullptr);
        const bool ok = HeapAlloc(heap, 0, size) != nullptr;
        HeapDestroy(heap);
        return ok ? std::string("1") : std::string("0");
    };
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const SIZE_T init = Number(table.Get(row, "init_size"));
        const SIZE_T max = Number(table.Get(row, "max_size"));
        SCOPED_TRACE("HeapCreate(0, " + std::to_string(init) + ", " + std::to_string(max) + ")");
        EXPECT_EQ(fits(init, max, 16 * 1024 * 1024), table.Get(row, "alloc_16MiB_ok"));
        if (max == 0)
            continue;
        EXPECT_EQ(fits(init, max, max), table.Get(row, "alloc_max_ok"));
        EXPECT_EQ(fits(init, max, max + 1), table.Get(row, "alloc_max_plus_1_ok"));
        const SIZE_T largest = Number(table.Get(row, "largest_single"));
        EXPECT_EQ(fits(init, max, largest), "1");
        EXPECT_EQ(fits(init, max, largest + 1), "0");
    }
}

TEST(HeapAlloc, ZeroMemoryClearsAReusedBlock) {
    HANDLE heap = HeapCreate(0, 0, 0);
    for (SIZE_T size : {1, 40, 1000, 70000, 200000}) {
        char* block = static_cast<char*>(HeapAlloc(heap, 0, size));
        memset(block, 0xAB, size);
        ASSERT_TRUE(HeapFree(heap, 0, block));
        const char* zeroed = static_cast<char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, size));
        ASSERT_NE(zeroed, nullptr) << size;
        EXPECT_EQ(std::count(zeroed, zeroed + size, 0), static_cast<std::ptrdiff_t>(size));
    }
    EXPECT_TRUE(HeapDestroy(heap)); // with its blocks
}

TEST(HeapFree, MakesRoomInAFullHeapAndRefusesForeignBlocks) {
    HANDLE heap = HeapCreate(0, 4096, 4096);
    HANDLE other = HeapCreate(0, 0, 0);
    std::vector<void*> blocks;
    while (void* block = HeapAlloc(heap, 0, 100))
        blocks.push_back(block);
    ASSERT_EQ(blocks.size(), 28u);
    char* foreign = static_cast<char*>(HeapAlloc(other, 0, 100));
    for (void* wrong :
         {static_cast<void*>(foreign), static_cast<void*>(static_cast<char*>(blocks[0]) + 16)}) {
        EXPECT_FALSE(HeapValidate(heap, 0, wrong));
        SetLastError(0);
        EXPECT_FALSE(HeapFree(heap, 0, wrong));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_TRUE(HeapValidate(heap, 0, blocks[10]));
    ASSERT_TRUE(HeapFree(heap, 0, blocks[10]));
    EXPECT_FALSE(HeapValidate(heap, 0, blocks[10]));
    EXPECT_NE(HeapAlloc(heap, 0, 100), nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, 100), nullptr);
    HeapDestroy(other);
    HeapDestroy(heap);
}

TEST(GlobalAlloc, MovableAndFixedBlocks) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 100);
    char* bytes = static_cast<char*>(GlobalLock(handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_NE(static_cast<void*>(bytes), handle);
    EXPECT_EQ(std::count(bytes, bytes + 100, 0), 100);
    EXPECT_EQ(GlobalHandle(bytes), handle);
    // A second lock gives the same bytes; the block stays locked until the last unlock.
    EXPECT_EQ(GlobalLock(handle), static_cast<void*>(bytes));
    EXPECT_TRUE(GlobalUnlock(handle));
    SetLastError(ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(handle), nullptr);
    HGLOBAL fixed = GlobalAlloc(GPTR, 10);
    EXPECT_EQ(GlobalLock(fixed), fixed) << "a fixed block is its own handle";
    EXPECT_EQ(GlobalHandle(fixed), fixed);
    EXPECT_EQ(static_cast<char*>(fixed)[9], 0);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST(HeapCreate, RunningOutOfMemoryIsAFailureNotAnException) {
    const auto outOfMemory = [](DWORD error) {
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    };
    HANDLE heap = nullptr;
    UntilAllocationsSuffice([&] { return heap = HeapCreate(0, 0, 0); },
                            [](HANDLE h) { return h != nullptr; }, outOfMemory);
    UntilAllocationsSuffice([&] { return HeapAlloc(heap, 0, 300000); },
                            [](void* p) { return p != nullptr; }, outOfMemory);
    UntilAllocationsSuffice([] { return GlobalAlloc(GMEM_MOVEABLE, 10); },
                            [](HGLOBAL h) { return h != nullptr && !GlobalFree(h); }, outOfMemory);
    HeapDestroy(heap);
}
