// libFuzzer target: arbitrary bytes as a platform file, and the same bytes as a bin text.
//
// Besides the sanitizers' checks (leaks included, so PlatformDestroy must release everything),
// the target aborts when a property fails:
//  - a load of an existing file ends with 0 or -11, and (for input shorter than a read chunk)
//    -11 exactly when fewer than two lines begin with "[";
//  - every platform enumerated has a name of at most 259 bytes that looks up to the same set;
//    a set whose bin text is a value of the section merges, and its single platforms either all
//    have names (PlatformGetName 0) or one does not (-4);
//  - the bin text of any set reads back as that set, and the set tests agree with each other.
#include "FuzzFile.h"

#include <bwcore/bwcore.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "platform table property violated: %s\n", what);
        abort();
    }
}

bool Same(const PLATFORMINFO& a, const PLATFORMINFO& b) {
    return a.first == b.first && a.second == b.second;
}

void CheckSet(HPLATFORM table, const PLATFORMINFO& set) {
    char text[PLATFORM_BINTEXT_SIZE];
    Check(PlatformInfoToBinText(&set, text) == 1 && strlen(text) == 16, "bin text has 16 digits");
    PLATFORMINFO back;
    Check(PlatformBinTextToInfo(text, &back) == 1 && Same(back, set), "bin text reads back");
    std::string prefixed = std::string("0x") + text;
    Check(PlatformBinTextToInfo(prefixed.c_str(), &back) == 1 && Same(back, set),
          "bin text with 0x reads back");
    Check(PlatformCompare(table, set, set) == 0, "a set contains itself");
    Check(PlatformCompareStr(table, set, text) == 0, "a set contains its text");
    bool empty = set.first == 0 && set.second == 0;
    Check(PlatformIsMemberOf(table, set, set, 0) == (empty ? -13 : 0), "a set meets itself");
    PLATFORMINFO removed = set;
    Check(PlatformRemove(table, &removed, set) == 0 && removed.first == 0 && removed.second == 0,
          "removing a set from itself empties it");
    uint32_t count = 0;
    Check(PlatformGetCount(table, set, &count) == 0 && count <= 16, "at most 16 platforms");
    char names[16 * 280];
    int32_t named = PlatformGetName(table, set, names);
    Check(named == 0 || named == -4, "naming gives 0 or -4");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    PLATFORMINFO parsed;
    Check(PlatformBinTextToInfo(text.c_str(), &parsed) == 1, "any text reads as a set");

    std::string path = WriteFuzzFile("platforms", data, size);
    HPLATFORM table = PlatformCreate(nullptr);
    Check(table != nullptr, "a table is created");
    CheckSet(table, parsed);
    int32_t result = PlatformLoad(table, path.c_str());
    Check(result == 0 || result == -11, "loading ends with 0 or -11");
    // Lines longer than a read chunk are split into several, so the count holds for short input.
    if (size < kShortDataFile)
        Check((result == -11) == (CountHeaders(data, size) < 2),
              "-11 means fewer than two headers");
    char name[260];
    PLATFORMINFO set;
    size_t steps = 0;
    for (uint32_t flags = PLATFORM_ENUM_FIRST; PlatformEnum(table, name, &set, flags) == 1;
         flags = PLATFORM_ENUM_NEXT) {
        Check(++steps <= size + 1, "the enumeration ends");
        Check(strlen(name) <= 259, "names fit 260 bytes");
        PLATFORMINFO found;
        Check(PlatformGetId(table, name, &found) == 0 && Same(found, set),
              "an enumerated name looks up to its set");
        CheckSet(table, set);
    }
    Check(PlatformDestroy(table) == 0, "destroy returns 0");
    return 0;
}
