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
class CTestSquare : public CTestShape {
    DECLARE_SERIAL(CTestSquare)
};
IMPLEMENT_DYNAMIC(CTestShape, CObject)
IMPLEMENT_DYNCREATE(CTestCircle, CTestShape)
IMPLEMENT_SERIAL(CTestSquare, CTestShape, 2)

namespace {

TEST(CRuntimeClass, IsKindOfFollowsTheBaseChain) {
    CTestCircle circle;
    CObject* object = &circle;
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CTestSquare)));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CTestSquare, object));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CTestShape, static_cast<CObject*>(nullptr)));
    CObject* objects[] = {object};
    int next = 0;
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CTestShape, objects[next++]));
    EXPECT_EQ(1, next) << "the object expression is evaluated once";
    EXPECT_TRUE(CTestSquare().IsSerializable());
    EXPECT_FALSE(circle.IsSerializable());
}

TEST(CRuntimeClass, OnlyCreatableClassesAreCreatedAndFoundByName) {
    std::unique_ptr<CObject> circle(RUNTIME_CLASS(CTestCircle)->CreateObject());
    ASSERT_NE(nullptr, circle);
    EXPECT_EQ(7, static_cast<CTestCircle*>(circle.get())->m_nRadius);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CTestShape)->CreateObject());
    EXPECT_EQ(RUNTIME_CLASS(CTestSquare), CRuntimeClass::FromName("CTestSquare"));
    EXPECT_EQ(RUNTIME_CLASS(CStringArray), CRuntimeClass::FromName("CStringArray"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CTestShape"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("ctestcircle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));
    std::unique_ptr<CObject> array(CRuntimeClass::CreateObject("CObArray"));
    ASSERT_NE(nullptr, array);
    EXPECT_EQ(RUNTIME_CLASS(CObArray), array->GetRuntimeClass());
}

} // namespace
