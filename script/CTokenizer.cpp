#include <bwcore/script/CTokenizer.h>

#include <bwcore/platform.h>

#include <array>
#include <cstring>

namespace {

// Byte classes, looked up once per byte while scanning.
enum : unsigned char {
    kWord = 1,  // ASCII letter, digit or "_"
    kSpace = 2, // blank, tab, line feed, vertical tab, form feed, carriage return
};

constexpr std::array<unsigned char, 256> MakeByteClasses() {
    std::array<unsigned char, 256> classes{};
    for (int ch = 'a'; ch <= 'z'; ++ch) {
        classes[ch] = kWord;
        classes[ch - 'a' + 'A'] = kWord;
    }
    for (int ch = '0'; ch <= '9'; ++ch) {
        classes[ch] = kWord;
    }
    classes['_'] = kWord;
    for (char ch : {' ', '\t', '\n', '\v', '\f', '\r'}) {
        classes[static_cast<unsigned char>(ch)] = kSpace;
    }
    return classes;
}

constexpr std::array<unsigned char, 256> kByteClasses = MakeByteClasses();

inline bool IsWordByte(char ch) {
    return kByteClasses[static_cast<unsigned char>(ch)] == kWord;
}
inline bool IsSpaceByte(char ch) {
    return kByteClasses[static_cast<unsigned char>(ch)] == kSpace;
}

// The lead bytes of the ANSI code page, which does not change while the process runs.
struct LeadBytes {
    std::array<bool, 256> isLead{};
    LeadBytes() {
        for (int b = 0; b < 256; ++b) {
            isLead[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE;
        }
    }
};

inline bool IsLeadByte(char ch) {
    static const LeadBytes leadBytes;
    return leadBytes.isLead[static_cast<unsigned char>(ch)];
}

// Whether the word of nLength bytes at pWord is exactly pszKeyword.
bool IsKeyword(const char* pWord, int nLength, const char* pszKeyword) {
    return std::strlen(pszKeyword) == static_cast<size_t>(nLength) &&
           std::memcmp(pWord, pszKeyword, static_cast<size_t>(nLength)) == 0;
}

// Whether the word of nLength bytes at pWord begins with pszName.
bool StartsWith(const char* pWord, int nLength, const char* pszName) {
    size_t nNameLength = std::strlen(pszName);
    return nNameLength <= static_cast<size_t>(nLength) &&
           std::memcmp(pWord, pszName, nNameLength) == 0;
}

constexpr int kMaxTokenText = CTokenizer::TokenTextSize - 1;

} // namespace

CTokenizer::CTokenizer(CCodeStream* pCodeStream, bool bReturnComments)
    : m_pCodeStream(pCodeStream), m_nLine(0), m_szLine{}, m_nPos(0), m_nTokenStart(0),
      m_bReturnComments(bReturnComments) {}

bool CTokenizer::ReadLine() {
    // An exhausted stream leaves the buffer and the position alone.
    if (m_pCodeStream == nullptr || !m_pCodeStream->GetNextLine(m_szLine)) {
        return false;
    }
    ++m_nLine;
    m_nPos = 0;
    return true;
}

eToken CTokenizer::Fetch() {
    for (;;) {
        // The scans count in a local: the line's bytes might alias the member, which would then
        // be stored and loaded again for every byte.
        int nPos = m_nPos;
        while (IsSpaceByte(m_szLine[nPos])) {
            ++nPos;
        }
        char ch = m_szLine[nPos];
        m_nPos = nPos;
        if (ch == '\0') {
            // The position stays on the terminator at the end, so every later fetch ends too.
            if (!ReadLine()) {
                return eTokEndOfFile;
            }
            continue;
        }
        m_nPos = ++nPos;
        switch (ch) {
        case '"':
        case '\'':
            SkipString();
            return eTokString;
        case '#':
            if (IsPPCdirective()) {
                return DeterminePPCToken();
            }
            continue;
        case '(':
            return eTokOpenParen;
        case ')':
            return eTokCloseParen;
        case ',':
            return eTokComma;
        case ';':
            return eTokSemicolon;
        case '/':
            return SkipComments();
        default:
            break;
        }
        if (IsWordByte(ch)) {
            m_nTokenStart = nPos - 1;
            while (IsWordByte(m_szLine[nPos])) {
                ++nPos;
            }
            m_nPos = nPos;
            return DetermineToken();
        }
        // Operators, other punctuation and every byte of 0x80 and above are dropped.
    }
}

eToken CTokenizer::Scan(eToken eFirst, eToken eSecond) {
    for (;;) {
        eToken eKind = Fetch();
        if (eKind == eTokEndOfFile || eKind == eFirst ||
            (eSecond != eTokNone && eKind == eSecond)) {
            return eKind;
        }
    }
}

void CTokenizer::GetTokenText(char* pszText) const {
    int nLength = m_nPos - m_nTokenStart;
    if (nLength < 0) {
        nLength = 0;
    } else if (nLength > kMaxTokenText) {
        nLength = kMaxTokenText;
    }
    const char* pSource = m_szLine + m_nTokenStart;
    if (const void* pEnd = std::memchr(pSource, '\0', static_cast<size_t>(nLength))) {
        nLength = static_cast<int>(static_cast<const char*>(pEnd) - pSource);
    }
    std::memcpy(pszText, pSource, static_cast<size_t>(nLength));
    pszText[nLength] = '\0';
}

bool CTokenizer::GetLine() {
    return ReadLine();
}

eToken CTokenizer::DetermineToken() const {
    const char* pWord = m_szLine + m_nTokenStart;
    const int nLength = m_nPos - m_nTokenStart;
    // Keywords by length first, so that most words cost one comparison at most.
    switch (nLength) {
    case 0:
        return eTokNone;
    case 3:
        if (IsKeyword(pWord, nLength, "end")) {
            return eTokEnd;
        }
        break;
    case 5:
        if (IsKeyword(pWord, nLength, "begin")) {
            return eTokBegin;
        }
        break;
    case 6:
        if (IsKeyword(pWord, nLength, "export")) {
            return eTokExport;
        }
        if (IsKeyword(pWord, nLength, "method")) {
            return eTokMethod;
        }
        break;
    case 8:
        if (IsKeyword(pWord, nLength, "function")) {
            return eTokFunction;
        }
        if (IsKeyword(pWord, nLength, "property")) {
            return eTokProperty;
        }
        break;
    case 9:
        if (IsKeyword(pWord, nLength, "prototype")) {
            return eTokPrototype;
        }
        break;
    default:
        break;
    }
    return eTokIdentifier;
}

eToken CTokenizer::DeterminePPCToken() const {
    const char* pWord = m_szLine + m_nTokenStart;
    int nLength = m_nPos - m_nTokenStart;
    // Prefix tests, so "ifdef" and "ifndef" count as "if".
    static const struct {
        const char* pszName;
        eToken eKind;
    } directives[] = {
        {"if", eTokPPIf},
        {"endif", eTokPPEndif},
        {"include", eTokPPInclude},
    };
    for (const auto& directive : directives) {
        if (StartsWith(pWord, nLength, directive.pszName)) {
            return directive.eKind;
        }
    }
    return nLength > 0 ? eTokIdentifier : eTokNone;
}

bool CTokenizer::IsPPCdirective() {
    while (IsSpaceByte(m_szLine[m_nPos])) {
        ++m_nPos;
    }
    char ch = m_szLine[m_nPos];
    // A directive never spans lines: the terminator stays for the next fetch.
    if (ch == '\0') {
        return false;
    }
    ++m_nPos;
    if (!IsWordByte(ch)) {
        return false;
    }
    m_nTokenStart = m_nPos - 1;
    while (IsWordByte(m_szLine[m_nPos])) {
        ++m_nPos;
    }
    return true;
}

bool CTokenizer::IsIDChar(unsigned int nChar) const {
    if (nChar == '_') {
        return true;
    }
    char bytes[2];
    int nBytes = 0;
    if (nChar > 0xFF) {
        bytes[nBytes++] = static_cast<char>((nChar >> 8) & 0xFF);
    }
    bytes[nBytes++] = static_cast<char>(nChar & 0xFF);
    // The code page decides what the bytes are; the character's class is then Unicode's.
    WCHAR wide[2];
    if (MultiByteToWideChar(CP_ACP, 0, bytes, nBytes, wide, 2) != 1) {
        return false;
    }
    return IsCharAlphaNumericW(wide[0]) != FALSE;
}

eToken CTokenizer::SkipComments() {
    if (m_szLine[m_nPos] == '/') {
        if (m_bReturnComments) {
            m_nTokenStart = m_nPos + 1;
            m_nPos = m_nTokenStart + static_cast<int>(std::strlen(m_szLine + m_nTokenStart));
            return eTokComment;
        }
        // Moved to the terminator first, so that an exhausted stream ends every later fetch.
        m_nPos += static_cast<int>(std::strlen(m_szLine + m_nPos));
        return ReadLine() ? eTokNone : eTokEndOfFile;
    }
    if (m_szLine[m_nPos] == '*') {
        int nPos = m_nPos + 1; // a local, as in Fetch
        for (;;) {
            char ch = m_szLine[nPos];
            if (ch == '\0') {
                m_nPos = nPos;
                if (!ReadLine()) {
                    return eTokEndOfFile;
                }
                nPos = m_nPos;
            } else if (IsLeadByte(ch)) {
                ++nPos;
                if (m_szLine[nPos] != '\0') {
                    ++nPos;
                }
            } else if (ch == '*' && m_szLine[nPos + 1] == '/') {
                m_nPos = nPos + 2;
                return eTokNone;
            } else {
                ++nPos;
            }
        }
    }
    return eTokNone;
}

bool CTokenizer::SkipString() {
    int nPos = m_nPos; // a local, as in Fetch
    const char chQuote = m_szLine[nPos - 1];
    m_nTokenStart = nPos - 1;
    if (m_szLine[nPos] == chQuote) {
        m_nPos = nPos + 1;
        return true;
    }
    for (;;) {
        char ch = m_szLine[nPos];
        if (ch == '\0') {
            // An unclosed string ends with its line.
            m_nPos = nPos;
            return true;
        }
        ++nPos;
        // An escape or a double-byte character takes the next byte too, but never the terminator.
        if ((ch == '\\' || IsLeadByte(ch)) && m_szLine[nPos] != '\0') {
            ++nPos;
        }
        if (m_szLine[nPos] == chQuote) {
            m_nPos = nPos + 1;
            return true;
        }
    }
}
