// Character classes (IsCharAlpha*, IsCharAlphaNumeric*, IsCharUpperA, IsCharLowerA).
//
// The class of a character is its Unicode class, taken from the C library's wide-character
// tables under the built-in "C.UTF-8" locale (independent of the process's own locale), except
// for decimal digits: the C library counts the digits of scripts other than ASCII as letters, so
// they are told apart by the table below, as Windows keeps them apart. An ANSI
// byte is first converted through the ANSI code page; a lead byte alone converts to nothing and
// so belongs to no class, as the reference tables show.
#include <bwcore/win32/strings.h>

#include <locale.h>
#include <wctype.h>

namespace {

locale_t UnicodeLocale() {
    // Made once and kept for the life of the process.
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t());
    return locale;
}

enum class Class { Alpha, AlphaNumeric, Upper, Lower };

// The first of each run of ten decimal digits (Unicode class Nd) in the 16-bit range.
constexpr wint_t kDigitRuns[] = {
    0x0030, 0x0660, 0x06F0, 0x07C0, 0x0966, 0x09E6, 0x0A66, 0x0AE6, 0x0B66, 0x0BE6,
    0x0C66, 0x0CE6, 0x0D66, 0x0DE6, 0x0E50, 0x0ED0, 0x0F20, 0x1040, 0x1090, 0x17E0,
    0x1810, 0x1946, 0x19D0, 0x1A80, 0x1A90, 0x1B50, 0x1BB0, 0x1C40, 0x1C50, 0xA620,
    0xA8D0, 0xA900, 0xA9D0, 0xA9F0, 0xAA50, 0xABF0, 0xFF10,
};

bool IsDigit(wint_t c) {
    if (c == 0x00B2 || c == 0x00B3 || c == 0x00B9)
        return true; // the Latin-1 superscripts
    for (wint_t first : kDigitRuns) {
        if (c >= first && c < first + 10)
            return true;
    }
    return false;
}

bool InClass(wint_t c, Class cls) {
    const locale_t locale = UnicodeLocale();
    if (locale == locale_t())
        return false;
    switch (cls) {
    case Class::Alpha:
        return iswalpha_l(c, locale) != 0 && !IsDigit(c);
    case Class::AlphaNumeric:
        return iswalnum_l(c, locale) != 0 || IsDigit(c);
    case Class::Upper:
        return iswupper_l(c, locale) != 0;
    case Class::Lower:
        return iswlower_l(c, locale) != 0;
    }
    return false;
}

BOOL AnsiInClass(CHAR ch, Class cls) {
    if (IsDBCSLeadByte(static_cast<BYTE>(ch)))
        return FALSE;
    WCHAR wide = 0;
    if (MultiByteToWideChar(CP_ACP, 0, &ch, 1, &wide, 1) != 1)
        return FALSE;
    return InClass(wide, cls) ? TRUE : FALSE;
}

} // namespace

BOOL WINAPI IsCharAlphaA(CHAR ch) {
    return AnsiInClass(ch, Class::Alpha);
}

BOOL WINAPI IsCharAlphaNumericA(CHAR ch) {
    return AnsiInClass(ch, Class::AlphaNumeric);
}

BOOL WINAPI IsCharUpperA(CHAR ch) {
    return AnsiInClass(ch, Class::Upper);
}

BOOL WINAPI IsCharLowerA(CHAR ch) {
    return AnsiInClass(ch, Class::Lower);
}

BOOL WINAPI IsCharAlphaW(WCHAR ch) {
    return InClass(ch, Class::Alpha) ? TRUE : FALSE;
}

BOOL WINAPI IsCharAlphaNumericW(WCHAR ch) {
    return InClass(ch, Class::AlphaNumeric) ? TRUE : FALSE;
}
