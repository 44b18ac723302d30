// Hash links: bucket placement, chain order, exact and caseless key matching, enumeration and the
// two relocations.

#include <bwcore/runtime/HashLink.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// The bucket of a key, computed here from the definition: the sum of the key's bytes as signed
// 8-bit values, modulo 65536, modulo the bucket count.
size_t ExpectedBucket(const std::string& key, size_t bucketCount) {
    long long sum = 0;
    for (char c : key)
        sum += static_cast<signed char>(c);
    const long long wrapped = ((sum % 65536) + 65536) % 65536;
    return static_cast<size_t>(wrapped) % bucketCount;
}

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
    HASHLINK* Enum(int32_t mode) { return HashLinkEnum(Buckets(), Count(), mode); }

    // The keys of the whole table in enumeration order.
    std::vector<std::string> EnumeratedKeys() {
        std::vector<std::string> keys;
        for (HASHLINK* e = Enum(HASHLINK_ENUM_FIRST); e != nullptr; e = Enum(HASHLINK_ENUM_NEXT))
            keys.push_back(e->key);
        return keys;
    }

private:
    std::vector<HASHLINK*> buckets_;
};

using Keys = std::vector<std::string>;

} // namespace

TEST(HashLink, EntriesGoToTheBucketOfTheirByteSum) {
    Table table(7);
    const char* const keys[] = {"", "a", "ab", "Key", "\xE9", "\xE9\xE9\xE9", "zzzzzzzz", "\x80"};
    for (const char* key : keys) {
        ASSERT_EQ(table.Add(key, 1), 0) << key;
        const size_t bucket = ExpectedBucket(key, table.Count());
        ASSERT_NE(table.Buckets()[bucket], nullptr) << key;
        EXPECT_STREQ(table.Buckets()[bucket]->key, key); // the newest entry heads its chain
    }
}

TEST(HashLink, KeysWithEqualByteSumsShareABucketWhateverTheCount) {
    // 'a' + 'd' == 'b' + 'c'; 0xE9 counts -23, so "\xE9" "0" sums to 25 like "\x19".
    const char* const pairs[][2] = {{"ad", "bc"},
                                    {"\xE9"
                                     "0",
                                     "\x19"}};
    for (uint16_t count : {1, 2, 3, 97, 1000, 65535}) {
        for (const auto& pair : pairs) {
            Table table(count);
            ASSERT_EQ(table.Add(pair[0], 1), 0);
            ASSERT_EQ(table.Add(pair[1], 2), 0);
            const size_t bucket = ExpectedBucket(pair[0], count);
            ASSERT_NE(table.Buckets()[bucket], nullptr);
            EXPECT_STREQ(table.Buckets()[bucket]->key, pair[1]);
            ASSERT_NE(table.Buckets()[bucket]->next, nullptr);
            EXPECT_STREQ(table.Buckets()[bucket]->next->key, pair[0]);
        }
    }
}

TEST(HashLink, KeysAreCopied) {
    Table table(5);
    char key[] = "name";
    ASSERT_EQ(table.Add(key, 42), 0);
    strcpy(key, "xxxx");
    EXPECT_EQ(table.Query("name"), 42u);
    HASHLINK* entry = table.Enum(HASHLINK_ENUM_FIRST);
    ASSERT_NE(entry, nullptr);
    EXPECT_NE(entry->key, key);
    EXPECT_STREQ(entry->key, "name");
    EXPECT_EQ(entry->key[5], '\0'); // the copy has one spare byte after its terminator
}

TEST(HashLink, DuplicateTestIsExact) {
    Table table(13);
    EXPECT_EQ(table.Add("Key", 1), 0);
    EXPECT_EQ(table.Add("Key", 2), HASHLINK_DUPLICATE);
    EXPECT_EQ(table.Add("KEY", 3), 0);
    EXPECT_EQ(table.Add("key", 4), 0);
    EXPECT_EQ(HashLinkGetCount(table.Buckets(), table.Count()), 3);
    EXPECT_EQ(table.Query("Key"), 1u); // the duplicate did not replace the value
}

