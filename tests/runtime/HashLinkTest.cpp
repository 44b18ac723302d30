// Hash links: bucket placement, chain order, exact and caseless key matching, enumeration and the
// two relocations.

#include <bwcore/runtime/HashLink.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// A caller-owned bucket array, destroyed with its entries at the end of the test.
class Table {
public:
    explicit Table(uint16_t bucketCount) : buckets_(bucketCount, nullptr) {}
    ~Table() { HashLinkDestroy(Buckets(), Count()); }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    HASHLINK** Buckets() { return buckets_.data(); }
    uint16_t Count() const { return static_cast<uint16_t>(buckets_.size()); }
    int32_t Add(const char* key, uintptr_t value) {
        return HashLinkAdd(Buckets(), Count(), key, value);
    }
    uintptr_t Query(const char* key) { return HashLinkQuery(Buckets(), Count(), key); }
    int32_t Update(const char* key, uintptr_t value) {
        return HashLinkUpdate(Buckets(), Count(), key, value);
    }
    HASHLINK* Enum(int32_t mode) { return HashLinkEnum(Buckets(), Count(), mode); }

private:
    std::vector<HASHLINK*> buckets_;
};

uintptr_t Address(const void* pointer) {
    return reinterpret_cast<uintptr_t>(pointer);
}

} // namespace

TEST(HashLink, EntriesGoToTheBucketOfTheirSignedByteSum) {
    // Bytes of 0x80 and more count negative (0xE9 is -23), and the sum is kept to 16 bits before
    // the bucket count divides it: "\xE9" goes to bucket 65513 modulo the count (13 of 100).
    // "ad" and "bc", "\xE9\x30" and "\x19" have equal sums.
    const struct {
        const char* key;
        uint16_t count;
        uint16_t bucket;
    } cases[] = {
        {"", 7, 0},         {"a", 7, 6},    {"Key", 7, 3},
        {"\xE9", 7, 0},     {"\x80", 7, 0}, {"\xE9\xE9\xE9", 7, 3},
        {"\xE9", 100, 13},  {"ad", 97, 3},  {"bc", 97, 3},
        {"\xE9\x30", 3, 1}, {"\x19", 3, 1}, {"zz", 1, 0},
    };
    for (const auto& c : cases) {
        Table table(c.count);
        ASSERT_EQ(table.Add(c.key, 1), 0);
        ASSERT_NE(table.Buckets()[c.bucket], nullptr) << c.key;
        EXPECT_STREQ(table.Buckets()[c.bucket]->key, c.key);
    }
}

TEST(HashLink, AddCopiesKeysAndAddAndUpdateCompareExactly) {
    Table table(13);
    char key[] = "Key";
    EXPECT_EQ(table.Add(key, 1), 0);
    strcpy(key, "xxx");
    EXPECT_EQ(table.Add("Key", 2), HASHLINK_DUPLICATE);
    EXPECT_EQ(table.Add("KEY", 3), 0);
    EXPECT_EQ(table.Add("key", 4), 0);
    EXPECT_EQ(HashLinkGetCount(table.Buckets(), table.Count()), 3);
    const HASHLINK* first = table.Buckets()[297 % 13]; // "Key"; "KEY" and "key" go elsewhere
    ASSERT_STREQ(first->key, "Key");
    EXPECT_EQ(first->value, 1u);    // the duplicate did not replace the value
    EXPECT_EQ(first->key[4], '\0'); // the copy has one spare byte after its terminator
    EXPECT_EQ(table.Update("Key", 5), 0);
    EXPECT_EQ(table.Update("KEY", 6), 0);
    EXPECT_EQ(table.Update("kEY", 7), HASHLINK_NOTFOUND);
    EXPECT_EQ(first->value, 5u);
}

