#include <bwcore/afx/CString.h>

#include <bwcore/afx/CDynLinkLibrary.h>
#include <bwcore/afx/CException.h>

#include <stdio.h>
#include <string.h>

#include <vector>

namespace {

// The byte length of the character at offset i: 2 for a lead byte followed by its trail byte,
// else 1. A zero inside the string is a character of its own, so stepping crosses it.
int CharLength(const std::string& s, int i) {
    const char* p = s.c_str() + i;
    if (*p == '\0')
        return 1;
    return static_cast<int>(CharNextA(p) - p);
}

// Whether sub occurs at offset i and ends on a character boundary, so that a match never takes
// only the lead byte of a double-byte character.
bool MatchesAt(const std::string& s, int i, LPCSTR sub, int subLen) {
    if (subLen > static_cast<int>(s.size()) - i || memcmp(s.data() + i, sub, subLen) != 0)
        return false;
    int end = i;
    while (end < i + subLen)
        end += CharLength(s, end);
    return end == i + subLen;
}

// Whether s[from..to) holds a byte of 0x80 or above; lead bytes of every code page are among them.
bool HasHighByte(const std::string& s, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (static_cast<unsigned char>(s[static_cast<size_t>(i)]) >= 0x80)
            return true;
    }
    return false;
}

// Whether the character p[0..n) is one of the characters of set.
bool IsInSet(const char* p, int n, LPCSTR set) {
    for (LPCSTR q = set; *q != '\0'; q = CharNextA(q)) {
        if (CharNextA(q) - q == n && memcmp(p, q, n) == 0)
            return true;
    }
    return false;
}

// An insertion point clamped to the string, as the framework does.
size_t ClampIndex(int nIndex, int len) {
    return static_cast<size_t>(nIndex < 0 ? 0 : nIndex > len ? len : nIndex);
}

const char kWhiteSpace[] = " \t\n\v\f\r";

template <class Matches>
void TrimLeftIf(std::string& s, Matches matches) {
    const int len = static_cast<int>(s.size());
    int i = 0;
    while (i < len) {
        const int n = CharLength(s, i);
        if (!matches(s.data() + i, n))
            break;
        i += n;
    }
    s.erase(0, i);
}

// Walks forward, since only a forward walk knows where the double-byte characters begin.
template <class Matches>
void TrimRightIf(std::string& s, Matches matches) {
    const int len = static_cast<int>(s.size());
    int keep = 0; // the end of the last character that stays
    for (int i = 0; i < len;) {
        const int n = CharLength(s, i);
        const bool trimmed = matches(s.data() + i, n);
        i += n;
        if (!trimmed)
            keep = i;
    }
    s.resize(keep);
}

// Formats into out; false for an invalid format.
bool FormatText(std::string& out, LPCSTR format, va_list args) {
    if (format == nullptr)
        return false;
    char small[256];
    va_list probe;
    va_copy(probe, args);
    const int n = vsnprintf(small, sizeof small, format, probe);
    va_end(probe);
    if (n < 0)
        return false;
    if (n < static_cast<int>(sizeof small)) {
        out.assign(small, n);
        return true;
    }
    std::string text(n, '\0');
    va_list again;
    va_copy(again, args);
    vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    out.swap(text);
    return true;
}

} // namespace

CString::CString(LPCSTR psz) {
    if (psz != nullptr && IS_INTRESOURCE(psz))
        LoadString(static_cast<UINT>(reinterpret_cast<UINT_PTR>(psz)));
    else if (psz != nullptr)
        m_str = psz;
}

CString::CString(LPCSTR pch, int nLength) {
    Append(pch, nLength);
}

CString::CString(char ch, int nRepeat) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}

CString& CString::operator=(LPCSTR psz) {
    if (psz == nullptr)
        m_str.clear();
    else
        m_str = psz;
    return *this;
}

CString& CString::operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    return m_str[nIndex];
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex < 0 || nIndex >= GetLength())
        AfxThrowInvalidArgException();
    m_str[nIndex] = ch;
}

CString& CString::operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    if (psz != nullptr)
        m_str += psz;
    return *this;
}

CString& CString::operator+=(char ch) {
    m_str.push_back(ch);
    return *this;
}

void CString::Append(LPCSTR pch, int nLength) {
    if (nLength < 0 || (pch == nullptr && nLength > 0))
        AfxThrowInvalidArgException();
    m_str.append(pch, nLength);
}

int CString::CompareNoCase(LPCSTR psz) const {
    std::string a(m_str.c_str()); // up to the first zero
    std::string b(psz ? psz : "");
    CharLowerA(&a[0]);
    CharLowerA(&b[0]);
    return strcmp(a.c_str(), b.c_str());
}

