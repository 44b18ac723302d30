// The array template, through CStringArray: its elements have real copies, and its arguments are
// references that may point into the array itself. CObArray and CPtrArray are the same template.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdint.h>
#include <string>
#include <vector>

namespace {

std::string Text(const CStringArray& a) {
    std::string text;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        text += (i ? "," : "") + std::string(a[i].GetString(), a[i].GetLength());
    return text;
}

CStringArray& Fill(CStringArray& a, std::initializer_list<const char*> items) {
    a.RemoveAll();
    for (const char* item : items)
        a.Add(item);
    return a;
}

TEST(CArray, RangeErrorsThrowAndChangeNothing) {
    CStringArray other;
    const std::vector<std::function<void(CStringArray&)>> operations = {
        [](CStringArray& a) { a.GetAt(-1); },
        [](CStringArray& a) { a.GetAt(5); },
        [](CStringArray& a) { a.SetAt(5, "x"); },
        [](CStringArray& a) { a.ElementAt(5); },
        [](CStringArray& a) { a[-1]; },
        [](CStringArray& a) { a.RemoveAt(5); },
        [](CStringArray& a) { a.RemoveAt(0, -1); },
        [](CStringArray& a) { a.RemoveAt(3, 3); },
        [](CStringArray& a) { a.RemoveAt(6, 0); },
        [](CStringArray& a) { a.RemoveAt(1, INTPTR_MAX); },
        [](CStringArray& a) { a.InsertAt(-1, "x"); },
        [](CStringArray& a) { a.InsertAt(0, "x", -1); },
        [&other](CStringArray& a) { a.InsertAt(-1, &other); },
        [](CStringArray& a) { a.InsertAt(0, static_cast<CStringArray*>(nullptr)); },
        [](CStringArray& a) { a.SetAtGrow(-1, "x"); },
        [](CStringArray& a) { a.SetSize(-1); },
    };
    for (size_t i = 0; i < operations.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "operation " << i);
        CStringArray a;
        EXPECT_THROW(operations[i](Fill(a, {"1", "2", "3", "4", "5"})), CInvalidArgException*);
        EXPECT_EQ("1,2,3,4,5", Text(a));
    }
    CStringArray a;
    Fill(a, {"1", "2"});
    EXPECT_THROW(a.SetSize(INTPTR_MAX), std::bad_alloc);
    EXPECT_THROW(a.SetAtGrow(INTPTR_MAX - 1, "3"), std::bad_alloc);
    EXPECT_THROW(a.InsertAt(1, "3", INTPTR_MAX / 2), std::bad_alloc);
    EXPECT_EQ("1,2", Text(a));
}

TEST(CArray, GrowsByTheStepAndFillsWithEmptyElements) {
    CStringArray a;
    a.SetSize(1, 8); // the first allocation takes the whole step
    const CString* data = a.GetData();
    for (int n = 2; n <= 8; ++n)
        a.Add("n");
    EXPECT_EQ(data, a.GetData()) << "growing within the step must not move the elements";
    a.SetSize(2);
    a.SetSize(3);
    a.SetAtGrow(4, CString("z\0", 2));
    a.InsertAt(1, "i", 2);
    a.InsertAt(8, "e"); // past the end: the array grows first
    EXPECT_EQ(std::string(",i,i,n,,,z\0,,e", 14), Text(a));
    a.RemoveAt(1, 6);
    a.RemoveAt(3, 0); // an empty range may start at the end
    EXPECT_EQ(",,e", Text(a));
    a.RemoveAll();
    EXPECT_EQ(nullptr, a.GetData());
}

TEST(CArray, ElementsOfTheSameArrayAsArguments) {
    // The elements move while the array grows; what is added must be the old value.
    CStringArray a;
    Fill(a, {"1"});
    for (int i = 0; i < 40; ++i)
        a.Add(a[0]);
    a.SetAtGrow(60, a[1]);
    a.InsertAt(0, a[60], 3);
    EXPECT_EQ(64, a.GetSize());
    EXPECT_EQ("1", a[2]);
    EXPECT_EQ("", a[3 + 59]);
    EXPECT_EQ("1", a[3 + 60]);
    Fill(a, {"1", "2"});
    a.InsertAt(1, &a);
    EXPECT_EQ("1,1,2,2", Text(a));
    EXPECT_EQ(4, a.Append(a));
    a.Copy(a);
    EXPECT_EQ("1,1,2,2,1,1,2,2", Text(a));
}

} // namespace
