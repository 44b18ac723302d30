// Private heaps and global memory, checked against the reference tables heap.tsv and
// heap_limits.tsv (how many blocks fit in a heap of a given initial and maximum size, and the
// largest single block).

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

DWORD HeapCount() {
    return GetProcessHeaps(0, nullptr);
}

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

TEST(HeapAlloc, FailureSetsNotEnoughMemory) {
    HANDLE heap = HeapCreate(0, 4096, 4096);
    ASSERT_NE(heap, nullptr);
    SetLastError(0);
    EXPECT_EQ(HeapAlloc(heap, 0, 5000), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    HeapDestroy(heap);
}

TEST(HeapAlloc, ZeroMemoryClearsAReusedBlock) {
    HANDLE heap = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
    for (SIZE_T size : {1, 40, 100, 1000, 5000, 70000, 200000}) {
        char* block = static_cast<char*>(HeapAlloc(heap, 0, size));
        ASSERT_NE(block, nullptr) << size;
        memset(block, 0xAB, size);
        ASSERT_TRUE(HeapFree(heap, 0, block));
        const char* zeroed = static_cast<char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, size));
        ASSERT_NE(zeroed, nullptr) << size;
        EXPECT_EQ(std::count(zeroed, zeroed + size, 0), static_cast<std::ptrdiff_t>(size));
        HeapFree(heap, 0, const_cast<char*>(zeroed));
    }
    HeapDestroy(heap);
}

TEST(HeapFree, MakesRoomInAFullHeap) {
    HANDLE heap = HeapCreate(0, 4096, 4096);
    ASSERT_NE(heap, nullptr);
    std::vector<void*> blocks;
    while (void* block = HeapAlloc(heap, 0, 100))
        blocks.push_back(block);
    ASSERT_EQ(blocks.size(), 28u);
    ASSERT_TRUE(HeapFree(heap, 0, blocks[10]));
    EXPECT_NE(HeapAlloc(heap, 0, 100), nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, 100), nullptr);
    HeapDestroy(heap);
}

TEST(HeapFree, RefusesWhatIsNoBlockOfTheHeap) {
    HANDLE heap = HeapCreate(0, 0, 0);
    HANDLE other = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
    ASSERT_NE(other, nullptr);
    char* block = static_cast<char*>(HeapAlloc(heap, 0, 64));
    char* foreign = static_cast<char*>(HeapAlloc(other, 0, 64));
    ASSERT_NE(block, nullptr);
    ASSERT_NE(foreign, nullptr);
    EXPECT_TRUE(HeapValidate(heap, 0, block));
    EXPECT_FALSE(HeapValidate(heap, 0, foreign));
    EXPECT_FALSE(HeapValidate(heap, 0, block + 16));
    SetLastError(0);
    EXPECT_FALSE(HeapFree(heap, 0, foreign));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(HeapFree(other, 0, foreign));
    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_FALSE(HeapValidate(heap, 0, block));
    HeapDestroy(other);
    HeapDestroy(heap);
}

TEST(HeapSize, IsTheSizeRequested) {
    HANDLE heap = HeapCreate(0, 0, 0);
    ASSERT_NE(heap, nullptr);
    for (SIZE_T size : {0, 1, 17, 1000, 200000}) {
        void* block = HeapAlloc(heap, 0, size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(HeapSize(heap, 0, block), size);
    }
    HeapDestroy(heap);
}

TEST(HeapDestroy, ReleasesTheHeapWithItsBlocks) {
    const DWORD before = HeapCount();
    HANDLE heap = HeapCreate(0, 0, 65536);
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(HeapCount(), before + 1);
    std::vector<HANDLE> heaps(before + 1);
    ASSERT_EQ(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()), before + 1);
    EXPECT_NE(std::find(heaps.begin(), heaps.end(), heap), heaps.end());
    while (HeapAlloc(heap, 0, 1000) != nullptr) {
    }
    EXPECT_TRUE(HeapDestroy(heap));
    EXPECT_EQ(HeapCount(), before);
}

TEST(GlobalAlloc, MovableZeroFilledBlock) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 100);
    ASSERT_NE(handle, nullptr);
    EXPECT_GE(GlobalSize(handle), 100u);
    char* bytes = static_cast<char*>(GlobalLock(handle));
    ASSERT_NE(bytes, nullptr);
    EXPECT_NE(static_cast<void*>(bytes), handle);
    EXPECT_EQ(std::count(bytes, bytes + 100, 0), 100);
    EXPECT_EQ(GlobalHandle(bytes), handle);
    memset(bytes, 'x', 100);
    // A second lock gives the same bytes; the block stays locked until the last unlock.
    EXPECT_EQ(GlobalLock(handle), static_cast<void*>(bytes));
    EXPECT_TRUE(GlobalUnlock(handle));
    SetLastError(ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    SetLastError(0);
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalAlloc, FixedBlockIsItsOwnHandle) {
    HGLOBAL handle = GlobalAlloc(GPTR, 10);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GlobalLock(handle), handle);
    EXPECT_EQ(GlobalHandle(handle), handle);
    EXPECT_EQ(static_cast<char*>(handle)[9], 0);
    EXPECT_EQ(GlobalFree(handle), nullptr);
}
