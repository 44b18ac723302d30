#include <bwcore/intl/Platform.h>

#include "NameTable.h"
#include "SectionFile.h"
#include "Sections.h"

#include <bwcore/runtime/Strings.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct BWPLATFORMTABLE {
    HGLOBAL memory;
    HINSTANCE instance;
    TableSection current; // names to value texts, value texts to names
    HLIST sections;
    char separator[9];
};

namespace {

constexpr char kDefaultSeparator[] = "&";
constexpr int kSeparatorBuffer = 5;
constexpr uint32_t kPlatformBits = 16;
constexpr size_t kWordDigits = 8;

const char* skipPrefix(const char* text) {
    return text[0] == '0' && text[1] == 'x' ? text + 2 : text;
}

char* copyText(const char* text) {
    char* copy = static_cast<char*>(malloc(strlen(text) + 1));
    if (copy != nullptr)
        strcpy(copy, text);
    return copy;
}

class PlatformReader : public SectionReader {
public:
    explicit PlatformReader(HLIST sections) : sections_(sections) {}

    int32_t onSection(const char* idText) override {
        uint32_t id = 0;
        _HexToDec(idText, &id);
        return SectionsAdd(sections_, static_cast<uint16_t>(id), &section_);
    }

    void onEntry(char* name, char* value) override {
        char* nameCopy = copyText(name);
        char* valueCopy = copyText(skipPrefix(value));
        if (nameCopy == nullptr || valueCopy == nullptr) {
            free(nameCopy);
            free(valueCopy);
            return;
        }
        // Each copy is owned by the one table that keeps it as a value, or freed here.
        if (NameTableInsert(section_.names, nameCopy, reinterpret_cast<uintptr_t>(valueCopy), 0) !=
            0)
            free(valueCopy);
        if (NameTableInsert(section_.texts, skipPrefix(value),
                            reinterpret_cast<uintptr_t>(nameCopy), 0) != 0)
            free(nameCopy);
    }

private:
    HLIST sections_;
    TableSection section_ = {0, nullptr, nullptr};
};

bool isEmpty(const PLATFORMINFO& set) {
    return set.first == 0 && set.second == 0;
}

bool contains(const PLATFORMINFO& a, const PLATFORMINFO& b) {
    return (a.first & b.first) == b.first && (a.second & b.second) == b.second;
}

// The failure shared by the set tests: an empty b against a non-empty a.
bool emptyAgainstSet(const PLATFORMINFO& a, const PLATFORMINFO& b) {
    return isEmpty(b) && !isEmpty(a);
}

int32_t compareSets(const PLATFORMINFO& a, const PLATFORMINFO& b) {
    if (emptyAgainstSet(a, b) || !contains(a, b))
        return -13;
    return 0;
}

// The name kept for the exact bin text of the set, or null.
const char* nameOfSet(const BWPLATFORMTABLE* table, const PLATFORMINFO& set) {
    char text[PLATFORM_BINTEXT_SIZE];
    PlatformInfoToBinText(&set, text);
    uintptr_t value = 0;
    if (NameTableLookup(table->current.texts, text, &value) == 0)
        return nullptr;
    return reinterpret_cast<const char*>(value);
}

} // namespace

HPLATFORM PlatformCreate(HINSTANCE instance) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BWPLATFORMTABLE));
    if (memory == nullptr)
        return nullptr;
    HPLATFORM table = static_cast<HPLATFORM>(GlobalLock(memory));
    if (table == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    table->memory = memory;
    table->instance = instance;
    table->sections = SectionsCreate();
    if (table->sections == nullptr) {
        GlobalUnlock(memory);
        GlobalFree(memory);
        return nullptr;
    }
    strcpy(table->separator, kDefaultSeparator);
    return table;
}

int32_t PlatformLoad(HPLATFORM table, const char* path) {
    if (table == nullptr || path == nullptr)
        return -1;
    PlatformReader reader(table->sections);
    int32_t result = SectionFileRead(path, reader);
    if (result != 0)
        return result;
    SectionsSelectFirst(table->sections, &table->current);
    return 0;
}

int32_t PlatformSetLanguage(HPLATFORM table, uint16_t language) {
    if (table == nullptr)
        return -1;
    return SectionsSelect(table->sections, language, &table->current);
}

int32_t PlatformSeparator(HPLATFORM table, uint32_t id) {
    if (table == nullptr)
        return -1;
    char text[kSeparatorBuffer] = "";
    if (LoadStringA(table->instance, id, text, kSeparatorBuffer) > 0)
        strcpy(table->separator, text);
    else
        strcpy(table->separator, kDefaultSeparator);
    return 1;
}

int32_t PlatformEnum(HPLATFORM table, char* name, PLATFORMINFO* set, uint32_t flags) {
    if (table == nullptr || name == nullptr || set == nullptr)
        return -1;
    int32_t mode = 0;
    if ((flags & PLATFORM_ENUM_FIRST) != 0)
        mode = kNameTableFirst;
    else if ((flags & PLATFORM_ENUM_NEXT) != 0)
        mode = kNameTableNext;
    else
        return -6;
    uintptr_t value = 0;
    if (NameTableEnum(table->current.names, mode, name, &value) == 0)
        return 0;
    PlatformBinTextToInfo(reinterpret_cast<const char*>(value), set);
    return 1;
}

