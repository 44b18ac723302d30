// Lists: every operation's effect on the items and on the current position, item release through
// the heap or the release callback, searching, and the limits of the shared list heap.

#include "ListTestSupport.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <string.h>

namespace {

// What the release callback was given, in order.
std::vector<void*> gReleased;

int32_t RecordRelease(void* item) {
    gReleased.push_back(item);
    return 7;
}

} // namespace

TEST(List, EmptyAndNullListsHaveNoCurrentNode) {
    ScopedList empty(ListCreate(0));
    ASSERT_NE(static_cast<HLIST>(empty), nullptr);
    char item[] = "x";
    for (HLIST list : {static_cast<HLIST>(empty), HLIST(nullptr)}) {
        EXPECT_EQ(ListFirst(list), nullptr);
        EXPECT_EQ(ListLast(list), nullptr);
        EXPECT_EQ(ListNext(list), nullptr);
        EXPECT_EQ(ListPrev(list), nullptr);
        EXPECT_EQ(ListCurrent(list), nullptr);
        EXPECT_EQ(ListIsCurrentFirst(list), 0);
        EXPECT_EQ(ListIsCurrentLast(list), 0);
        EXPECT_EQ(ListSetCurIndex(list, 0), nullptr);
        EXPECT_EQ(ListGet(list, item), 0);
        EXPECT_EQ(ListRemove(list), 0);
        EXPECT_EQ(ListFind(list, item, nullptr, 0), 0);
        ListDelete(list);
        ListUpdate(list, item);
        EXPECT_EQ(ListCount(list), 0u);
        EXPECT_EQ(ListGetCurrent(list), nullptr);
    }
    EXPECT_EQ(ListAdd(nullptr, item), 0);
    EXPECT_EQ(ListAddFirst(nullptr, item), 0);
    EXPECT_EQ(ListInsert(nullptr, item), 0);
    EXPECT_EQ(ListInsertFirst(nullptr, item), 0);
    EXPECT_EQ(ListSetCurrent(nullptr, ListGetCurrent(empty)), nullptr);
    ListFreeFx(nullptr, RecordRelease);
    EXPECT_STREQ(item, "x");
}

