#include <bwcore/afx.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

// A literal with its embedded zeros.
template <size_t N>
std::string Z(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// The bytes of the whole string, embedded zeros included.
std::string Bytes(const CString& s) {
    return std::string(s.GetString(), s.GetLength());
}

TEST(CString, EmbeddedZerosCountButComparisonStopsAtTheFirst) {
    CString s("abc");
    s.SetAt(2, '\0');
    EXPECT_EQ(std::string("ab\0", 3), Bytes(s));
    EXPECT_EQ(6, (CString("a\0b\0", 4) + CString("x\0", 2)).GetLength());
    // Compare sees the C string, as the framework's strcmp-based comparison does.
    const CString z("ab\0x", 4);
    EXPECT_EQ(0, z.Compare(CString("ab\0y", 4)));
    EXPECT_TRUE(z == "ab");
    EXPECT_EQ(0, z.CompareNoCase("AB"));
    EXPECT_LT(CString("a\0z", 3).Compare("ab"), 0);
}

TEST(CString, CompareIsUnsignedBytewiseAndCompareNoCaseFoldsAscii) {
    const struct {
        const char* a;
        const char* b;
        int compare;
        int noCase;
    } cases[] = {
        {"abc", "abc", 0, 0},   {"abc", "abd", -1, -1}, {"abc", "ab", 1, 1},
        {"", "a", -1, -1},      {"\xE9", "z", 1, 1},    {"Z", "a", -1, 1},
        {"\x80", "\x7F", 1, 1}, {"aB", "Ab", 1, 0},     {"a", "a ", -1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const int compare = CString(c.a).Compare(c.b);
        const int noCase = CString(c.a).CompareNoCase(c.b);
        EXPECT_EQ(c.compare, (compare > 0) - (compare < 0));
        EXPECT_EQ(c.noCase, (noCase > 0) - (noCase < 0));
    }
}

TEST(CString, FormatHasNoLimitAndMayReadItsOwnText) {
    const std::string thousand(1000, 'x');
    CString s;
    s.Format("[%s]-%d", thousand.c_str(), 42);
    EXPECT_EQ("[" + thousand + "]-42", Bytes(s));
    s = "abc";
    s.Format("%s+%s", s.GetString(), s.GetString());
    EXPECT_EQ("abc+abc", Bytes(s));
    s.AppendFormat("%s%c", s.GetString(), 0);
    EXPECT_EQ(std::string("abc+abcabc+abc\0", 15), Bytes(s));
}

TEST(CString, PartsAndSearchesClampTheirArguments) {
    const CString s("hello");
    const CString z("a\0b\0", 4);
    // Each result between bars.
    EXPECT_EQ("|" + Bytes(s.Mid(1, 3)) + "|" + Bytes(s.Mid(-1, 2)) + "|" + Bytes(s.Mid(2, 100)) +
                  "|" + Bytes(s.Mid(10, 2)) + "|" + Bytes(s.Mid(1, -5)) + "|" + Bytes(s.Mid(-3)) +
                  "|" + Bytes(s.Left(-1)) + "|" + Bytes(s.Left(10)) + "|" + Bytes(s.Right(-3)) +
                  "|" + Bytes(s.Right(9)) + "|" + Bytes(z.Right(2)) + "|",
              Z("|ell|he|llo|||hello||hello||hello|b\0|"));
    const std::pair<int, int> finds[] = {
        {s.Find('l', 3), 3},     {s.Find('l', 4), -1},   {s.Find('h', 5), -1},
        {s.Find('h', -1), -1},   {s.Find("lo", 4), -1},  {s.Find("hello!"), -1},
        {s.Find("", 5), 5},      {s.Find("", 6), -1},    {s.Find(LPCSTR(nullptr)), -1},
        {s.ReverseFind('l'), 3}, {s.FindOneOf("lo"), 2}, {s.FindOneOf(""), -1},
        {z.Find('b'), 2},        {z.Find('\0'), 1},      {z.Find("b"), 2}, // past a zero
    };
    for (size_t i = 0; i < sizeof finds / sizeof finds[0]; ++i)
        EXPECT_EQ(finds[i].second, finds[i].first) << "find " << i;
}

TEST(CString, Edits) {
    const struct {
        const char* text;
        const char* oldText;
        const char* newText;
        int count;
        std::string expected;
    } replaces[] = {
        {"a.b.c", ".", "::", 2, "a::b::c"}, {"aaa", "aa", "b", 1, "ba"},
        {"abc", "", "x", 0, "abc"},         {"abc", "abcd", "x", 0, "abc"},
        {"abc", "b", nullptr, 1, "ac"},     {"x", "x", "xx", 1, "xx"},
    };
    for (const auto& c : replaces) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.oldText);
        CString s(c.text);
        EXPECT_EQ(c.count, s.Replace(c.oldText, c.newText));
        EXPECT_EQ(c.expected, Bytes(s));
    }
    CString self("ab");
    EXPECT_EQ(1, self.Replace("b", self.GetString())); // may read its own text
    EXPECT_EQ("aab", Bytes(self));
    CString s("a\0a", 3);
    EXPECT_EQ(2, s.Replace("a", "bb"));
    EXPECT_EQ(4, s.Remove('b'));
    EXPECT_EQ(3, s.Insert(-5, "cd"));
    EXPECT_EQ(4, s.Insert(10, 'e'));
    EXPECT_EQ(std::string("cd\0e", 4), Bytes(s));
    EXPECT_EQ(3, s.Delete(-1, 1));
    EXPECT_EQ(1, s.Delete(1, 100));
    EXPECT_EQ(2, s.Insert(1, s.GetString()));
    EXPECT_EQ(2, s.Replace('d', 'o'));
    EXPECT_EQ("oo", Bytes(s));
    EXPECT_EQ(
        "|" + Bytes(CString("  \t hi \r\n\v\f").Trim()) + "|" + Bytes(CString(" \t").TrimLeft()) +
            "|" + Bytes(CString("xyyxhixx").TrimLeft("xy").TrimRight('x')) + "|" +
            Bytes(CString(" a\0b ", 5).Trim()) + "|" + Bytes(CString("ab\0\0", 4).TrimRight('\0')) +
            "|" + Bytes(CString("ab\0\0cd", 6).MakeUpper()) + "|" +
            Bytes(CString("AB\0CD\0", 6).MakeLower()) + "|" + Bytes(CString("abc").MakeReverse()) +
            "|",
        Z("|hi||hi|a\0b|ab|AB\0\0CD|ab\0cd\0|cba|"));
}

