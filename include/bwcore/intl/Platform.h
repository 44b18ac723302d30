// Platform sets and platform tables.
//
// Contract:
// - A platform is a single bit; a set of platforms is a 64-bit mask held as two 32-bit words,
//   first then second. The empty set means platform-independent. Only bits 0 to 15 of the second
//   word name platforms (PlatformInfoToArray, PlatformGetCount, PlatformGetName); the other bits
//   take part in the set operations and the text form only.
// - Bin text: the first word and then the second as eight lowercase hexadecimal digits each (16
//   characters). Read back, a leading "0x" is dropped, the last eight characters give the second
//   word and everything before them the first, digits of either case; a text of eight characters
//   or fewer gives the second word alone (first word 0).
// - The platform file: everything before the second line that begins with "[" is ignored, the
//   first section included. A line beginning with "[" heads a section; the trimmed text between
//   "[" and "]" is its language id in hexadecimal, with or without "0x" (a blank ends it). Other
//   lines are trimmed and read as name=value; the value, with a leading "0x" dropped, is kept as
//   text (normally the platform's bin text). Lines without "=" are skipped. Within a section the
//   first entry for a name wins and a value text keeps the first name given for it. CR LF, LF and
//   CR all end lines.
// - Look-ups by set (PlatformGetName, PlatformMerge) search the exact 16-digit lowercase bin text
//   among the value texts; look-ups by name read the stored value text back as bin text.
// - Decisions for input outside the format: a header without "]" takes the rest of its line;
//   names and values longer than 259 bytes are cut to 259 bytes at a character boundary (so name
//   buffers of 260 bytes always suffice).
// - PlatformLoad appends the file's sections and then makes the first section of the table
//   current, unless the current language already has its id (a new table's current language is
//   0).
// - Results: 0 success, -1 a required argument is null, -13 a set test failed, or as stated.
//   Nothing is locked: one thread per table.
#pragma once

#include <bwcore/export.h>
#include <bwcore/platform.h>

#include <stdint.h>

typedef struct BWPLATFORMTABLE* HPLATFORM;

typedef struct PLATFORMINFO {
    uint32_t first;
    uint32_t second;
} PLATFORMINFO;

// PlatformEnum flags.
#define PLATFORM_ENUM_FIRST 0x1
#define PLATFORM_ENUM_NEXT 0x2

// Room for a bin text with its terminator.
#define PLATFORM_BINTEXT_SIZE 17

// Table functions.

// A new empty table in movable global memory, locked for its lifetime; the separator's string
// resources are loaded from `instance`. Null when the memory or its section list cannot be
// allocated.
BW_EXTERN_C BWCORE_API HPLATFORM PlatformCreate(HINSTANCE instance);
// 0; -1 null table or path; -9 the line list cannot be created; -8 the file cannot be read; -11
// fewer than two section headers; -10 a name table cannot be created (sections read before
// stay).
BW_EXTERN_C BWCORE_API int32_t PlatformLoad(HPLATFORM table, const char* path);
// 0 when the language is already current or its section was made current; -1 null table; -4 no
// such section (the current language stays).
BW_EXTERN_C BWCORE_API int32_t PlatformSetLanguage(HPLATFORM table, uint16_t language);
// Loads string `id` of the table's module as the separator, at most four characters (LoadStringA
// into 5 bytes); "&" when nothing is loaded. 1, or -1 for a null table.
BW_EXTERN_C BWCORE_API int32_t PlatformSeparator(HPLATFORM table, uint32_t id);
// Flags bit 0 starts, else bit 1 continues, neither gives -6. 1 with the next platform's name
// (260-byte buffer) and its set; 0 at the end; -1 when any argument is null.
BW_EXTERN_C BWCORE_API int32_t PlatformEnum(HPLATFORM table, char* name, PLATFORMINFO* set,
                                            uint32_t flags);
// 0 and the set of the named platform; -3 the name is not in the current section; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformGetId(HPLATFORM table, const char* name, PLATFORMINFO* set);
// 0 with the names of the set's platforms, in increasing bit order, joined by " separator ";
// -4 when one has no name in the current section (the destination may hold part of the text);
// a set without platforms gives 0 and leaves the destination untouched; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformGetName(HPLATFORM table, PLATFORMINFO set, char* names);
// 0 and the number of platforms in the set; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformGetCount(HPLATFORM table, PLATFORMINFO set, uint32_t* count);
// 1 with one single-platform set per bit of bits 0-15 of the second word, in increasing bit
// order, into an array of 16; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformInfoToArray(HPLATFORM table, PLATFORMINFO set,
                                                   PLATFORMINFO* platforms, uint32_t* count);
// Adds the set to the target when its bin text is a value of the current section (a named
// platform or named combination): 0; -4 when it is not; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformMerge(HPLATFORM table, PLATFORMINFO* target,
                                             PLATFORMINFO set);
// Releases the table, its sections, names and value texts; 0 (also for a null table).
BW_EXTERN_C BWCORE_API int32_t PlatformDestroy(HPLATFORM table);

// Set functions: the table, where there is one, is only tested for null, or not at all.

// Empties the set; 0, or -1 for a null set.
BW_EXTERN_C BWCORE_API int32_t PlatformClearItem(HPLATFORM table, PLATFORMINFO* set);
// 1 when the set is empty, else 0 (also for a null set).
BW_EXTERN_C BWCORE_API int32_t PlatformIsIndependent(HPLATFORM table, const PLATFORMINFO* set);
// 0 when b is contained in a word by word; -13 otherwise and when b is empty but a is not; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformCompare(HPLATFORM table, PLATFORMINFO a, PLATFORMINFO b);
// PlatformCompare with b read from its bin text; -1 also for a null text.
BW_EXTERN_C BWCORE_API int32_t PlatformCompareStr(HPLATFORM table, PLATFORMINFO a, const char* b);
// -13 when b is empty but a is not. Otherwise with `all`: 0 when b is contained in a; without:
// 0 when a and b share a bit in either word; else -13. -1 for a null table.
BW_EXTERN_C BWCORE_API int32_t PlatformIsMemberOf(HPLATFORM table, PLATFORMINFO a, PLATFORMINFO b,
                                                  int32_t all);
// Removes b's bits from a: 0; -13 (a unchanged) when b is empty but a is not, or b is not
// contained in a; -1.
BW_EXTERN_C BWCORE_API int32_t PlatformRemove(HPLATFORM table, PLATFORMINFO* a, PLATFORMINFO b);
// Writes the 16-digit bin text (PLATFORM_BINTEXT_SIZE bytes); 1, or -1 when either is null.
BW_EXTERN_C BWCORE_API int32_t PlatformInfoToBinText(const PLATFORMINFO* set, char* text);
// Empties the set and reads the bin text into it (an empty text leaves it empty); 1, or 0 for a
// null argument.
BW_EXTERN_C BWCORE_API int32_t PlatformBinTextToInfo(const char* text, PLATFORMINFO* set);
