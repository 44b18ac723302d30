#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <map>
#include <stdint.h>
#include <string>

namespace {

void* Item(int n) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(n));
}

// Every association, by enumeration; each key must come up once.
std::map<std::string, int> Contents(const CMapStringToPtr& map) {
    std::map<std::string, int> contents;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        CString key;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(contents.emplace(key.GetString(), static_cast<int>(intptr_t(value))).second);
    }
    EXPECT_EQ(static_cast<INT_PTR>(contents.size()), map.GetCount());
    return contents;
}

TEST(CMapStringToPtr, KeysAreExactCopiedBytes) {
    CMapStringToPtr map;
    void* value = Item(99);
    EXPECT_FALSE(map.Lookup("a", value));
    EXPECT_EQ(Item(99), value) << "a failed lookup leaves the value alone";
    char buffer[] = "key";
    map.SetAt(buffer, Item(1));
    buffer[0] = 'K'; // the map keeps its own copy
    map.SetAt("Key", Item(2));
    map["key "] = Item(3);
    map.SetAt("", Item(4));
    map.SetAt("Key", Item(5)); // replaces
    EXPECT_EQ(nullptr, map["new"]) << "operator[] adds a missing key with a null value";
    EXPECT_EQ(
        (std::map<std::string, int>{{"", 4}, {"Key", 5}, {"key", 1}, {"key ", 3}, {"new", 0}}),
        Contents(map));
    EXPECT_FALSE(map.Lookup(nullptr, value));
    EXPECT_FALSE(map.RemoveKey(nullptr));
    EXPECT_THROW(map[nullptr], CInvalidArgException*);
}

TEST(CMapStringToPtr, RemovingAndAddingInChainedBuckets) {
    // Few buckets and small blocks, so that buckets chain and blocks fill and get reused.
    CMapStringToPtr map(3);
    map.InitHashTable(7);
    std::map<std::string, int> expected;
    for (int n = 0; n < 100; ++n) {
        map.SetAt(("key" + std::to_string(n)).c_str(), Item(n));
        expected["key" + std::to_string(n)] = n;
    }
    for (int n = 0; n < 100; n += 3) {
        ASSERT_TRUE(map.RemoveKey(("key" + std::to_string(n)).c_str()));
        EXPECT_FALSE(map.RemoveKey(("key" + std::to_string(n)).c_str()));
        expected.erase("key" + std::to_string(n));
    }
    for (int n = 0; n < 10; ++n) {
        map[("again" + std::to_string(n)).c_str()] = Item(n);
        expected["again" + std::to_string(n)] = n;
    }
    EXPECT_EQ(expected, Contents(map));
    EXPECT_THROW(map.InitHashTable(5), CInvalidArgException*) << "only while empty";
    map.RemoveAll();
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map.InitHashTable(5);
    EXPECT_EQ(5u, map.GetHashTableSize());
    EXPECT_THROW(map.InitHashTable(0), CInvalidArgException*);
    POSITION end = nullptr;
    CString key;
    void* value;
    EXPECT_THROW(map.GetNextAssoc(end, key, value), CInvalidArgException*);
}

} // namespace
