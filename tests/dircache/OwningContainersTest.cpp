// The three owning containers, as one typed test: what they release, when, how often and in which
// order. The arrays' ranges are tested over the two arrays.
#include <bwcore/dircache/CObArrayEx.h>
#include <bwcore/dircache/CPtrArrayEx.h>
#include <bwcore/dircache/CPtrListEx.h>

#include <gtest/gtest.h>

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>

#include <type_traits>

#include <utility>
#include <vector>

namespace {

std::vector<void*> released;
std::vector<void*> releasedOther;
std::vector<std::pair<int, int>> overrideCalls;

long LogRelease(void* p) {
    released.push_back(p);
    return 0;
}
// Its non-zero result must change nothing.
long LogReleaseOther(void* p) {
    releasedOther.push_back(p);
    return -1;
}

// Distinct pointer values, never dereferenced; 0 is null.
std::vector<void*> Items(std::initializer_list<int> numbers) {
    std::vector<void*> items;
    for (int n : numbers)
        items.push_back(reinterpret_cast<void*>(static_cast<intptr_t>(n)));
    return items;
}

void Add(CPtrArrayEx& c, void* p) {
    c.Add(p);
}
void Add(CObArrayEx& c, void* p) {
    c.Add(static_cast<CObject*>(p));
}
void Add(CPtrListEx& c, void* p) {
    c.AddTail(p);
}
template <typename Container>
void Fill(Container& c, const std::vector<void*>& items) {
    for (void* p : items)
        Add(c, p);
}
template <typename Array>
std::vector<void*> Contents(Array& a) {
    return std::vector<void*>(a.GetData(), a.GetData() + a.GetSize());
}

template <typename Container>
class OwningContainer : public testing::Test {
protected:
    // Without a callback the pointer containers free their elements; the object array does not.
    static constexpr bool kFrees = !std::is_same<Container, CObArrayEx>::value;
    void SetUp() override {
        released.clear();
        releasedOther.clear();
        overrideCalls.clear();
    }
};

using Containers = testing::Types<CPtrArrayEx, CObArrayEx, CPtrListEx>;
TYPED_TEST_SUITE(OwningContainer, Containers);

TYPED_TEST(OwningContainer, ReleasesEachNonNullElementOnceInOrder) {
    {
        TypeParam c(LogReleaseOther);
        Fill(c, Items({1, 2}));
        c.RemoveAll();
        EXPECT_TRUE(releasedOther.empty()) << "the base's removal releases nothing";
        // More than one block of list nodes (10).
        Fill(c, Items({1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        c.RemoveAllEx();
        EXPECT_EQ(Items({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), releasedOther);
        EXPECT_TRUE(c.IsEmpty());
        c.SetFx(LogRelease);
        Fill(c, Items({12, 0, 13}));
    }
    EXPECT_EQ(Items({12, 13}), released) << "the destructor releases what is left";
    EXPECT_EQ(11u, releasedOther.size());
}

// Run under the leak checker: a pointer container that leaves a block unfreed is reported, and
// an object array that frees one has it freed twice below.
TYPED_TEST(OwningContainer, WithoutCallbackPointersAreFreedAndObjectsLeftAlone) {
    std::vector<void*> blocks = {malloc(16), nullptr, malloc(1)};
    {
        TypeParam c;
        Fill(c, blocks);
        c.RemoveAllEx();
        blocks.push_back(malloc(8));
        Fill(c, {blocks.back()});
    }
    if (!this->kFrees)
        for (void* p : blocks)
            free(p);
}

template <typename Array>
class OwningArray : public OwningContainer<Array> {};
using Arrays = testing::Types<CPtrArrayEx, CObArrayEx>;
TYPED_TEST_SUITE(OwningArray, Arrays);

// Logs the RemoveAtEx calls that reach it through the virtual table.
template <typename Array>
struct Logging : Array {
    using Array::Array;
    void RemoveAtEx(int nIndex, int nCount) override {
        overrideCalls.emplace_back(nIndex, nCount);
        Array::RemoveAtEx(nIndex, nCount);
    }
};

// A range outside the array throws and releases nothing.
TYPED_TEST(OwningArray, RemoveAtExReleasesTheRangeThenMovesTheRestDown) {
    TypeParam a(LogRelease);
    Fill(a, Items({1, 2, 3, 4, 5}));
    a.RemoveAtEx(1, 2);
    a.RemoveAtEx(0, 0);
    a.RemoveAtEx(3, 0);
    const std::pair<int, int> outside[] = {{-1, 1},      {0, -1},      {2, 2},      {4, 0},
                                           {1, INT_MAX}, {INT_MAX, 1}, {INT_MIN, 2}};
    for (const auto& range : outside)
        EXPECT_THROW(a.RemoveAtEx(range.first, range.second), CInvalidArgException*)
            << range.first << ", " << range.second;
    EXPECT_EQ(Items({2, 3}), released);
    EXPECT_EQ(Items({1, 4, 5}), Contents(a));
    a.RemoveAt(0);
    a.SetSize(1);
    EXPECT_EQ(Items({2, 3}), released) << "the base's removals release nothing";
    a.RemoveAll();
}

TYPED_TEST(OwningArray, RemoveAllExGoesThroughAnOverrideAndTheDestructorDoesNot) {
    {
        Logging<TypeParam> a(LogRelease);
        Fill(a, Items({1, 2, 3}));
        a.RemoveAllEx();
        EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 3}}), overrideCalls);
        EXPECT_EQ(nullptr, a.GetData()) << "RemoveAllEx gives the storage back";
        Fill(a, Items({4}));
    }
    EXPECT_EQ(1u, overrideCalls.size());
    EXPECT_EQ(Items({1, 2, 3, 4}), released);
}

} // namespace
