#include "Sections.h"

#include "SectionFile.h"

#include <stdlib.h>
#include <string.h>

namespace {

// List items follow a 4-byte block header, so a record is copied out rather than read in place.
TableSection recordOf(const void* item) {
    TableSection section;
    memcpy(&section, item, sizeof section);
    return section;
}

void freeValues(NameTable* table) {
    char key[kSectionKeyBuffer];
    uintptr_t value = 0;
    for (int32_t mode = kNameTableFirst; NameTableEnum(table, mode, key, &value) == 1;
         mode = kNameTableNext)
        free(reinterpret_cast<void*>(value));
}

} // namespace

HLIST SectionsCreate() {
    return ListCreate(static_cast<int32_t>(sizeof(TableSection)));
}

int32_t SectionsAdd(HLIST sections, uint16_t language, TableSection* added) {
    TableSection section = {language, NameTableCreate(kNameTableBuckets), nullptr};
    if (section.names != nullptr)
        section.texts = NameTableCreate(kNameTableBuckets);
    if (section.texts == nullptr) {
        NameTableDestroy(section.names);
        return -10;
    }
    // Items are linked after the current node: move to the end so that file order is kept.
    ListLast(sections);
    if (ListInsert(sections, &section) == 0) {
        NameTableDestroy(section.names);
        NameTableDestroy(section.texts);
        return -10;
    }
    *added = section;
    return 0;
}

int32_t SectionsSelect(HLIST sections, uint16_t language, TableSection* current) {
    if (current->language == language)
        return 0;
    for (void* item = ListFirst(sections); item != nullptr; item = ListNext(sections)) {
        TableSection section = recordOf(item);
        if (section.language == language) {
            *current = section;
            return 0;
        }
    }
    return -4;
}

void SectionsSelectFirst(HLIST sections, TableSection* current) {
    const void* item = ListFirst(sections);
    if (item == nullptr)
        return;
    TableSection first = recordOf(item);
    if (first.language != current->language)
        *current = first;
}

void SectionsDestroy(HLIST sections, bool freeNameValues) {
    for (void* item = ListFirst(sections); item != nullptr; item = ListNext(sections)) {
        TableSection section = recordOf(item);
        if (freeNameValues)
            freeValues(section.names);
        freeValues(section.texts);
        NameTableDestroy(section.names);
        NameTableDestroy(section.texts);
    }
    ListDestroy(sections);
}
