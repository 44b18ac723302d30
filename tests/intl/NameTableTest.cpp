#include "NameTable.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <set>
#include <string.h>
#include <string>

namespace {

struct TableGuard {
    NameTable* table;
    explicit TableGuard(NameTable* t) : table(t) {}
    ~TableGuard() { NameTableDestroy(table); }
};

TEST(NameTableTest, HeapHasTheSizeOfElevenBucketsAndGrows) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    ASSERT_NE(guard.table, nullptr);
    int32_t heap = NameTableHeap(guard.table);
    ASSERT_GT(heap, 0);
    // (11 + 9) * 80 bytes is the largest block; one more is refused.
    EXPECT_EQ(MemHeapAlloc(heap, 1601), nullptr);
    unsigned char* block = static_cast<unsigned char*>(MemHeapAlloc(heap, 1600));
    ASSERT_NE(block, nullptr);
    // Zero-filled.
    for (int i = 0; i < 1600; ++i)
        ASSERT_EQ(block[i], 0) << i;
    // Extensible: filling the heap chains an extension heap (sequence 2 in the block header).
    uint32_t sequence = 1;
    for (int i = 0; i < 200 && sequence == 1; ++i) {
        unsigned char* more = static_cast<unsigned char*>(MemHeapAlloc(heap, 1600));
        ASSERT_NE(more, nullptr);
        memcpy(&sequence, more - 4, sizeof sequence);
    }
    EXPECT_EQ(sequence, 2u);
}

TEST(NameTableTest, DestroyReleasesTheHeap) {
    NameTable* table = NameTableCreate(kNameTableBuckets);
    ASSERT_NE(table, nullptr);
    int32_t heap = NameTableHeap(table);
    EXPECT_EQ(NameTableDestroy(table), 1);
    EXPECT_EQ(MemHeapDestroy(heap), 0);
    EXPECT_EQ(NameTableDestroy(nullptr), 0);
}

TEST(NameTableTest, InsertWithoutAndWithReplace) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    EXPECT_EQ(NameTableInsert(guard.table, "key", 1, 0), 0);
    EXPECT_EQ(NameTableInsert(guard.table, "key", 2, 0), -2);
    uintptr_t value = 0;
    ASSERT_EQ(NameTableLookup(guard.table, "key", &value), 1);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(NameTableInsert(guard.table, "key", 3, 1), 0);
    ASSERT_EQ(NameTableLookup(guard.table, "key", &value), 1);
    EXPECT_EQ(value, 3u);
    EXPECT_EQ(NameTableCount(guard.table), 1u);
    EXPECT_EQ(NameTableInsert(nullptr, "key", 1, 0), -3);
}

TEST(NameTableTest, LookupComparesBytes) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    NameTableInsert(guard.table, "Name", 7, 0);
    uintptr_t value = 0;
    EXPECT_EQ(NameTableLookup(guard.table, "name", &value), 0);
    EXPECT_EQ(NameTableLookup(guard.table, "Name ", &value), 0);
    EXPECT_EQ(NameTableLookup(guard.table, "Nam", &value), 0);
    EXPECT_EQ(NameTableLookup(nullptr, "Name", &value), 0);
}

TEST(NameTableTest, KeysAreCopied) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    char key[] = "copied";
    NameTableInsert(guard.table, key, 5, 0);
    key[0] = 'X';
    uintptr_t value = 0;
    EXPECT_EQ(NameTableLookup(guard.table, "copied", &value), 1);
    EXPECT_EQ(value, 5u);
}

TEST(NameTableTest, EmptyTableEnumeratesNothing) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    char key[260];
    uintptr_t value = 0;
    EXPECT_EQ(NameTableEnum(guard.table, kNameTableFirst, key, &value), 0);
    EXPECT_EQ(NameTableEnum(guard.table, kNameTableNext, key, &value), 0);
}

TEST(NameTableTest, EnumeratesBucketByBucketNewestFirst) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    // "a" (97) and "l" (108) share bucket 97 % 11 = 9 = 108 % 11; "b" is in bucket 10, "c" in 0.
    NameTableInsert(guard.table, "a", 1, 0);
    NameTableInsert(guard.table, "b", 2, 0);
    NameTableInsert(guard.table, "l", 3, 0);
    NameTableInsert(guard.table, "c", 4, 0);
    const char* expected[] = {"c", "l", "a", "b"};
    char key[260];
    uintptr_t value = 0;
    int32_t mode = kNameTableFirst;
    for (const char* name : expected) {
        ASSERT_EQ(NameTableEnum(guard.table, mode, key, &value), 1);
        EXPECT_STREQ(key, name);
        mode = kNameTableNext;
    }
    EXPECT_EQ(NameTableEnum(guard.table, kNameTableNext, key, &value), 0);
    EXPECT_EQ(NameTableEnum(guard.table, kNameTableNext, key, &value), 0);
    // Mode 1 starts over.
    ASSERT_EQ(NameTableEnum(guard.table, kNameTableFirst, key, &value), 1);
    EXPECT_STREQ(key, "c");
}

TEST(NameTableTest, SignedBytesHashToTheSameBucketForLookup) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    const char key[] = "\xe4\xf6\xfc-\xc4";
    EXPECT_EQ(NameTableInsert(guard.table, key, 9, 0), 0);
    uintptr_t value = 0;
    EXPECT_EQ(NameTableLookup(guard.table, key, &value), 1);
    EXPECT_EQ(value, 9u);
}

TEST(NameTableTest, ThreeEntriesThenEnd) {
    TableGuard guard(NameTableCreate(kNameTableBuckets));
    NameTableInsert(guard.table, "one", 1, 0);
    NameTableInsert(guard.table, "two", 2, 0);
    NameTableInsert(guard.table, "three", 3, 0);
    std::set<std::string> seen;
    char key[260];
    uintptr_t value = 0;
    for (int32_t mode = kNameTableFirst; NameTableEnum(guard.table, mode, key, &value) == 1;
         mode = kNameTableNext)
        seen.insert(key);
    EXPECT_EQ(seen, (std::set<std::string>{"one", "two", "three"}));
}

TEST(NameTableTest, Trim) {
    struct Case {
        const char* input;
        const char* trimmed;
    };
    const Case cases[] = {
        {" \t \t", ""},
        {"      x ", "x"},
        {"\tname = 0x1\t ", "name = 0x1"},
        {"", ""},
        {"inner  blanks", "inner  blanks"},
    };
    for (const Case& c : cases) {
        char text[64];
        strcpy(text, c.input);
        EXPECT_EQ(NameTableTrim(text), 1);
        EXPECT_STREQ(text, c.trimmed) << '"' << c.input << '"';
    }
    EXPECT_EQ(NameTableTrim(nullptr), 0);
}

} // namespace
