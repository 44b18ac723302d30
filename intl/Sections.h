// The sections of a language or platform table: one record per data-file section, in file order,
// each with its language id and its two name tables (names to values, values as text to names),
// and the choice of the section that answers look-ups.
#pragma once

#include "NameTable.h"

#include <bwcore/runtime/List.h>

#include <stdint.h>

struct TableSection {
    uint16_t language;
    NameTable* names;
    NameTable* texts;
};

// A new, empty record list for the sections; null when it cannot be created.
HLIST SectionsCreate();
// Appends a section with two new name tables and returns it in `added`; 0, or -10 when a name
// table cannot be created (nothing is then appended).
int32_t SectionsAdd(HLIST sections, uint16_t language, TableSection* added);
// Makes the first section of that language current: 0 when the language is already current
// (also the language 0 of a new table, before any section) or was found, -4 when no section has
// that language (current unchanged).
int32_t SectionsSelect(HLIST sections, uint16_t language, TableSection* current);
// After a load: the first section of the list becomes current unless the current language
// already has its id (so a first section of language 0 is never made current by a load).
void SectionsSelectFirst(HLIST sections, TableSection* current);
// Destroys every section's name tables and the list. The values of every text table are freed
// with free(), and those of the name tables too when freeNameValues is set.
void SectionsDestroy(HLIST sections, bool freeNameValues);
