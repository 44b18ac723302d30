// libFuzzer target: the numeric and search string functions over arbitrary strings, in the ANSI
// code page of the run (BWCORE_ACP=932 on Linux, or LANG=ja_JP.UTF-8 under Wine, for the
// double-byte stepping).
//
// Input: byte 0 and 1 give the _xlstrsub start and count (count 255 stands for 65535, the whole
// rest), bytes 2 and 3 the _xlstrchr character; the rest is split at its first zero byte into
// the text and the pattern. Both are copied into buffers of exactly their size, so that the
// sanitizers catch any read past a terminator.
//
// Besides the sanitizers' checks, the target aborts when a result breaks its contract:
//  - a search offset is -1 or the start of a character of the text whose first byte is the
//    pattern's, and _xlstrstri finds nothing beyond the text's first 511 bytes;
//  - _xlstrchr returns null or the address of a character of the text;
//  - _xlstrsub leaves at most the rest of the text from its start character, as a prefix of it;
//  - _xlatol agrees with strtol for short digit runs, and _HexToDec with strtoul for plain
//    hexadecimal text.
#include <bwcore/platform.h>
#include <bwcore/runtime/Strings.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

void check(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "string function contract violated: %s\n", what);
        abort();
    }
}

// A zero-terminated copy in a buffer of exactly its size.
std::vector<char> terminated(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    return text;
}

bool isCharacterStart(const char* text, int32_t offset) {
    const char* p = text;
    while (p - text < offset && *p != '\0')
        p = CharNextA(p);
    return p - text == offset;
}

void checkSearch(const char* text, const char* pattern, int32_t found, int32_t limit) {
    if (found == -1)
        return;
    check(found >= 0 && found < limit, "search offset outside the text");
    check(isCharacterStart(text, found), "search offset inside a character");
    check(pattern[0] != '\0', "empty pattern found");
}

bool isShortDecimal(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n')
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    size_t digits = 0;
    while (p[digits] >= '0' && p[digits] <= '9')
        ++digits;
    return digits > 0 && digits <= 9;
}

bool isPlainHex(const char* text) {
    const size_t length = strlen(text);
    if (length == 0 || length > 8)
        return false;
    for (const char* p = text; *p != '\0'; ++p) {
        const bool digit = *p >= '0' && *p <= '9';
        const bool letter = (*p >= 'a' && *p <= 'f') || (*p >= 'A' && *p <= 'F');
        if (!digit && !letter)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const uint32_t start = data[0];
    const int32_t count = data[1] == 255 ? 65535 : data[1];
    const uint16_t character = static_cast<uint16_t>(data[2] | (data[3] << 8));
    const uint8_t* rest = data + 4;
    const size_t restSize = size - 4;
    const uint8_t* zero = static_cast<const uint8_t*>(memchr(rest, 0, restSize));
    const size_t textSize = zero != nullptr ? static_cast<size_t>(zero - rest) : restSize;
    std::vector<char> textBuffer = terminated(rest, textSize);
    std::vector<char> patternBuffer =
        zero != nullptr ? terminated(zero + 1, restSize - textSize - 1) : terminated(rest, 0);
    const char* text = textBuffer.data();
    const char* pattern = patternBuffer.data();
    const int32_t textLength = static_cast<int32_t>(strlen(text));

    const int32_t found = _xlstrstr(text, pattern);
    checkSearch(text, pattern, found, textLength);
    if (found >= 0)
        check(text[found] == pattern[0], "search match with another first byte");

    const std::vector<char> textBefore = textBuffer;
    const std::vector<char> patternBefore = patternBuffer;
    const int32_t foundCaseless = _xlstrstri(text, pattern);
    checkSearch(text, pattern, foundCaseless, textLength < 511 ? textLength : 511);
    check(strlen(pattern) < 512 || foundCaseless == -1, "caseless search of a pattern too long");
    check(textBuffer == textBefore && patternBuffer == patternBefore,
          "caseless search changed its arguments");

    const char* at = _xlstrchr(text, character);
    if (at != nullptr) {
        check(at >= text && at < text + textLength, "character found outside the text");
        check(isCharacterStart(text, static_cast<int32_t>(at - text)),
              "character found inside another");
        check(static_cast<uint8_t>(*at) == (character & 0xFF), "character found with another byte");
    }
    check(character != 0 || at == nullptr, "zero character found");

    std::vector<char> part(textBuffer.size(), 'x');
    check(_xlstrsub(text, part.data(), start, count) == 1, "substring result");
    const char* from = text;
    for (uint32_t i = 0; i < start && *from != '\0'; ++i)
        from = CharNextA(from);
    const size_t partLength = strlen(part.data());
    check(partLength <= strlen(from), "substring longer than the rest");
    check(memcmp(part.data(), from, partLength) == 0, "substring not a prefix of the rest");
    if (count == 65535)
        check(strcmp(part.data(), from) == 0, "count 65535 cut the rest");

    const int32_t number = _xlatol(text);
    if (isShortDecimal(text))
        check(number == static_cast<int32_t>(strtol(text, nullptr, 10)),
              "_xlatol of a short number");
    uint32_t hex = 0;
    check(_HexToDec(text, &hex) == 1, "_HexToDec result");
    if (isPlainHex(text))
        check(hex == static_cast<uint32_t>(strtoul(text, nullptr, 16)), "_HexToDec of plain hex");
    return 0;
}
