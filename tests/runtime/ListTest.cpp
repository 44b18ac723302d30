// Lists: every operation's effect on the items and on the current position, item release through
// the heap or the release callback, searching, and the limits of the shared list heap.

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// Destroys its list when the test ends.
class ScopedList {
public:
    explicit ScopedList(HLIST list) : list_(list) {}
    ~ScopedList() { ListDestroy(list_); }
    ScopedList(const ScopedList&) = delete;
    ScopedList& operator=(const ScopedList&) = delete;
    operator HLIST() const { return list_; }
    HLIST Release() {
        HLIST list = list_;
        list_ = nullptr;
        return list;
    }

private:
    HLIST list_;
};

std::string Text(const void* item) {
    return item != nullptr ? std::string(static_cast<const char*>(item)) : std::string("<null>");
}

// The string items from head to tail; the current position is left as it was.
std::vector<std::string> Items(HLIST list) {
    const HLISTPOS current = ListGetCurrent(list);
    std::vector<std::string> items;
    if (ListFirst(list) != nullptr || ListCount(list) > 0) {
        items.push_back(Text(ListCurrent(list)));
        while (!ListIsCurrentLast(list)) {
            ListNext(list);
            items.push_back(Text(ListCurrent(list)));
        }
    }
    if (current != nullptr)
        ListSetCurrent(list, current);
    return items;
}

HLIST StringList(std::initializer_list<const char*> texts) {
    HLIST list = ListCreate(0);
    for (const char* text : texts)
        EXPECT_EQ(ListInsert(list, text), 1);
    return list;
}

// What the release callback was given, in order.
std::vector<void*> gReleased;

