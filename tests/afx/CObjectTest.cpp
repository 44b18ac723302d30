#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <memory>

// Test classes: an abstract-ish base known only by its record, and two creatable classes.
class CTestShape : public CObject {
    DECLARE_DYNAMIC(CTestShape)
public:
    CTestShape() = default;
};

class CTestCircle : public CTestShape {
    DECLARE_DYNCREATE(CTestCircle)
public:
    CTestCircle() = default;
    int m_nRadius = 7;
};

class CTestSquare : public CTestShape {
    DECLARE_SERIAL(CTestSquare)
public:
    CTestSquare() = default;
};

IMPLEMENT_DYNAMIC(CTestShape, CObject)
IMPLEMENT_DYNCREATE(CTestCircle, CTestShape)
IMPLEMENT_SERIAL(CTestSquare, CTestShape, 2)

namespace {

TEST(CRuntimeClass, IsKindOfFollowsTheBaseChain) {
    CTestCircle circle;
    const CObject& object = circle;
    EXPECT_EQ(RUNTIME_CLASS(CTestCircle), object.GetRuntimeClass());
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CTestCircle)));
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CTestShape)));
    EXPECT_TRUE(object.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(object.IsKindOf(RUNTIME_CLASS(CTestSquare)));
    EXPECT_FALSE(object.IsKindOf(RUNTIME_CLASS(CException)));

    CObject* pObject = &circle;
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CTestShape, pObject));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CTestSquare, pObject));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CTestShape, static_cast<CObject*>(nullptr)));
    CTestSquare square;
    CObject* objects[] = {&square, &circle};
    int next = 0;
    EXPECT_EQ(&square, DYNAMIC_DOWNCAST(CTestShape, objects[next++]));
    EXPECT_EQ(1, next) << "the object expression is evaluated once";
}

TEST(CRuntimeClass, RecordsDescribeTheirClass) {
    const CRuntimeClass* rc = RUNTIME_CLASS(CTestCircle);
    EXPECT_STREQ("CTestCircle", rc->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CTestCircle)), rc->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, rc->m_wSchema);
    EXPECT_EQ(2u, RUNTIME_CLASS(CTestSquare)->m_wSchema);
    CTestSquare square;
    EXPECT_TRUE(square.IsSerializable());
    EXPECT_FALSE(CTestCircle().IsSerializable());
}

TEST(CRuntimeClass, CreateObjectOnlyForCreatableClasses) {
    std::unique_ptr<CObject> circle(RUNTIME_CLASS(CTestCircle)->CreateObject());
    ASSERT_NE(nullptr, circle);
    EXPECT_EQ(RUNTIME_CLASS(CTestCircle), circle->GetRuntimeClass());
    EXPECT_EQ(7, static_cast<CTestCircle*>(circle.get())->m_nRadius);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CTestShape)->CreateObject());
}

TEST(CRuntimeClass, FromNameFindsRegisteredClasses) {
    EXPECT_EQ(RUNTIME_CLASS(CTestCircle), CRuntimeClass::FromName("CTestCircle"));
    EXPECT_EQ(RUNTIME_CLASS(CTestSquare), CRuntimeClass::FromName("CTestSquare"));
    // Classes of the framework library register as well.
    EXPECT_EQ(RUNTIME_CLASS(CStringArray), CRuntimeClass::FromName("CStringArray"));
    // Only creatable classes register; names are matched exactly.
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CTestShape"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("ctestcircle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));

    std::unique_ptr<CObject> square(CRuntimeClass::CreateObject("CTestSquare"));
    ASSERT_NE(nullptr, square);
    EXPECT_TRUE(square->IsKindOf(RUNTIME_CLASS(CTestShape)));
    std::unique_ptr<CObject> array(CRuntimeClass::CreateObject("CObArray"));
    ASSERT_NE(nullptr, array);
    EXPECT_EQ(RUNTIME_CLASS(CObArray), array->GetRuntimeClass());
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CTestShape"));
}

} // namespace
