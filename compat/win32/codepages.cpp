#include "codepages.h"

#include <bwcore/win32/strings.h>

#include <stdlib.h>
#include <string.h>

#include <initializer_list>

namespace bwcompat {

namespace {

const CasePairs kCase1252[] = {
    {0x41, 0x61, 26}, // A-Z
    {0x8A, 0x9A, 1},  // S caron
    {0x8C, 0x9C, 1},  // OE
    {0x8E, 0x9E, 1},  // Z caron
    {0x9F, 0xFF, 1},  // Y diaeresis
    {0xC0, 0xE0, 23}, // A grave - O diaeresis
    {0xD8, 0xF8, 7},  // O stroke - thorn, past the multiplication and division signs
};

const CasePairs kCase932[] = {
    {0x41, 0x61, 26},     // A-Z
    {0x8260, 0x8281, 26}, // full-width Latin
    {0x839F, 0x83BF, 24}, // Greek
    {0x8440, 0x8470, 33}, // Cyrillic, the lower case ones around the invalid trail byte 0x7F
    {0x8754, 0xFA40, 10}, // Roman numerals I-X: the upper case in the NEC row, the lower case in
                          // the IBM extension
};

const CasePairs kCase936[] = {
    {0x41, 0x61, 26},     // A-Z
    {0xA3C1, 0xA3E1, 26}, // full-width Latin
    {0xA6A1, 0xA6C1, 24}, // Greek
};

const CasePairs kCase949[] = {
    {0x41, 0x61, 26},     // A-Z
    {0xA3C1, 0xA3E1, 26}, // full-width Latin
    {0xA5C1, 0xA5E1, 24}, // Greek
};

const CasePairs kCase950[] = {
    {0x41, 0x61, 26},     // A-Z
    {0xA2CF, 0xA2E9, 26}, // full-width Latin; the lower case w-z continue at 0xA340
    {0xA344, 0xA35C, 24}, // Greek
};

// The bytes 1252 leaves undefined stand for the C1 control characters of the same value.
const ExtraByte kExtra1252[] = {
    {0x81, 0x0081}, {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D},
};

// Single bytes the double-byte code pages map to a control character or to private use.
const ExtraByte kExtra932[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};
const ExtraByte kExtra936[] = {{0xFF, 0xF8F5}};
const ExtraByte kExtra949[] = {{0x80, 0x0080}, {0xFF, 0xF8F7}};
const ExtraByte kExtra950[] = {{0xFF, 0xF8F8}};

template <class T, size_t N>
constexpr int Count(const T (&)[N]) {
    return static_cast<int>(N);
}

// clang-format off
const CodePage kCodePages[] = {
    // id   converter lead bytes                        valid trail bytes
    {1252, "CP1252", 0, {},                           0, {},
     kCase1252, Count(kCase1252), kExtra1252, Count(kExtra1252), u'?', false},
    {932,  "CP932",  2, {{0x81, 0x9F}, {0xE0, 0xFC}}, 2, {{0x40, 0x7E}, {0x80, 0xFC}},
     kCase932, Count(kCase932), kExtra932, Count(kExtra932), 0x30FB, false},
    {936,  "CP936",  1, {{0x81, 0xFE}},               2, {{0x40, 0x7E}, {0x80, 0xFE}},
     kCase936, Count(kCase936), kExtra936, Count(kExtra936), u'?', true},
    {949,  "CP949",  1, {{0x81, 0xFE}},               3, {{0x41, 0x5A}, {0x61, 0x7A}, {0x81, 0xFE}},
     kCase949, Count(kCase949), kExtra949, Count(kExtra949), u'?', true},
    {950,  "CP950",  1, {{0x81, 0xFE}},               2, {{0x40, 0x7E}, {0xA1, 0xFE}},
     kCase950, Count(kCase950), kExtra950, Count(kExtra950), u'?', true},
};
// clang-format on

const CodePage* FindById(UINT id) {
    for (const CodePage& page : kCodePages) {
        if (page.id == id)
            return &page;
    }
    return nullptr;
}

// The ANSI code page of a Unix locale name such as "ja_JP.UTF-8".
UINT CodePageOfLocale(const char* locale) {
    struct LocaleCodePage {
        const char* name;
        UINT codePage;
    };
    static const LocaleCodePage kLocales[] = {
        {"ja_JP", 932}, {"ja", 932}, {"zh_CN", 936}, {"zh_SG", 936}, {"zh", 936},
        {"ko_KR", 949}, {"ko", 949}, {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950},
    };
    const size_t length = strcspn(locale, ".@");
    for (const LocaleCodePage& entry : kLocales) {
        if (strlen(entry.name) == length && strncmp(locale, entry.name, length) == 0)
            return entry.codePage;
    }
    return 1252;
}

const CodePage& ChooseAnsiCodePage() {
    const char* forced = getenv("BWCORE_ACP");
    if (forced != nullptr && *forced != '\0') {
        char* end = nullptr;
        const unsigned long id = strtoul(forced, &end, 10);
        const CodePage* page = *end == '\0' ? FindById(static_cast<UINT>(id)) : nullptr;
        if (page != nullptr)
            return *page;
    }
    const char* locale = "";
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = getenv(name);
        if (value != nullptr && *value != '\0') {
            locale = value;
            break;
        }
    }
    return *FindById(CodePageOfLocale(locale));
}

bool InRanges(const ByteRange* ranges, int count, BYTE b) {
    for (int i = 0; i < count; ++i) {
        if (b >= ranges[i].first && b <= ranges[i].last)
            return true;
    }
    return false;
}

int TrailCount(const CodePage& page) {
    int count = 0;
    for (int i = 0; i < page.trailRangeCount; ++i)
        count += page.trailBytes[i].last - page.trailBytes[i].first + 1;
    return count;
}

// The position of a code in the code page's sequence of valid codes: the single bytes, then the
// double-byte codes by lead byte and valid trail byte, so that the character after ...0xFC in 932
// is the next lead byte's 0x40. -1 for a double-byte code with an invalid trail byte.
int CodeOrdinal(const CodePage& page, CharCode c) {
    if (c < 0x100)
        return c;
    const int lead = c >> 8;
    const int trail = c & 0xFF;
    int index = 0;
    for (int i = 0; i < page.trailRangeCount; ++i) {
        const ByteRange& range = page.trailBytes[i];
        if (trail >= range.first && trail <= range.last)
            return 0x100 + lead * TrailCount(page) + index + (trail - range.first);
        index += range.last - range.first + 1;
    }
    return -1;
}

CharCode CodeAtOrdinal(const CodePage& page, int ordinal) {
    if (ordinal < 0x100)
        return static_cast<CharCode>(ordinal);
    const int trailCount = TrailCount(page);
    const int lead = (ordinal - 0x100) / trailCount;
    int index = (ordinal - 0x100) % trailCount;
    const ByteRange* range = page.trailBytes;
    while (index > range->last - range->first) {
        index -= range->last - range->first + 1;
        ++range;
    }
    return static_cast<CharCode>(lead << 8 | (range->first + index));
}

CharCode MapCase(const CodePage& page, CharCode c, bool toUpper) {
    const int ordinal = CodeOrdinal(page, c);
    if (ordinal < 0)
        return c;
    for (int i = 0; i < page.casePairCount; ++i) {
        const CasePairs& pairs = page.casePairs[i];
        const int from = CodeOrdinal(page, toUpper ? pairs.lowerFirst : pairs.upperFirst);
        const int to = CodeOrdinal(page, toUpper ? pairs.upperFirst : pairs.lowerFirst);
        if (ordinal >= from && ordinal < from + pairs.count)
            return CodeAtOrdinal(page, to + (ordinal - from));
    }
    return c;
}

} // namespace

const CodePage& AnsiCodePage() {
    // The environment is read once; later changes to it do not move the code page.
    static const CodePage& page = ChooseAnsiCodePage();
    return page;
}

const CodePage* FindCodePage(UINT id) {
    if (id == CP_ACP || id == CP_THREAD_ACP)
        return &AnsiCodePage();
    return FindById(id);
}

bool IsLeadByte(const CodePage& page, BYTE b) {
    return InRanges(page.leadBytes, page.leadRangeCount, b);
}

CharCode ReadChar(const char* p, int length) {
    const BYTE first = static_cast<BYTE>(p[0]);
    return length == 2 ? static_cast<CharCode>(first << 8 | static_cast<BYTE>(p[1])) : first;
}

// Every code page maps ASCII letters alone below 0x80, so names and keys, mostly ASCII, are cased
// without walking the case pairs.
CharCode ToUpper(const CodePage& page, CharCode c) {
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? static_cast<CharCode>(c - 0x20) : c;
    return MapCase(page, c, true);
}

CharCode ToLower(const CodePage& page, CharCode c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? static_cast<CharCode>(c + 0x20) : c;
    return MapCase(page, c, false);
}

} // namespace bwcompat
