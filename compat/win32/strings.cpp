#include <bwcore/win32/strings.h>

#include <bwcore/win32/errors.h>

#include "codepages.h"

#include <string.h>

using bwcompat::AnsiCodePage;
using bwcompat::CharCode;
using bwcompat::CodePage;

namespace {

// Case-maps the zero-terminated string s in place, one character at a time so that a trail byte
// is never taken for a character of its own.
void MapString(char* s, bool toUpper) {
    const CodePage& page = AnsiCodePage();
    char* p = s;
    while (int length = bwcompat::CharLength(page, p)) {
        if (static_cast<BYTE>(*p) < 0x80) {
            // ASCII, a character of its own in every code page, is the common case.
            if (toUpper ? *p >= 'a' && *p <= 'z' : *p >= 'A' && *p <= 'Z')
                *p = static_cast<char>(*p ^ 0x20);
        } else if (length == 1 && bwcompat::IsLeadByte(page, static_cast<BYTE>(*p))) {
            // A lead byte without its trail byte is an incomplete character.
            if (page.loneLeadBecomesDefault)
                *p = '?';
        } else {
            const CharCode c = bwcompat::ReadChar(p, length);
            const CharCode mapped =
                toUpper ? bwcompat::ToUpper(page, c) : bwcompat::ToLower(page, c);
            if (length == 2) {
                p[0] = static_cast<char>(mapped >> 8);
                p[1] = static_cast<char>(mapped & 0xFF);
            } else {
                p[0] = static_cast<char>(mapped);
            }
        }
        p += length;
    }
}

// CharUpperA and CharLowerA: a pointer that fits in 16 bits carries one character in its low
// byte, which is mapped as a string of that one byte.
LPSTR MapCaseArgument(LPSTR lpsz, bool toUpper) {
    if (IS_INTRESOURCE(lpsz)) {
        char single[2] = {static_cast<char>(LOBYTE(lpsz)), '\0'};
        MapString(single, toUpper);
        return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<BYTE>(single[0])));
    }
    MapString(lpsz, toUpper);
    return lpsz;
}

} // namespace

UINT WINAPI GetACP(void) {
    return AnsiCodePage().id;
}

BOOL WINAPI IsDBCSLeadByte(BYTE TestChar) {
    return bwcompat::IsLeadByte(AnsiCodePage(), TestChar);
}

BOOL WINAPI IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar) {
    const bwcompat::CodePage* page = bwcompat::FindCodePage(CodePage);
    if (page == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return bwcompat::IsLeadByte(*page, TestChar);
}

LPSTR WINAPI CharNextA(LPCSTR lpsz) {
    if (static_cast<BYTE>(*lpsz) < 0x80)
        return const_cast<LPSTR>(lpsz + (*lpsz != '\0'));
    return const_cast<LPSTR>(lpsz + bwcompat::CharLength(AnsiCodePage(), lpsz));
}

LPSTR WINAPI CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent) {
    // Stepping backwards cannot tell a trail byte from a lead byte, so walk forward from the
    // start to the character that holds the byte before lpszCurrent.
    const CodePage& page = AnsiCodePage();
    LPCSTR p = lpszStart;
    while (p < lpszCurrent) {
        const int length = bwcompat::CharLength(page, p);
        if (length == 0 || p + length >= lpszCurrent)
            break;
        p += length;
    }
    return const_cast<LPSTR>(p);
}

LPSTR WINAPI CharUpperA(LPSTR lpsz) {
    return MapCaseArgument(lpsz, true);
}

LPSTR WINAPI CharLowerA(LPSTR lpsz) {
    return MapCaseArgument(lpsz, false);
}

int WINAPI lstrlenA(LPCSTR lpString) {
    return lpString == nullptr ? 0 : static_cast<int>(strlen(lpString));
}

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2) {
    if (lpString1 == nullptr || lpString2 == nullptr)
        return nullptr;
    return strcpy(lpString1, lpString2);
}
