#include <bwcore/dircache/CPtrArrayEx.h>

#include "ReleaseLog.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <utility>
#include <vector>

namespace {

// The RemoveAtEx calls that reached the override below.
std::vector<std::pair<int, int>> g_overrideCalls;

class CLoggingPtrArray : public CPtrArrayEx {
public:
    using CPtrArrayEx::CPtrArrayEx;
    void RemoveAtEx(int nIndex, int nCount) override {
        g_overrideCalls.emplace_back(nIndex, nCount);
        CPtrArrayEx::RemoveAtEx(nIndex, nCount);
    }
};

std::vector<void*> Contents(const CPtrArray& a) {
    return std::vector<void*>(a.GetData(), a.GetData() + a.GetSize());
}

class CPtrArrayExTest : public testing::Test {
protected:
    void SetUp() override {
        g_released.clear();
        g_releasedOther.clear();
        g_overrideCalls.clear();
    }

    static void Fill(CPtrArray& a, int count) {
        for (int n = 1; n <= count; ++n)
            a.Add(Item(n));
    }
};

TEST_F(CPtrArrayExTest, RemoveAtExReleasesTheRangeInOrder) {
    CPtrArrayEx a(LogRelease);
    Fill(a, 5);
    a.RemoveAtEx(1, 2);
    EXPECT_EQ(Items({2, 3}), g_released);
    EXPECT_EQ(Items({1, 4, 5}), Contents(a));

    a.RemoveAtEx(0, 0);
    a.RemoveAtEx(3, 0); // an empty range may start at the end
    EXPECT_EQ(Items({2, 3}), g_released);
    EXPECT_EQ(Items({1, 4, 5}), Contents(a));
    a.RemoveAll(); // the base's removal releases nothing
    EXPECT_EQ(Items({2, 3}), g_released);
}

TEST_F(CPtrArrayExTest, InvalidRangesThrowAndReleaseNothing) {
    const std::pair<int, int> ranges[] = {{-1, 1},      {0, -1},      {4, 2},      {6, 0},
                                          {1, INT_MAX}, {INT_MAX, 1}, {INT_MIN, 2}};
    for (const auto& range : ranges) {
        SCOPED_TRACE(testing::Message() << range.first << ", " << range.second);
        CPtrArrayEx a(LogRelease);
        Fill(a, 5);
        EXPECT_THROW(a.RemoveAtEx(range.first, range.second), CInvalidArgException*);
        EXPECT_TRUE(g_released.empty());
        EXPECT_EQ(Items({1, 2, 3, 4, 5}), Contents(a));
        a.RemoveAll();
    }
}

TEST_F(CPtrArrayExTest, NullElementsAreSkipped) {
    CPtrArrayEx a(LogRelease);
    a.Add(Item(1));
    a.Add(nullptr);
    a.Add(Item(2));
    a.RemoveAllEx();
    EXPECT_EQ(Items({1, 2}), g_released);
    EXPECT_TRUE(a.IsEmpty());
}

TEST_F(CPtrArrayExTest, WithoutCallbackElementsAreFreed) {
    // Run under the leak checker: a block left unfreed is reported. The null element takes the
    // same path as in NullElementsAreSkipped.
    CPtrArrayEx a;
    a.Add(malloc(16));
    a.Add(nullptr);
    a.Add(malloc(1));
    a.Add(malloc(100));
    a.RemoveAtEx(0, 1);
    EXPECT_EQ(3, a.GetSize());
    a.RemoveAllEx();
    EXPECT_EQ(0, a.GetSize());

    CPtrArrayEx destroyed;
    destroyed.Add(malloc(8));
    destroyed.Add(nullptr);
    destroyed.Add(malloc(8));
}

TEST_F(CPtrArrayExTest, SetFxRoutesLaterReleases) {
    CPtrArrayEx a(LogRelease);
    Fill(a, 4);
    a.RemoveAtEx(0, 1);
    a.SetFx(LogReleaseOther);
    a.RemoveAtEx(0, 2);
    EXPECT_EQ(Items({1}), g_released);
    EXPECT_EQ(Items({2, 3}), g_releasedOther);
    EXPECT_EQ(Items({4}), Contents(a));
    a.SetFx(LogRelease);
    a.RemoveAllEx();
    EXPECT_EQ(Items({1, 4}), g_released);
}

TEST_F(CPtrArrayExTest, RemoveAllExGoesThroughAnOverride) {
    CLoggingPtrArray a(LogRelease);
    Fill(a, 3);
    a.RemoveAllEx();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 3}}), g_overrideCalls);
    EXPECT_EQ(Items({1, 2, 3}), g_released);
    EXPECT_EQ(nullptr, a.GetData()) << "RemoveAllEx gives the storage back";
}

TEST_F(CPtrArrayExTest, DestructorReleasesWithoutTheOverride) {
    {
        CLoggingPtrArray a(LogRelease);
        Fill(a, 3);
    }
    EXPECT_TRUE(g_overrideCalls.empty());
    EXPECT_EQ(Items({1, 2, 3}), g_released);
}

TEST_F(CPtrArrayExTest, BaseRemovalsDoNotRelease) {
    {
        CPtrArrayEx a(LogRelease);
        Fill(a, 4);
        a.RemoveAt(0);
        a.SetSize(1);
        a.RemoveAll();
    }
    EXPECT_TRUE(g_released.empty());
}

TEST_F(CPtrArrayExTest, KeepsTheBaseRuntimeClass) {
    CPtrArrayEx a;
    EXPECT_EQ(RUNTIME_CLASS(CPtrArray), a.GetRuntimeClass());
}

} // namespace