TEST(List, EveryAddingOperationLinksRelativeToTheCurrentNode) {
    // From A B C with `current` current: where each operation puts the new item X, which becomes
    // current.
    struct Case {
        const char* name;
        int32_t (*add)(HLIST, char*);
        int32_t current;
        Strings after;
    };
    const auto add = [](HLIST l, char* x) { return ListAdd(l, x); };
    const auto addFirst = [](HLIST l, char* x) { return ListAddFirst(l, x); };
    const auto insert = [](HLIST l, char* x) { return ListInsert(l, x); };
    const auto insertFirst = [](HLIST l, char* x) { return ListInsertFirst(l, x); };
    const Case cases[] = {
        {"ListAdd", add, 1, {"A", "B", "X", "C"}},
        {"ListAddFirst", addFirst, 1, {"X", "A", "B", "C"}},
        {"ListInsert", insert, 1, {"A", "B", "X", "C"}},
        {"ListInsert after the head", insert, 0, {"A", "X", "B", "C"}},
        {"ListInsert after the tail", insert, 2, {"A", "B", "C", "X"}},
        {"ListInsertFirst", insertFirst, 2, {"X", "A", "B", "C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char x[] = "X";
        ScopedList list(StringList({"A", "B", "C"}));
        ListSetCurIndex(list, c.current);
        ASSERT_EQ(c.add(list, x), 1);
        EXPECT_EQ(Items(list), c.after);
        EXPECT_EQ(Text(ListCurrent(list)), "X");
        EXPECT_EQ(ListCount(list), 4u);
        // The links hold in both directions.
        Strings backwards;
        for (void* item = ListLast(list); item != nullptr; item = ListPrev(list))
            backwards.insert(backwards.begin(), Text(item));
        EXPECT_EQ(backwards, c.after);
    }
    for (auto first : {+insert, +insertFirst}) {
        char only[] = "only";
        ScopedList empty(ListCreate(0));
        ASSERT_EQ(first(empty, only), 1);
        EXPECT_EQ(ListIsCurrentFirst(empty) + ListIsCurrentLast(empty), 2);
        EXPECT_EQ(Text(ListLast(empty)), "only");
    }
}

TEST(List, WalkingStopsAtBothEnds) {
    ScopedList list(StringList({"A", "B"}));
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(Text(ListCurrent(list)), "B") << "the position stays on the tail";
    EXPECT_EQ(ListIsCurrentLast(list), 1);
    EXPECT_EQ(ListIsCurrentFirst(list), 0);
    EXPECT_EQ(Text(ListPrev(list)), "A");
    EXPECT_EQ(ListPrev(list), nullptr);
    EXPECT_EQ(Text(ListCurrent(list)), "A");
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
}

TEST(List, InsertCopiesAndAddStoresThePointer) {
    char text[] = "copied";
    ScopedList list(StringList({text}));
    char* copy = static_cast<char*>(ListCurrent(list));
    EXPECT_NE(copy, text);
    EXPECT_EQ(memcmp(copy, "copied\0", 8), 0) << "a spare byte, zero-filled by the shared heap";
    char buffer[16];
    ASSERT_EQ(ListGet(list, buffer), 1);
    EXPECT_STREQ(buffer, "copied");
    EXPECT_EQ(ListGet(list, nullptr), 0);

    ScopedList pointers(ListCreate(-1));
    EXPECT_EQ(ListInsert(pointers, text), 0);
    EXPECT_EQ(ListInsertFirst(pointers, text), 0);
    ASSERT_EQ(ListAdd(pointers, text), 1);
    EXPECT_EQ(ListCurrent(pointers), static_cast<void*>(text));
    EXPECT_EQ(ListGet(pointers, buffer), 0);
}

TEST(List, RecordItemsAreCopiesOfTheirSize) {
    struct Record {
        int32_t a;
        char b[6];
    };
    ScopedList list(ListCreate(sizeof(Record)));
    EXPECT_EQ(ListGetListSize(list), static_cast<int32_t>(sizeof(Record)));
    Record record = {42, "abcde"};
    ASSERT_EQ(ListInsert(list, &record), 1);
    Record* copy = static_cast<Record*>(ListCurrent(list));
    ASSERT_NE(copy, &record);
    Record out = {};
    ASSERT_EQ(ListGet(list, &out), 1);
    EXPECT_EQ(memcmp(&out, &record, sizeof(Record)), 0);
    // An update copies over the existing copy, in place.
    Record changed = {7, "xyz"};
    ListUpdate(list, &changed);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(copy));
    EXPECT_EQ(memcmp(copy, &changed, sizeof(Record)), 0);
}

TEST(List, DeleteMakesTheSuccessorOrElseThePredecessorCurrent) {
    ScopedList list(StringList({"A", "B", "C", "D"}));
    const struct {
        int32_t index;
        Strings after;
        const char* current;
    } steps[] = {
        {1, {"A", "C", "D"}, "C"}, {2, {"A", "C"}, "C"}, {0, {"C"}, "C"}, {0, {}, "<null>"}};
    for (const auto& step : steps) {
        ListSetCurIndex(list, step.index);
        ListDelete(list);
        EXPECT_EQ(Items(list), step.after);
        EXPECT_EQ(ListCount(list), step.after.size());
        EXPECT_EQ(Text(ListCurrent(list)), step.current);
    }
    EXPECT_EQ(ListGetCurrent(list), nullptr);
    EXPECT_EQ(ListLast(list), nullptr);
    ListInsert(list, "E");
    EXPECT_EQ(Items(list), (Strings{"E"}));
}

TEST(List, DeleteLeavesPointerListsAloneAndRemoveUnlinks) {
    ScopedList list(ListCreate(-4));
    int a = 1, b = 2, c = 3;
    for (int* item : {&a, &b, &c})
        ListAdd(list, item);
    ListSetCurIndex(list, 1);
    ListFreeFx(list, RecordRelease);
    gReleased.clear();
    ListDelete(list);
    EXPECT_EQ(ListCount(list), 3u);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(&b));
    for (void* current :
         {static_cast<void*>(&c), static_cast<void*>(&a), static_cast<void*>(nullptr)}) {
        EXPECT_EQ(ListRemove(list), 1);
        EXPECT_EQ(ListCurrent(list), current);
    }
    EXPECT_EQ(ListRemove(list), 0);
    EXPECT_TRUE(gReleased.empty()) << "the caller keeps a removed item";
    // A removed copy is the caller's block of the list's heap.
    ScopedList strings(StringList({"A", "B"}));
    void* item = ListFirst(strings);
    ASSERT_EQ(ListRemove(strings), 1);
    EXPECT_EQ(Text(ListCurrent(strings)), "B");
    EXPECT_EQ(MemHeapFree(ListGetHeap(), item), 1);
}