int CString::CompareNoCase(const CString& s) const {
    return CompareNoCase(s.m_str.c_str());
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    const int len = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst > len)
        nFirst = len;
    if (nCount < 0)
        nCount = 0;
    if (nCount > len - nFirst)
        nCount = len - nFirst;
    return CString(m_str.data() + nFirst, nCount);
}

CString CString::Left(int nCount) const {
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
    const int len = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > len)
        nCount = len;
    return Mid(len - nCount, nCount);
}

CString& CString::MakeUpper() {
    // CharUpperA stops at a zero, so each zero-terminated run is mapped on its own.
    char* end = &m_str[0] + m_str.size();
    for (char* run = &m_str[0]; run < end; run += strlen(run) + 1)
        CharUpperA(run);
    return *this;
}

CString& CString::MakeLower() {
    char* end = &m_str[0] + m_str.size();
    for (char* run = &m_str[0]; run < end; run += strlen(run) + 1)
        CharLowerA(run);
    return *this;
}

CString& CString::MakeReverse() {
    const int len = GetLength();
    std::string reversed(len, '\0');
    int to = len;
    for (int i = 0; i < len;) {
        const int n = CharLength(m_str, i);
        to -= n;
        memcpy(&reversed[to], m_str.data() + i, n);
        i += n;
    }
    m_str.swap(reversed);
    return *this;
}

CString& CString::TrimLeft() {
    TrimLeftIf(m_str, [](const char* p, int n) { return IsInSet(p, n, kWhiteSpace); });
    return *this;
}