int32_t RecordRelease(void* item) {
    gReleased.push_back(item);
    return 7;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(List, EmptyListHasNoCurrentNode) {
    ScopedList list(ListCreate(0));
    ASSERT_NE(static_cast<HLIST>(list), nullptr);
    EXPECT_EQ(ListCount(list), 0u);
    EXPECT_EQ(ListFirst(list), nullptr);
    EXPECT_EQ(ListLast(list), nullptr);
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(ListPrev(list), nullptr);
    EXPECT_EQ(ListCurrent(list), nullptr);
    EXPECT_EQ(ListGetCurrent(list), nullptr);
    EXPECT_EQ(ListIsCurrentFirst(list), 0);
    EXPECT_EQ(ListIsCurrentLast(list), 0);
    EXPECT_EQ(ListSetCurIndex(list, 0), nullptr);
    char buffer[8] = "x";
    EXPECT_EQ(ListGet(list, buffer), 0);
    EXPECT_EQ(ListRemove(list), 0);
    ListDelete(list);
    EXPECT_EQ(ListCount(list), 0u);
    EXPECT_EQ(ListGetCurrent(list), nullptr);
}

TEST(List, InsertLinksAfterTheCurrentNode) {
    ScopedList list(StringList({"A", "B", "C"}));
    EXPECT_EQ(Text(ListCurrent(list)), "C");
    EXPECT_EQ(Text(ListFirst(list)), "A");
    EXPECT_EQ(Text(ListNext(list)), "B");
    EXPECT_EQ(Text(ListNext(list)), "C");
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(Text(ListCurrent(list)), "C");

    ListFirst(list);
    ASSERT_EQ(ListInsert(list, "X"), 1);
    EXPECT_EQ(Items(list), (Strings{"A", "X", "B", "C"}));
    EXPECT_EQ(Text(ListCurrent(list)), "X");
    EXPECT_EQ(ListCount(list), 4u);
}

TEST(List, EveryAddingOperationLinksRelativeToTheCurrentNode) {
    // From A B C with B current: where each operation puts the new item X, which becomes current.
    struct Case {
        const char* name;
        int32_t (*add)(HLIST, char*);
        Strings after;
    };
    const Case cases[] = {
        {"ListAdd", [](HLIST l, char* x) { return ListAdd(l, x); }, {"A", "B", "X", "C"}},
        {"ListAddFirst", [](HLIST l, char* x) { return ListAddFirst(l, x); }, {"X", "A", "B", "C"}},
        {"ListInsert", [](HLIST l, char* x) { return ListInsert(l, x); }, {"A", "B", "X", "C"}},
        {"ListInsertFirst",
         [](HLIST l, char* x) { return ListInsertFirst(l, x); },
         {"X", "A", "B", "C"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char x[] = "X";
        ScopedList list(StringList({"A", "B", "C"}));
        ListSetCurIndex(list, 1);
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
}

TEST(List, NextAtTheTailStaysSoInsertAppends) {
    ScopedList list(StringList({"A", "B"}));
    ListLast(list);
    EXPECT_EQ(ListNext(list), nullptr);
    EXPECT_EQ(ListIsCurrentLast(list), 1);
    ListInsert(list, "C");
    EXPECT_EQ(Items(list), (Strings{"A", "B", "C"}));
    EXPECT_EQ(Text(ListLast(list)), "C");
}

TEST(List, PrevAtTheHeadStays) {
    ScopedList list(StringList({"A", "B"}));
    EXPECT_EQ(Text(ListFirst(list)), "A");
    EXPECT_EQ(ListPrev(list), nullptr);
    EXPECT_EQ(Text(ListCurrent(list)), "A");
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
    EXPECT_EQ(ListIsCurrentLast(list), 0);
    ListLast(list);
    EXPECT_EQ(Text(ListPrev(list)), "A");
}

TEST(List, FirstVariantsLinkAtTheHead) {
    ScopedList list(StringList({"B", "C"}));
    char pointed[] = "P";
    ASSERT_EQ(ListInsertFirst(list, "A"), 1);
    EXPECT_EQ(Text(ListCurrent(list)), "A");
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
    ASSERT_EQ(ListAddFirst(list, pointed), 1);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(pointed));
    EXPECT_EQ(Items(list), (Strings{"P", "A", "B", "C"}));
    ScopedList empty(ListCreate(0));
    ASSERT_EQ(ListInsertFirst(empty, "only"), 1);
    EXPECT_EQ(ListIsCurrentFirst(empty), 1);
    EXPECT_EQ(ListIsCurrentLast(empty), 1);
    EXPECT_EQ(Text(ListLast(empty)), "only");
}

TEST(List, InsertCopiesAndAddStoresThePointer) {
    ScopedList list(ListCreate(0));
    char text[] = "copied";
    ASSERT_EQ(ListInsert(list, text), 1);
    char* copy = static_cast<char*>(ListCurrent(list));
    EXPECT_NE(copy, text);
    EXPECT_STREQ(copy, "copied");
    EXPECT_EQ(copy[7], '\0') << "a spare byte after the terminator, zero-filled by the heap";
    text[0] = 'C';
    EXPECT_STREQ(copy, "copied");

    ScopedList pointers(ListCreate(-1));
    EXPECT_EQ(ListInsert(pointers, text), 0);
    EXPECT_EQ(ListInsertFirst(pointers, text), 0);
    EXPECT_EQ(ListCount(pointers), 0u);
    ASSERT_EQ(ListAdd(pointers, text), 1);
    EXPECT_EQ(ListCurrent(pointers), static_cast<void*>(text));
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
    EXPECT_EQ(memcmp(copy, &record, sizeof(Record)), 0);

    Record out = {};
    ASSERT_EQ(ListGet(list, &out), 1);
    EXPECT_EQ(memcmp(&out, &record, sizeof(Record)), 0);

    // An update copies over the existing copy, in place.
    Record changed = {7, "xyz"};
    ListUpdate(list, &changed);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(copy));
    EXPECT_EQ(memcmp(copy, &changed, sizeof(Record)), 0);
}

TEST(List, GetCopiesTheCurrentItem) {
    ScopedList list(StringList({"first", "second"}));
    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    ASSERT_EQ(ListGet(list, buffer), 1);
    EXPECT_STREQ(buffer, "second");
    ListFirst(list);
    ASSERT_EQ(ListGet(list, buffer), 1);
    EXPECT_STREQ(buffer, "first");
    EXPECT_EQ(ListGet(list, nullptr), 0);

    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, buffer);
    EXPECT_EQ(ListGet(pointers, buffer), 0);
}

TEST(List, DeleteMakesTheSuccessorOrElseThePredecessorCurrent) {
    ScopedList list(StringList({"A", "B", "C", "D"}));
    ListSetCurIndex(list, 1);
    ListDelete(list);
    EXPECT_EQ(Items(list), (Strings{"A", "C", "D"}));
    EXPECT_EQ(Text(ListCurrent(list)), "C");
    ListLast(list);
    ListDelete(list);
    EXPECT_EQ(Items(list), (Strings{"A", "C"}));
    EXPECT_EQ(Text(ListCurrent(list)), "C");
    ListFirst(list);
    ListDelete(list);
    EXPECT_EQ(Items(list), (Strings{"C"}));
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
    ListDelete(list);
    EXPECT_EQ(ListCount(list), 0u);
    EXPECT_EQ(ListGetCurrent(list), nullptr);
    EXPECT_EQ(ListFirst(list), nullptr);
    EXPECT_EQ(ListLast(list), nullptr);
    // The list works as new again.
    ListInsert(list, "E");
    EXPECT_EQ(Items(list), (Strings{"E"}));
}

TEST(List, DeleteLeavesPointerListsAloneAndRemoveUnlinks) {
    ScopedList list(ListCreate(-4));
    int a = 1, b = 2, c = 3;
    ListAdd(list, &a);
    ListAdd(list, &b);
    ListAdd(list, &c);
    ListSetCurIndex(list, 1);
    ListFreeFx(list, RecordRelease);
    gReleased.clear();
    ListDelete(list);
    EXPECT_EQ(ListCount(list), 3u);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(&b));
    EXPECT_TRUE(gReleased.empty());

    EXPECT_EQ(ListRemove(list), 1);
    EXPECT_EQ(ListCount(list), 2u);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(&c));
    EXPECT_TRUE(gReleased.empty()) << "the caller keeps a removed item";
    EXPECT_EQ(ListRemove(list), 1);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(&a));
    EXPECT_EQ(ListRemove(list), 1);
    EXPECT_EQ(ListRemove(list), 0);
    EXPECT_EQ(ListGetCurrent(list), nullptr);
}

