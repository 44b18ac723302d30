// Lists: every operation's effect on the items and on the current position, item release through
// the heap or the release callback, searching, and the limits of the shared list heap.

#include "ListTestSupport.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/MemHeap.h>

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <deque>
#include <map>

namespace {

// What the release callback was given, in order.
std::vector<void*> gReleased;

int32_t RecordRelease(void* item) {
    gReleased.push_back(item);
    return 7;
}

// The items from head to tail, the current one in brackets ("A [B] C"), walked both ways; the
// position is left as it was.
std::string Shape(HLIST list) {
    std::string forwards, backwards;
    const HLISTPOS current = ListGetCurrent(list);
    for (void* item = ListFirst(list); item != nullptr; item = ListNext(list)) {
        const bool isCurrent = ListGetCurrent(list) == current;
        forwards +=
            (forwards.empty() ? "" : " ") + (isCurrent ? "[" + Text(item) + "]" : Text(item));
    }
    for (void* item = ListLast(list); item != nullptr; item = ListPrev(list))
        backwards = Text(item) + (backwards.empty() ? "" : " ") + backwards;
    EXPECT_EQ(forwards.size(), backwards.size() + (current != nullptr ? 2 : 0)) << forwards;
    const size_t words = std::count(forwards.begin(), forwards.end(), ' ') + !forwards.empty();
    EXPECT_EQ(ListCount(list), words);
    if (current != nullptr)
        ListSetCurrent(list, current);
    return (ListGetListSize(list) < 0 ? "*" : "") + forwards;
}

std::string Number(int32_t value) {
    return std::to_string(value);
}

// The list a shape describes: a pointer list of the texts when it starts with "*", else a string
// list; the current item in brackets, or the last one.
HLIST FromShape(const std::string& shape) {
    static std::deque<std::string> texts; // what pointer lists point to; never shrinks
    const bool pointers = !shape.empty() && shape[0] == '*';
    HLIST list = ListCreate(pointers ? -1 : 0);
    HLISTPOS current = nullptr;
    for (size_t start = pointers ? 1 : 0; start < shape.size();) {
        const size_t end = std::min(shape.find(' ', start), shape.size());
        std::string text = shape.substr(start, end - start);
        const bool isCurrent = text[0] == '[';
        texts.push_back(isCurrent ? text.substr(1, text.size() - 2) : text);
        pointers ? ListAdd(list, &texts.back()[0]) : ListInsert(list, texts.back().c_str());
        current = isCurrent ? ListGetCurrent(list) : current;
        start = end + 1;
    }
    if (current != nullptr)
        ListSetCurrent(list, current);
    return list;
}

char gX[] = "X";

// Each operation and what it returns, as text.
const std::map<std::string, std::string (*)(HLIST)> kOperations = {
    {"Add", [](HLIST l) { return Number(ListAdd(l, gX)); }},
    {"AddFirst", [](HLIST l) { return Number(ListAddFirst(l, gX)); }},
    {"Insert", [](HLIST l) { return Number(ListInsert(l, gX)); }},
    {"InsertFirst", [](HLIST l) { return Number(ListInsertFirst(l, gX)); }},
    {"First", [](HLIST l) { return Text(ListFirst(l)); }},
    {"Last", [](HLIST l) { return Text(ListLast(l)); }},
    {"Next", [](HLIST l) { return Text(ListNext(l)); }},
    {"Prev", [](HLIST l) { return Text(ListPrev(l)); }},
    {"Current", [](HLIST l) { return Text(ListCurrent(l)); }},
    {"IsFirst", [](HLIST l) { return Number(ListIsCurrentFirst(l)); }},
    {"IsLast", [](HLIST l) { return Number(ListIsCurrentLast(l)); }},
    {"Index 2", [](HLIST l) { return Text(ListSetCurIndex(l, 2)); }},
    {"Index 3", [](HLIST l) { return Text(ListSetCurIndex(l, 3)); }},
    {"Index -1", [](HLIST l) { return Text(ListSetCurIndex(l, -1)); }},
    {"SetCurrent null", [](HLIST l) { return Text(ListSetCurrent(l, nullptr)); }},
    {"Delete", [](HLIST l) { return ListDelete(l), Text(ListCurrent(l)); }},
    {"Remove", [](HLIST l) { return Number(ListRemove(l)); }},
    {"Find BETA", [](HLIST l) { return Number(ListFind(l, "BETA", nullptr, 0)); }},
    {"Find BETA exact", [](HLIST l) { return Number(ListFind(l, "BETA", nullptr, 1)); }},
    {"Find alpha 0xFE", [](HLIST l) { return Number(ListFind(l, "alpha", nullptr, 0xFE)); }},
    {"Find ALPHA 0xFF", [](HLIST l) { return Number(ListFind(l, "ALPHA", nullptr, 0xFF)); }},
};

} // namespace

