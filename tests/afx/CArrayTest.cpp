#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdint.h>
#include <stdlib.h>
#include <vector>

namespace {

// Element values for each array class, numbered from 1; 0 stands for the null or empty element
// that growing puts in.
class CItem : public CObject {};
CItem g_items[32];

template <class ARRAY>
struct Elements;

template <>
struct Elements<CObArray> {
    static CObject* Make(int n) { return &g_items[n]; }
    static int Number(const CObject* p) {
        return p ? static_cast<int>(static_cast<const CItem*>(p) - g_items) : 0;
    }
};

template <>
struct Elements<CPtrArray> {
    static void* Make(int n) { return reinterpret_cast<void*>(static_cast<intptr_t>(n)); }
    static int Number(const void* p) { return static_cast<int>(reinterpret_cast<intptr_t>(p)); }
};

template <>
struct Elements<CStringArray> {
    static CString Make(int n) {
        CString s;
        s.Format("%d", n);
        return s;
    }
    static int Number(const CString& s) { return atoi(s); }
};

template <class ARRAY>
class ArrayTest : public testing::Test {
protected:
    using E = Elements<ARRAY>;

    static void Fill(ARRAY& a, std::initializer_list<int> numbers) {
        a.RemoveAll();
        for (int n : numbers)
            a.Add(E::Make(n));
    }

    static std::vector<int> Numbers(const ARRAY& a) {
        std::vector<int> numbers;
        for (INT_PTR i = 0; i < a.GetSize(); ++i)
            numbers.push_back(E::Number(a.GetAt(i)));
        return numbers;
    }
};

using ArrayTypes = testing::Types<CObArray, CPtrArray, CStringArray>;
TYPED_TEST_SUITE(ArrayTest, ArrayTypes);

TYPED_TEST(ArrayTest, AddAndAccess) {
    using Elem = Elements<TypeParam>;
    TypeParam a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(-1, a.GetUpperBound());
    EXPECT_EQ(0, a.Add(Elem::Make(1)));
    EXPECT_EQ(1, a.Add(Elem::Make(2)));
    EXPECT_EQ(2, a.Add(Elem::Make(3)));
    EXPECT_EQ(3, a.GetSize());
    EXPECT_EQ(3, a.GetCount());
    EXPECT_EQ(2, a.GetUpperBound());
    EXPECT_FALSE(a.IsEmpty());

    a.SetAt(0, Elem::Make(4));
    a[1] = Elem::Make(5);
    a.ElementAt(2) = Elem::Make(6);
    EXPECT_EQ((std::vector<int>{4, 5, 6}), this->Numbers(a));
    EXPECT_EQ(5, Elem::Number(a.GetData()[1]));
    const TypeParam& ca = a;
    EXPECT_EQ(6, Elem::Number(ca[2]));
    EXPECT_EQ(4, Elem::Number(ca.ElementAt(0)));
}

TYPED_TEST(ArrayTest, RangeErrorsThrowAndChangeNothing) {
    using Elem = Elements<TypeParam>;
    TypeParam other;
    const std::vector<std::function<void(TypeParam&)>> operations = {
        [](TypeParam& a) { a.GetAt(-1); },
        [](TypeParam& a) { a.GetAt(5); },
        [](TypeParam& a) { a.SetAt(5, Elem::Make(9)); },
        [](TypeParam& a) { a.SetAt(-1, Elem::Make(9)); },
        [](TypeParam& a) { a.ElementAt(5); },
        [](TypeParam& a) { a[-1]; },
        [](TypeParam& a) { a.RemoveAt(-1); },
        [](TypeParam& a) { a.RemoveAt(5); },
        [](TypeParam& a) { a.RemoveAt(0, -1); },
        [](TypeParam& a) { a.RemoveAt(3, 3); },
        [](TypeParam& a) { a.RemoveAt(6, 0); },
        [](TypeParam& a) { a.RemoveAt(1, INTPTR_MAX); },
        [](TypeParam& a) { a.InsertAt(-1, Elem::Make(9)); },
        [](TypeParam& a) { a.InsertAt(0, Elem::Make(9), -1); },
        [&other](TypeParam& a) { a.InsertAt(-1, &other); },
        [](TypeParam& a) { a.InsertAt(0, static_cast<TypeParam*>(nullptr)); },
        [](TypeParam& a) { a.SetAtGrow(-1, Elem::Make(9)); },
        [](TypeParam& a) { a.SetSize(-1); },
    };
    for (size_t i = 0; i < operations.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "operation " << i);
        TypeParam a;
        this->Fill(a, {1, 2, 3, 4, 5});
        EXPECT_THROW(operations[i](a), CInvalidArgException*);
        EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), this->Numbers(a));
    }
}

TYPED_TEST(ArrayTest, RemoveAtARange) {
    TypeParam a;
    this->Fill(a, {1, 2, 3, 4, 5});
    a.RemoveAt(1, 2);
    EXPECT_EQ((std::vector<int>{1, 4, 5}), this->Numbers(a));
    a.RemoveAt(3, 0); // an empty range may start at the end
    a.RemoveAt(1, 0);
    EXPECT_EQ((std::vector<int>{1, 4, 5}), this->Numbers(a));
    a.RemoveAt(0);
    EXPECT_EQ((std::vector<int>{4, 5}), this->Numbers(a));
    a.RemoveAt(0, 2);
    EXPECT_TRUE(a.IsEmpty());
}

