#include <bwcore/tools/CBWPath.h>

namespace {

const char kSeparator = '\\';

bool IsSeparator(LPCSTR pch) {
    return *pch == kSeparator;
}

// The length of the text without its trailing separators; a trail byte equal to the separator
// belongs to its double-byte character and is kept.
int LengthWithoutTrailingSeparators(LPCSTR pszText) {
    LPCSTR pchEnd = pszText;
    for (LPCSTR pch = pszText; *pch != '\0'; pch = CharNextA(pch)) {
        if (!IsSeparator(pch)) {
            pchEnd = CharNextA(pch);
        }
    }
    return static_cast<int>(pchEnd - pszText);
}

} // namespace

CBWPath::CBWPath(const char* pszPath) : m_strPath(pszPath) {}

CBWPath::CBWPath(const CString& strPath) : m_strPath(strPath) {}

CBWPath::~CBWPath() = default;

CBWPath& CBWPath::operator^=(const CBWPath& right) {
    LPCSTR pszRight = right.m_strPath;
    if (*pszRight == '\0') {
        return *this;
    }
    if (m_strPath.IsEmpty()) {
        m_strPath = right.m_strPath;
        return *this;
    }
    // A leading byte is never a trail byte, so the right side's separators are plain bytes.
    while (IsSeparator(pszRight)) {
        ++pszRight;
    }
    // Built apart from both sides, so that joining a path to itself reads the original text.
    CString strJoined(static_cast<LPCSTR>(m_strPath), LengthWithoutTrailingSeparators(m_strPath));
    strJoined += kSeparator;
    strJoined += pszRight;
    m_strPath = strJoined;
    return *this;
}

CBWPath CBWPath::GetExtension() const {
    LPCSTR pszText = m_strPath;
    LPCSTR pchDot = nullptr;
    for (LPCSTR pch = pszText; *pch != '\0'; pch = CharNextA(pch)) {
        if (IsSeparator(pch)) {
            pchDot = nullptr;
        } else if (*pch == '.') {
            pchDot = pch;
        }
    }
    return CBWPath(pchDot != nullptr ? pchDot + 1 : "");
}
