// OEM conversion (CharToOemA, OemToCharA and their buffer forms), for Linux.
//
// The OEM code page follows the ANSI one: under 1252 it is 437, under the double-byte code pages
// 932, 936, 949 and 950 it is the ANSI code page itself, so conversion there copies the bytes
// unchanged. (Where this differs from Windows: the system converts through UTF-16 even then, so a
// byte sequence that is no character of the code page, such as a lead byte before the
// terminator, comes back as the default character; here it is copied as it is.) Between 1252 and
// 437, bytes below 0x80 stay as they are; the others follow the system's tables, which map every
// byte and use best-fit substitutes where 437 has no exact character (0x8A S-caron becomes 'S',
// 0xC1 A-acute 'A'); the 1252 bytes 0x80, 0x81, 0x8D, 0x8F, 0x90 and 0x9D become '?'. Going back,
// the box-drawing characters become '+', '-', '_' or 0xA6.
//
// Source and destination may be the same buffer. The string forms stop after the terminator. A
// null source or destination fails (FALSE) and writes nothing.
#pragma once

#include <bwcore/win32/types.h>

BW_EXTERN_C BWAFX_API BOOL WINAPI CharToOemA(LPCSTR pSrc, LPSTR pDst);
BW_EXTERN_C BWAFX_API BOOL WINAPI OemToCharA(LPCSTR pSrc, LPSTR pDst);
BW_EXTERN_C BWAFX_API BOOL WINAPI CharToOemBuffA(LPCSTR lpszSrc, LPSTR lpszDst, DWORD cchDstLength);
BW_EXTERN_C BWAFX_API BOOL WINAPI OemToCharBuffA(LPCSTR lpszSrc, LPSTR lpszDst, DWORD cchDstLength);

#define CharToOem CharToOemA
#define OemToChar OemToCharA
#define CharToOemBuff CharToOemBuffA
#define OemToCharBuff OemToCharBuffA