TEST(HashLink, NullArgumentsAndMissingEntries) {
    EXPECT_EQ(HashLinkAdd(nullptr, 3, "a", 1), HASHLINK_NOTFOUND);
    EXPECT_EQ(HashLinkQuery(nullptr, 3, "a"), 0u);
    EXPECT_EQ(HashLinkUpdate(nullptr, 3, "a", 1), HASHLINK_NOTFOUND);
    EXPECT_EQ(HashLinkGetCount(nullptr, 3), 0);
    EXPECT_EQ(HashLinkEnum(nullptr, 3, HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(HashLinkAddTablePtr(nullptr, 3, 16), 0);
    EXPECT_EQ(HashLinkSubtractTablePtrFromNode(nullptr, 3, 16), 0);
    HashLinkDestroy(nullptr, 3);
    Table table(3);
    EXPECT_EQ(HashLinkAdd(table.Buckets(), 3, nullptr, 1), HASHLINK_NOTFOUND);
    EXPECT_EQ(table.Query(nullptr), 0u);
    EXPECT_EQ(table.Update(nullptr, 1), HASHLINK_NOTFOUND);
    EXPECT_EQ(table.Update("Key", 6), HASHLINK_NOTFOUND); // an empty bucket
}

TEST(HashLink, QueryIgnoresCaseOnlyWithinTheKeysBucket) {
    // "AB" and "BA" sum to 131, "ab" to 195 and "aB" to 163: 131 and 195 are equal modulo 64,
    // not 163.
    Table sixtyFour(64);
    ASSERT_EQ(sixtyFour.Add("AB", 7), 0);
    EXPECT_EQ(sixtyFour.Query("ab"), 7u);
    EXPECT_EQ(sixtyFour.Query("aB"), 0u);
    EXPECT_EQ(sixtyFour.Query("BA"), 0u);

    // In one bucket the newest caseless match wins; only A-Z fold.
    Table one(1);
    ASSERT_EQ(one.Add("abc", 1), 0);
    ASSERT_EQ(one.Add("ABC", 2), 0);
    ASSERT_EQ(one.Add("zero", 0), 0);
    ASSERT_EQ(one.Add("\xC9", 9), 0);
    EXPECT_EQ(one.Query("abc"), 2u);
    EXPECT_EQ(one.Query("missing"), 0u);
    EXPECT_EQ(one.Query("zero"), 0u);
    EXPECT_EQ(one.Query("\xE9"), 0u);
}

TEST(HashLinkEnum, BucketsInIndexOrderThenNewestFirst) {
    // With 10 buckets: "a" (97) and "k" (107) in bucket 7, "b" (98) in 8, "\x01" in 1, "" in 0.
    Table table(10);
    for (const char* key : {"a", "b", "\x01", "k", ""})
        ASSERT_EQ(table.Add(key, 0), 0);
    std::vector<std::string> keys;
    for (HASHLINK* e = table.Enum(HASHLINK_ENUM_FIRST); e != nullptr;
         e = table.Enum(HASHLINK_ENUM_NEXT))
        keys.push_back(e->key);
    EXPECT_EQ(keys, (std::vector<std::string>{"", "\x01", "k", "a", "b"}));
    EXPECT_EQ(HashLinkGetCount(table.Buckets(), table.Count()), 5);
    // At the end the enumeration stays at its end; other modes give nothing.
    EXPECT_EQ(table.Enum(HASHLINK_ENUM_NEXT), nullptr);
    EXPECT_EQ(table.Enum(HASHLINK_ENUM_NEXT), nullptr);
    EXPECT_EQ(table.Enum(3), nullptr);
    EXPECT_EQ(table.Enum(0), nullptr);
    Table empty(5);
    EXPECT_EQ(empty.Enum(HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(empty.Enum(HASHLINK_ENUM_NEXT), nullptr);
}

TEST(HashLinkEnum, ContinuesOnlyTheTableItStarted) {
    Table one(3);
    Table other(3);
    ASSERT_EQ(one.Add("a", 1), 0);
    ASSERT_EQ(one.Add("b", 2), 0);
    ASSERT_EQ(other.Add("z", 3), 0);
    ASSERT_NE(one.Enum(HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(other.Enum(HASHLINK_ENUM_NEXT), nullptr);
    // A mode 1 that finds nothing leaves nothing to continue.
    Table empty(3);
    ASSERT_NE(one.Enum(HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(empty.Enum(HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(one.Enum(HASHLINK_ENUM_NEXT), nullptr);
    // Nor does a destroyed table, whose bucket array keeps its contents.
    std::vector<HASHLINK*> buckets(1, nullptr);
    ASSERT_EQ(HashLinkAdd(buckets.data(), 1, "a", 1), 0);
    ASSERT_EQ(HashLinkAdd(buckets.data(), 1, "b", 2), 0);
    ASSERT_NE(HashLinkEnum(buckets.data(), 1, HASHLINK_ENUM_FIRST), nullptr);
    HashLinkDestroy(buckets.data(), 1);
    EXPECT_NE(buckets[0], nullptr);
    EXPECT_EQ(HashLinkEnum(buckets.data(), 1, HASHLINK_ENUM_NEXT), nullptr);
}

TEST(HashLinkRelocation, SubtractMakesLinksOffsetsAndAddTurnsAllOffsetsBack) {
    // With 8 buckets, "a" to "g" (97 to 103) fill buckets 1 to 7 and "i" (105) joins "a": bucket
    // 0 stays empty, and bucket 1 holds a link.
    // A slot after the last bucket holds an entry that neither relocation may reach.
    const uint16_t kCount = 8;
    HASHLINK beyond = {nullptr, 0, nullptr};
    std::vector<HASHLINK*> buckets(kCount, nullptr);
    buckets.push_back(&beyond);
    const char* const keys[] = {"a", "b", "c", "d", "e", "f", "g", "i"};
    for (const char* key : keys)
        ASSERT_EQ(HashLinkAdd(buckets.data(), kCount, key, Address(key)), 0);
    const std::vector<HASHLINK*> heads = buckets;
    HASHLINK* const older = heads[1]->next;
    char* const olderKey = older->key;

    const uintptr_t delta = 0x10000;
    ASSERT_EQ(HashLinkSubtractTablePtrFromNode(buckets.data(), kCount, delta), 1);
    EXPECT_EQ(buckets[0], nullptr);
    for (uint16_t b = 1; b < kCount; ++b)
        EXPECT_EQ(Address(buckets[b]), Address(heads[b]) - delta);
    EXPECT_EQ(Address(heads[1]->next), Address(older) - delta);
    EXPECT_EQ(older->next, nullptr);
    EXPECT_EQ(older->key, olderKey); // keys and values stay addresses
    EXPECT_EQ(older->value, Address(keys[0]));

    // With keys and values made offsets as well, HashLinkAddTablePtr restores the whole table.
    std::vector<HASHLINK*> entries(heads.begin() + 1, heads.begin() + kCount);
    entries.push_back(older);
    for (HASHLINK* e : entries) {
        e->key = reinterpret_cast<char*>(Address(e->key) - delta);
        e->value -= delta;
    }
    ASSERT_EQ(HashLinkAddTablePtr(buckets.data(), kCount, delta), 1);
    EXPECT_EQ(buckets, heads);
    EXPECT_EQ(heads[1]->next, older);
    EXPECT_EQ(older->key, olderKey);
    for (const char* key : keys)
        EXPECT_EQ(HashLinkQuery(buckets.data(), kCount, key), Address(key));
    HashLinkDestroy(buckets.data(), kCount);
}
