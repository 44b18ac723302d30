// The three owning containers, as one typed test: what they release, when, how often and in which
// order. The arrays' ranges are tested over the two arrays.
#include <bwcore/dircache/CObArrayEx.h>
#include <bwcore/dircache/CPtrArrayEx.h>
#include <bwcore/dircache/CPtrListEx.h>

#include <gtest/gtest.h>

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>

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

template <typename Container>
struct Traits;
template <>
struct Traits<CPtrArrayEx> {
    static void Add(CPtrArrayEx& c, void* p) { c.Add(p); }
    static std::vector<void*> Contents(CPtrArrayEx& c) {
        return std::vector<void*>(c.GetData(), c.GetData() + c.GetSize());
    }
    static CRuntimeClass* Base() { return RUNTIME_CLASS(CPtrArray); }
    static constexpr bool kFreesWithoutCallback = true;
};
template <>
struct Traits<CObArrayEx> {
    static void Add(CObArrayEx& c, void* p) { c.Add(static_cast<CObject*>(p)); }
    static std::vector<void*> Contents(CObArrayEx& c) {
        return std::vector<void*>(c.GetData(), c.GetData() + c.GetSize());
    }
    static CRuntimeClass* Base() { return RUNTIME_CLASS(CObArray); }
    static constexpr bool kFreesWithoutCallback = false;
};
template <>
struct Traits<CPtrListEx> {
    static void Add(CPtrListEx& c, void* p) { c.AddTail(p); }
    static CRuntimeClass* Base() { return RUNTIME_CLASS(CPtrList); }
    static constexpr bool kFreesWithoutCallback = true;
};

template <typename Container>
class OwningContainer : public testing::Test {
protected:
    using T = Traits<Container>;
    void SetUp() override {
        released.clear();
        releasedOther.clear();
        overrideCalls.clear();
    }
    static void Fill(Container& c, const std::vector<void*>& items) {
        for (void* p : items)
            T::Add(c, p);
    }
};

using Containers = testing::Types<CPtrArrayEx, CObArrayEx, CPtrListEx>;
TYPED_TEST_SUITE(OwningContainer, Containers);

TYPED_TEST(OwningContainer, ReleasesEachNonNullElementOnceInOrder) {
    {
        TypeParam c(LogReleaseOther);
        EXPECT_EQ(Traits<TypeParam>::Base(), c.GetRuntimeClass());
        // More than one block of list nodes (10).
        this->Fill(c, Items({1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        c.RemoveAllEx();
        EXPECT_EQ(Items({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), releasedOther);
        EXPECT_TRUE(c.IsEmpty());
        c.SetFx(LogRelease);
        this->Fill(c, Items({12, 0, 13}));
    }
    EXPECT_EQ(Items({12, 13}), released) << "the destructor releases what is left";
    EXPECT_EQ(11u, releasedOther.size());
}

TYPED_TEST(OwningContainer, BaseRemovalsReleaseNothing) {
    {
        TypeParam c(LogRelease);
        this->Fill(c, Items({1, 2, 3}));
        c.RemoveAll();
    }
    EXPECT_TRUE(released.empty());
}

// Run under the leak checker: a pointer container that leaves a block unfreed is reported, and
// an object array that frees one has it freed twice below.
TYPED_TEST(OwningContainer, WithoutCallbackPointersAreFreedAndObjectsLeftAlone) {
    std::vector<void*> blocks = {malloc(16), nullptr, malloc(1)};
    {
        TypeParam c;
        this->Fill(c, blocks);
        c.RemoveAllEx();
        void* last = malloc(8);
        this->Fill(c, {last});
        if (!Traits<TypeParam>::kFreesWithoutCallback)
            blocks.push_back(last);
    }
    if (!Traits<TypeParam>::kFreesWithoutCallback)
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

TYPED_TEST(OwningArray, RemoveAtExReleasesTheRangeThenMovesTheRestDown) {
    TypeParam a(LogRelease);
    this->Fill(a, Items({1, 2, 3, 4, 5}));
    a.RemoveAtEx(1, 2);
    a.RemoveAtEx(0, 0);
    a.RemoveAtEx(3, 0);
    EXPECT_EQ(Items({2, 3}), released);
    EXPECT_EQ(Items({1, 4, 5}), Traits<TypeParam>::Contents(a));
    a.RemoveAt(0);
    a.SetSize(1);
    EXPECT_EQ(Items({2, 3}), released) << "the base's removals release nothing";
    a.RemoveAll();
}

TYPED_TEST(OwningArray, RangesOutsideTheArrayThrowAndReleaseNothing) {
    const std::pair<int, int> ranges[] = {{-1, 1},      {0, -1},      {4, 2},      {6, 0},
                                          {1, INT_MAX}, {INT_MAX, 1}, {INT_MIN, 2}};
    TypeParam a(LogRelease);
    this->Fill(a, Items({1, 2, 3, 4, 5}));
    for (const auto& range : ranges)
        EXPECT_THROW(a.RemoveAtEx(range.first, range.second), CInvalidArgException*)
            << range.first << ", " << range.second;
    EXPECT_TRUE(released.empty());
    EXPECT_EQ(Items({1, 2, 3, 4, 5}), Traits<TypeParam>::Contents(a));
    a.RemoveAll();
}

TYPED_TEST(OwningArray, RemoveAllExGoesThroughAnOverrideAndTheDestructorDoesNot) {
    {
        Logging<TypeParam> a(LogRelease);
        this->Fill(a, Items({1, 2, 3}));
        a.RemoveAllEx();
        EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 3}}), overrideCalls);
        EXPECT_EQ(nullptr, a.GetData()) << "RemoveAllEx gives the storage back";
        this->Fill(a, Items({4}));
    }
    EXPECT_EQ(1u, overrideCalls.size());
    EXPECT_EQ(Items({1, 2, 3, 4}), released);
}

} // namespace