CString& CString::TrimRight() {
    TrimRightIf(m_str, [](const char* p, int n) { return IsInSet(p, n, kWhiteSpace); });
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft(char chTarget) {
    TrimLeftIf(m_str, [chTarget](const char* p, int n) { return n == 1 && *p == chTarget; });
    return *this;
}

CString& CString::TrimRight(char chTarget) {
    TrimRightIf(m_str, [chTarget](const char* p, int n) { return n == 1 && *p == chTarget; });
    return *this;
}

CString& CString::TrimLeft(LPCSTR pszTargets) {
    if (pszTargets != nullptr)
        TrimLeftIf(m_str, [pszTargets](const char* p, int n) { return IsInSet(p, n, pszTargets); });
    return *this;
}

CString& CString::TrimRight(LPCSTR pszTargets) {
    if (pszTargets != nullptr)
        TrimRightIf(m_str,
                    [pszTargets](const char* p, int n) { return IsInSet(p, n, pszTargets); });
    return *this;
}

CString& CString::Trim(char chTarget) {
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCSTR pszTargets) {
    return TrimRight(pszTargets).TrimLeft(pszTargets);
}

int CString::Find(char ch, int nStart) const {
    const int len = GetLength();
    if (nStart < 0 || nStart >= len)
        return -1;
    // A plain byte search first: with no byte of 0x80 or above before the first candidate, every
    // byte up to it starts a character of its own.
    const void* pFound = memchr(m_str.data() + nStart, ch, static_cast<size_t>(len - nStart));
    if (pFound == nullptr)
        return -1;
    const int at = static_cast<int>(static_cast<const char*>(pFound) - m_str.data());
    if (static_cast<unsigned char>(ch) < 0x80 && !HasHighByte(m_str, 0, at))
        return at;
    for (int i = 0; i < len;) {
        const int n = CharLength(m_str, i);
        if (i >= nStart && n == 1 && m_str[i] == ch)
            return i;
        i += n;
    }
    return -1;
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    const int len = GetLength();
    if (pszSub == nullptr || nStart < 0 || nStart > len)
        return -1;
    const size_t subLen = strlen(pszSub);
    // Candidates come from a plain byte search, which is fast; one counts only when it starts
    // and ends on character boundaries, found by walking forward from a known boundary.
    int boundary = 0;
    for (size_t c = m_str.find(pszSub, static_cast<size_t>(nStart), subLen); c != std::string::npos;
         c = m_str.find(pszSub, c + 1, subLen)) {
        const int at = static_cast<int>(c);
        const int end = at + static_cast<int>(subLen);
        if (boundary <= at && !HasHighByte(m_str, boundary, end))
            return at; // no lead byte from a boundary to the match's end: all are boundaries
        while (boundary < at)
            boundary += CharLength(m_str, boundary);
        // boundary is now the first character start at or after the candidate.
        if (boundary == at && MatchesAt(m_str, at, pszSub, static_cast<int>(subLen)))
            return at;
    }
    return -1;
}

int CString::ReverseFind(char ch) const {
    const int len = GetLength();
    int found = -1;
    for (int i = 0; i < len;) {
        const int n = CharLength(m_str, i);
        if (n == 1 && m_str[i] == ch)
            found = i;
        i += n;
    }
    return found;
}

int CString::FindOneOf(LPCSTR pszCharSet) const {
    if (pszCharSet == nullptr)
        return -1;
    const int len = GetLength();
    for (int i = 0; i < len;) {
        const int n = CharLength(m_str, i);
        if (IsInSet(m_str.data() + i, n, pszCharSet))
            return i;
        i += n;
    }
    return -1;
}

int CString::Replace(char chOld, char chNew) {
    if (chOld == chNew)
        return 0;
    // The characters are those of the text before replacement: a new lead byte does not pair
    // with the byte after it until the loop is done.
    const int len = GetLength();
    int count = 0;
    for (int i = 0; i < len;) {
        const int n = CharLength(m_str, i);
        if (n == 1 && m_str[i] == chOld) {
            m_str[i] = chNew;
            ++count;
        }
        i += n;
    }
    return count;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew) {
    if (pszOld == nullptr || *pszOld == '\0')
        return 0;
    const int oldLen = static_cast<int>(strlen(pszOld));
    const int len = GetLength();
    // Built apart, since pszOld or pszNew may point into this string.
    std::string result;
    int count = 0;
    for (int i = 0; i < len;) {
        if (MatchesAt(m_str, i, pszOld, oldLen)) {
            result += pszNew ? pszNew : "";
            i += oldLen;
            ++count;
        } else {
            const int n = CharLength(m_str, i);
            result.append(m_str, i, n);
            i += n;
        }
    }
    if (count > 0)
        m_str.swap(result);
    return count;
}

int CString::Remove(char ch) {
    const int len = GetLength();
    std::string result;
    result.reserve(len);
    for (int i = 0; i < len;) {
        const int n = CharLength(m_str, i);
        if (n != 1 || m_str[i] != ch)
            result.append(m_str, i, n);
        i += n;
    }
    const int removed = len - static_cast<int>(result.size());
    m_str.swap(result);
    return removed;
}

int CString::Insert(int nIndex, char ch) {
    m_str.insert(ClampIndex(nIndex, GetLength()), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz) {
    // Copied first, since psz may point into this string.
    if (psz != nullptr)
        m_str.insert(ClampIndex(nIndex, GetLength()), std::string(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    const int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex < len && nCount > 0)
        m_str.erase(nIndex, nCount < len - nIndex ? nCount : len - nIndex);
    return GetLength();
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    const bool ok = FormatText(m_str, pszFormat, args);
    va_end(args);
    if (!ok)
        AfxThrowInvalidArgException();
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    if (!FormatText(m_str, pszFormat, args))
        AfxThrowInvalidArgException();
}

void CString::AppendFormat(LPCSTR pszFormat, ...) {
    std::string text;
    va_list args;
    va_start(args, pszFormat);
    const bool ok = FormatText(text, pszFormat, args);
    va_end(args);
    if (!ok)
        AfxThrowInvalidArgException();
    m_str += text;
}

BOOL CString::LoadString(UINT nID) {
    HINSTANCE hInst = AfxFindStringResourceHandle(nID);
    if (hInst == nullptr)
        return FALSE;
    // LoadStringA cuts a long text short without saying so: a text that fills the buffer may have
    // been cut, so the buffer grows until the text leaves room to spare.
    for (int size = 256;; size *= 2) {
        std::vector<char> buffer(size);
        const int n = ::LoadStringA(hInst, nID, buffer.data(), size);
        if (n <= 0)
            return FALSE;
        if (n < size - 1) {
            m_str.assign(buffer.data(), n);
            return TRUE;
        }
    }
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength < 0)
        AfxThrowInvalidArgException();
    if (nMinBufLength > GetLength())
        m_str.resize(nMinBufLength);
    return &m_str[0];
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
    if (nNewLength < 0)
        AfxThrowInvalidArgException();
    m_str.resize(nNewLength);
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength > GetLength())
        AfxThrowInvalidArgException();
    m_str.resize(nNewLength < 0 ? strlen(m_str.c_str()) : static_cast<size_t>(nNewLength));
}

CString operator+(const CString& a, const CString& b) {
    CString s(a);
    s += b;
    return s;
}

CString operator+(const CString& a, LPCSTR b) {
    CString s(a);
    s += b;
    return s;
}

CString operator+(LPCSTR a, const CString& b) {
    CString s;
    s += a;
    s += b;
    return s;
}

CString operator+(const CString& a, char b) {
    CString s(a);
    s += b;
    return s;
}

CString operator+(char a, const CString& b) {
    CString s(a);
    s += b;
    return s;
}
