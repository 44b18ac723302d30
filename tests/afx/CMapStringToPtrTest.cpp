#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <map>
#include <stdint.h>
#include <string>

namespace {

void* Item(int n) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(n));
}
int Number(const void* p) {
    return static_cast<int>(reinterpret_cast<intptr_t>(p));
}

// Every association, by enumeration; each key must come up once.
std::map<std::string, int> Contents(const CMapStringToPtr& map) {
    std::map<std::string, int> contents;
    for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
        CString key;
        void* value = nullptr;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(contents.emplace(key.GetString(), Number(value)).second) << key.GetString();
    }
    EXPECT_EQ(static_cast<INT_PTR>(contents.size()), map.GetCount());
    return contents;
}

TEST(CMapStringToPtr, SetAtLookupAndOperatorIndex) {
    CMapStringToPtr map;
    EXPECT_TRUE(map.IsEmpty());
    void* value = Item(99);
    EXPECT_FALSE(map.Lookup("a", value));
    EXPECT_EQ(99, Number(value)) << "a failed lookup leaves the value alone";

    map.SetAt("a", Item(1));
    map["b"] = Item(2);
    map.SetAt("a", Item(3)); // replaces
    EXPECT_EQ(2, map.GetCount());
    EXPECT_EQ(2, map.GetSize());
    ASSERT_TRUE(map.Lookup("a", value));
    EXPECT_EQ(3, Number(value));
    EXPECT_EQ(nullptr, map["new"]) << "operator[] adds a missing key with a null value";
    EXPECT_EQ(3, map.GetCount());
    EXPECT_FALSE(map.Lookup(nullptr, value));
    EXPECT_THROW(map[nullptr], CInvalidArgException*);
}

TEST(CMapStringToPtr, KeysAreExactBytes) {
    CMapStringToPtr map;
    map.SetAt("Key", Item(1));
    map.SetAt("key", Item(2));
    map.SetAt("key ", Item(3));
    map.SetAt("", Item(4));
    map.SetAt("k\xE9y", Item(5));
    EXPECT_EQ(
        (std::map<std::string, int>{{"", 4}, {"Key", 1}, {"key", 2}, {"key ", 3}, {"k\xE9y", 5}}),
        Contents(map));

    // The map keeps its own copy of the key.
    char buffer[] = "temp";
    map.SetAt(buffer, Item(6));
    buffer[0] = 'X';
    LPCSTR stored = nullptr;
    ASSERT_TRUE(map.LookupKey("temp", stored));
    EXPECT_STREQ("temp", stored);
    EXPECT_NE(buffer, stored);
    EXPECT_FALSE(map.LookupKey("Xemp", stored));
}

TEST(CMapStringToPtr, RemoveKey) {
    CMapStringToPtr map;
    map.SetAt("a", Item(1));
    map.SetAt("b", Item(2));
    EXPECT_FALSE(map.RemoveKey("c"));
    EXPECT_FALSE(map.RemoveKey(nullptr));
    EXPECT_TRUE(map.RemoveKey("a"));
    EXPECT_FALSE(map.RemoveKey("a"));
    EXPECT_EQ((std::map<std::string, int>{{"b", 2}}), Contents(map));
    EXPECT_TRUE(map.RemoveKey("b"));
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map.SetAt("c", Item(3)); // usable again after becoming empty
    EXPECT_EQ((std::map<std::string, int>{{"c", 3}}), Contents(map));
}

TEST(CMapStringToPtr, EnumeratesEveryAssociationOnce) {
    // Few buckets and small blocks, so that buckets chain and blocks fill and get reused.
    CMapStringToPtr map(3);
    map.InitHashTable(7);
    std::map<std::string, int> expected;
    for (int n = 0; n < 100; ++n) {
        const std::string key = "key" + std::to_string(n);
        map.SetAt(key.c_str(), Item(n));
        expected[key] = n;
    }
    for (int n = 0; n < 100; n += 3) {
        const std::string key = "key" + std::to_string(n);
        ASSERT_TRUE(map.RemoveKey(key.c_str()));
        expected.erase(key);
    }
    for (int n = 0; n < 10; ++n) {
        const std::string key = "again" + std::to_string(n);
        map[key.c_str()] = Item(n);
        expected[key] = n;
    }
    EXPECT_EQ(expected, Contents(map));
    EXPECT_EQ(7u, map.GetHashTableSize());

    POSITION end = nullptr;
    CString key;
    void* value;
    EXPECT_THROW(map.GetNextAssoc(end, key, value), CInvalidArgException*);
}

TEST(CMapStringToPtr, InitHashTableOnlyWhenEmpty) {
    CMapStringToPtr map;
    EXPECT_EQ(17u, map.GetHashTableSize());
    map.InitHashTable(31, FALSE);
    EXPECT_EQ(31u, map.GetHashTableSize());
    map.SetAt("a", Item(1));
    EXPECT_THROW(map.InitHashTable(5), CInvalidArgException*);
    EXPECT_EQ(31u, map.GetHashTableSize());
    EXPECT_EQ((std::map<std::string, int>{{"a", 1}}), Contents(map));
    map.RemoveAll();
    EXPECT_THROW(map.InitHashTable(0), CInvalidArgException*);
    map.InitHashTable(5);
    EXPECT_EQ(nullptr, map.GetStartPosition());
    EXPECT_THROW(CMapStringToPtr(0), CInvalidArgException*);
}

TEST(CMapStringToPtr, RuntimeClass) {
    CMapStringToPtr map;
    EXPECT_EQ(RUNTIME_CLASS(CMapStringToPtr), map.GetRuntimeClass());
    EXPECT_FALSE(map.IsSerializable());
}

} // namespace
