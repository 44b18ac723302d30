// Character and string helpers over zero-terminated 8-bit strings in the process's ANSI code
// page. None of them allocates, keeps state or reports errors other than through its result.
//
// Contract:
// - A character is one byte, or two when CharNextA steps over two (a lead byte followed by a
//   non-zero byte). The stepping, search and substring functions keep such characters whole;
//   the byte-string functions (_xlstrlen to _xlreverse) work byte by byte.
// - Packed characters come in three forms that are not interchangeable:
//   _xlstrchr takes the first byte in bits 0-7 and the second (0 for a single-byte character)
//   in bits 8-15; _lpsztoupper returns the same layout with bits 16-31 zero; _ltoupper and
//   _ltolower take the first byte in bits 0-7 and the second in bits 16-23, and return the
//   first in bits 0-7 and the second in bits 8-15, sign-extended from bit 15.
// - Case mapping goes through CharUpperA / CharLowerA, so it is the user locale's.
// - _xlstrstri lower-cases copies of its arguments in 512-byte buffers: only the first 511 bytes
//   of a longer text are searched (cut at a character boundary), and a pattern of 512 bytes or
//   more is never found.
// - _xlstrsub: a count of exactly 65535 keeps the whole rest; any other count cuts the copy
//   after that many characters (a count below 1 leaves it empty).
// - Entry arrays are arrays of pointer-sized entries compared by value, with 16-bit counts and
//   positions (counts up to 32767 by design; larger ones are handled the same way up to 65535).
//   The FAR and NEAR members of each pair are the same function under two names.
// - A null pointer argument changes nothing and gives the result noted with each function
//   ("null: ..."): a value that success never gives wherever the function has one.
#pragma once

#include <bwcore/export.h>

#include <stdint.h>

// Character stepping and tests.
// null: null.
BW_EXTERN_C BWCORE_API char* _lstrnext(const char* position);
// null: null.
BW_EXTERN_C BWCORE_API char* _lstrprev(const char* start, const char* position);
// null: 0.
BW_EXTERN_C BWCORE_API int32_t lcharIsDblByte(const char* position);
// null: 0 (not equal).
BW_EXTERN_C BWCORE_API int32_t lcharcmp(const char* a, const char* b);
// Copies one character (one or two bytes) without a terminator; 1. null: 0.
BW_EXTERN_C BWCORE_API int32_t _assignchar(char* destination, const char* source);

// Case mapping. null: null.
BW_EXTERN_C BWCORE_API char* _lupper(char* text);
// null: null.
BW_EXTERN_C BWCORE_API char* _lstrlwr(char* text);
// The text must be writable: it is cut after its first character during the call. null: 0, as
// for an empty text.
BW_EXTERN_C BWCORE_API uint32_t _lpsztoupper(char* text);
BW_EXTERN_C BWCORE_API int32_t _ltoupper(uint32_t packed);
BW_EXTERN_C BWCORE_API int32_t _ltolower(uint32_t packed);

// OEM conversion: 0 if either pointer is null, else 1. _lOemToAnsi is the reverse conversion
// (OemToCharA).
BW_EXTERN_C BWCORE_API int32_t _lAnsiToOem(const char* source, char* destination);
BW_EXTERN_C BWCORE_API int32_t _lOemToAnsi(const char* source, char* destination);

// Numbers. null: 0, as for a text without digits.
BW_EXTERN_C BWCORE_API int32_t _xlatol(const char* text);
// The buffers of _xlitoa and _xlltoa must hold 12 bytes. null: null.
BW_EXTERN_C BWCORE_API char* _xlitoa(int32_t value, char* buffer);
BW_EXTERN_C BWCORE_API char* _xlltoa(int32_t value, char* buffer);
// 1 with the value stored. null (either): 0, nothing stored.
BW_EXTERN_C BWCORE_API int32_t _HexToDec(const char* text, uint32_t* value);

// Byte strings. null: -1.
BW_EXTERN_C BWCORE_API int32_t _xlstrlen(const char* text);
BW_EXTERN_C BWCORE_API int32_t hstrlen(const char* text);
// Returns the address just past the terminator written. null (either): null.
BW_EXTERN_C BWCORE_API char* _xlstrcpy(char* destination, const char* source);
// hstrcpy and _xlstrcat return the destination. null (either): null.
BW_EXTERN_C BWCORE_API char* hstrcpy(char* destination, const char* source);
BW_EXTERN_C BWCORE_API char* _xlstrcat(char* destination, const char* source);
// Bytes compare as signed 8-bit values, so results lie in -255..255. null (either): INT32_MIN.
BW_EXTERN_C BWCORE_API int32_t _xlstrcmp(const char* a, const char* b);
BW_EXTERN_C BWCORE_API int32_t hstrcmp(const char* a, const char* b);
// null (either): copies nothing.
BW_EXTERN_C BWCORE_API void _xlmemcpy(void* destination, const void* source, uint16_t count);
// Fills count bytes with the low byte of value and returns count. Note the order: the count
// comes first. A count below 1, or null: 0, nothing written.
BW_EXTERN_C BWCORE_API int32_t _lmemset(void* destination, int32_t count, int32_t value);
// null: does nothing.
BW_EXTERN_C BWCORE_API void _xlreverse(char* text);

// Search and substring. null (either): -1, as when not found.
BW_EXTERN_C BWCORE_API int32_t _xlstrstr(const char* text, const char* pattern);
BW_EXTERN_C BWCORE_API int32_t _xlstrstri(const char* text, const char* pattern);
// null: null, as when not found.
BW_EXTERN_C BWCORE_API char* _xlstrchr(const char* text, uint16_t character);
// 1. null (either): 0, the destination untouched.
BW_EXTERN_C BWCORE_API int32_t _xlstrsub(const char* source, char* destination, uint32_t start,
                                         int32_t count);

// Entry arrays. A null array: -1 (not found) from the locates, 0 from the others.
BW_EXTERN_C BWCORE_API int32_t _LocateFAR(const uintptr_t* entries, uintptr_t value,
                                          uint16_t count);
BW_EXTERN_C BWCORE_API int32_t _LocateNEAR(const uintptr_t* entries, uintptr_t value,
                                           uint16_t count);
BW_EXTERN_C BWCORE_API int32_t _DeleteFAR(uintptr_t* entries, uintptr_t value, uint16_t count);
BW_EXTERN_C BWCORE_API int32_t _DeleteNEAR(uintptr_t* entries, uintptr_t value, uint16_t count);
BW_EXTERN_C BWCORE_API int32_t _DeleteFARbyLoc(uintptr_t* entries, uint16_t position,
                                               uint16_t count);
BW_EXTERN_C BWCORE_API int32_t _DeleteNEARbyLoc(uintptr_t* entries, uint16_t position,
                                                uint16_t count);
// The array must have room for count + 1 entries.
BW_EXTERN_C BWCORE_API int32_t _InsertFARbyLoc(uintptr_t* entries, uintptr_t value,
                                               uint16_t position, uint16_t count);
BW_EXTERN_C BWCORE_API int32_t _InsertNEARbyLoc(uintptr_t* entries, uintptr_t value,
                                                uint16_t position, uint16_t count);

// Platform probe: always 0.
BW_EXTERN_C BWCORE_API int32_t IsWin95Dos(void);
