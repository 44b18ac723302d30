#include <bwcore/dircache/CObArrayEx.h>

#include "ReleaseLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// Counts its live instances, so a test sees whether the array deleted anything.
class CCounted : public CObject {
public:
    CCounted() { ++s_live; }
    ~CCounted() override { --s_live; }
    static int s_live;
};
int CCounted::s_live = 0;

std::vector<std::pair<int, int>> g_overrideCalls;

class CLoggingObArray : public CObArrayEx {
public:
    using CObArrayEx::CObArrayEx;
    void RemoveAtEx(int nIndex, int nCount) override {
        g_overrideCalls.emplace_back(nIndex, nCount);
        CObArrayEx::RemoveAtEx(nIndex, nCount);
    }
};

class CObArrayExTest : public testing::Test {
protected:
    void SetUp() override {
        g_released.clear();
        g_releasedOther.clear();
        g_overrideCalls.clear();
        for (auto& object : m_objects)
            object = std::make_unique<CCounted>();
    }

    void Fill(CObArray& a) {
        for (auto& object : m_objects)
            a.Add(object.get());
    }

    std::vector<void*> Objects(std::initializer_list<int> indexes) const {
        std::vector<void*> objects;
        for (int i : indexes)
            objects.push_back(m_objects[i].get());
        return objects;
    }

    static std::vector<void*> Contents(const CObArray& a) {
        return std::vector<void*>(a.GetData(), a.GetData() + a.GetSize());
    }

    std::unique_ptr<CCounted> m_objects[5];
};

TEST_F(CObArrayExTest, WithoutCallbackNothingIsReleased) {
    {
        CObArrayEx a;
        Fill(a);
        a.RemoveAtEx(1, 2);
        EXPECT_EQ(Objects({0, 3, 4}), Contents(a));
        a.RemoveAllEx();
        EXPECT_TRUE(a.IsEmpty());
        Fill(a);
        EXPECT_EQ(5, CCounted::s_live);
    }
    EXPECT_EQ(5, CCounted::s_live) << "the objects outlive the array";
}

TEST_F(CObArrayExTest, CallbackSeesEachObjectOnce) {
    {
        CObArrayEx a(LogRelease);
        Fill(a);
        a.InsertAt(2, static_cast<CObject*>(nullptr));
        a.RemoveAtEx(1, 3); // objects 1, null, 2
        EXPECT_EQ(Objects({1, 2}), g_released);
        EXPECT_EQ(Objects({0, 3, 4}), Contents(a));
    }
    EXPECT_EQ(Objects({1, 2, 0, 3, 4}), g_released);
    EXPECT_EQ(5, CCounted::s_live);
}

TEST_F(CObArrayExTest, InvalidRangesThrowAndReleaseNothing) {
    CObArrayEx a(LogRelease);
    Fill(a);
    for (const auto& range : {std::make_pair(-1, 1), std::make_pair(0, 6), std::make_pair(5, 1)}) {
        EXPECT_THROW(a.RemoveAtEx(range.first, range.second), CInvalidArgException*);
    }
    EXPECT_TRUE(g_released.empty());
    EXPECT_EQ(Objects({0, 1, 2, 3, 4}), Contents(a));
    a.SetFx(nullptr);
}

TEST_F(CObArrayExTest, SetFxRoutesLaterReleases) {
    CObArrayEx a(LogRelease);
    Fill(a);
    a.RemoveAtEx(4, 1);
    a.SetFx(LogReleaseOther);
    a.RemoveAtEx(0, 2);
    a.SetFx(nullptr);
    a.RemoveAllEx();
    EXPECT_EQ(Objects({4}), g_released);
    EXPECT_EQ(Objects({0, 1}), g_releasedOther);
}

TEST_F(CObArrayExTest, RemoveAllExHonoursAnOverrideButTheDestructorDoesNot) {
    {
        CLoggingObArray a(LogRelease);
        Fill(a);
        a.RemoveAllEx();
        EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 5}}), g_overrideCalls);
        EXPECT_EQ(nullptr, a.GetData());
        Fill(a);
    }
    EXPECT_EQ(1u, g_overrideCalls.size());
    EXPECT_EQ(10u, g_released.size());
}

TEST_F(CObArrayExTest, KeepsTheBaseRuntimeClass) {
    CObArrayEx a;
    EXPECT_EQ(RUNTIME_CLASS(CObArray), a.GetRuntimeClass());
    EXPECT_TRUE(a.IsKindOf(RUNTIME_CLASS(CObArray)));
}

} // namespace
