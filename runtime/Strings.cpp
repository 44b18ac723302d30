#include <bwcore/runtime/Strings.h>

#include <bwcore/platform.h>

#include <string.h>

namespace {

// Each argument of _xlstrstri is lower-cased in a buffer of this size.
const int kCaselessBufferSize = 512;
// The _xlstrsub count that keeps everything after the start.
const int32_t kWholeRest = 65535;
// What a null string gives: values that no string gives, a length below 0 and a comparison far
// outside the byte differences (-255 to 255).
const int32_t kNullLength = -1;
const int32_t kNullComparison = INT32_MIN;

bool isDoubleByte(const char* position) {
    return CharNextA(position) == position + 2;
}

// The 16-bit form (first byte in bits 0-7, second in bits 8-15) of the first two bytes of
// `bytes`, sign-extended from bit 15 as the case functions return it.
int32_t signExtendedPair(const char* bytes) {
    const int32_t pair =
        static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8);
    return pair >= 0x8000 ? pair - 0x10000 : pair;
}

// Maps the character of _ltoupper / _ltolower: first byte in bits 0-7, second in bits 16-23.
int32_t mapPacked(uint32_t packed, LPSTR(WINAPI* map)(LPSTR)) {
    char bytes[3] = {static_cast<char>(packed & 0xFF), static_cast<char>((packed >> 16) & 0xFF),
                     '\0'};
    if (bytes[0] != '\0')
        map(bytes);
    return signExtendedPair(bytes);
}

// The search shared by _xlstrstr, _xlstrstri and _xlstrchr: matches start only at character
// boundaries, and only the first byte of each character is compared, stepping text and pattern
// by their own characters.
int32_t search(const char* text, const char* pattern) {
    for (const char* start = text; *start != '\0'; start = CharNextA(start)) {
        const char* t = start;
        const char* p = pattern;
        // The terminator test comes after a step, so an empty pattern never matches.
        while (*p == *t) {
            p = CharNextA(p);
            t = CharNextA(t);
            if (*p == '\0')
                return static_cast<int32_t>(start - text);
        }
    }
    return -1;
}

// Copies at most `size` - 1 bytes of text into buffer, cut at a character boundary.
void copyWholeCharacters(char* buffer, const char* text, int size) {
    const char* end = text;
    for (;;) {
        const char* next = CharNextA(end);
        if (next == end || next - text > size - 1)
            break;
        end = next;
    }
    const size_t length = static_cast<size_t>(end - text);
    memcpy(buffer, text, length);
    buffer[length] = '\0';
}

int32_t locateEntry(const uintptr_t* entries, uintptr_t value, uint16_t count) {
    if (entries == nullptr)
        return -1;
    for (uint16_t i = 0; i < count; ++i) {
        if (entries[i] == value)
            return i;
    }
    return -1;
}

// Moves the entries after `position` down one place; the last slot keeps its old value.
void closeGap(uintptr_t* entries, uint16_t position, uint16_t count) {
    for (uint32_t i = position; i + 1 < count; ++i)
        entries[i] = entries[i + 1];
}

int32_t deleteEntry(uintptr_t* entries, uintptr_t value, uint16_t count) {
    const int32_t found = locateEntry(entries, value, count);
    if (found < 0)
        return 0;
    closeGap(entries, static_cast<uint16_t>(found), count);
    return 1;
}

int32_t deleteEntryAt(uintptr_t* entries, uint16_t position, uint16_t count) {
    if (entries == nullptr || position >= count)
        return 0;
    closeGap(entries, position, count);
    return 1;
}

int32_t insertEntryAt(uintptr_t* entries, uintptr_t value, uint16_t position, uint16_t count) {
    if (entries == nullptr || position >= count)
        return 0;
    for (uint32_t i = count; i > position; --i)
        entries[i] = entries[i - 1];
    entries[position] = value;
    return 1;
}

} // namespace

char* _lstrnext(const char* position) {
    if (position == nullptr)
        return nullptr;
    return CharNextA(position);
}

char* _lstrprev(const char* start, const char* position) {
    if (start == nullptr || position == nullptr)
        return nullptr;
    return CharPrevA(start, position);
}

int32_t lcharIsDblByte(const char* position) {
    if (position == nullptr)
        return 0;
    return isDoubleByte(position) ? 1 : 0;
}

