#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <vector>

namespace {

void* Item(int n) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(n));
}
int Number(const void* p) {
    return static_cast<int>(reinterpret_cast<intptr_t>(p));
}

// The elements head to tail, checked against a walk from the tail and against the count.
std::vector<int> Numbers(const CPtrList& list) {
    std::vector<int> forward;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
        forward.push_back(Number(list.GetNext(pos)));
    std::vector<int> backward;
    for (POSITION pos = list.GetTailPosition(); pos != nullptr;)
        backward.insert(backward.begin(), Number(list.GetPrev(pos)));
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<INT_PTR>(forward.size()), list.GetCount());
    return forward;
}

TEST(CPtrList, AddInsertFindAndRemove) {
    CPtrList list(2); // small blocks, so that nodes come from several
    const POSITION two = list.InsertBefore(nullptr, Item(2)); // into an empty list
    list.AddTail(Item(4));
    list.AddHead(Item(1));
    list.InsertAfter(two, Item(3));
    list.InsertBefore(nullptr, Item(0)); // null: at the head
    list.InsertAfter(nullptr, Item(5));  // null: at the tail
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), Numbers(list));
    EXPECT_EQ(two, list.FindIndex(2));
    EXPECT_EQ(nullptr, list.FindIndex(6));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    list.SetAt(list.Find(Item(4)), Item(2));
    EXPECT_EQ(list.FindIndex(4), list.Find(Item(2), two)) << "searching starts after the position";
    EXPECT_EQ(nullptr, list.Find(Item(1), list.Find(Item(1))));
    // Removing while walking, then at both ends.
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION current = pos;
        if (Number(list.GetNext(pos)) % 2 == 0)
            list.RemoveAt(current);
    }
    EXPECT_EQ((std::vector<int>{1, 3, 5}), Numbers(list));
    // A freed node is the next one handed out.
    const POSITION freed = list.FindIndex(1);
    list.RemoveAt(freed);
    EXPECT_EQ(freed, list.AddTail(Item(7)));
    EXPECT_EQ(1, Number(list.RemoveHead()));
    EXPECT_EQ(7, Number(list.RemoveTail()));
    EXPECT_EQ((std::vector<int>{5}), Numbers(list));
}

TEST(CPtrList, EmptyListsThrowAndRefillAndWholeListsAreAdded) {
    CPtrList list(1); // a block per node: every node is a block boundary
    for (int round = 0; round < 3; ++round) {
        for (int n = 1; n <= 7; ++n)
            list.AddHead(Item(n));
        while (!list.IsEmpty())
            list.RemoveTail();
    }
    EXPECT_THROW(list.RemoveHead(), CInvalidArgException*);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException*);
    EXPECT_THROW(list.GetHead(), CInvalidArgException*);
    EXPECT_THROW(list.RemoveAt(nullptr), CInvalidArgException*);
    EXPECT_THROW(CPtrList(0), CInvalidArgException*);
    CPtrList other;
    list.AddTail(Item(3));
    other.AddTail(Item(1));
    other.AddTail(Item(2));
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2}), Numbers(list));
    other.AddTail(&other);
    other.AddHead(&other);
    EXPECT_EQ((std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}), Numbers(other));
    EXPECT_THROW(list.AddTail(static_cast<CPtrList*>(nullptr)), CInvalidArgException*);
}

} // namespace