TEST(List, ItemsThatAreNoHeapBlockGoToTheReleaseCallback) {
    char added[] = "added";
    char updated[] = "updated";
    // In front of this item lies what looks like the header of a block of the heap's first
    // system heap: it is checked before anything in front of it is read.
    char raw[16] = {1, 0, 0, 0, 'x', 0};
    // A block of the list's heap, though the list did not copy it, is freed into the heap.
    void* block = MemHeapAlloc(ListGetHeap(), 8);
    ASSERT_NE(block, nullptr);
    ScopedList list(StringList({"copy"}));
    ListFreeFx(list, RecordRelease);
    ListAdd(list, added);
    ListAdd(list, raw + 4);
    ListAdd(list, block);
    ListInsert(list, "copy2");
    gReleased.clear();
    for (int i = 0; i < 3; ++i)
        ListDelete(list);
    EXPECT_EQ(gReleased, (std::vector<void*>{raw + 4}));
    // An update releases the old item the same way.
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(added));
    ListUpdate(list, updated);
    EXPECT_EQ(gReleased, (std::vector<void*>{raw + 4, added}));
    EXPECT_EQ(Text(ListCurrent(list)), "updated");
    EXPECT_NE(ListCurrent(list), static_cast<void*>(updated));
    ListAdd(list, added);
    gReleased.clear();
    ListDestroy(list.Release());
    EXPECT_EQ(gReleased, (std::vector<void*>{added}));
    // Without a callback a foreign item is left alone.
    ScopedList other(ListCreate(0));
    ListAdd(other, added);
    ListFreeFx(other, RecordRelease);
    ListFreeFx(other, nullptr);
    ListDelete(other);
    EXPECT_EQ(gReleased.size(), 1u);
}

TEST(List, PointerListsReleaseEveryItemThroughTheCallback) {
    int a = 1, b = 2;
    ScopedList list(ListCreate(-1));
    ListAdd(list, &a);
    ListAdd(list, &b);
    ListFreeFx(list, RecordRelease);
    gReleased.clear();
    ListUpdate(list, &a);
    EXPECT_TRUE(gReleased.empty()) << "an update does not release a pointer";
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(&a));
    ListDestroy(list.Release());
    EXPECT_EQ(gReleased, (std::vector<void*>{&a, &a}));
}

TEST(List, UpdateOfAStringMakesANewCopyOrLeavesANullItem) {
    ScopedList list(StringList({"A", "short"}));
    ListUpdate(list, const_cast<char*>("a rather longer text"));
    // An item may be updated with its own text.
    ListUpdate(list, ListCurrent(list));
    ListUpdate(list, nullptr);
    EXPECT_EQ(Items(list), (Strings{"A", "a rather longer text"}));
    const std::string tooLong(65000, 'x');
    ListFirst(list);
    ListUpdate(list, const_cast<char*>(tooLong.c_str()));
    EXPECT_EQ(ListCount(list), 2u);
    EXPECT_EQ(ListCurrent(list), nullptr);
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
}

TEST(List, FindComparesStringsWithOrWithoutCase) {
    ScopedList list(StringList({"alpha", "Beta", "gamma"}));
    const struct {
        const char* key;
        uint8_t flags;
        int32_t found;
        const char* current; // no match leaves the last node current
    } cases[] = {
        {"BETA", 0, 1, "Beta"},
        {"BETA", LISTFIND_EXACT, 0, "gamma"},
        {"Beta", LISTFIND_EXACT, 1, "Beta"},
        {"alpha", 0xFE, 1, "alpha"}, // only bit 0 counts
        {"ALPHA", 0xFF, 0, "gamma"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(ListFind(list, c.key, nullptr, c.flags), c.found);
        EXPECT_EQ(Text(ListCurrent(list)), c.current);
    }
    static Strings compared;
    compared.clear();
    const auto longerThanKey = [](const void* key, const void* item) -> int32_t {
        compared.push_back(static_cast<const char*>(item));
        return strlen(static_cast<const char*>(item)) > strlen(static_cast<const char*>(key));
    };
    EXPECT_EQ(ListFind(list, "abcd", longerThanKey, 0), 1);
    EXPECT_EQ(compared, (Strings{"alpha"}));
    EXPECT_EQ(ListFind(list, "abcdefgh", longerThanKey, 0), 0);
    EXPECT_EQ(compared, (Strings{"alpha", "alpha", "Beta", "gamma"})) << "once per item";
}

TEST(List, FindInOtherKindsComparesTheItemValue) {
    int a = 1, b = 1;
    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, &a);
    ListAdd(pointers, &b);
    EXPECT_EQ(ListFind(pointers, &a, nullptr, 0), 1);
    EXPECT_EQ(ListCurrent(pointers), static_cast<void*>(&a));
    ScopedList records(ListCreate(sizeof(int)));
    ListInsert(records, &a);
    void* copy = ListCurrent(records);
    EXPECT_EQ(ListFind(records, &a, nullptr, 0), 0) << "an equal record elsewhere is no match";
    EXPECT_EQ(ListFind(records, copy, nullptr, 0), 1);
}

