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
    EXPECT_EQ(forward.empty(), static_cast<bool>(list.IsEmpty()));
    return forward;
}

TEST(CPtrList, AddsAtBothEnds) {
    CPtrList list;
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());
    list.AddTail(Item(2));
    list.AddHead(Item(1));
    const POSITION three = list.AddTail(Item(3));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Numbers(list));
    EXPECT_EQ(three, list.GetTailPosition());
    EXPECT_EQ(1, Number(list.GetHead()));
    EXPECT_EQ(3, Number(list.GetTail()));
    EXPECT_EQ(3, list.GetSize());

    list.GetHead() = Item(7);
    list.GetTail() = Item(9);
    list.GetAt(list.FindIndex(1)) = Item(8);
    EXPECT_EQ((std::vector<int>{7, 8, 9}), Numbers(list));
    list.SetAt(three, Item(4));
    EXPECT_EQ(4, Number(static_cast<const CPtrList&>(list).GetAt(three)));
}

TEST(CPtrList, RemovesAtBothEnds) {
    CPtrList list;
    for (int n = 1; n <= 4; ++n)
        list.AddTail(Item(n));
    EXPECT_EQ(1, Number(list.RemoveHead()));
    EXPECT_EQ(4, Number(list.RemoveTail()));
    EXPECT_EQ((std::vector<int>{2, 3}), Numbers(list));
    EXPECT_EQ(2, Number(list.RemoveHead()));
    EXPECT_EQ(3, Number(list.RemoveHead()));
    EXPECT_EQ((std::vector<int>{}), Numbers(list));

    EXPECT_THROW(list.RemoveHead(), CInvalidArgException*);
    EXPECT_THROW(list.RemoveTail(), CInvalidArgException*);
    EXPECT_THROW(list.GetHead(), CInvalidArgException*);
    EXPECT_THROW(static_cast<const CPtrList&>(list).GetTail(), CInvalidArgException*);
    POSITION none = nullptr;
    EXPECT_THROW(list.GetNext(none), CInvalidArgException*);
    EXPECT_THROW(list.RemoveAt(nullptr), CInvalidArgException*);
}

TEST(CPtrList, InsertsBeforeAndAfter) {
    CPtrList list;
    const POSITION two = list.InsertBefore(nullptr, Item(2)); // into an empty list
    list.InsertAfter(two, Item(4));
    list.InsertBefore(two, Item(1));
    list.InsertAfter(two, Item(3));
    list.InsertBefore(nullptr, Item(0)); // null: at the head
    list.InsertAfter(nullptr, Item(5));  // null: at the tail
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 5}), Numbers(list));
}

TEST(CPtrList, FindAndFindIndex) {
    CPtrList list;
    for (int n : {1, 2, 1, 3})
        list.AddTail(Item(n));
    const POSITION first = list.Find(Item(1));
    EXPECT_EQ(list.GetHeadPosition(), first);
    const POSITION second = list.Find(Item(1), first);
    EXPECT_EQ(list.FindIndex(2), second);
    EXPECT_EQ(nullptr, list.Find(Item(1), second));
    EXPECT_EQ(nullptr, list.Find(Item(9)));
    EXPECT_EQ(list.GetTailPosition(), list.FindIndex(3));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
}

TEST(CPtrList, RemoveAtWhileWalking) {
    CPtrList list;
    for (int n = 1; n <= 6; ++n)
        list.AddTail(Item(n));
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        const POSITION current = pos;
        if (Number(list.GetNext(pos)) % 2 == 0)
            list.RemoveAt(current);
    }
    EXPECT_EQ((std::vector<int>{1, 3, 5}), Numbers(list));
    list.RemoveAt(list.GetTailPosition());
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_EQ((std::vector<int>{3}), Numbers(list));
}

TEST(CPtrList, FreedNodesAreReusedFirst) {
    CPtrList list(2);
    list.AddTail(Item(1));
    const POSITION two = list.AddTail(Item(2));
    list.AddTail(Item(3)); // from a second block
    list.RemoveAt(two);
    EXPECT_EQ(two, list.AddHead(Item(4)));
    EXPECT_EQ((std::vector<int>{4, 1, 3}), Numbers(list));
}

TEST(CPtrList, NodesOfABlockAreHandedOutInOrder) {
    CPtrList list(4);
    std::vector<uintptr_t> addresses;
    for (int n = 1; n <= 4; ++n)
        addresses.push_back(reinterpret_cast<uintptr_t>(list.AddTail(Item(n))));
    const uintptr_t stride = addresses[1] - addresses[0];
    EXPECT_GT(stride, 0u);
    EXPECT_EQ(stride, addresses[2] - addresses[1]);
    EXPECT_EQ(stride, addresses[3] - addresses[2]);
}

TEST(CPtrList, EmptyingAndRefilling) {
    // Block sizes of 1 and 3 exercise block boundaries; the blocks are given back whenever the
    // list becomes empty (the leak checker sees the rest).
    for (INT_PTR blockSize : {1, 3}) {
        SCOPED_TRACE(blockSize);
        CPtrList list(blockSize);
        for (int round = 0; round < 3; ++round) {
            for (int n = 1; n <= 7; ++n)
                list.AddTail(Item(n));
            while (!list.IsEmpty())
                list.RemoveHead();
        }
        for (int n = 1; n <= 5; ++n)
            list.AddHead(Item(n));
        EXPECT_EQ((std::vector<int>{5, 4, 3, 2, 1}), Numbers(list));
        list.RemoveAll();
        EXPECT_EQ((std::vector<int>{}), Numbers(list));
        list.AddTail(Item(1));
        EXPECT_EQ((std::vector<int>{1}), Numbers(list));
    }
    EXPECT_THROW(CPtrList(0), CInvalidArgException*);
}

TEST(CPtrList, AddsWholeLists) {
    CPtrList list;
    CPtrList other;
    list.AddTail(Item(3));
    other.AddTail(Item(1));
    other.AddTail(Item(2));
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2}), Numbers(list));
    EXPECT_EQ((std::vector<int>{1, 2}), Numbers(other));

    CPtrList self;
    self.AddTail(Item(1));
    self.AddTail(Item(2));
    self.AddTail(&self);
    self.AddHead(&self);
    EXPECT_EQ((std::vector<int>{1, 2, 1, 2, 1, 2, 1, 2}), Numbers(self));
    EXPECT_THROW(self.AddTail(static_cast<CPtrList*>(nullptr)), CInvalidArgException*);
}

TEST(CPtrList, RuntimeClass) {
    CPtrList list;
    EXPECT_EQ(RUNTIME_CLASS(CPtrList), list.GetRuntimeClass());
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
}

} // namespace