TEST(CString, GetBufferAndReleaseBuffer) {
    CString s("abc");
    strcpy(s.GetBuffer(10), "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ("0123456789", Bytes(s));
    s.GetBuffer()[1] = '\0';
    s.ReleaseBuffer(); // the length comes from the first zero
    EXPECT_EQ("0", Bytes(s));
    s.GetBuffer(20);
    s.ReleaseBuffer(); // nothing written: the text stays
    EXPECT_EQ("0", Bytes(s));
    memcpy(s.GetBufferSetLength(3), "x\0z", 3);
    EXPECT_EQ(std::string("x\0z", 3), Bytes(s));
    s.ReleaseBuffer(2);
    EXPECT_EQ(std::string("x\0", 2), Bytes(s));
    EXPECT_THROW(s.ReleaseBuffer(4), CInvalidArgException*);
    EXPECT_EQ(2, s.GetLength());
}

TEST(CString, IndexesAndLengthsOutsideThrow) {
    CString s("ab");
    for (int index : {-1, 2}) {
        EXPECT_THROW(s.GetAt(index), CInvalidArgException*);
        EXPECT_THROW(s.SetAt(index, 'x'), CInvalidArgException*);
    }
    EXPECT_THROW(CString(nullptr, 1), CInvalidArgException*);
    EXPECT_THROW(CString("a", -1), CInvalidArgException*);
    EXPECT_EQ("", Bytes(CString('x', -1)));
    EXPECT_EQ("", Bytes(CString(static_cast<LPCSTR>(nullptr))));
    // A missing string resource leaves the string unchanged.
    EXPECT_FALSE(s.LoadString(65000));
    EXPECT_EQ("ab", Bytes(s));
}

// Code page 932: 0x82 0x61 is a double-byte character whose trail byte looks like 'a'; 0x83 0x41
// (katakana A) has 'A' as its trail byte; 0x95 0x5C has a backslash as its trail byte.
TEST(CStringCp932, DoubleByteCharactersStayWhole) {
    BW_REQUIRE_ACP(932);
    EXPECT_EQ(std::string("A\x82\x61\0B", 5), Bytes(CString("a\x82\x61\0b", 5).MakeUpper()));
    EXPECT_EQ("a\x83\x41"
              "b",
              Bytes(CString("A\x83\x41"
                            "B")
                        .MakeLower()));
    EXPECT_EQ("b\x83\x41"
              "a",
              Bytes(CString("a\x83\x41"
                            "b")
                        .MakeReverse()));
    EXPECT_EQ("C:\\\x95\x5C", Bytes(CString("C:\\\x95\x5C\\").TrimRight('\\')));
    EXPECT_EQ("\x95\x5C", Bytes(CString("\x95\x5C").TrimRight('\\')));
    EXPECT_EQ(0, CString("\x83\x41"
                         "a")
                     .CompareNoCase("\x83\x41"
                                    "A"));
    EXPECT_NE(0, CString("\x83\x61").CompareNoCase("\x83\x41"));
    const CString s("\x83\x41"
                    "A\x95\x5C\\");
    EXPECT_EQ(2, s.Find('A', 1));
    EXPECT_EQ(2, s.Find("A"));
    EXPECT_EQ(5, s.Find('\\'));
    EXPECT_EQ(5, s.ReverseFind('\\'));
    EXPECT_EQ(5, s.FindOneOf("\\"));
    EXPECT_EQ(-1, CString("\x95\x5C").Find("\x95")) << "a lead byte without its trail byte";
    CString edited("\x95\x5C\\");
    EXPECT_EQ(1, edited.Replace("\\", "/"));
    EXPECT_EQ(1, edited.Replace('/', '\\'));
    EXPECT_EQ(1, edited.Remove('\\'));
    EXPECT_EQ("\x95\x5C", Bytes(edited));
}

} // namespace
