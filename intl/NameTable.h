// Name tables: small hash tables from strings to pointer-sized values, kept by the language and
// platform tables (two per data-file section), and the blank trimming their loaders use.
//
// Contract:
// - Every table lives in a numbered heap of its own (MemHeap.h) of maximum block size
//   (bucket count + 9) * 80 and flags 0x1103 (extensible, zero-filled): destroying the table
//   destroys the heap and with it every entry and key copy at once.
// - Keys are copied into the table's heap; values are stored as given and never released by the
//   table. A key is hashed as the sum of its bytes taken as signed 8-bit values, kept to 16 bits,
//   modulo the bucket count.
// - Insert compares keys with lstrcmpA; look-up compares bytes.
// - The enumeration goes bucket by bucket, each chain from the entry inserted last; the position
//   lives in the table, so one enumeration per table runs at a time.
// - Not exported: private to the language and platform tables.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct NameEntry;
struct NameTable;

// The tables of the language and platform files use this many buckets.
constexpr uint16_t kNameTableBuckets = 11;

// Enumeration modes.
constexpr int32_t kNameTableFirst = 1;
constexpr int32_t kNameTableNext = 2;

// A new table in a new heap; null when the heap or the record cannot be allocated.
NameTable* NameTableCreate(uint16_t bucketCount);
// 0; -3 null table; -2 the key exists and replace is 0; -1 an allocation failed. With replace
// set an existing key takes the new value.
int32_t NameTableInsert(NameTable* table, const char* key, uintptr_t value, int32_t replace);
// 1 and the value when a key is byte for byte equal; 0 otherwise or for a null table or key.
int32_t NameTableLookup(const NameTable* table, const char* key, uintptr_t* value);
// Mode 1 starts over, any other mode continues. 1 with the key copied into the buffer (which
// must hold the longest key) and the value stored; 0 at the end (and on every further call until
// mode 1) or for a null argument.
int32_t NameTableEnum(NameTable* table, int32_t mode, char* key, uintptr_t* value);
// 1; 0 for a null table.
int32_t NameTableDestroy(NameTable* table);
// The id of the table's heap, or -1 for a null table.
int32_t NameTableHeap(const NameTable* table);
// The number of entries; 0 for a null table.
uint32_t NameTableCount(const NameTable* table);

// Removes leading blanks and tabs by moving the text to the start, then trailing ones, stepping
// by characters so that a double-byte character is never split. 1, or 0 for null.
int32_t NameTableTrim(char* text);
