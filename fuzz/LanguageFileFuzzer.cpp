// libFuzzer target: arbitrary bytes as a language file, loaded twice into one language table.
//
// Besides the sanitizers' checks (leaks included, so IntlDestroy must release everything), the
// target aborts when a property fails:
//  - a load of an existing file ends with 0 or -11, and (for input shorter than a read chunk)
//    -11 exactly when fewer than two lines begin with "[";
//  - after a successful load the current language is that of a section, and a second load keeps
//    it;
//  - every language enumerated with the include-all flag has a name of at most 259 bytes that
//    looks up to some id, its id has a name, and its directory name is "%04x-" and that name;
//  - the enumeration without the flag returns exactly the neutral part of the full one.
#include "FuzzFile.h"

#include <bwcore/bwcore.h>

#include <set>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <utility>

namespace {

void Check(bool holds, const char* what) {
    if (!holds) {
        fprintf(stderr, "language table property violated: %s\n", what);
        abort();
    }
}

using Languages = std::set<std::pair<std::string, uint16_t>>;

Languages Enumerate(HINTL table, int32_t includeAll, size_t limit) {
    Languages languages;
    char name[260];
    uint16_t id = 0;
    size_t steps = 0;
    for (int32_t mode = INTL_ENUM_FIRST; IntlEnum(table, name, &id, includeAll, mode) == 1;
         mode = INTL_ENUM_NEXT) {
        Check(++steps <= limit, "the enumeration ends");
        Check(strlen(name) <= 259, "names fit 260 bytes");
        Check(languages.insert({name, id}).second, "the enumeration returns each name once");
    }
    return languages;
}

void CheckTable(HINTL table, size_t size) {
    uint16_t current = 0;
    Check(IntlGetLanguage(table, &current) == 0, "the current language is readable");
    Check(IntlSetLanguage(table, current) == 0, "the current language is a section's");
    Languages all = Enumerate(table, 1, size + 1);
    Languages neutral = Enumerate(table, 0, size + 1);
    Languages expected;
    for (const auto& language : all) {
        if ((language.second & 0xFC00) == 0)
            expected.insert(language);
        uint16_t id = 0;
        Check(IntlGetLangId(table, language.first.c_str(), &id) == 0 && id == language.second,
              "an enumerated name looks up to its id");
        char name[260];
        Check(IntlGetName(table, language.second, name) == 0, "an enumerated id has a name");
        char directory[300];
        Check(IntlMakeDirName(table, language.second, directory) == 1,
              "an enumerated id has a directory name");
        char prefix[8];
        snprintf(prefix, sizeof prefix, "%04x-", language.second);
        Check(std::string(directory) == prefix + std::string(name),
              "the directory name is the id and the name");
        Check(IntlIsNeutral(table, language.first.c_str(), 0) == (language.second < 1024 ? 1 : 0),
              "neutrality follows the id");
    }
    Check(neutral == expected, "without the flag only neutral languages are returned");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = WriteFuzzFile("languages", data, size);
    HINTL table = IntlCreate();
    Check(table != nullptr, "a table is created");
    int32_t result = IntlLoad(table, path.c_str());
    Check(result == 0 || result == -11, "loading ends with 0 or -11");
    // Lines longer than a read chunk are split into several, so the count holds for short input.
    if (size < kShortDataFile)
        Check((result == -11) == (CountHeaders(data, size) < 2),
              "-11 means fewer than two headers");
    if (result == 0) {
        CheckTable(table, size);
        uint16_t before = 0;
        IntlGetLanguage(table, &before);
        Check(IntlLoad(table, path.c_str()) == 0, "a second load succeeds");
        uint16_t after = 0;
        IntlGetLanguage(table, &after);
        Check(before == after, "a second load keeps the current language");
        CheckTable(table, size);
    }
    Check(IntlDestroy(table) == 0, "destroy returns 0");
    return 0;
}
