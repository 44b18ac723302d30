// CString: the framework's 8-bit string.
//
// The length is kept apart from the text, so a string may hold zero characters: SetAt(len - 1, 0)
// keeps the length. The text is always followed by a terminating zero, so the string converts to
// a C string at no cost; comparisons see it as that C string (up to its first zero), as the
// framework's do, while searching, replacing and trimming work on the whole length.
// Everything that steps through the text keeps double-byte characters of the ANSI code page whole
// (IsDBCSLeadByte / CharNextA): a search never matches from or into the middle of one, and case
// mapping goes through CharUpperA / CharLowerA.
//
// Positions and counts are byte offsets. An index outside the string raises
// AfxThrowInvalidArgException; Mid, Left, Right, Insert and Delete clamp their arguments instead,
// as the framework does.
//
// windows.h defines LoadString as LoadStringA, so the member LoadString is LoadStringA
// everywhere, both where it is declared and where it is called.
#pragma once

#include <bwcore/platform.h>

#include <stdarg.h>
#include <string.h>
#include <string>

class BWAFX_API CString {
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    // A pointer made with MAKEINTRESOURCE loads that string resource, as the framework does; a
    // null pointer gives an empty string.
    CString(LPCSTR psz);
    CString(LPCSTR pch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCSTR psz);
    CString& operator=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }

    CString& operator+=(const CString& s);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);
    void Append(LPCSTR pch, int nLength);
    void AppendChar(char ch) { m_str.push_back(ch); }

    // Comparison of the texts as zero-terminated strings, byte by byte (unsigned), as the
    // framework's strcmp-based Compare: a zero character inside the string ends the text that is
    // compared. Results <0, 0, >0. Inline: the script index's maps compare their keys with it.
    int Compare(LPCSTR psz) const { return strcmp(m_str.c_str(), psz ? psz : ""); }
    int Compare(const CString& s) const { return strcmp(m_str.c_str(), s.m_str.c_str()); }
    // The same after folding both texts to lower case with CharLowerA (the ANSI code page's case
    // mapping, double-byte characters kept whole).
    int CompareNoCase(LPCSTR psz) const;
    int CompareNoCase(const CString& s) const;

    // Substrings, with nFirst and nCount clamped to the string (negative values count as 0).
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    // Case mapping through the code page; each zero-terminated run of the text is mapped.
    CString& MakeUpper();
    CString& MakeLower();
    // Reverses the order of the characters; a double-byte character stays in byte order.
    CString& MakeReverse();

    // Without an argument the Trim family removes white space (space, \t, \n, \v, \f, \r); with
    // one, the given character or any character of the given set.
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();
    CString& TrimLeft(char chTarget);
    CString& TrimRight(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight(LPCSTR pszTargets);
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);

    // The first match at or after nStart (the last match for ReverseFind); -1 when there is none
    // or nStart lies outside the string.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    // The first character that also occurs in the set.
    int FindOneOf(LPCSTR pszCharSet) const;

    // Each returns the number of characters or substrings replaced or removed.
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    // Insert and Delete return the new length.
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // printf-style formatting of any length; an invalid format raises
    // AfxThrowInvalidArgException. The arguments may refer to this string itself. A CString
    // argument is passed as GetString(): unlike the framework's, this CString cannot travel
    // through "..." itself (the compiler rejects it).
    void Format(LPCSTR pszFormat, ...);
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...);

    // Loads string resource nID from the first module of the framework's resource chain that has
    // it; FALSE, and the string unchanged, when none has it.
    BOOL LoadString(UINT nID);

    // A writable buffer of at least nMinBufLength characters (plus the terminating zero) holding
    // the current text; after writing, ReleaseBuffer(-1) takes the length from the first zero,
    // ReleaseBuffer(n) sets it to n. The buffer is valid until the next change of the string.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer() { return GetBuffer(0); }
    // The same with the length set to nNewLength at once.
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength) { m_str.reserve(static_cast<size_t>(nLength)); }

private:
    std::string m_str;
};

BWAFX_API CString operator+(const CString& a, const CString& b);
BWAFX_API CString operator+(const CString& a, LPCSTR b);
BWAFX_API CString operator+(LPCSTR a, const CString& b);
BWAFX_API CString operator+(const CString& a, char b);
BWAFX_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
inline bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
// Ordering by Compare, so a CString works as a std::map key.
inline bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
inline bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}
inline bool operator<=(const CString& a, const CString& b) {
    return a.Compare(b) <= 0;
}
inline bool operator>=(const CString& a, const CString& b) {
    return a.Compare(b) >= 0;
}
