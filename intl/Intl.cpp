#include <bwcore/intl/Intl.h>

#include "NameTable.h"
#include "SectionFile.h"
#include "Sections.h"

#include <bwcore/platform.h>
#include <bwcore/runtime/Strings.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct BWINTLTABLE {
    HGLOBAL memory;
    TableSection current; // names to ids, decimal ids to names
    HLIST sections;
};

namespace {

constexpr uint16_t kSpecificBits = 0xFC00;
constexpr uint32_t kNeutralLimit = 1024;
constexpr uintptr_t kSmallestAddress = 65536;

// Decimal text of an id, the key of the id tables (at most five digits).
struct IdText {
    char text[12];
    explicit IdText(uint16_t id) { snprintf(text, sizeof text, "%u", static_cast<unsigned>(id)); }
};

bool startsWithPrefix(const char* text) {
    return text[0] == '0' && text[1] == 'x';
}

class LanguageReader : public SectionReader {
public:
    explicit LanguageReader(HLIST sections) : sections_(sections) {}

    int32_t onSection(const char* idText) override {
        uint32_t id = 0;
        if (IntlHexToDecimal(idText, &id) == 1)
            language_ = static_cast<uint16_t>(id);
        return SectionsAdd(sections_, language_, &section_);
    }

    void onEntry(char* name, char* value) override {
        uint32_t id = 0;
        if (IntlHexToDecimal(value, &id) == 0)
            return;
        uint16_t language = static_cast<uint16_t>(id);
        NameTableInsert(section_.names, name, language, 0);
        char* copy = static_cast<char*>(malloc(strlen(name) + 1));
        if (copy == nullptr)
            return;
        strcpy(copy, name);
        if (NameTableInsert(section_.texts, IdText(language).text,
                            reinterpret_cast<uintptr_t>(copy), 0) != 0)
            free(copy);
    }

private:
    HLIST sections_;
    uint16_t language_ = 0;
    TableSection section_ = {0, nullptr, nullptr};
};

const char* nameOf(const BWINTLTABLE* table, uint16_t language) {
    uintptr_t value = 0;
    if (NameTableLookup(table->current.texts, IdText(language).text, &value) == 0)
        return nullptr;
    return reinterpret_cast<const char*>(value);
}

} // namespace

HINTL IntlCreate(void) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BWINTLTABLE));
    if (memory == nullptr)
        return nullptr;
    HINTL table = static_cast<HINTL>(GlobalLock(memory));
    if (table == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    table->memory = memory;
    table->sections = SectionsCreate();
    if (table->sections == nullptr) {
        GlobalUnlock(memory);
        GlobalFree(memory);
        return nullptr;
    }
    return table;
}

int32_t IntlLoad(HINTL table, const char* path) {
    if (table == nullptr || path == nullptr)
        return -1;
    LanguageReader reader(table->sections);
    int32_t result = SectionFileRead(path, reader);
    if (result != 0)
        return result;
    SectionsSelectFirst(table->sections, &table->current);
    return 0;
}

int32_t IntlSetLanguage(HINTL table, uint16_t language) {
    if (table == nullptr)
        return -1;
    return SectionsSelect(table->sections, language, &table->current);
}

int32_t IntlGetLanguage(HINTL table, uint16_t* language) {
    if (table == nullptr || language == nullptr)
        return -1;
    *language = table->current.language;
    return 0;
}

int32_t IntlGetLangId(HINTL table, const char* name, uint16_t* language) {
    if (table == nullptr || name == nullptr)
        return -1;
    if (language == nullptr)
        return -2;
    uintptr_t value = 0;
    if (NameTableLookup(table->current.names, name, &value) == 0)
        return -3;
    *language = static_cast<uint16_t>(value);
    return 0;
}

int32_t IntlGetName(HINTL table, uint16_t language, char* name) {
    if (table == nullptr)
        return -1;
    if (name == nullptr)
        return -2;
    const char* found = nameOf(table, language);
    if (found == nullptr)
        return -4;
    strcpy(name, found);
    return 0;
}

int32_t IntlIsNeutral(HINTL table, const char* name, uint16_t language) {
    if (table == nullptr)
        return 0;
    if (name == nullptr)
        return language < kNeutralLimit ? 1 : 0;
    uintptr_t value = 0;
    if (NameTableLookup(table->current.names, name, &value) == 0)
        return 0;
    return value < kNeutralLimit ? 1 : 0;
}

int32_t IntlEnum(HINTL table, char* name, uint16_t* language, int32_t includeAll, int32_t mode) {
    if (table == nullptr || language == nullptr)
        return -1;
    if (mode != INTL_ENUM_FIRST && mode != INTL_ENUM_NEXT)
        return -6;
    char key[kSectionKeyBuffer];
    uintptr_t value = 0;
    int32_t step = mode == INTL_ENUM_FIRST ? kNameTableFirst : kNameTableNext;
    // Specific sublanguages are skipped by continuing, so the next call resumes after them.
    for (; NameTableEnum(table->current.names, step, key, &value) == 1; step = kNameTableNext) {
        uint16_t id = static_cast<uint16_t>(value);
        if (includeAll == 0 && (id & kSpecificBits) != 0)
            continue;
        *language = id;
        if (name != nullptr)
            strcpy(name, key);
        return 1;
    }
    return 0;
}

int32_t IntlMakeDirName(HINTL table, uintptr_t language, char* directory) {
    if (table == nullptr || directory == nullptr)
        return 0;
    uint16_t id = 0;
    const char* name = nullptr;
    if (language >= kSmallestAddress) {
        name = reinterpret_cast<const char*>(language);
        uintptr_t value = 0;
        if (NameTableLookup(table->current.names, name, &value) == 0)
            return 0;
        id = static_cast<uint16_t>(value);
    } else {
        id = static_cast<uint16_t>(language);
        name = nameOf(table, id);
        if (name == nullptr)
            return 0;
    }
    sprintf(directory, "%04x-%s", static_cast<unsigned>(id), name);
    return 1;
}

int32_t IntlHexToDecimal(const char* text, uint32_t* value) {
    if (text == nullptr || value == nullptr || !startsWithPrefix(text))
        return 0;
    uint32_t result = 0;
    for (const char* p = text + 2; *p != '\0'; ++p) {
        uint32_t digit = 0;
        if (*p >= 'A' && *p <= 'F')
            digit = static_cast<uint32_t>(*p - 'A' + 10);
        else if (*p >= 'a' && *p <= 'f')
            digit = static_cast<uint32_t>(*p - 'a' + 10);
        else
            digit = static_cast<uint32_t>(static_cast<int32_t>(*p) - 48);
        result = result * 16 + digit;
    }
    *value = result;
    return 1;
}

int32_t IntlDestroy(HINTL table) {
    if (table == nullptr)
        return 0;
    SectionsDestroy(table->sections, false);
    HGLOBAL memory = table->memory;
    GlobalUnlock(memory);
    GlobalFree(memory);
    return 0;
}
