#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <memory>

class CTestShape : public CObject {
    DECLARE_DYNAMIC(CTestShape)
};
class CTestCircle : public CTestShape {
    DECLARE_DYNCREATE(CTestCircle)
public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNAMIC(CTestShape, CObject)
IMPLEMENT_DYNCREATE(CTestCircle, CTestShape)

namespace {

TEST(CRuntimeClass, KindsAndCreation) {
    CTestCircle circle;
    CObject* objects[] = {&circle};
    int next = 0;
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CTestShape, objects[next++]));
    EXPECT_EQ(1, next) << "the object expression is evaluated once";
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CTestCircle, static_cast<CObject*>(nullptr)));
    EXPECT_FALSE(CTestShape().IsKindOf(RUNTIME_CLASS(CTestCircle)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    // Only creatable classes are created and found by name, which is matched exactly.
    std::unique_ptr<CObject> created(CRuntimeClass::CreateObject("CTestCircle"));
    ASSERT_NE(nullptr, created);
    EXPECT_EQ(7, static_cast<CTestCircle*>(created.get())->m_nRadius);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CTestShape)->CreateObject());
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CTestShape"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("ctestcircle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));
    EXPECT_EQ(RUNTIME_CLASS(CStringArray), CRuntimeClass::FromName("CStringArray"));
}

} // namespace
