#include "NameTable.h"

#include <bwcore/platform.h>
#include <bwcore/runtime/MemHeap.h>
#include <bwcore/runtime/Strings.h>

#include <string.h>

struct NameEntry {
    NameEntry* next;
    char* key;
    uintptr_t value;
};

struct NameTable {
    int32_t heapId;
    uint32_t count;
    uint16_t bucketCount;
    int32_t ownHeap; // 0: the table created its heap and destroys it whole
    NameEntry* enumEntry;
    uint16_t enumBucket;
    NameEntry* previousEnumEntry;
    uint16_t previousEnumBucket;
    NameEntry** buckets; // bucketCount chain heads, in the same block right after the record
};

namespace {

constexpr uint32_t kHeapFlags = 0x1103;
constexpr uint32_t kHeapUnit = 80;
constexpr uint32_t kHeapExtraUnits = 9;

uint16_t hashOf(const char* key) {
    uint16_t sum = 0;
    for (const char* p = key; *p != '\0'; ++p)
        sum = static_cast<uint16_t>(sum + static_cast<signed char>(*p));
    return sum;
}

// Blocks of a numbered heap follow its 4-byte block header, so they are not aligned for the
// pointers that records and entries hold: those are placed at the first suitable address of a
// block allocated that much larger. `block` receives the block itself, for MemHeapFree.
void* allocAligned(int32_t heapId, uint32_t size, void** block) {
    constexpr uintptr_t kAlign = alignof(void*);
    *block = MemHeapAlloc(heapId, static_cast<uint32_t>(size + kAlign - 1));
    if (*block == nullptr)
        return nullptr;
    uintptr_t address = (reinterpret_cast<uintptr_t>(*block) + kAlign - 1) & ~(kAlign - 1);
    return static_cast<char*>(*block) + (address - reinterpret_cast<uintptr_t>(*block));
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

NameTable* NameTableCreate(uint16_t bucketCount) {
    if (bucketCount == 0)
        return nullptr;
    int32_t heapId = MemHeapCreate((bucketCount + kHeapExtraUnits) * kHeapUnit, kHeapFlags);
    if (heapId == -1)
        return nullptr;
    uint32_t size = static_cast<uint32_t>(sizeof(NameTable) + bucketCount * sizeof(NameEntry*));
    void* unaligned = nullptr;
    void* block = allocAligned(heapId, size, &unaligned);
    if (block == nullptr) {
        MemHeapDestroy(heapId);
        return nullptr;
    }
    // The heap zero-fills, so the count, the enumeration position and the chains start empty.
    NameTable* table = static_cast<NameTable*>(block);
    table->heapId = heapId;
    table->bucketCount = bucketCount;
    table->ownHeap = 0;
    table->buckets = reinterpret_cast<NameEntry**>(static_cast<char*>(block) + sizeof(NameTable));
    return table;
}

int32_t NameTableInsert(NameTable* table, const char* key, uintptr_t value, int32_t replace) {
    if (table == nullptr)
        return -3;
    if (key == nullptr)
        return -1;
    uint16_t bucket = static_cast<uint16_t>(hashOf(key) % table->bucketCount);
    for (NameEntry* e = table->buckets[bucket]; e != nullptr; e = e->next) {
        if (lstrcmpA(e->key, key) == 0) {
            if (replace == 0)
                return -2;
            e->value = value;
            return 0;
        }
    }
    void* entryBlock = nullptr;
    NameEntry* entry =
        static_cast<NameEntry*>(allocAligned(table->heapId, sizeof(NameEntry), &entryBlock));
    if (entry == nullptr)
        return -1;
    // The length is kept to 16 bits, as the key copy's size is.
    uint16_t length = static_cast<uint16_t>(strlen(key));
    char* copy = static_cast<char*>(MemHeapAlloc(table->heapId, length + 1u));
    if (copy == nullptr) {
        MemHeapFree(table->heapId, entryBlock);
        return -1;
    }
    memcpy(copy, key, length);
    copy[length] = '\0';
    entry->key = copy;
    entry->value = value;
    entry->next = table->buckets[bucket];
    table->buckets[bucket] = entry;
    ++table->count;
    return 0;
}

int32_t NameTableLookup(const NameTable* table, const char* key, uintptr_t* value) {
    if (table == nullptr || key == nullptr)
        return 0;
    uint16_t bucket = static_cast<uint16_t>(hashOf(key) % table->bucketCount);
    for (const NameEntry* e = table->buckets[bucket]; e != nullptr; e = e->next) {
        if (strcmp(e->key, key) == 0) {
            if (value != nullptr)
                *value = e->value;
            return 1;
        }
    }
    return 0;
}

int32_t NameTableEnum(NameTable* table, int32_t mode, char* key, uintptr_t* value) {
    if (table == nullptr || key == nullptr || value == nullptr)
        return 0;
    if (mode == kNameTableFirst) {
        table->enumBucket = 0;
        table->enumEntry = nullptr;
        table->previousEnumEntry = nullptr;
        table->previousEnumBucket = 0;
    } else {
        table->previousEnumEntry = table->enumEntry;
        table->previousEnumBucket = table->enumBucket;
        if (table->enumEntry != nullptr && table->enumEntry->next != nullptr) {
            table->enumEntry = table->enumEntry->next;
            strcpy(key, table->enumEntry->key);
            *value = table->enumEntry->value;
            return 1;
        }
        // At the end the bucket equals the count and stays there until mode 1.
        if (table->enumBucket < table->bucketCount)
            ++table->enumBucket;
        table->enumEntry = nullptr;
    }
    for (; table->enumBucket < table->bucketCount; ++table->enumBucket) {
        NameEntry* head = table->buckets[table->enumBucket];
        if (head != nullptr) {
            table->enumEntry = head;
            strcpy(key, head->key);
            *value = head->value;
            return 1;
        }
    }
    table->enumBucket = table->bucketCount;
    return 0;
}

int32_t NameTableDestroy(NameTable* table) {
    if (table == nullptr)
        return 0;
    // Every table of this file owns its heap: the record, entries and keys go with it.
    MemHeapDestroy(table->heapId);
    return 1;
}

int32_t NameTableHeap(const NameTable* table) {
    return table == nullptr ? -1 : table->heapId;
}

uint32_t NameTableCount(const NameTable* table) {
    return table == nullptr ? 0 : table->count;
}

int32_t NameTableTrim(char* text) {
    if (text == nullptr)
        return 0;
    char* start = text;
    while (isBlank(*start))
        start = _lstrnext(start);
    if (start != text)
        memmove(text, start, strlen(start) + 1);
    char* end = text + strlen(text);
    while (end > text) {
        char* previous = _lstrprev(text, end);
        if (!isBlank(*previous) || previous + 1 != end)
            break;
        end = previous;
    }
    *end = '\0';
    return 1;
}
