#include "ListLines.h"

#include <bwcore/platform.h>
#include <bwcore/runtime/List.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

bool IsBreak(uint8_t c) {
    return c == '\r' || c == '\n';
}

std::string UpToZero(const uint8_t* text, size_t length) {
    const void* zero = memchr(text, 0, length);
    if (zero != nullptr)
        length = static_cast<size_t>(static_cast<const uint8_t*>(zero) - text);
    return std::string(reinterpret_cast<const char*>(text), length);
}

} // namespace

ExpectedLines SplitLines(const uint8_t* text, size_t size, bool whole) {
    ExpectedLines expected;
    if (whole && size == 0)
        return expected;
    size_t start = 0;
    size_t p = 0;
    while (p < size) {
        if (!IsBreak(text[p])) {
            ++p;
            continue;
        }
        if (!whole && p == size - 1)
            break;
        expected.lines.push_back(UpToZero(text + start, p - start));
        ++p;
        if (p < size && IsBreak(text[p]))
            ++p;
        expected.longest = std::max(expected.longest, p - start);
        start = p;
    }
    expected.longest = std::max(expected.longest, size - start);
    if (whole && (start == size || text[start] != 26))
        expected.lines.push_back(UpToZero(text + start, size - start));
    return expected;
}

std::vector<std::string> ListItems(void* handle) {
    HLIST list = static_cast<HLIST>(handle);
    const HLISTPOS current = ListGetCurrent(list);
    std::vector<std::string> items;
    for (uint32_t i = 0; i < ListCount(list); ++i) {
        const char* item = static_cast<const char*>(ListSetCurIndex(list, static_cast<int32_t>(i)));
        Check(item != nullptr, "every line read is stored");
        items.push_back(item);
    }
    if (current != nullptr)
        ListSetCurrent(list, current);
    return items;
}

bool SingleByteCodePage() {
    for (int b = 0x80; b < 0x100; ++b) {
        if (IsDBCSLeadByte(static_cast<BYTE>(b)))
            return false;
    }
    return true;
}

void Check(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "list storage property violated: %s\n", what);
        abort();
    }
}