TEST(List, PositionsByIndexAndByNode) {
    ScopedList list(StringList({"A", "B", "C"}));
    EXPECT_EQ(Text(ListSetCurIndex(list, 0)), "A");
    const HLISTPOS first = ListGetCurrent(list);
    EXPECT_EQ(Text(ListSetCurIndex(list, 2)), "C");
    EXPECT_EQ(Text(ListSetCurIndex(list, 1)), "B");
    for (int32_t outside : {3, -1, INT32_MIN}) {
        EXPECT_EQ(ListSetCurIndex(list, outside), nullptr) << outside;
        EXPECT_EQ(Text(ListCurrent(list)), "B") << outside;
    }
    EXPECT_EQ(ListSetCurrent(list, first), first);
    EXPECT_EQ(Text(ListCurrent(list)), "A");
    // A null position would leave a non-empty list without a current node.
    EXPECT_EQ(ListSetCurrent(list, nullptr), nullptr);
    EXPECT_EQ(ListGetCurrent(list), first);
}

TEST(List, CountsAndSizes) {
    EXPECT_EQ(ListGetListSize(nullptr), -2);
    EXPECT_EQ(ListInfo(0, 3), -1);
    EXPECT_EQ(ListInfo(0, 0), -1);
    const int32_t created = ListInfo(0, LISTINFO_CREATED);
    const int32_t destroyed = ListInfo(99, LISTINFO_DESTROYED);
    HLIST list = ListCreate(-7);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListGetListSize(list), -7);
    EXPECT_EQ(ListInfo(0, LISTINFO_CREATED), created + 1);
    EXPECT_EQ(ListInfo(0, LISTINFO_DESTROYED), destroyed);
    ListDestroy(list);
    ListDestroy(nullptr);
    EXPECT_EQ(ListInfo(0, LISTINFO_DESTROYED), destroyed + 1);
}

TEST(List, ItemsAreLimitedByTheHeapAndTo65535Bytes) {
    // The shared list heap takes blocks of 65000 bytes, and grows by extensions as lists fill it.
    ScopedList list(ListCreate(0));
    const std::string fits(64998, 'f');
    for (int i = 0; i < 12; ++i)
        ASSERT_EQ(ListInsert(list, fits.c_str()), 1) << i;
    EXPECT_EQ(ListInsert(list, (fits + "t").c_str()), 0);
    EXPECT_EQ(ListInsertFirst(list, (fits + "t").c_str()), 0);
    EXPECT_EQ(ListCount(list), 12u);
    // Items are copied with a 16-bit count: refused even in a heap that would hold more.
    const int32_t heap = MemHeapCreate(200000, 0);
    ASSERT_NE(heap, -1);
    HLIST own = ListCreateEx(0, heap);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(ListInsert(own, std::string(65534, 'x').c_str()), 1);
    EXPECT_EQ(ListInsert(own, std::string(65535, 'y').c_str()), 0);
    const std::vector<char> record(70000, 'r');
    EXPECT_EQ(ListInsert(ListCreateEx(70000, heap), record.data()), 0);
    // The copies are blocks of the list's heap; destroying it ends the list, without callbacks.
    void* item = ListCurrent(own);
    ASSERT_EQ(ListRemove(own), 1);
    EXPECT_EQ(MemHeapFree(heap, item), 1);
    ListFreeFx(own, RecordRelease);
    gReleased.clear();
    EXPECT_EQ(MemHeapDestroy(heap), 1);
    EXPECT_TRUE(gReleased.empty());
    EXPECT_EQ(ListCreateEx(0, heap), nullptr) << "the heap is gone";
    EXPECT_EQ(ListCreateEx(0, 0), nullptr);
}
