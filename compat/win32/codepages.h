// The code pages of the Linux Win32 layer: which bytes lead a double-byte character, which
// characters are case partners, and what the C library's converter needs to know. Internal to
// compat/win32.
#pragma once

#include <bwcore/win32/types.h>

namespace bwcompat {

// A character code: a single byte below 0x100, or lead byte * 0x100 + trail byte.
using CharCode = WORD;

struct ByteRange {
    BYTE first;
    BYTE last;
};

// `count` case partners: the i-th character after upperFirst is the upper case of the i-th
// character after lowerFirst, counting along the code page's valid codes (see CodeOrdinal).
struct CasePairs {
    CharCode upperFirst;
    CharCode lowerFirst;
    int count;
};

// A byte that the C library's converter rejects but Windows maps to a code unit of its own.
struct ExtraByte {
    BYTE byte;
    WCHAR unit;
};

struct CodePage {
    UINT id;
    const char* converterName; // for iconv
    int leadRangeCount;
    ByteRange leadBytes[2];
    int trailRangeCount;
    ByteRange trailBytes[3]; // the valid trail bytes
    const CasePairs* casePairs;
    int casePairCount;
    const ExtraByte* extraBytes;
    int extraByteCount;
    WCHAR undecodableUnit;       // what a byte sequence that does not decode becomes in UTF-16
    bool loneLeadBecomesDefault; // case mapping replaces a lead byte that has no trail byte by '?'
};

// The process's ANSI code page, decided on the first call.
const CodePage& AnsiCodePage();

// The code page with that number, CP_ACP and CP_THREAD_ACP meaning the ANSI code page; null for
// a code page that is not supported.
const CodePage* FindCodePage(UINT id);

bool IsLeadByte(const CodePage& page, BYTE b);

// The number of bytes of the character at p: 0 at the terminator, 2 for a lead byte followed by
// a non-zero byte, else 1. Inline, as names and paths are walked with it byte by byte: no code
// page has a lead byte below 0x80, so ASCII costs one test.
inline int CharLength(const CodePage& page, const char* p) {
    const BYTE b = static_cast<BYTE>(*p);
    if (b < 0x80)
        return b != 0;
    return IsLeadByte(page, b) && p[1] != '\0' ? 2 : 1;
}

// The code of the character of `length` bytes (1 or 2) at p.
CharCode ReadChar(const char* p, int length);

CharCode ToUpper(const CodePage& page, CharCode c);
CharCode ToLower(const CodePage& page, CharCode c);

} // namespace bwcompat
