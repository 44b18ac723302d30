// libFuzzer target: arbitrary bytes as the buffer of ListFromBuffer, into a string list, a record
// list and a pointer list.
//
// In a code page with double-byte characters (BWCORE_ACP=932) only the sanitizers' checks apply.
// Besides them (the buffer is exactly as long as the input, so no byte beyond
// it may be read, and leaks count), the target aborts when a property fails:
//  - the result is 1 and the buffer is left as it was;
//  - the string list holds exactly the lines that a break completes, but a single break byte at
//    the very end, each up to its first zero byte (one empty item for an empty buffer);
//  - the record list holds as many items, the pointer list none.
#include "ListLines.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every kind of list, the record size taken from the input.
    const int32_t itemSizes[] = {0, size > 0 ? 1 + data[0] % 24 : 5, -1};
    for (int32_t itemSize : itemSizes) {
        HLIST list = ListCreate(itemSize);
        Check(list != nullptr, "a list can be created");
        std::vector<uint8_t> buffer(data, data + size);
        if (buffer.empty())
            buffer.push_back('x');
        char* text = reinterpret_cast<char*>(buffer.data());
        Check(ListFromBuffer(list, text, static_cast<uint32_t>(size)) == 1, "the result is 1");
        if (size > 0)
            Check(memcmp(buffer.data(), data, size) == 0, "the buffer is left as it was");
        std::vector<std::string> expected = SplitLines(data, size, false).lines;
        if (size == 0)
            expected.assign(1, std::string());
        if (!SingleByteCodePage())
            ListItems(list);
        else if (itemSize == 0)
            Check(ListItems(list) == expected, "the string items are the completed lines");
        else if (itemSize > 0)
            Check(ListCount(list) == expected.size(), "one record per completed line");
        else
            Check(ListCount(list) == 0, "a pointer list takes nothing");
        ListDestroy(list);
    }
    return 0;
}