TYPED_TEST(ArrayTest, SetSizeGrowsByTheStep) {
    using Elem = Elements<TypeParam>;
    TypeParam a;
    a.SetSize(1, 8); // the first allocation takes the whole step
    const auto* data = a.GetData();
    for (int n = 2; n <= 8; ++n)
        a.Add(Elem::Make(n));
    EXPECT_EQ(data, a.GetData()) << "growing within the step must not move the elements";
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4, 5, 6, 7, 8}), this->Numbers(a));

    a.SetSize(3); // shrinking keeps the storage and the first elements
    EXPECT_EQ(data, a.GetData());
    EXPECT_EQ((std::vector<int>{0, 2, 3}), this->Numbers(a));
    a.SetSize(5); // regrown elements are null again
    EXPECT_EQ((std::vector<int>{0, 2, 3, 0, 0}), this->Numbers(a));

    a.FreeExtra();
    EXPECT_EQ((std::vector<int>{0, 2, 3, 0, 0}), this->Numbers(a));
    a.SetSize(0, -1);
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(nullptr, a.GetData());
    a.Add(Elem::Make(1));
    a.RemoveAll();
    EXPECT_EQ(nullptr, a.GetData());
}

TYPED_TEST(ArrayTest, ImpossibleSizesRaiseBadAlloc) {
    using Elem = Elements<TypeParam>;
    TypeParam a;
    this->Fill(a, {1, 2});
    EXPECT_THROW(a.SetSize(INTPTR_MAX), std::bad_alloc);
    EXPECT_THROW(a.SetAtGrow(INTPTR_MAX - 1, Elem::Make(3)), std::bad_alloc);
    EXPECT_THROW(a.InsertAt(1, Elem::Make(3), INTPTR_MAX / 2), std::bad_alloc);
    EXPECT_EQ((std::vector<int>{1, 2}), this->Numbers(a));
}

TYPED_TEST(ArrayTest, InsertAtAndSetAtGrow) {
    using Elem = Elements<TypeParam>;
    TypeParam a;
    this->Fill(a, {1, 2, 3});
    a.InsertAt(1, Elem::Make(9), 2);
    EXPECT_EQ((std::vector<int>{1, 9, 9, 2, 3}), this->Numbers(a));
    a.InsertAt(7, Elem::Make(8)); // past the end: the array grows first
    EXPECT_EQ((std::vector<int>{1, 9, 9, 2, 3, 0, 0, 8}), this->Numbers(a));
    a.InsertAt(0, Elem::Make(7), 0);
    EXPECT_EQ(8, a.GetSize());

    this->Fill(a, {1});
    a.SetAtGrow(3, Elem::Make(4));
    a.SetAtGrow(0, Elem::Make(5));
    EXPECT_EQ((std::vector<int>{5, 0, 0, 4}), this->Numbers(a));

    TypeParam other;
    this->Fill(a, {1, 2});
    this->Fill(other, {7, 8});
    a.InsertAt(1, &other);
    EXPECT_EQ((std::vector<int>{1, 7, 8, 2}), this->Numbers(a));
    this->Fill(a, {1, 2});
    a.InsertAt(1, &a);
    EXPECT_EQ((std::vector<int>{1, 1, 2, 2}), this->Numbers(a));
    a.InsertAt(0, &other);
    a.InsertAt(6, &other);
    EXPECT_EQ((std::vector<int>{7, 8, 1, 1, 2, 2, 7, 8}), this->Numbers(a));
}

TYPED_TEST(ArrayTest, AppendAndCopy) {
    TypeParam a;
    TypeParam b;
    this->Fill(a, {1, 2});
    this->Fill(b, {3});
    EXPECT_EQ(2, a.Append(b));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), this->Numbers(a));
    EXPECT_EQ(3, a.Append(a));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3}), this->Numbers(a));
    a.Copy(b);
    EXPECT_EQ((std::vector<int>{3}), this->Numbers(a));
    a.Copy(a);
    EXPECT_EQ((std::vector<int>{3}), this->Numbers(a));
    b.RemoveAll();
    a.Copy(b);
    EXPECT_TRUE(a.IsEmpty());
}

TYPED_TEST(ArrayTest, AddingAnElementOfTheSameArray) {
    // The element may move while the array grows; the added value must be the old one.
    using Elem = Elements<TypeParam>;
    TypeParam a;
    this->Fill(a, {1});
    for (int i = 0; i < 40; ++i)
        a.Add(a[0]);
    a.SetAtGrow(60, a[1]);
    a.InsertAt(0, a[60], 3);
    EXPECT_EQ(64, a.GetSize());
    EXPECT_EQ(1, Elem::Number(a[0]));
    EXPECT_EQ(1, Elem::Number(a[2]));
    EXPECT_EQ(0, Elem::Number(a[3 + 59]));
    EXPECT_EQ(1, Elem::Number(a[3 + 60]));
}

TEST(CArrayClasses, RuntimeClassesAreTheFrameworks) {
    CObArray obArray;
    CPtrArray ptrArray;
    CStringArray stringArray;
    EXPECT_EQ(RUNTIME_CLASS(CObArray), obArray.GetRuntimeClass());
    EXPECT_EQ(RUNTIME_CLASS(CPtrArray), ptrArray.GetRuntimeClass());
    EXPECT_EQ(RUNTIME_CLASS(CStringArray), stringArray.GetRuntimeClass());
    EXPECT_TRUE(obArray.IsSerializable());
    EXPECT_TRUE(stringArray.IsSerializable());
    EXPECT_FALSE(ptrArray.IsSerializable());
    EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CPtrArray)->GetBaseClass());
}

TEST(CArrayClasses, StringArrayTakesCStrings) {
    CStringArray a;
    a.Add("one");
    a.Add(CString("tw\0o", 4));
    a.SetAtGrow(3, "four");
    EXPECT_STREQ("one", a[0]);
    EXPECT_EQ(4, a[1].GetLength());
    EXPECT_TRUE(a[2].IsEmpty());
    EXPECT_STREQ("four", a.GetAt(3));
}

} // namespace