TEST(List, RemoveLeavesTheCopyToTheCaller) {
    ScopedList list(StringList({"A", "B"}));
    ListFirst(list);
    void* item = ListCurrent(list);
    ASSERT_EQ(ListRemove(list), 1);
    EXPECT_EQ(Items(list), (Strings{"B"}));
    EXPECT_EQ(Text(ListCurrent(list)), "B");
    EXPECT_STREQ(static_cast<char*>(item), "A");
    EXPECT_EQ(MemHeapFree(ListGetHeap(), item), 1);
}

TEST(List, ItemsThatAreNoHeapBlockGoToTheReleaseCallback) {
    char added[] = "added";
    char alsoAdded[] = "also";
    char updated[] = "updated";
    ScopedList list(ListCreate(0));
    ListFreeFx(list, RecordRelease);
    gReleased.clear();
    ListInsert(list, "copy");
    ListAdd(list, added);
    ListAdd(list, alsoAdded);
    ListInsert(list, "copy2");
    ASSERT_EQ(ListCount(list), 4u);

    // A copy is freed into the heap; the callback does not see it.
    ListDelete(list);
    EXPECT_TRUE(gReleased.empty());
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(alsoAdded));
    // A pointer the list was given is handed to the callback.
    ListDelete(list);
    EXPECT_EQ(gReleased, (std::vector<void*>{alsoAdded}));
    // An update releases the old item the same way.
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(added));
    ListUpdate(list, updated);
    EXPECT_EQ(gReleased, (std::vector<void*>{alsoAdded, added}));
    EXPECT_STREQ(static_cast<char*>(ListCurrent(list)), "updated");
    EXPECT_NE(ListCurrent(list), static_cast<void*>(updated));

    ListAdd(list, added);
    gReleased.clear();
    ListDestroy(list.Release());
    EXPECT_EQ(gReleased, (std::vector<void*>{added}));
}