int32_t lcharcmp(const char* a, const char* b) {
    if (a == nullptr || b == nullptr)
        return 0;
    const bool doubleA = isDoubleByte(a);
    if (doubleA != isDoubleByte(b) || a[0] != b[0])
        return 0;
    return !doubleA || a[1] == b[1] ? 1 : 0;
}

int32_t _assignchar(char* destination, const char* source) {
    if (destination == nullptr || source == nullptr)
        return 0;
    destination[0] = source[0];
    if (isDoubleByte(source))
        destination[1] = source[1];
    return 1;
}

char* _lupper(char* text) {
    if (text != nullptr && *text != '\0')
        CharUpperA(text);
    return text;
}

char* _lstrlwr(char* text) {
    if (text != nullptr)
        CharLowerA(text);
    return text;
}

uint32_t _lpsztoupper(char* text) {
    if (text == nullptr || *text == '\0')
        return 0;
    // The system maps strings, so the first character is cut off as a string of its own and the
    // caller's bytes are put back afterwards.
    char* next = CharNextA(text);
    const size_t length = static_cast<size_t>(next - text);
    char saved[3];
    memcpy(saved, text, length + 1);
    *next = '\0';
    CharUpperA(text);
    uint32_t result = static_cast<unsigned char>(text[0]);
    if (length == 2)
        result |= static_cast<uint32_t>(static_cast<unsigned char>(text[1])) << 8;
    memcpy(text, saved, length + 1);
    return result;
}

int32_t _ltoupper(uint32_t packed) {
    return mapPacked(packed, CharUpperA);
}

int32_t _ltolower(uint32_t packed) {
    return mapPacked(packed, CharLowerA);
}

int32_t _lAnsiToOem(const char* source, char* destination) {
    if (source == nullptr || destination == nullptr)
        return 0;
    CharToOemA(source, destination);
    return 1;
}

int32_t _lOemToAnsi(const char* source, char* destination) {
    if (source == nullptr || destination == nullptr)
        return 0;
    OemToCharA(source, destination);
    return 1;
}

int32_t _xlatol(const char* text) {
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Unsigned arithmetic: the value wraps modulo 2^32 without an overflow check.
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

char* _xlitoa(int32_t value, char* buffer) {
    if (buffer == nullptr)
        return nullptr;
    // The magnitude as unsigned, so that the most negative value has one too.
    uint32_t magnitude =
        value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    char* p = buffer;
    do {
        *p++ = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0)
        *p++ = '-';
    *p = '\0';
    _xlreverse(buffer);
    return buffer;
}

char* _xlltoa(int32_t value, char* buffer) {
    return _xlitoa(value, buffer);
}

int32_t _HexToDec(const char* text, uint32_t* value) {
    if (text == nullptr || value == nullptr)
        return 0;
    const char* p = text;
    if (p[0] == '0' && p[1] == 'x')
        p += 2;
    uint32_t result = 0;
    // A leading blank gives 0 through the same test that ends the number.
    for (; *p != '\0' && *p != ' '; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        uint32_t digit;
        if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10u;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10u;
        else
            digit = static_cast<uint32_t>(c) - 48u; // not validated; wraps below '0'
        result = result * 16u + digit;
    }
    *value = result;
    return 1;
}

int32_t _xlstrlen(const char* text) {
    if (text == nullptr)
        return kNullLength;
    int32_t length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

int32_t hstrlen(const char* text) {
    return _xlstrlen(text);
}

char* _xlstrcpy(char* destination, const char* source) {
    if (destination == nullptr || source == nullptr)
        return nullptr;
    char* d = destination;
    while ((*d++ = *source++) != '\0') {
    }
    return d;
}

char* hstrcpy(char* destination, const char* source) {
    return _xlstrcpy(destination, source) == nullptr ? nullptr : destination;
}

char* _xlstrcat(char* destination, const char* source) {
    if (destination == nullptr || source == nullptr)
        return nullptr;
    _xlstrcpy(destination + _xlstrlen(destination), source);
    return destination;
}

int32_t _xlstrcmp(const char* a, const char* b) {
    if (a == nullptr || b == nullptr)
        return kNullComparison;
    while (*a == *b && *a != '\0') {
        ++a;
        ++b;
    }
    return static_cast<signed char>(*a) - static_cast<signed char>(*b);
}

int32_t hstrcmp(const char* a, const char* b) {
    return _xlstrcmp(a, b);
}

void _xlmemcpy(void* destination, const void* source, uint16_t count) {
    // Byte by byte and forward, also when the areas overlap. Unless the destination starts
    // inside the source (where a forward copy repeats the bytes it has written), memmove gives
    // the same bytes, faster.
    if (destination == nullptr || source == nullptr)
        return;
    unsigned char* d = static_cast<unsigned char*>(destination);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    const uintptr_t to = reinterpret_cast<uintptr_t>(d);
    const uintptr_t from = reinterpret_cast<uintptr_t>(s);
    if (to <= from || to >= from + count) {
        memmove(d, s, count);
        return;
    }
    for (uint16_t i = 0; i < count; ++i)
        d[i] = s[i];
}

int32_t _lmemset(void* destination, int32_t count, int32_t value) {
    if (destination == nullptr || count < 1)
        return 0;
    memset(destination, value & 0xFF, static_cast<size_t>(count));
    return count;
}

void _xlreverse(char* text) {
    if (text == nullptr)
        return;
    for (int32_t first = 0, last = _xlstrlen(text) - 1; first < last; ++first, --last) {
        const char c = text[first];
        text[first] = text[last];
        text[last] = c;
    }
}

int32_t _xlstrstr(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr)
        return -1;
    return search(text, pattern);
}

int32_t _xlstrstri(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr)
        return -1;
    // A pattern that does not fit its buffer is longer than any text that does.
    if (_xlstrlen(pattern) >= kCaselessBufferSize)
        return -1;
    char lowerText[kCaselessBufferSize];
    char lowerPattern[kCaselessBufferSize];
    copyWholeCharacters(lowerText, text, kCaselessBufferSize);
    memcpy(lowerPattern, pattern, static_cast<size_t>(_xlstrlen(pattern)) + 1);
    CharLowerA(lowerText);
    CharLowerA(lowerPattern);
    // Case mapping keeps lengths, so offsets into the copy are offsets into the text.
    return search(lowerText, lowerPattern);
}

