#include <bwcore/afx.h>

#include "CodePage.h"

#include <gtest/gtest.h>

#include <map>
#include <string.h>
#include <string>

namespace {

// The bytes of the whole string, embedded zeros included.
std::string Bytes(const CString& s) {
    return std::string(s.GetString(), s.GetLength());
}

TEST(CString, SetAtZeroKeepsTheLength) {
    CString s("abc");
    s.SetAt(s.GetLength() - 1, '\0');
    EXPECT_EQ(3, s.GetLength());
    EXPECT_EQ(std::string("ab\0", 3), Bytes(s));
    EXPECT_STREQ("ab", s.GetString());
    EXPECT_FALSE(s.IsEmpty());
}

TEST(CString, LengthCountsEmbeddedZeros) {
    const CString s("a\0b\0", 4);
    EXPECT_EQ(4, s.GetLength());
    EXPECT_EQ('b', s.GetAt(2));
    EXPECT_EQ(6, (s + CString("x\0", 2)).GetLength());
    CString appended;
    appended += s;
    appended += '\0';
    EXPECT_EQ(5, appended.GetLength());
}

TEST(CString, ComparisonStopsAtTheFirstZero) {
    // Compare sees the C string, as the framework's strcmp-based comparison does.
    const CString s("ab\0x", 4);
    EXPECT_EQ(0, s.Compare("ab"));
    EXPECT_EQ(0, s.Compare(CString("ab\0y", 4)));
    EXPECT_TRUE(s == "ab");
    EXPECT_TRUE(s == CString("ab"));
    EXPECT_LT(CString("a\0z", 3).Compare("ab"), 0);
    EXPECT_EQ(0, s.CompareNoCase("AB"));
}

TEST(CString, CompareIsUnsignedBytewise) {
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"abc", "abc", 0}, {"abc", "abd", -1}, {"abc", "ab", 1},    {"", "a", -1},
        {"\xE9", "z", 1},  {"Z", "a", -1},     {"\x80", "\x7F", 1}, {"a\xFF", "a\x01", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const int result = CString(c.a).Compare(c.b);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0));
    }
}

TEST(CString, CompareNoCaseFoldsAsciiLetters) {
    EXPECT_EQ(0, CString("Hello World").CompareNoCase("hELLO wORLD"));
    EXPECT_LT(CString("apple").CompareNoCase("BANANA"), 0);
    EXPECT_GT(CString("b").CompareNoCase(CString("A")), 0);
    EXPECT_NE(0, CString("a").CompareNoCase("a "));
}

TEST(CString, OrdersAsAMapKey) {
    std::map<CString, int> map;
    map["b"] = 1;
    map["a"] = 2;
    map["\xE9"] = 3;
    map["B"] = 4;
    map[CString("b")] = 5; // the same key
    ASSERT_EQ(4u, map.size());
    auto it = map.begin();
    EXPECT_STREQ("B", (it++)->first);
    EXPECT_STREQ("a", (it++)->first);
    EXPECT_STREQ("b", it->first);
    EXPECT_EQ(5, (it++)->second);
    EXPECT_STREQ("\xE9", it->first);

    CString key;
    strcpy(key.GetBuffer(8), "a");
    key.ReleaseBuffer();
    EXPECT_EQ(2, map.at(key));
}

TEST(CString, FormatHasNoLengthLimit) {
    const std::string thousand(1000, 'x');
    CString s;
    s.Format("[%s]-%d", thousand.c_str(), 42);
    EXPECT_EQ(1005, s.GetLength());
    EXPECT_EQ("[" + thousand + "]-42", Bytes(s));

    s.Format("%d", 7);
    EXPECT_EQ("7", Bytes(s));
    s.AppendFormat("%s", thousand.c_str());
    EXPECT_EQ(1001, s.GetLength());
}

TEST(CString, FormatMayReadItsOwnText) {
    CString s("abc");
    s.Format("%s+%s", s.GetString(), s.GetString());
    EXPECT_EQ("abc+abc", Bytes(s));
    CString longer(std::string(300, 'y').c_str());
    longer.Format("%s!", longer.GetString());
    EXPECT_EQ(std::string(300, 'y') + "!", Bytes(longer));
    longer.AppendFormat("%s", longer.GetString());
    EXPECT_EQ(602, longer.GetLength());
}