TEST(List, AddedItemsAreCheckedBeforeAnythingInFrontOfThemIsRead) {
    ScopedList list(ListCreate(0));
    ListFreeFx(list, RecordRelease);
    // In front of this item lies what looks like the header of a block of the heap's first
    // system heap.
    char raw[16] = {1, 0, 0, 0, 'x', 0};
    // This item is a block of the list's heap, though the list did not copy it.
    void* block = MemHeapAlloc(ListGetHeap(), 8);
    ASSERT_NE(block, nullptr);
    ListAdd(list, raw + 4);
    ListAdd(list, block);
    gReleased.clear();
    ListDelete(list);
    EXPECT_TRUE(gReleased.empty()) << "a block of the heap is freed into it";
    ListDelete(list);
    EXPECT_EQ(gReleased, (std::vector<void*>{raw + 4}));
}

TEST(List, PointerListsReleaseEveryItemThroughTheCallback) {
    int a = 1, b = 2;
    ScopedList list(ListCreate(-1));
    ListAdd(list, &a);
    ListAdd(list, &b);
    // Without a callback the items are left alone.
    ListUpdate(list, &a);
    EXPECT_EQ(ListCurrent(list), static_cast<void*>(&a));
    ListFreeFx(list, RecordRelease);
    gReleased.clear();
    ListUpdate(list, &b);
    EXPECT_TRUE(gReleased.empty()) << "an update does not release a pointer";
    ListDestroy(list.Release());
    EXPECT_EQ(gReleased, (std::vector<void*>{&a, &b}));
}

TEST(List, NoCallbackMeansForeignItemsAreLeftAlone) {
    char added[] = "added";
    ScopedList list(ListCreate(0));
    ListAdd(list, added);
    ListFreeFx(list, RecordRelease);
    ListFreeFx(list, nullptr);
    gReleased.clear();
    ListDelete(list);
    EXPECT_TRUE(gReleased.empty());
    EXPECT_STREQ(added, "added");
}

TEST(List, UpdateOfAStringMakesANewCopy) {
    ScopedList list(StringList({"short"}));
    ListUpdate(list, const_cast<char*>("a rather longer text"));
    EXPECT_EQ(Items(list), (Strings{"a rather longer text"}));
    // An item may be updated with its own text.
    ListUpdate(list, ListCurrent(list));
    EXPECT_EQ(Items(list), (Strings{"a rather longer text"}));
    ListUpdate(list, nullptr);
    EXPECT_EQ(Items(list), (Strings{"a rather longer text"}));
}

TEST(List, UpdateThatCannotAllocateLeavesANullItem) {
    ScopedList list(StringList({"A", "B"}));
    ListFirst(list);
    const std::string tooLong(65000, 'x');
    ListUpdate(list, const_cast<char*>(tooLong.c_str()));
    EXPECT_EQ(ListCount(list), 2u);
    EXPECT_EQ(ListCurrent(list), nullptr);
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
    EXPECT_EQ(Text(ListNext(list)), "B");
}

TEST(List, FindComparesStringsWithOrWithoutCase) {
    ScopedList list(StringList({"alpha", "Beta", "gamma"}));
    EXPECT_EQ(ListFind(list, "BETA", nullptr, 0), 1);
    EXPECT_EQ(Text(ListCurrent(list)), "Beta");
    EXPECT_EQ(ListFind(list, "BETA", nullptr, LISTFIND_EXACT), 0);
    EXPECT_EQ(Text(ListCurrent(list)), "gamma") << "no match leaves the last node current";
    EXPECT_EQ(ListFind(list, "Beta", nullptr, LISTFIND_EXACT), 1);
    EXPECT_EQ(Text(ListCurrent(list)), "Beta");
    EXPECT_EQ(ListFind(list, "alpha", nullptr, 0xFE), 1) << "only bit 0 counts";
    EXPECT_EQ(ListIsCurrentFirst(list), 1);
    EXPECT_EQ(ListFind(list, "ALPHA", nullptr, 0xFF), 0);

    ScopedList empty(ListCreate(0));
    EXPECT_EQ(ListFind(empty, "x", nullptr, 0), 0);
    EXPECT_EQ(ListGetCurrent(empty), nullptr);
}

