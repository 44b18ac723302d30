// Code pages and 8-bit strings: the process's ANSI code page, double-byte stepping, case mapping,
// the lstr* family and the conversions to and from UTF-16.
//
// The code pages known here are 1252 (Western) and the double-byte code pages 932 (Japanese),
// 936 (Simplified Chinese), 949 (Korean) and 950 (Traditional Chinese). A code page argument may
// also be CP_ACP or CP_THREAD_ACP, both meaning the ANSI code page; any other value fails with
// ERROR_INVALID_PARAMETER (IsDBCSLeadByteEx returns FALSE).
//
// The ANSI code page (GetACP) is decided once per process, on the first call from any thread: the
// variable BWCORE_ACP, if it holds one of the five code pages in decimal, else the locale named
// by the first non-empty of LC_ALL, LC_CTYPE and LANG: ja_JP and ja give 932; zh_CN, zh_SG and zh
// give 936; ko_KR and ko give 949; zh_TW, zh_HK and zh_MO give 950; anything else, and no
// locale at all, gives 1252. The codeset and modifier (".UTF-8", "@euro") play no part. The Unix
// locale need not be installed, and setlocale() is not consulted.
//
// Characters: in a double-byte code page a lead byte followed by any non-zero byte is one
// two-byte character, even when the second byte is not a valid trail byte; a lead byte directly
// before the terminator is a one-byte character.
//
// Case mapping (CharUpperA, CharLowerA) changes ASCII letters in every code page; in 1252 also
// 0x8A/0x8C/0x8E <-> 0x9A/0x9C/0x9E, 0x9F <-> 0xFF and 0xC0-0xDE <-> 0xE0-0xFE except 0xD7/0xF7.
// Double-byte characters stay whole; the double-byte letters that change are the full-width
// Latin and Greek letters of the four double-byte code pages, and in 932 the Cyrillic letters
// and the Roman numerals I-X (upper case 0x8754-0x875D, lower case 0xFA40-0xFA49). Digits, kana,
// kanji and everything else stay unchanged. In 936, 949 and 950 a lead byte with no trail byte
// (single-character mode, or directly before the terminator) becomes '?'; 932 leaves it.
//
// lstrcmpA and lstrcmpiA compare as the system's locale-aware comparison does, in levels:
//  1. Characters by their alphabetic weight: punctuation, symbols and control characters first
//     (among themselves by byte value), then digits, then letters regardless of case (in 1252 an
//     accented letter weighs as its base letter, and AE/ae, OE/oe, sharp s and thorn as "ae",
//     "oe", "ss" and "th"), then every other character (half-width kana, double-byte characters)
//     by its code, lower-cased. A string that is a prefix of the other sorts first.
//  2. Accents: a plain letter before an accented one, accents among themselves by byte value.
//  3. lstrcmpA only: case, at the first position where it differs, lower case before upper case.
// So lstrcmpA gives 0 exactly when the strings are equal byte for byte, and lstrcmpiA exactly
// when they are equal once each character is lower-cased through the code page. The results are
// -1, 0 and 1; a null pointer sorts before any string, and two null pointers are equal.
// Where this differs from Windows: Windows orders punctuation by a table of its own, ignores
// hyphen and apostrophe at the first level ("co-op" sorts after "coop") and control characters
// altogether, orders accents by a table of its own, gives 0 for strings it considers equivalent
// though their bytes differ ("AE" and the ligature), and sorts full-width letters together with
// the ASCII ones.
//
// MultiByteToWideChar and WideCharToMultiByte: a length of -1 means a zero-terminated input, and
// the result then counts the terminator; an output size of 0 asks for the size needed; too small
// an output fails with ERROR_INSUFFICIENT_BUFFER and writes nothing. A byte sequence that does
// not decode becomes U+30FB in 932 and '?' elsewhere (or fails with ERROR_NO_UNICODE_TRANSLATION
// under MB_ERR_INVALID_CHARS); a character the code page cannot represent becomes the default
// character ('?' unless lpDefaultChar names another) and sets *lpUsedDefaultChar. Windows'
// best-fit substitutes (such as 'A' for A-macron in 1252) are not made, and the user-defined
// areas of 936, 949 and 950 do not convert. Flags other than MB_PRECOMPOSED,
// MB_ERR_INVALID_CHARS and WC_NO_BEST_FIT_CHARS fail with ERROR_INVALID_FLAGS.
// WideCharToMultiByte also converts to CP_UTF8 (MultiByteToWideChar does not read it): no flags,
// no default character (a non-null lpDefaultChar or lpUsedDefaultChar fails with
// ERROR_INVALID_PARAMETER), and a lone half of a surrogate pair becomes U+FFFD.
#pragma once

#include <bwcore/win32/types.h>

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400

BW_EXTERN_C BWAFX_API UINT WINAPI GetACP(void);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsDBCSLeadByte(BYTE TestChar);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharNextA(LPCSTR lpsz);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent);
// A pointer whose value fits in 16 bits is a single character in its low byte, and the result
// carries the converted character in its low byte.
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharUpperA(LPSTR lpsz);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharLowerA(LPSTR lpsz);
// Character classes of one ANSI character (a single byte; a lead byte alone is in no class) or
// one UTF-16 unit, by the character's Unicode class: letters are alphabetic, letters and decimal
// digits alphanumeric. As on Windows, the Latin-1 superscript digits count as digits.
BW_EXTERN_C BWAFX_API BOOL WINAPI IsCharAlphaA(CHAR ch);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsCharAlphaNumericA(CHAR ch);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsCharUpperA(CHAR ch);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsCharLowerA(CHAR ch);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsCharAlphaW(WCHAR ch);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsCharAlphaNumericW(WCHAR ch);
BW_EXTERN_C BWAFX_API int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);
BW_EXTERN_C BWAFX_API int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
// A null pointer has length 0.
BW_EXTERN_C BWAFX_API int WINAPI lstrlenA(LPCSTR lpString);
// A null pointer gives a null result and copies nothing.
BW_EXTERN_C BWAFX_API LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
BW_EXTERN_C BWAFX_API int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags,
                                                     LPCSTR lpMultiByteStr, int cbMultiByte,
                                                     LPWSTR lpWideCharStr, int cchWideChar);
BW_EXTERN_C BWAFX_API int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags,
                                                     LPCWSTR lpWideCharStr, int cchWideChar,
                                                     LPSTR lpMultiByteStr, int cbMultiByte,
                                                     LPCSTR lpDefaultChar,
                                                     LPBOOL lpUsedDefaultChar);

#define lstrcmp lstrcmpA
#define lstrcmpi lstrcmpiA
#define lstrlen lstrlenA
#define lstrcpy lstrcpyA
#define CharNext CharNextA
#define CharPrev CharPrevA
#define CharUpper CharUpperA
#define CharLower CharLowerA
