// Building and reading string lists in the tests of the lists and of list storage.
#pragma once

#include <bwcore/runtime/List.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// Destroys its list when the test ends.
class ScopedList {
public:
    explicit ScopedList(HLIST list) : list_(list) {}
    ~ScopedList() { ListDestroy(list_); }
    ScopedList(const ScopedList&) = delete;
    ScopedList& operator=(const ScopedList&) = delete;
    operator HLIST() const { return list_; }

private:
    HLIST list_;
};

inline std::string Text(const void* item) {
    return item != nullptr ? std::string(static_cast<const char*>(item)) : std::string("<null>");
}

// The string items from head to tail; the current position is left as it was.
inline Strings Items(HLIST list) {
    const HLISTPOS current = ListGetCurrent(list);
    Strings items;
    if (ListCount(list) > 0) {
        items.push_back(Text(ListFirst(list)));
        while (!ListIsCurrentLast(list))
            items.push_back(Text(ListNext(list)));
    }
    if (current != nullptr)
        ListSetCurrent(list, current);
    return items;
}

// A new string list in the shared list heap holding copies of the texts, the last one current.
inline HLIST StringList(const Strings& texts) {
    HLIST list = ListCreate(0);
    for (const std::string& text : texts)
        EXPECT_EQ(ListInsert(list, text.c_str()), 1);
    return list;
}