TEST(List, FindWithACallback) {
    ScopedList list(StringList({"one", "two", "three"}));
    static std::vector<std::pair<std::string, std::string>> calls;
    calls.clear();
    const auto longerThanKey = [](const void* key, const void* item) -> int32_t {
        calls.emplace_back(static_cast<const char*>(key), static_cast<const char*>(item));
        return strlen(static_cast<const char*>(item)) > strlen(static_cast<const char*>(key));
    };
    EXPECT_EQ(ListFind(list, "abc", longerThanKey, 0), 1);
    EXPECT_EQ(Text(ListCurrent(list)), "three");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], std::make_pair(std::string("abc"), std::string("one")));
    EXPECT_EQ(calls[2], std::make_pair(std::string("abc"), std::string("three")));
    calls.clear();
    EXPECT_EQ(ListFind(list, "abcdefgh", longerThanKey, 0), 0);
    EXPECT_EQ(calls.size(), 3u) << "one comparison per item";
}

TEST(List, FindInOtherKindsComparesTheItemValue) {
    int a = 1, b = 1;
    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, &a);
    ListAdd(pointers, &b);
    EXPECT_EQ(ListFind(pointers, &a, nullptr, 0), 1);
    EXPECT_EQ(ListCurrent(pointers), static_cast<void*>(&a));
    int c = 1;
    EXPECT_EQ(ListFind(pointers, &c, nullptr, 0), 0);

    ScopedList records(ListCreate(sizeof(int)));
    ListInsert(records, &a);
    void* copy = ListCurrent(records);
    EXPECT_EQ(ListFind(records, &a, nullptr, 0), 0) << "an equal record elsewhere is no match";
    EXPECT_EQ(ListFind(records, copy, nullptr, 0), 1);
}

TEST(List, SetCurIndexCountsFromTheHead) {
    ScopedList list(StringList({"A", "B", "C"}));
    EXPECT_EQ(Text(ListSetCurIndex(list, 0)), "A");
    EXPECT_EQ(Text(ListSetCurIndex(list, 2)), "C");
    EXPECT_EQ(Text(ListSetCurIndex(list, 1)), "B");
    for (int32_t outside : {3, 4, -1, INT32_MIN}) {
        EXPECT_EQ(ListSetCurIndex(list, outside), nullptr) << outside;
        EXPECT_EQ(Text(ListCurrent(list)), "B") << outside;
    }
}

TEST(List, SetCurrentTakesAPositionOfTheList) {
    ScopedList list(StringList({"A", "B", "C"}));
    ListFirst(list);
    const HLISTPOS first = ListGetCurrent(list);
    ListLast(list);
    EXPECT_EQ(ListSetCurrent(list, first), first);
    EXPECT_EQ(Text(ListCurrent(list)), "A");
    // A null position would leave a non-empty list without a current node.
    EXPECT_EQ(ListSetCurrent(list, nullptr), nullptr);
    EXPECT_EQ(ListGetCurrent(list), first);
    EXPECT_EQ(ListSetCurrent(nullptr, first), nullptr);
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
    EXPECT_EQ(ListInfo(0, LISTINFO_CREATED), created + 1);
    EXPECT_EQ(ListInfo(0, LISTINFO_DESTROYED), destroyed + 1);
}

TEST(List, NullHandle) {
    char item[] = "x";
    EXPECT_EQ(ListCount(nullptr), 0u);
    EXPECT_EQ(ListAdd(nullptr, item), 0);
    EXPECT_EQ(ListAddFirst(nullptr, item), 0);
    EXPECT_EQ(ListInsert(nullptr, item), 0);
    EXPECT_EQ(ListInsertFirst(nullptr, item), 0);
    EXPECT_EQ(ListFirst(nullptr), nullptr);
    EXPECT_EQ(ListLast(nullptr), nullptr);
    EXPECT_EQ(ListNext(nullptr), nullptr);
    EXPECT_EQ(ListPrev(nullptr), nullptr);
    EXPECT_EQ(ListCurrent(nullptr), nullptr);
    EXPECT_EQ(ListGetCurrent(nullptr), nullptr);
    EXPECT_EQ(ListSetCurIndex(nullptr, 0), nullptr);
    EXPECT_EQ(ListIsCurrentFirst(nullptr), 0);
    EXPECT_EQ(ListIsCurrentLast(nullptr), 0);
    EXPECT_EQ(ListGet(nullptr, item), 0);
    EXPECT_EQ(ListRemove(nullptr), 0);
    EXPECT_EQ(ListFind(nullptr, item, nullptr, 0), 0);
    ListUpdate(nullptr, item);
    ListDelete(nullptr);
    ListFreeFx(nullptr, RecordRelease);
    EXPECT_STREQ(item, "x");
}

