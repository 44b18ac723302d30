// CString: the framework's 8-bit string.
//
// The length is kept apart from the text, so a string may hold zero characters: SetAt(len - 1, 0)
// keeps the length, and comparisons see the bytes past an embedded zero. The text is always
// followed by a terminating zero, so the string converts to a C string at no cost.
// Case mapping and case-insensitive comparison go through the ANSI code page (CharUpperA,
// CharLowerA, lstrcmpiA), so double-byte characters stay whole.
#pragma once

#include <bwcore/platform.h>

#include <stdarg.h>
#include <string>

class BWAFX_API CString {
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    // A pointer made with MAKEINTRESOURCE loads that string resource, as the framework does.
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
    // compared. Results <0, 0, >0.
    int Compare(LPCSTR psz) const;
    int Compare(const CString& s) const;
    // The same after folding each character to lower case through the code page's case mapping.
    int CompareNoCase(LPCSTR psz) const;
    int CompareNoCase(const CString& s) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();
    CString& TrimLeft(char chTarget);
    CString& TrimRight(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight(LPCSTR pszTargets);
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);

    // Positions are byte offsets; -1 when not found. Searches step over double-byte characters.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    void Format(LPCSTR pszFormat, ...);
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormat(LPCSTR pszFormat, ...);

    // Loads a string resource through the framework's resource chain; FALSE when none has it.
    BOOL LoadString(UINT nID);

    // A writable buffer of at least nMinBufLength characters holding the current text; after
    // writing, ReleaseBuffer(-1) takes the length from the terminating zero, ReleaseBuffer(n)
    // sets it to n.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer() { return GetBuffer(0); }
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

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
// Ordering by Compare, so a CString works as a std::map key.
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
