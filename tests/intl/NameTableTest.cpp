#include "NameTable.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

struct Table {
    NameTable* table = NameTableCreate(kNameTableBuckets);
    ~Table() { NameTableDestroy(table); }

    std::vector<std::string> enumerate() {
        std::vector<std::string> keys;
        char key[260];
        uintptr_t value = 0;
        for (int32_t mode = kNameTableFirst; NameTableEnum(table, mode, key, &value) == 1;
             mode = kNameTableNext)
            keys.push_back(key);
        return keys;
    }
};

TEST(NameTable, OwnHeapOfElevenBucketsZeroFilledAndExtensible) {
    Table t;
    const int32_t heap = NameTableHeap(t.table);
    ASSERT_GT(heap, 0);
    // (11 + 9) * 80 bytes is the largest block.
    EXPECT_EQ(MemHeapAlloc(heap, 1601), nullptr);
    const unsigned char* block = static_cast<unsigned char*>(MemHeapAlloc(heap, 1600));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(block, block + 1600), std::vector<unsigned char>(1600));
    // Filling the heap chains an extension (sequence 2 in the block header).
    uint32_t sequence = 1;
    for (int i = 0; i < 200 && sequence == 1; ++i)
        memcpy(&sequence, static_cast<unsigned char*>(MemHeapAlloc(heap, 1600)) - 4, 4);
    EXPECT_EQ(sequence, 2u);
    EXPECT_EQ(NameTableDestroy(t.table), 1);
    t.table = nullptr;
    EXPECT_EQ(MemHeapDestroy(heap), 0) << "destroying the table destroys its heap";
    EXPECT_EQ(NameTableDestroy(nullptr), 0);
}

TEST(NameTable, InsertCopiesTheKeyAndReplacesOnlyWhenAsked) {
    Table t;
    char key[] = "Name";
    EXPECT_EQ(NameTableInsert(t.table, key, 1, 0), 0);
    key[0] = 'X';
    EXPECT_EQ(NameTableInsert(t.table, "Name", 2, 0), -2);
    uintptr_t value = 0;
    ASSERT_EQ(NameTableLookup(t.table, "Name", &value), 1);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(NameTableInsert(t.table, "Name", 3, 1), 0);
    ASSERT_EQ(NameTableLookup(t.table, "Name", &value), 1);
    EXPECT_EQ(value, 3u);
    EXPECT_EQ(NameTableCount(t.table), 1u);
    for (const char* other : {"name", "Name ", "Nam", "XName"})
        EXPECT_EQ(NameTableLookup(t.table, other, &value), 0) << other;
    // Bytes above 0x7F count as signed in the hash, for insert and look-up alike.
    EXPECT_EQ(NameTableInsert(t.table, "\xe4\xf6\xfc-\xc4", 9, 0), 0);
    EXPECT_EQ(NameTableLookup(t.table, "\xe4\xf6\xfc-\xc4", &value), 1);
    EXPECT_EQ(NameTableInsert(nullptr, "Name", 1, 0), -3);
    EXPECT_EQ(NameTableLookup(nullptr, "Name", &value), 0);
}

TEST(NameTable, EnumeratesBucketByBucketNewestFirst) {
    Table t;
    EXPECT_TRUE(t.enumerate().empty());
    // "a" (97) and "l" (108) share bucket 9; "b" is in bucket 10, "c" in 0.
    for (const char* key : {"a", "b", "l", "c"})
        NameTableInsert(t.table, key, 1, 0);
    EXPECT_EQ(t.enumerate(), (std::vector<std::string>{"c", "l", "a", "b"}));
    char key[260];
    uintptr_t value = 0;
    EXPECT_EQ(NameTableEnum(t.table, kNameTableNext, key, &value), 0);
    ASSERT_EQ(NameTableEnum(t.table, kNameTableFirst, key, &value), 1);
    EXPECT_STREQ(key, "c");
}

TEST(NameTable, TrimRemovesBlanksAndTabsAtBothEnds) {
    const struct {
        const char* input;
        const char* trimmed;
    } cases[] = {
        {" \t \t", ""},
        {"      x ", "x"},
        {"\tname = 0x1\t ", "name = 0x1"},
        {"", ""},
    };
    for (const auto& c : cases) {
        char text[64];
        strcpy(text, c.input);
        EXPECT_EQ(NameTableTrim(text), 1);
        EXPECT_STREQ(text, c.trimmed) << '"' << c.input << '"';
    }
    EXPECT_EQ(NameTableTrim(nullptr), 0);
}

} // namespace
