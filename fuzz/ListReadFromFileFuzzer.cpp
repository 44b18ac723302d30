// libFuzzer target: arbitrary bytes as a list text file, read with ListReadFromFile, written back
// with ListWriteToFile and read again, and copied with ListCopy.
//
// Besides the sanitizers' checks (leaks included), the target aborts when a property fails:
//  - the read returns 1, and when every line with its break fits in a read chunk of 8192 bytes
//    the items are exactly the lines of the text (each up to its first zero byte), the text after
//    the last break included unless it starts with the byte 26;
//  - longer lines come back in pieces that together give the line (when it holds no zero byte);
//  - writing the items and reading the file again gives the same items, unless the list is a
//    single empty item or its last item starts with the byte 26 (which the text form cannot
//    carry);
//  - a copy of the list holds the same items.
// In a code page with double-byte characters (BWCORE_ACP=932) only the read's result and the copy
// are checked: a break byte after a lead byte belongs to its character.
// Run it with inputs longer than a chunk, for example -max_len=40000.
#include "FuzzFile.h"
#include "ListLines.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

constexpr size_t kChunk = 8192;

std::string Joined(const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items)
        joined += item;
    return joined;
}

// The items read against the lines of the text worked out byte by byte.
void CheckLines(const std::vector<std::string>& items, const uint8_t* data, size_t size) {
    const ExpectedLines expected = SplitLines(data, size, true);
    if (expected.longest <= kChunk) {
        Check(items == expected.lines, "the items are the lines of the text");
        return;
    }
    if (memchr(data, 0, size) != nullptr || memchr(data, 26, size) != nullptr)
        return;
    std::string withoutBreaks;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] != '\r' && data[i] != '\n')
            withoutBreaks += static_cast<char>(data[i]);
    }
    Check(Joined(items) == withoutBreaks, "long lines come back in pieces");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = WriteFuzzFile("list", data, size);
    HLIST list = ListCreate(0);
    Check(list != nullptr, "a list can be created");
    Check(ListReadFromFile(list, path.c_str()) == 1, "the file is read");
    const std::vector<std::string> items = ListItems(list);
    if (SingleByteCodePage())
        CheckLines(items, data, size);

    HLIST copy = ListCopy(list);
    Check(copy != nullptr && ListItems(copy) == items, "the copy holds the same items");
    ListDestroy(copy);

    const bool representable = SingleByteCodePage() && !items.empty() &&
                               !(items.size() == 1 && items[0].empty()) &&
                               (items.back().empty() || items.back()[0] != 26);
    if (representable) {
        Check(ListWriteToFile(list, path.c_str()) == 1, "the file is written");
        HLIST again = ListCreate(0);
        Check(ListReadFromFile(again, path.c_str()) == 1, "the written file is read");
        Check(ListItems(again) == items, "writing and reading again keeps the items");
        ListDestroy(again);
    }
    ListDestroy(list);
    remove(path.c_str());
    return 0;
}
