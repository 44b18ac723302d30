#include "SectionFile.h"

#include "NameTable.h"

#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/Strings.h>

#include <string.h>

namespace {

bool isHeader(const char* line) {
    return line[0] == '[';
}

// Cuts the text after at most kSectionTextMax bytes, never inside a double-byte character.
void limitText(char* text) {
    char* p = text;
    while (*p != '\0') {
        char* next = _lstrnext(p);
        if (static_cast<uint32_t>(next - text) > kSectionTextMax)
            break;
        p = next;
    }
    *p = '\0';
}

// The first occurrence of the single-byte character c, stepping by characters; null if none.
char* findChar(char* text, char c) {
    for (char* p = text; *p != '\0'; p = _lstrnext(p)) {
        if (*p == c)
            return p;
    }
    return nullptr;
}

int32_t readLines(HLIST lines, SectionReader& reader) {
    uint32_t headers = 0;
    for (const char* item = static_cast<const char*>(ListFirst(lines)); item != nullptr;
         item = static_cast<const char*>(ListNext(lines))) {
        if (isHeader(item))
            ++headers;
    }
    if (headers < 2)
        return -11;

    // The lines are this reader's own copies: they are trimmed and cut in place, which needs no
    // allocation that could fail.
    headers = 0;
    for (char* line = static_cast<char*>(ListFirst(lines)); line != nullptr;
         line = static_cast<char*>(ListNext(lines))) {
        bool header = isHeader(line);
        if (header)
            ++headers;
        if (headers < 2)
            continue;
        NameTableTrim(line);
        if (header) {
            char* idText = line + 1;
            char* close = findChar(idText, ']');
            if (close != nullptr)
                *close = '\0';
            NameTableTrim(idText);
            int32_t result = reader.onSection(idText);
            if (result != 0)
                return result;
            continue;
        }
        char* equals = findChar(line, '=');
        if (equals == nullptr)
            continue;
        *equals = '\0';
        char* value = equals + 1;
        limitText(line);
        limitText(value);
        reader.onEntry(line, value);
    }
    return 0;
}

} // namespace

int32_t SectionFileRead(const char* path, SectionReader& reader) {
    HLIST lines = ListCreate(0);
    if (lines == nullptr)
        return -9;
    int32_t result = -8;
    if (ListReadFromFile(lines, path) != 0)
        result = readLines(lines, reader);
    ListDestroy(lines);
    return result;
}