int32_t PlatformGetId(HPLATFORM table, const char* name, PLATFORMINFO* set) {
    if (table == nullptr || name == nullptr || set == nullptr)
        return -1;
    uintptr_t value = 0;
    if (NameTableLookup(table->current.names, name, &value) == 0)
        return -3;
    PlatformBinTextToInfo(reinterpret_cast<const char*>(value), set);
    return 0;
}

int32_t PlatformGetName(HPLATFORM table, PLATFORMINFO set, char* names) {
    if (table == nullptr || names == nullptr)
        return -1;
    PLATFORMINFO platforms[kPlatformBits];
    uint32_t count = 0;
    PlatformInfoToArray(table, set, platforms, &count);
    for (uint32_t i = 0; i < count; ++i) {
        const char* name = nameOfSet(table, platforms[i]);
        if (name == nullptr)
            return -4;
        if (i == 0) {
            strcpy(names, name);
        } else {
            char* end = names + strlen(names);
            end += sprintf(end, " %s ", table->separator);
            strcpy(end, name);
        }
    }
    return 0;
}

int32_t PlatformGetCount(HPLATFORM table, PLATFORMINFO set, uint32_t* count) {
    if (table == nullptr || count == nullptr)
        return -1;
    PLATFORMINFO platforms[kPlatformBits];
    PlatformInfoToArray(table, set, platforms, count);
    return 0;
}

int32_t PlatformInfoToArray(HPLATFORM table, PLATFORMINFO set, PLATFORMINFO* platforms,
                            uint32_t* count) {
    if (table == nullptr || platforms == nullptr || count == nullptr)
        return -1;
    *count = 0;
    for (uint32_t bit = 0; bit < kPlatformBits; ++bit) {
        uint32_t mask = 1u << bit;
        if ((set.second & mask) != 0)
            platforms[(*count)++] = PLATFORMINFO{0, mask};
    }
    return 1;
}

int32_t PlatformMerge(HPLATFORM table, PLATFORMINFO* target, PLATFORMINFO set) {
    if (table == nullptr || target == nullptr)
        return -1;
    if (nameOfSet(table, set) == nullptr)
        return -4;
    target->first |= set.first;
    target->second |= set.second;
    return 0;
}

int32_t PlatformDestroy(HPLATFORM table) {
    if (table == nullptr)
        return 0;
    SectionsDestroy(table->sections, true);
    HGLOBAL memory = table->memory;
    GlobalUnlock(memory);
    GlobalFree(memory);
    return 0;
}

int32_t PlatformClearItem(HPLATFORM, PLATFORMINFO* set) {
    if (set == nullptr)
        return -1;
    *set = PLATFORMINFO{0, 0};
    return 0;
}

int32_t PlatformIsIndependent(HPLATFORM, const PLATFORMINFO* set) {
    return set != nullptr && isEmpty(*set) ? 1 : 0;
}

int32_t PlatformCompare(HPLATFORM table, PLATFORMINFO a, PLATFORMINFO b) {
    if (table == nullptr)
        return -1;
    return compareSets(a, b);
}

int32_t PlatformCompareStr(HPLATFORM table, PLATFORMINFO a, const char* b) {
    if (table == nullptr || b == nullptr)
        return -1;
    PLATFORMINFO set;
    PlatformBinTextToInfo(b, &set);
    return compareSets(a, set);
}

int32_t PlatformIsMemberOf(HPLATFORM table, PLATFORMINFO a, PLATFORMINFO b, int32_t all) {
    if (table == nullptr)
        return -1;
    if (emptyAgainstSet(a, b))
        return -13;
    if (all != 0)
        return contains(a, b) ? 0 : -13;
    bool shared = (a.first & b.first) != 0 || (a.second & b.second) != 0;
    return shared ? 0 : -13;
}

int32_t PlatformRemove(HPLATFORM table, PLATFORMINFO* a, PLATFORMINFO b) {
    if (table == nullptr || a == nullptr)
        return -1;
    if (compareSets(*a, b) != 0)
        return -13;
    a->first &= ~b.first;
    a->second &= ~b.second;
    return 0;
}

int32_t PlatformInfoToBinText(const PLATFORMINFO* set, char* text) {
    if (set == nullptr || text == nullptr)
        return -1;
    snprintf(text, PLATFORM_BINTEXT_SIZE, "%08x%08x", static_cast<unsigned>(set->first),
             static_cast<unsigned>(set->second));
    return 1;
}

int32_t PlatformBinTextToInfo(const char* text, PLATFORMINFO* set) {
    if (text == nullptr || set == nullptr)
        return 0;
    *set = PLATFORMINFO{0, 0};
    if (*text == '\0')
        return 1;
    const char* digits = skipPrefix(text);
    size_t length = strlen(digits);
    if (length <= kWordDigits) {
        _HexToDec(digits, &set->second);
        return 1;
    }
    const char* secondWord = digits + length - kWordDigits;
    _HexToDec(secondWord, &set->second);
    // Copied without allocating, so that no failure can leave this function. A first word longer
    // than a data file's value text (259 bytes) is outside the format: its first 259 bytes count.
    char firstWord[kSectionKeyBuffer];
    size_t firstLength = static_cast<size_t>(secondWord - digits);
    if (firstLength > kSectionTextMax)
        firstLength = kSectionTextMax;
    memcpy(firstWord, digits, firstLength);
    firstWord[firstLength] = '\0';
    _HexToDec(firstWord, &set->first);
    return 1;
}