TEST(CString, FormatKeepsZeroCharacters) {
    CString s;
    s.Format("a%cb", 0);
    EXPECT_EQ(std::string("a\0b", 3), Bytes(s));
}

TEST(CString, MidLeftRightClamp) {
    const CString s("hello");
    const struct {
        int first;
        int count;
        const char* expected;
    } mids[] = {
        {0, 5, "hello"}, {1, 3, "ell"}, {-1, 2, "he"}, {2, 100, "llo"},
        {5, 1, ""},      {10, 2, ""},   {1, -5, ""},   {0, 0, ""},
    };
    for (const auto& c : mids) {
        SCOPED_TRACE(testing::Message() << "Mid(" << c.first << ", " << c.count << ")");
        EXPECT_EQ(c.expected, Bytes(s.Mid(c.first, c.count)));
    }
    EXPECT_EQ("lo", Bytes(s.Mid(3)));
    EXPECT_EQ("hello", Bytes(s.Mid(-3)));
    EXPECT_EQ("", Bytes(s.Mid(9)));
    EXPECT_EQ("he", Bytes(s.Left(2)));
    EXPECT_EQ("", Bytes(s.Left(-1)));
    EXPECT_EQ("hello", Bytes(s.Left(10)));
    EXPECT_EQ("lo", Bytes(s.Right(2)));
    EXPECT_EQ("", Bytes(s.Right(-3)));
    EXPECT_EQ("hello", Bytes(s.Right(9)));
    EXPECT_EQ(std::string("b\0", 2), Bytes(CString("a\0b\0", 4).Right(2)));
}

TEST(CString, FindEdges) {
    const CString s("hello");
    EXPECT_EQ(2, s.Find('l'));
    EXPECT_EQ(3, s.Find('l', 3));
    EXPECT_EQ(-1, s.Find('l', 4));
    EXPECT_EQ(-1, s.Find('h', 5));
    EXPECT_EQ(-1, s.Find('h', -1));
    EXPECT_EQ(-1, s.Find('x'));
    EXPECT_EQ(3, s.Find("lo"));
    EXPECT_EQ(-1, s.Find("lo", 4));
    EXPECT_EQ(-1, s.Find("hello!"));
    EXPECT_EQ(2, s.Find("", 2));
    EXPECT_EQ(5, s.Find("", 5));
    EXPECT_EQ(-1, s.Find("", 6));
    EXPECT_EQ(-1, s.Find(static_cast<LPCSTR>(nullptr)));
    EXPECT_EQ(3, s.ReverseFind('l'));
    EXPECT_EQ(-1, s.ReverseFind('z'));
    EXPECT_EQ(2, s.FindOneOf("lo"));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
    EXPECT_EQ(-1, s.FindOneOf(""));
    // Searching goes on past an embedded zero.
    const CString z("a\0b", 3);
    EXPECT_EQ(2, z.Find('b'));
    EXPECT_EQ(1, z.Find('\0'));
    EXPECT_EQ(2, z.Find("b"));
}

