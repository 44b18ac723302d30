// lstrcmpA and lstrcmpiA: the level-by-level comparison described in strings.h.

#include <bwcore/win32/strings.h>

#include "codepages.h"

#include <stdint.h>

using bwcompat::CharCode;
using bwcompat::CodePage;

namespace {

// Weights of the first level, one band per kind of character.
const uint32_t kSymbolBand = 0x100;
const uint32_t kDigitBand = 0x200;
const uint32_t kLetterBand = 0x300;
const uint32_t kOtherBand = 0x10000;

// The lower-case letters of 1252 above ASCII and the ASCII letters they sort as.
struct LetterWeight {
    BYTE byte;
    const char* letters;
};
const LetterWeight k1252Letters[] = {
    {0x83, "f"}, {0x9A, "s"},  {0x9C, "oe"}, {0x9E, "z"}, {0xAA, "a"}, {0xBA, "o"}, {0xDF, "ss"},
    {0xE0, "a"}, {0xE1, "a"},  {0xE2, "a"},  {0xE3, "a"}, {0xE4, "a"}, {0xE5, "a"}, {0xE6, "ae"},
    {0xE7, "c"}, {0xE8, "e"},  {0xE9, "e"},  {0xEA, "e"}, {0xEB, "e"}, {0xEC, "i"}, {0xED, "i"},
    {0xEE, "i"}, {0xEF, "i"},  {0xF0, "d"},  {0xF1, "n"}, {0xF2, "o"}, {0xF3, "o"}, {0xF4, "o"},
    {0xF5, "o"}, {0xF6, "o"},  {0xF8, "o"},  {0xF9, "u"}, {0xFA, "u"}, {0xFB, "u"}, {0xFC, "u"},
    {0xFD, "y"}, {0xFE, "th"}, {0xFF, "y"},
};

const char* LettersOf1252(CharCode lower) {
    for (const LetterWeight& entry : k1252Letters) {
        if (entry.byte == lower)
            return entry.letters;
    }
    return nullptr;
}

// What one character contributes to each level. A character gives one element, or two for the
// 1252 letters that sort as two letters.
struct Element {
    uint32_t primary;
    CharCode accent; // 0 for none
    bool upper;
};

class ElementReader {
public:
    ElementReader(const CodePage& page, LPCSTR s) : page_(page), p_(s) {}

    // The next element, or false at the end of the string.
    bool Next(Element* element) {
        if (pendingIndex_ == pendingCount_ && !ReadCharacter())
            return false;
        *element = pending_[pendingIndex_++];
        return true;
    }

private:
    bool ReadCharacter() {
        const int length = bwcompat::CharLength(page_, p_);
        if (length == 0)
            return false;
        const CharCode c = bwcompat::ReadChar(p_, length);
        p_ += length;
        const CharCode lower = bwcompat::ToLower(page_, c);
        const bool upper = lower != c;
        pendingIndex_ = 0;
        pendingCount_ = 1;
        if (lower >= '0' && lower <= '9') {
            pending_[0] = {kDigitBand + (lower - '0'), 0, upper};
        } else if (lower >= 'a' && lower <= 'z') {
            pending_[0] = {kLetterBand + (lower - 'a'), 0, upper};
        } else if (lower < 0x80) {
            pending_[0] = {kSymbolBand + lower, 0, upper};
        } else if (page_.id == 1252) {
            const char* letters = LettersOf1252(lower);
            if (letters == nullptr) {
                pending_[0] = {kSymbolBand + lower, 0, upper};
            } else {
                for (pendingCount_ = 0; letters[pendingCount_] != '\0'; ++pendingCount_)
                    pending_[pendingCount_] = {kLetterBand + (letters[pendingCount_] - 'a'), lower,
                                               upper};
            }
        } else {
            pending_[0] = {kOtherBand + lower, 0, upper};
        }
        return true;
    }

    const CodePage& page_;
    LPCSTR p_;
    Element pending_[2] = {};
    int pendingCount_ = 0;
    int pendingIndex_ = 0;
};

int Sign(long long difference) {
    return difference < 0 ? -1 : difference > 0 ? 1 : 0;
}

// One pass over both strings: the first level decides at its first difference; meanwhile the
// first accent and case differences are kept, since they only count when every weight of the
// first level is equal (and the elements therefore line up one to one).
//
// The levels together tell every character apart (an element's weight and accent give its
// lower-case form, and its case flag the character itself), so lstrcmpA returns 0 only for
// equal strings and lstrcmpiA only for strings equal after lower-casing.
int Compare(LPCSTR s1, LPCSTR s2, bool ignoreCase) {
    if (s1 == nullptr || s2 == nullptr)
        return s1 == s2 ? 0 : s1 == nullptr ? -1 : 1;
    const CodePage& page = bwcompat::AnsiCodePage();
    ElementReader reader1(page, s1);
    ElementReader reader2(page, s2);
    int accentOrder = 0;
    int caseOrder = 0;
    for (;;) {
        Element e1;
        Element e2;
        const bool more1 = reader1.Next(&e1);
        const bool more2 = reader2.Next(&e2);
        if (!more1 || !more2) {
            if (more1 != more2)
                return more1 ? 1 : -1;
            break;
        }
        if (e1.primary != e2.primary)
            return Sign(static_cast<long long>(e1.primary) - e2.primary);
        if (accentOrder == 0)
            accentOrder = Sign(static_cast<long long>(e1.accent) - e2.accent);
        if (caseOrder == 0 && e1.upper != e2.upper)
            caseOrder = e1.upper ? 1 : -1;
    }
    if (accentOrder != 0)
        return accentOrder;
    return ignoreCase ? 0 : caseOrder;
}

} // namespace

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2) {
    return Compare(lpString1, lpString2, false);
}

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2) {
    return Compare(lpString1, lpString2, true);
}