TEST(List, EveryOperationOnTheItemsAndTheCurrentNode) {
    const struct {
        const char* before;
        const char* operation;
        const char* result;
        const char* after;
    } cases[] = {
        // New nodes are linked after the current node, or at the head, and become current.
        {"A [B] C", "Add", "1", "A B [X] C"},
        {"A [B] C", "AddFirst", "1", "[X] A B C"},
        {"A [B] C", "Insert", "1", "A B [X] C"},
        {"[A] B C", "Insert", "1", "A [X] B C"},
        {"A B [C]", "Insert", "1", "A B C [X]"},
        {"A B [C]", "InsertFirst", "1", "[X] A B C"},
        {"*[A]", "Insert", "0", "*[A]"},
        {"*[A]", "InsertFirst", "0", "*[A]"},
        // Walking stops at both ends and the position stays.
        {"[A] B", "Next", "B", "A [B]"},
        {"A [B]", "Next", "<null>", "A [B]"},
        {"A [B]", "Prev", "A", "[A] B"},
        {"[A] B", "Prev", "<null>", "[A] B"},
        {"A [B] C", "First", "A", "[A] B C"},
        {"A [B] C", "Last", "C", "A B [C]"},
        {"[A] B", "IsFirst", "1", "[A] B"},
        {"[A] B", "IsLast", "0", "[A] B"},
        {"A [B]", "IsLast", "1", "A [B]"},
        {"A [B]", "IsFirst", "0", "A [B]"},
        // Index 0 is the head; an index outside the list changes nothing.
        {"[A] B C", "Index 2", "C", "A B [C]"},
        {"A [B] C", "Index 3", "<null>", "A [B] C"},
        {"A [B] C", "Index -1", "<null>", "A [B] C"},
        {"A [B]", "SetCurrent null", "<null>", "A [B]"},
        // Deleting makes the successor current, or else the predecessor; pointer lists keep
        // their nodes, but removing unlinks any node.
        {"A [B] C", "Delete", "C", "A [C]"},
        {"A B [C]", "Delete", "B", "A [B]"},
        {"[A]", "Delete", "<null>", ""},
        {"*A [B] C", "Delete", "B", "*A [B] C"},
        {"*A [B] C", "Remove", "1", "*A [C]"},
        {"*A [B]", "Remove", "1", "*[A]"},
        // Without a callback strings compare without case unless flags bit 0 is set; no match
        // leaves the last node current.
        {"[alpha] Beta gamma", "Find BETA", "1", "alpha [Beta] gamma"},
        {"[alpha] Beta gamma", "Find BETA exact", "0", "alpha Beta [gamma]"},
        {"alpha Beta [gamma]", "Find alpha 0xFE", "1", "[alpha] Beta gamma"},
        {"[alpha] Beta gamma", "Find ALPHA 0xFF", "0", "alpha Beta [gamma]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.operation) + " on " + c.before);
        ScopedList list(FromShape(c.before));
        ASSERT_EQ(Shape(list), c.before) << "the test's own set-up";
        EXPECT_EQ(kOperations.at(c.operation)(list), c.result);
        EXPECT_EQ(Shape(list), c.after);
    }
}

TEST(List, EmptyListsAndNullHandles) {
    // Only the adding operations change an empty list; a null handle gives the failure value.
    const auto failed = [](const std::string& result) {
        return result == "0" || result == "<null>";
    };
    for (const auto& [name, operation] : kOperations) {
        ScopedList empty(ListCreate(0));
        const bool adds = name.find("Add") == 0 || name.find("Insert") == 0;
        const std::string result = operation(empty);
        EXPECT_TRUE(adds ? result == "1" : failed(result)) << name;
        EXPECT_EQ(Shape(empty), adds ? "[X]" : "") << name;
        EXPECT_TRUE(failed(operation(nullptr))) << name;
    }
    char item[] = "x";
    EXPECT_EQ(ListGet(nullptr, item) + ListCount(nullptr), 0u);
    EXPECT_EQ(ListGetListSize(nullptr), -2);
    ListUpdate(nullptr, item);
    ListFreeFx(nullptr, RecordRelease);
    ListDestroy(nullptr);
}

TEST(List, ItemsAreCopiedByKind) {
    ScopedList strings(StringList({"copied"}));
    EXPECT_EQ(memcmp(ListCurrent(strings), "copied\0", 8), 0) << "a spare byte, zero-filled";
    char buffer[16];
    EXPECT_EQ(ListGet(strings, buffer), 1);
    EXPECT_STREQ(buffer, "copied");
    // An item may be updated with its own text: the new copy is made first.
    ListUpdate(strings, ListCurrent(strings));
    ListUpdate(strings, nullptr);
    EXPECT_EQ(Text(ListCurrent(strings)), "copied");
    const int32_t record[3] = {42, 43, 44};
    ScopedList records(ListCreate(sizeof(record)));
    ASSERT_EQ(ListInsert(records, record), 1);
    void* copy = ListCurrent(records);
    int32_t out[3] = {};
    EXPECT_EQ(ListGet(records, out), 1);
    EXPECT_EQ(memcmp(out, record, sizeof(record)), 0);
    // A record update copies over the existing copy, in place.
    const int32_t changed[3] = {7, 8, 9};
    ListUpdate(records, const_cast<int32_t*>(changed));
    EXPECT_EQ(ListCurrent(records), copy);
    EXPECT_EQ(memcmp(copy, changed, sizeof(changed)), 0);
    // A removed copy is the caller's block of the list's heap.
    ASSERT_EQ(ListRemove(records), 1);
    EXPECT_EQ(MemHeapFree(ListGetHeap(), copy), 1);
    ScopedList pointers(ListCreate(-1));
    ListAdd(pointers, buffer);
    EXPECT_EQ(ListGet(pointers, buffer), 0);
}

TEST(List, ItemsThatAreNoHeapBlockGoToTheReleaseCallback) {
    char added[] = "added";
    // In front of this item lies what looks like the header of a block of the heap's first
    // system heap: it is checked before anything in front of it is read.
    char raw[16] = {1, 0, 0, 0, 'x', 0};
    // A block of the list's heap, though the list did not copy it, is freed into the heap.
    void* block = MemHeapAlloc(ListGetHeap(), 8);
    ASSERT_NE(block, nullptr);
    HLIST list = StringList({"copy"});
    ListFreeFx(list, RecordRelease);
    for (void* item : {static_cast<void*>(added), static_cast<void*>(raw + 4), block})
        ListAdd(list, item);
    ListInsert(list, "copy2");
    gReleased.clear();
    for (int i = 0; i < 3; ++i)
        ListDelete(list);
    EXPECT_EQ(gReleased, (std::vector<void*>{raw + 4}));
    // An update releases the old item the same way.
    ListUpdate(list, const_cast<char*>("updated"));
    EXPECT_EQ(gReleased, (std::vector<void*>{raw + 4, added}));
    ListAdd(list, added);
    gReleased.clear();
    ListDestroy(list);
    EXPECT_EQ(gReleased, (std::vector<void*>{added}));
    // A pointer list gives every item to the callback, but an update replaces a pointer without
    // releasing it.
    HLIST pointers = ListCreate(-1);
    ListAdd(pointers, added);
    ListAdd(pointers, raw);
    ListFreeFx(pointers, RecordRelease);
    ListUpdate(pointers, added);
    ListDestroy(pointers);
    EXPECT_EQ(gReleased, (std::vector<void*>{added, added, added}));
}

TEST(List, FindWithACallbackOrByItemValue) {
    ScopedList list(StringList({"one", "two", "three"}));
    static Strings compared;
    const auto longerThanKey = [](const void* key, const void* item) -> int32_t {
        compared.push_back(static_cast<const char*>(item));
        return strlen(static_cast<const char*>(item)) > strlen(static_cast<const char*>(key));
    };
    EXPECT_EQ(ListFind(list, "abc", longerThanKey, 0), 1);
    EXPECT_EQ(Text(ListCurrent(list)), "three");
    EXPECT_EQ(ListFind(list, "abcdefgh", longerThanKey, 0), 0);
    EXPECT_EQ(compared, (Strings{"one", "two", "three", "one", "two", "three"}));
    // Other kinds compare the item value: an equal record elsewhere is no match.
    int a = 1;
    ScopedList records(ListCreate(sizeof(int)));
    ListInsert(records, &a);
    EXPECT_EQ(ListFind(records, &a, nullptr, 0), 0);
    EXPECT_EQ(ListFind(records, ListCurrent(records), nullptr, 0), 1);
}

TEST(List, CountsOfListsCreatedAndDestroyed) {
    EXPECT_EQ(ListInfo(0, 3), -1);
    EXPECT_EQ(ListInfo(0, 0), -1);
    const int32_t created = ListInfo(0, LISTINFO_CREATED);
    const int32_t destroyed = ListInfo(99, LISTINFO_DESTROYED);
    HLIST list = ListCreateEx(-7, -1);
    EXPECT_EQ(ListGetListSize(list), -7);
    EXPECT_EQ(ListInfo(0, LISTINFO_CREATED) - created, 1);
    ListDestroy(list);
    EXPECT_EQ(ListInfo(0, LISTINFO_CREATED) - created, 1);
    EXPECT_EQ(ListInfo(0, LISTINFO_DESTROYED) - destroyed, 1);
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
}