TEST(CString, ReplaceAndRemove) {
    const struct {
        const char* text;
        const char* oldText;
        const char* newText;
        int count;
        const char* expected;
    } cases[] = {
        {"a.b.c", ".", "::", 2, "a::b::c"}, {"aaa", "aa", "b", 1, "ba"},
        {"abc", "", "x", 0, "abc"},         {"abc", "abcd", "x", 0, "abc"},
        {"abcabc", "abc", "", 2, ""},       {"abc", "b", nullptr, 1, "ac"},
        {"x", "x", "xx", 1, "xx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.oldText);
        CString s(c.text);
        EXPECT_EQ(c.count, s.Replace(c.oldText, c.newText));
        EXPECT_EQ(c.expected, Bytes(s));
    }

    CString s("banana");
    EXPECT_EQ(3, s.Replace('a', 'o'));
    EXPECT_EQ("bonono", Bytes(s));
    EXPECT_EQ(0, s.Replace('o', 'o'));
    EXPECT_EQ(3, s.Remove('o'));
    EXPECT_EQ("bnn", Bytes(s));

    CString self("ab");
    EXPECT_EQ(1, self.Replace("b", self.GetString()));
    EXPECT_EQ("aab", Bytes(self));

    CString zeros("a\0a", 3);
    EXPECT_EQ(2, zeros.Replace("a", "bb"));
    EXPECT_EQ(std::string("bb\0bb", 5), Bytes(zeros));
}

TEST(CString, TrimFamily) {
    EXPECT_EQ("hi", Bytes(CString("  \t hi \r\n\v\f").Trim()));
    EXPECT_EQ("hi  ", Bytes(CString("  hi  ").TrimLeft()));
    EXPECT_EQ("  hi", Bytes(CString("  hi  ").TrimRight()));
    EXPECT_EQ("", Bytes(CString(" \t \t").Trim()));
    EXPECT_EQ("", Bytes(CString().Trim()));
    EXPECT_EQ("hi", Bytes(CString("xxhixx").Trim('x')));
    EXPECT_EQ("hixx", Bytes(CString("xxhixx").TrimLeft('x')));
    EXPECT_EQ("xxhi", Bytes(CString("xxhixx").TrimRight('x')));
    EXPECT_EQ("hi", Bytes(CString("xyyxhi").TrimLeft("xy")));
    EXPECT_EQ("hi", Bytes(CString("hi.,;").TrimRight(";,.")));
    EXPECT_EQ("a b", Bytes(CString("--a b--").Trim("-")));
    // A zero in the middle is neither white space nor a target.
    EXPECT_EQ(std::string("a\0b", 3), Bytes(CString(" a\0b ", 5).Trim()));
    EXPECT_EQ("ab", Bytes(CString("ab\0\0", 4).TrimRight('\0')));
}

TEST(CString, InsertAndDeleteClamp) {
    CString s("cd");
    EXPECT_EQ(4, s.Insert(-5, "ab"));
    EXPECT_EQ(5, s.Insert(10, 'e'));
    EXPECT_EQ(6, s.Insert(2, '\0'));
    EXPECT_EQ(std::string("ab\0cde", 6), Bytes(s));
    EXPECT_EQ(5, s.Delete(2));
    EXPECT_EQ(5, s.Delete(10, 3));
    EXPECT_EQ(5, s.Delete(1, 0));
    EXPECT_EQ(4, s.Delete(-1, 1));
    EXPECT_EQ(1, s.Delete(1, 100));
    EXPECT_EQ("b", Bytes(s));
    EXPECT_EQ(2, s.Insert(1, s.GetString()));
    EXPECT_EQ(2, s.Insert(0, static_cast<LPCSTR>(nullptr)));
    EXPECT_EQ("bb", Bytes(s));
}

TEST(CString, GetBufferAndReleaseBuffer) {
    CString s("abc");
    char* p = s.GetBuffer(10);
    EXPECT_STREQ("abc", p);
    strcpy(p, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ("0123456789", Bytes(s));

    p = s.GetBuffer();
    p[1] = '\0';
    s.ReleaseBuffer(); // the length comes from the first zero
    EXPECT_EQ("0", Bytes(s));

    s = "abc";
    s.GetBuffer(20);
    s.ReleaseBuffer(); // nothing written: the text stays
    EXPECT_EQ("abc", Bytes(s));

    s.GetBuffer(0);
    s.ReleaseBuffer(2);
    EXPECT_EQ("ab", Bytes(s));

    memcpy(s.GetBufferSetLength(3), "x\0z", 3);
    EXPECT_EQ(std::string("x\0z", 3), Bytes(s));

    try {
        s.ReleaseBuffer(4);
        FAIL() << "ReleaseBuffer past the buffer must throw";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    EXPECT_EQ(3, s.GetLength());
}

TEST(CString, MakeUpperAndLower) {
    EXPECT_EQ("HELLO, WORLD 1!", Bytes(CString("Hello, World 1!").MakeUpper()));
    EXPECT_EQ("hello, world 1!", Bytes(CString("Hello, World 1!").MakeLower()));
    // Each zero-terminated run is mapped.
    EXPECT_EQ(std::string("AB\0\0CD", 6), Bytes(CString("ab\0\0cd", 6).MakeUpper()));
    EXPECT_EQ(std::string("ab\0cd\0", 6), Bytes(CString("AB\0CD\0", 6).MakeLower()));
    EXPECT_EQ("", Bytes(CString().MakeUpper()));
    EXPECT_EQ("cba", Bytes(CString("abc").MakeReverse()));
}

TEST(CString, IndexOutsideThrows) {
    CString s("ab");
    for (int index : {-1, 2, 100}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(s.GetAt(index), CInvalidArgException*);
        EXPECT_THROW(s.SetAt(index, 'x'), CInvalidArgException*);
    }
    EXPECT_THROW(CString(nullptr, 1), CInvalidArgException*);
    EXPECT_THROW(CString("a", -1), CInvalidArgException*);
    EXPECT_EQ("ab", Bytes(s));
}

TEST(CString, ConstructionForms) {
    EXPECT_EQ("", Bytes(CString(static_cast<LPCSTR>(nullptr))));
    EXPECT_EQ("xxx", Bytes(CString('x', 3)));
    EXPECT_EQ("", Bytes(CString('x', -1)));
    EXPECT_EQ("ab", Bytes(CString("abc", 2)));
    CString s;
    s = 'q';
    EXPECT_EQ("q", Bytes(s));
    s = static_cast<LPCSTR>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ("abcd", Bytes("a" + CString("b") + 'c' + "d"));
    EXPECT_EQ("xy", Bytes('x' + CString("y")));
}

TEST(CString, MissingStringResourceLeavesTheStringUnchanged) {
    CString s("unchanged");
    EXPECT_FALSE(s.LoadString(65000));
    EXPECT_EQ("unchanged", Bytes(s));
    EXPECT_TRUE(CString(MAKEINTRESOURCE(65000)).IsEmpty());
}

// Code page 932: 0x82 0x61 is a double-byte character whose trail byte looks like 'a'; 0x83 0x41
// (katakana A) has 'A' as its trail byte; 0x95 0x5C has a backslash as its trail byte.
class CStringCp932 : public testing::Test {
protected:
    void SetUp() override { BW_REQUIRE_ACP(932); }
};

TEST_F(CStringCp932, CaseMappingKeepsDoubleByteCharactersWhole) {
    EXPECT_EQ("A\x82\x61"
              "B",
              Bytes(CString("a\x82\x61"
                            "b")
                        .MakeUpper()));
    EXPECT_EQ("a\x83\x41"
              "b",
              Bytes(CString("A\x83\x41"
                            "B")
                        .MakeLower()));
    EXPECT_EQ(std::string("A\x82\x61\0B", 5), Bytes(CString("a\x82\x61\0b", 5).MakeUpper()));
}

TEST_F(CStringCp932, CompareNoCaseDoesNotFoldTrailBytes) {
    EXPECT_EQ(0, CString("\x83\x41"
                         "a")
                     .CompareNoCase("\x83\x41"
                                    "A"));
    EXPECT_NE(0, CString("\x83\x61").CompareNoCase("\x83\x41"));
}

TEST_F(CStringCp932, SearchesNeverStartOnATrailByte) {
    const CString s("\x83\x41"
                    "A\x95\x5C\\");
    EXPECT_EQ(2, s.Find('A'));
    EXPECT_EQ(2, s.Find("A"));
    EXPECT_EQ(2, s.Find('A', 1));
    EXPECT_EQ(5, s.Find('\\'));
    EXPECT_EQ(5, s.ReverseFind('\\'));
    EXPECT_EQ(5, s.FindOneOf("\\"));
    EXPECT_EQ(3, s.FindOneOf("\x95\x5C"));
    // A match may not take the lead byte of a character without its trail byte.
    EXPECT_EQ(-1, CString("\x95\x5C").Find("\x95"));
}

TEST_F(CStringCp932, EditsKeepDoubleByteCharactersWhole) {
    CString path("C:\\\x95\x5C\\");
    path.TrimRight('\\');
    EXPECT_EQ("C:\\\x95\x5C", Bytes(path));
    path.TrimRight('\\');
    EXPECT_EQ("C:\\\x95\x5C", Bytes(path));

    CString s("\x95\x5C\\");
    EXPECT_EQ(1, s.Replace("\\", "/"));
    EXPECT_EQ("\x95\x5C/", Bytes(s));
    EXPECT_EQ(1, s.Replace('/', '\\'));
    EXPECT_EQ(1, s.Remove('\\'));
    EXPECT_EQ("\x95\x5C", Bytes(s));

    EXPECT_EQ("b\x83\x41"
              "a",
              Bytes(CString("a\x83\x41"
                            "b")
                        .MakeReverse()));
}

} // namespace