char* _xlstrchr(const char* text, uint16_t character) {
    if (text == nullptr)
        return nullptr;
    const char pattern[3] = {static_cast<char>(character & 0xFF), static_cast<char>(character >> 8),
                             '\0'};
    const int32_t offset = search(text, pattern);
    return offset < 0 ? nullptr : const_cast<char*>(text) + offset;
}

int32_t _xlstrsub(const char* source, char* destination, uint32_t start, int32_t count) {
    if (source == nullptr || destination == nullptr)
        return 0;
    const char* from = source;
    for (uint32_t i = 0; i < start && *from != '\0'; ++i)
        from = CharNextA(from);
    // Forward byte copy, so that a destination equal to the source works too.
    char* d = destination;
    while ((*d++ = *from++) != '\0') {
    }
    if (count == kWholeRest)
        return 1;
    char* end = destination;
    for (int32_t i = 0; i < count && *end != '\0'; ++i)
        end = CharNextA(end);
    *end = '\0';
    return 1;
}

int32_t _LocateFAR(const uintptr_t* entries, uintptr_t value, uint16_t count) {
    return locateEntry(entries, value, count);
}

int32_t _LocateNEAR(const uintptr_t* entries, uintptr_t value, uint16_t count) {
    return locateEntry(entries, value, count);
}

int32_t _DeleteFAR(uintptr_t* entries, uintptr_t value, uint16_t count) {
    return deleteEntry(entries, value, count);
}

int32_t _DeleteNEAR(uintptr_t* entries, uintptr_t value, uint16_t count) {
    return deleteEntry(entries, value, count);
}

int32_t _DeleteFARbyLoc(uintptr_t* entries, uint16_t position, uint16_t count) {
    return deleteEntryAt(entries, position, count);
}

int32_t _DeleteNEARbyLoc(uintptr_t* entries, uint16_t position, uint16_t count) {
    return deleteEntryAt(entries, position, count);
}

int32_t _InsertFARbyLoc(uintptr_t* entries, uintptr_t value, uint16_t position, uint16_t count) {
    return insertEntryAt(entries, value, position, count);
}

int32_t _InsertNEARbyLoc(uintptr_t* entries, uintptr_t value, uint16_t position, uint16_t count) {
    return insertEntryAt(entries, value, position, count);
}

int32_t IsWin95Dos(void) {
    return 0;
}
