#include <bwcore/dircache/CPtrListEx.h>

#include "ReleaseLog.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <vector>

namespace {

class CPtrListExTest : public testing::Test {
protected:
    void SetUp() override {
        g_released.clear();
        g_releasedOther.clear();
    }
};

TEST_F(CPtrListExTest, ReleasesHeadFirst) {
    CPtrListEx list(LogReleaseOther); // a non-zero callback result changes nothing
    list.AddTail(Item(2));
    list.AddTail(static_cast<void*>(nullptr));
    list.AddTail(Item(3));
    list.AddHead(Item(1));
    list.RemoveAllEx();
    EXPECT_EQ(Items({1, 2, 3}), g_releasedOther);
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(Item(4));
    EXPECT_EQ(1, list.GetCount());
    list.SetFx(LogRelease);
}

TEST_F(CPtrListExTest, DestructorReleasesHeadFirst) {
    {
        CPtrListEx list(LogRelease);
        for (int n = 1; n <= 12; ++n) // more than one block of nodes
            list.AddTail(Item(n));
    }
    EXPECT_EQ(Items({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), g_released);
}

TEST_F(CPtrListExTest, BaseRemovalsDoNotRelease) {
    {
        CPtrListEx list(LogRelease);
        list.AddTail(Item(1));
        list.AddTail(Item(2));
        list.AddTail(Item(3));
        EXPECT_EQ(Item(1), list.RemoveHead());
        list.RemoveAt(list.GetTailPosition());
        list.RemoveAll();
    }
    EXPECT_TRUE(g_released.empty());
}

TEST_F(CPtrListExTest, WithoutCallbackElementsAreFreed) {
    // Run under the leak checker: a block left unfreed is reported.
    CPtrListEx list;
    list.AddTail(malloc(4));
    list.AddTail(static_cast<void*>(nullptr));
    list.AddTail(malloc(40));
    list.RemoveAllEx();
    list.AddTail(malloc(8));
    list.SetFx(nullptr);
}

TEST_F(CPtrListExTest, SetFxRoutesLaterReleases) {
    CPtrListEx list;
    list.SetFx(LogRelease);
    list.AddTail(Item(1));
    list.RemoveAllEx();
    list.SetFx(LogReleaseOther);
    list.AddTail(Item(2));
    list.RemoveAllEx();
    EXPECT_EQ(Items({1}), g_released);
    EXPECT_EQ(Items({2}), g_releasedOther);
}

TEST_F(CPtrListExTest, KeepsTheBaseRuntimeClass) {
    CPtrListEx list;
    EXPECT_EQ(RUNTIME_CLASS(CPtrList), list.GetRuntimeClass());
}

} // namespace