TEST(HashLink, NullArguments) {
    EXPECT_EQ(HashLinkAdd(nullptr, 3, "a", 1), HASHLINK_NOTFOUND);
    EXPECT_EQ(HashLinkQuery(nullptr, 3, "a"), 0u);
    EXPECT_EQ(HashLinkUpdate(nullptr, 3, "a", 1), HASHLINK_NOTFOUND);
    EXPECT_EQ(HashLinkGetCount(nullptr, 3), 0);
    EXPECT_EQ(HashLinkEnum(nullptr, 3, HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(HashLinkAddTablePtr(nullptr, 3, 16), 0);
    EXPECT_EQ(HashLinkSubtractTablePtrFromNode(nullptr, 3, 16), 0);
    HashLinkDestroy(nullptr, 3);
    Table table(3);
    EXPECT_EQ(HashLinkQuery(table.Buckets(), table.Count(), nullptr), 0u);
}

TEST(HashLink, QueryIgnoresCaseOnlyWithinTheKeysBucket) {
    // "AB" sums to 131 and "ab" to 195: equal modulo 1 and 64, different modulo 1000.
    for (uint16_t count : {1, 64}) {
        Table table(count);
        ASSERT_EQ(table.Add("AB", 7), 0);
        EXPECT_EQ(table.Query("ab"), 7u) << count;
    }
    // "aB" (163) lands in bucket 35 of 64: not found there.
    Table sixtyFour(64);
    ASSERT_EQ(sixtyFour.Add("AB", 7), 0);
    EXPECT_EQ(sixtyFour.Query("aB"), 0u);
    Table table(1000);
    ASSERT_EQ(table.Add("AB", 7), 0);
    EXPECT_EQ(table.Query("AB"), 7u);
    EXPECT_EQ(table.Query("ab"), 0u);
    EXPECT_EQ(table.Query("BA"), 0u); // same bucket, different key
}

TEST(HashLink, QueryReturnsTheNewestCaselessMatchAndZeroWhenMissing) {
    Table table(1);
    ASSERT_EQ(table.Add("abc", 1), 0);
    ASSERT_EQ(table.Add("ABC", 2), 0);
    ASSERT_EQ(table.Add("zero", 0), 0);
    EXPECT_EQ(table.Query("Abc"), 2u);
    EXPECT_EQ(table.Query("abc"), 2u); // the first match in the chain, not the exact one
    EXPECT_EQ(table.Query("missing"), 0u);
    EXPECT_EQ(table.Query("zero"), 0u);
    // The caseless comparison folds only A-Z.
    ASSERT_EQ(table.Add("\xC9", 9), 0);
    EXPECT_EQ(table.Query("\xE9"), 0u);
}

TEST(HashLink, UpdateIsExact) {
    Table table(1);
    ASSERT_EQ(table.Add("Key", 1), 0);
    EXPECT_EQ(HashLinkUpdate(table.Buckets(), table.Count(), "Key", 5), 0);
    EXPECT_EQ(table.Query("key"), 5u);
    EXPECT_EQ(HashLinkUpdate(table.Buckets(), table.Count(), "KEY", 6), HASHLINK_NOTFOUND);
    EXPECT_EQ(HashLinkUpdate(table.Buckets(), table.Count(), "Other", 6), HASHLINK_NOTFOUND);
    EXPECT_EQ(table.Query("Key"), 5u);
    Table empty(8);
    EXPECT_EQ(HashLinkUpdate(empty.Buckets(), empty.Count(), "Key", 6), HASHLINK_NOTFOUND);
    EXPECT_EQ(HashLinkGetCount(empty.Buckets(), empty.Count()), 0);
}

TEST(HashLink, CountAfterAFailedDuplicate) {
    Table table(4);
    EXPECT_EQ(table.Add("one", 1), 0);
    EXPECT_EQ(table.Add("two", 2), 0);
    EXPECT_EQ(table.Add("one", 3), HASHLINK_DUPLICATE);
    EXPECT_EQ(table.Add("three", 3), 0);
    EXPECT_EQ(HashLinkGetCount(table.Buckets(), table.Count()), 3);
}

TEST(HashLinkEnum, OneBucketGivesNewestFirst) {
    Table table(1);
    for (const char* key : {"a", "b", "c", "d"})
        ASSERT_EQ(table.Add(key, 0), 0);
    EXPECT_EQ(table.EnumeratedKeys(), (Keys{"d", "c", "b", "a"}));
    // At the end the enumeration stays at its end.
    EXPECT_EQ(table.Enum(HASHLINK_ENUM_NEXT), nullptr);
    EXPECT_EQ(table.Enum(HASHLINK_ENUM_NEXT), nullptr);
}

TEST(HashLinkEnum, BucketsInIndexOrderThenNewestFirst) {
    // With 10 buckets: "a" (97) and "k" (107) in bucket 7, "b" (98) in 8, "\x01" in 1, "" in 0.
    Table table(10);
    for (const char* key : {"a", "b", "\x01", "k", ""})
        ASSERT_EQ(table.Add(key, 0), 0);
    EXPECT_EQ(table.EnumeratedKeys(), (Keys{"", "\x01", "k", "a", "b"}));
}

TEST(HashLinkEnum, EmptyTableAndOtherModes) {
    Table table(5);
    EXPECT_EQ(table.Enum(HASHLINK_ENUM_FIRST), nullptr);
    EXPECT_EQ(table.Enum(HASHLINK_ENUM_NEXT), nullptr);
    ASSERT_EQ(table.Add("x", 1), 0);
    EXPECT_EQ(table.Enum(3), nullptr);
    EXPECT_EQ(table.Enum(0), nullptr);
    EXPECT_EQ(table.Enum(-1), nullptr);
    HASHLINK* first = table.Enum(HASHLINK_ENUM_FIRST);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->key, "x");
    EXPECT_EQ(first->value, 1u);
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
}

TEST(HashLinkEnum, EndsWhenItsTableIsDestroyed) {
    std::vector<HASHLINK*> buckets(1, nullptr);
    ASSERT_EQ(HashLinkAdd(buckets.data(), 1, "a", 1), 0);
    ASSERT_EQ(HashLinkAdd(buckets.data(), 1, "b", 2), 0);
    ASSERT_NE(HashLinkEnum(buckets.data(), 1, HASHLINK_ENUM_FIRST), nullptr);
    HashLinkDestroy(buckets.data(), 1);
    // The bucket array keeps its contents, and the enumeration does not follow them.
    EXPECT_NE(buckets[0], nullptr);
    EXPECT_EQ(HashLinkEnum(buckets.data(), 1, HASHLINK_ENUM_NEXT), nullptr);
}

TEST(HashLinkRelocation, AddTablePtrTurnsAStoredImageIntoATable) {
    // An image as a caller would store it: entries, keys and values at offsets from its start,
    // the bucket array holding offsets too. Offset 0 is never an entry, so that null stays null.
    struct Image {
        char padding[16];
        HASHLINK entries[3];
        char keys[3][8];
        char values[3][8];
    };
    Image image{};
    const auto offset = [&image](const void* p) {
        return reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(&image);
    };
    const char* const keys[] = {"ad", "bc", "x"};
    for (int i = 0; i < 3; ++i) {
        strcpy(image.keys[i], keys[i]);
        snprintf(image.values[i], sizeof image.values[i], "value%d", i);
        image.entries[i].key = reinterpret_cast<char*>(offset(image.keys[i]));
        image.entries[i].value = offset(image.values[i]);
        image.entries[i].next = nullptr;
    }
    // With 4 buckets "ad" and "bc" (both 197) go to bucket 1, "bc" the newer one; "x" (120) to
    // bucket 0; buckets 2 and 3 stay empty.
    image.entries[1].next = reinterpret_cast<HASHLINK*>(offset(&image.entries[0]));
    HASHLINK* buckets[4] = {reinterpret_cast<HASHLINK*>(offset(&image.entries[2])),
                            reinterpret_cast<HASHLINK*>(offset(&image.entries[1])), nullptr,
                            nullptr};

    const uintptr_t base = reinterpret_cast<uintptr_t>(&image);
    ASSERT_EQ(HashLinkAddTablePtr(buckets, 4, base), 1);
    EXPECT_EQ(buckets[0], &image.entries[2]);
    EXPECT_EQ(buckets[1], &image.entries[1]);
    EXPECT_EQ(buckets[2], nullptr);
    EXPECT_EQ(image.entries[1].next, &image.entries[0]);
    EXPECT_EQ(image.entries[0].next, nullptr);
    EXPECT_EQ(image.entries[2].next, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.entries[i].key, image.keys[i]);
        EXPECT_EQ(image.entries[i].value, reinterpret_cast<uintptr_t>(image.values[i]));
    }
    EXPECT_STREQ(reinterpret_cast<const char*>(HashLinkQuery(buckets, 4, "AD")), "value0");
    EXPECT_STREQ(reinterpret_cast<const char*>(HashLinkQuery(buckets, 4, "x")), "value2");
    EXPECT_EQ(HashLinkGetCount(buckets, 4), 3);

    // And back: only the heads and the links become offsets again.
    ASSERT_EQ(HashLinkSubtractTablePtrFromNode(buckets, 4, base), 1);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(buckets[0]), offset(&image.entries[2]));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(buckets[1]), offset(&image.entries[1]));
    EXPECT_EQ(buckets[2], nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(image.entries[1].next), offset(&image.entries[0]));
    EXPECT_EQ(image.entries[0].next, nullptr);
    EXPECT_EQ(image.entries[2].next, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(image.entries[i].key, image.keys[i]);
        EXPECT_EQ(image.entries[i].value, reinterpret_cast<uintptr_t>(image.values[i]));
    }
}