TEST(List, SharedListHeapLimitsItemsTo65000Bytes) {
    ScopedList list(ListCreate(0));
    ASSERT_NE(static_cast<HLIST>(list), nullptr);
    EXPECT_NE(ListGetHeap(), -1);
    const std::string fits(64998, 'f');
    const std::string tooLong(64999, 't');
    EXPECT_EQ(ListInsert(list, fits.c_str()), 1);
    EXPECT_EQ(ListInsert(list, tooLong.c_str()), 0);
    EXPECT_EQ(ListInsertFirst(list, tooLong.c_str()), 0);
    EXPECT_EQ(ListCount(list), 1u);
    EXPECT_EQ(Text(ListCurrent(list)), fits);
    // The shared heap grows by extensions as lists fill it.
    for (int i = 0; i < 12; ++i)
        ASSERT_EQ(ListInsert(list, fits.c_str()), 1) << i;
}

TEST(List, ListsInAHeapOfTheirOwn) {
    const int32_t heap = MemHeapCreate(100, 0);
    ASSERT_NE(heap, -1);
    HLIST list = ListCreateEx(0, heap);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListInsert(list, "fits"), 1);
    // Too long for the heap's maximum block size (the copy takes length + 2 bytes).
    const std::string tooLong(99, 'x');
    EXPECT_EQ(ListInsert(list, tooLong.c_str()), 0);
    EXPECT_EQ(ListInsert(list, tooLong.substr(1).c_str()), 1);
    EXPECT_EQ(ListCount(list), 2u);
    // The copies are blocks of that heap.
    void* item = ListCurrent(list);
    ASSERT_EQ(ListRemove(list), 1);
    EXPECT_EQ(MemHeapFree(heap, item), 1);
    // Destroying the heap ends the list with it; no callback runs.
    ListFreeFx(list, RecordRelease);
    gReleased.clear();
    EXPECT_EQ(MemHeapDestroy(heap), 1);
    EXPECT_TRUE(gReleased.empty());

    EXPECT_EQ(ListCreateEx(0, heap), nullptr) << "the heap is gone";
    EXPECT_EQ(ListCreateEx(0, 0), nullptr);
    ScopedList shared(ListCreateEx(0, -1));
    ASSERT_NE(static_cast<HLIST>(shared), nullptr);
    ListInsert(shared, "x");
    void* sharedItem = ListCurrent(shared);
    ListRemove(shared);
    EXPECT_EQ(MemHeapFree(ListGetHeap(), sharedItem), 1);
}

TEST(List, CopiesAreLimitedTo65535Bytes) {
    // Items are copied with a 16-bit count; in a heap that would hold more they are refused.
    const int32_t heap = MemHeapCreate(200000, 0);
    ASSERT_NE(heap, -1);
    HLIST list = ListCreateEx(0, heap);
    ASSERT_NE(list, nullptr);
    const std::string longest(65534, 'x');
    const std::string tooLong(65535, 'y');
    EXPECT_EQ(ListInsert(list, longest.c_str()), 1);
    EXPECT_EQ(ListInsert(list, tooLong.c_str()), 0);
    EXPECT_EQ(Text(ListCurrent(list)), longest);
    HLIST records = ListCreateEx(70000, heap);
    const std::vector<char> record(70000, 'r');
    EXPECT_EQ(ListInsert(records, record.data()), 0);
    EXPECT_EQ(MemHeapDestroy(heap), 1);
}
