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

TEST(CMapStringToPtr, KeysAreExactCopiedBytesInChainedBuckets) {
    // Few buckets and small blocks, so that buckets chain and blocks fill and get reused.
    CMapStringToPtr map(3);
    map.InitHashTable(7);
    std::map<std::string, int> expected{{"", 1}, {"Key", 2}, {"key ", 3}};
    char buffer[] = "key";
    map.SetAt(buffer, Item(4));
    buffer[0] = 'K'; // the map keeps its own copy
    map.SetAt("Key", Item(0));
    for (const auto& entry : expected)
        map[entry.first.c_str()] = Item(entry.second); // replaces "Key"
    expected["key"] = 4;
    for (int n = 0; n < 60; ++n) {
        map.SetAt(std::to_string(n).c_str(), Item(n));
        if (n % 3 != 0)
            expected[std::to_string(n)] = n;
    }
    for (int n = 0; n < 60; n += 3) {
        EXPECT_TRUE(map.RemoveKey(std::to_string(n).c_str()));
        EXPECT_FALSE(map.RemoveKey(std::to_string(n).c_str()));
    }
    EXPECT_EQ(expected, Contents(map));
    void* value = Item(99);
    EXPECT_FALSE(map.Lookup("99", value));
    EXPECT_EQ(Item(99), value) << "a failed lookup leaves the value alone";
    EXPECT_FALSE(map.Lookup(nullptr, value));
    EXPECT_THROW(map[nullptr], CInvalidArgException*);
    EXPECT_THROW(map.InitHashTable(5), CInvalidArgException*) << "only while empty";
}

} // namespace