TEST(HashLinkRelocation, SubtractFollowsEachChainBeforeChangingIt) {
    const uint16_t kCount = 3;
    std::vector<HASHLINK*> buckets(kCount, nullptr);
    const char* const keys[] = {"a", "b", "c", "d", "e", "f", "g"};
    for (const char* key : keys)
        ASSERT_EQ(HashLinkAdd(buckets.data(), kCount, key, reinterpret_cast<uintptr_t>(key)), 0);
    // Remember every entry, bucket by bucket, newest first.
    std::vector<std::vector<HASHLINK*>> chains(kCount);
    for (uint16_t b = 0; b < kCount; ++b) {
        for (HASHLINK* e = buckets[b]; e != nullptr; e = e->next)
            chains[b].push_back(e);
    }
    std::vector<char*> keyCopies;
    for (const auto& chain : chains) {
        for (HASHLINK* e : chain)
            keyCopies.push_back(e->key);
    }

    const uintptr_t delta = 0x10000;
    ASSERT_EQ(HashLinkSubtractTablePtrFromNode(buckets.data(), kCount, delta), 1);
    size_t k = 0;
    for (uint16_t b = 0; b < kCount; ++b) {
        const std::vector<HASHLINK*>& chain = chains[b];
        ASSERT_FALSE(chain.empty());
        EXPECT_EQ(reinterpret_cast<uintptr_t>(buckets[b]),
                  reinterpret_cast<uintptr_t>(chain[0]) - delta);
        for (size_t i = 0; i < chain.size(); ++i) {
            const uintptr_t next =
                i + 1 < chain.size() ? reinterpret_cast<uintptr_t>(chain[i + 1]) - delta : 0;
            EXPECT_EQ(reinterpret_cast<uintptr_t>(chain[i]->next), next);
            // Keys and values stay addresses: each value is the caller's copy of the key.
            EXPECT_EQ(chain[i]->key, keyCopies[k++]);
            EXPECT_STREQ(reinterpret_cast<const char*>(chain[i]->value), chain[i]->key);
        }
    }

    // Making keys and values offsets as well lets HashLinkAddTablePtr restore the table.
    for (const auto& chain : chains) {
        for (HASHLINK* e : chain) {
            e->key = reinterpret_cast<char*>(reinterpret_cast<uintptr_t>(e->key) - delta);
            e->value -= delta;
        }
    }
    ASSERT_EQ(HashLinkAddTablePtr(buckets.data(), kCount, delta), 1);
    for (uint16_t b = 0; b < kCount; ++b)
        EXPECT_EQ(buckets[b], chains[b][0]);
    for (const char* key : keys)
        EXPECT_EQ(HashLinkQuery(buckets.data(), kCount, key), reinterpret_cast<uintptr_t>(key));
    HashLinkDestroy(buckets.data(), kCount);
}
