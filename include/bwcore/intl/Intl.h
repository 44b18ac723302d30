// Language tables: the languages named by a language data file, one section per language, with
// a current language whose section answers every look-up.
//
// Contract:
// - Language ids are 16-bit: primary language in the low 10 bits, sublanguage above; an id below
//   1024 is a neutral language.
// - The file: everything before the second line that begins with "[" is ignored, the first
//   section included. A line beginning with "[" heads a section; the trimmed text between "[" and
//   "]" is its language id in hexadecimal with the prefix "0x". Other lines are trimmed and read
//   as name=value, the name being everything before the first "=" (blanks before it included)
//   and the value a "0x" hexadecimal language id; lines without "=" or with a value without the
//   prefix are skipped. Within a section the first entry for a name wins and an id keeps the
//   first name given for it. CR LF, LF and CR all end lines.
// - Decisions for input outside the format: a header without "]" takes the rest of its line; a
//   header whose text is not a "0x" number keeps the id of the file's previous section, or 0 for
//   the file's first section read; names longer than 259 bytes are cut to 259 bytes at a
//   character boundary (so name buffers of 260 bytes always suffice).
// - IntlLoad appends the file's sections to those already loaded and then makes the first
//   section of the table current, unless the current language already has its id (a new table's
//   current language is 0).
// - Results: 0 or the negative codes listed; predicates 1 or 0; IntlHexToDecimal and
//   IntlMakeDirName 1 or 0. Nothing is locked: one thread per table.
#pragma once

#include <bwcore/export.h>

#include <stddef.h>
#include <stdint.h>

typedef struct BWINTLTABLE* HINTL;

// IntlEnum modes.
#define INTL_ENUM_FIRST 1
#define INTL_ENUM_NEXT 2

// A new empty table in movable global memory, locked for its lifetime; null when the memory or
// its section list cannot be allocated.
BW_EXTERN_C BWCORE_API HINTL IntlCreate(void);
// 0; -1 null table or path; -9 the line list cannot be created; -8 the file cannot be read; -11
// fewer than two section headers; -10 a name table cannot be created (sections read before stay).
BW_EXTERN_C BWCORE_API int32_t IntlLoad(HINTL table, const char* path);
// 0 when the language is already current or its section was made current; -1 null table; -4 no
// such section (the current language stays).
BW_EXTERN_C BWCORE_API int32_t IntlSetLanguage(HINTL table, uint16_t language);
// 0 and the current language; -1 when either argument is null.
BW_EXTERN_C BWCORE_API int32_t IntlGetLanguage(HINTL table, uint16_t* language);
// 0 and the id of the name in the current section; -1 null table or name; -2 null address; -3 the
// name is not in the section.
BW_EXTERN_C BWCORE_API int32_t IntlGetLangId(HINTL table, const char* name, uint16_t* language);
// 0 and the name copied (at most 260 bytes with its terminator); -1 null table; -2 null
// destination; -4 the id has no name in the current section.
BW_EXTERN_C BWCORE_API int32_t IntlGetName(HINTL table, uint16_t language, char* name);
// With a null name: 1 when the id is below 1024. With a name: 1 when the name's id in the current
// section is below 1024; 0 when it is not or the name is not there. 0 for a null table.
BW_EXTERN_C BWCORE_API int32_t IntlIsNeutral(HINTL table, const char* name, uint16_t language);
// Mode 1 starts, 2 continues. 1 with the next language's id (and its name, when a buffer of 260
// bytes is given); 0 at the end; -1 null table or id address; -6 other modes. Without includeAll
// only neutral languages (no bit of 0xFC00 set) are returned. The order is the name table's.
BW_EXTERN_C BWCORE_API int32_t IntlEnum(HINTL table, char* name, uint16_t* language,
                                        int32_t includeAll, int32_t mode);
// `language` of 65536 or more is the address of a language name, a smaller value a language id.
// 1 with the destination set to the id as four lowercase hexadecimal digits, "-" and the name
// (at most 265 bytes with the terminator); 0 for a null table or destination or when the current
// section does not hold the language.
BW_EXTERN_C BWCORE_API int32_t IntlMakeDirName(HINTL table, uintptr_t language, char* directory);
// 1 and the value of text that begins with "0x": the characters after it to the end count "A"-"F"
// and "a"-"f" as 10-15 and any other as its code minus 48, in wrapping 32-bit arithmetic.
// 0 for null arguments or text without the prefix.
BW_EXTERN_C BWCORE_API int32_t IntlHexToDecimal(const char* text, uint32_t* value);
// Releases the table, its sections and names; 0 (also for a null table).
BW_EXTERN_C BWCORE_API int32_t IntlDestroy(HINTL table);
