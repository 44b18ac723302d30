// Code pages and 8-bit strings: the process's ANSI code page, double-byte stepping, case mapping
// and the lstr* family.
#pragma once

#include <bwcore/win32/types.h>

#define CP_ACP 0
#define CP_OEMCP 1

BW_EXTERN_C BWAFX_API UINT WINAPI GetACP(void);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsDBCSLeadByte(BYTE TestChar);
BW_EXTERN_C BWAFX_API BOOL WINAPI IsDBCSLeadByteEx(UINT CodePage, BYTE TestChar);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharNextA(LPCSTR lpsz);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharPrevA(LPCSTR lpszStart, LPCSTR lpszCurrent);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharUpperA(LPSTR lpsz);
BW_EXTERN_C BWAFX_API LPSTR WINAPI CharLowerA(LPSTR lpsz);
BW_EXTERN_C BWAFX_API int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);
BW_EXTERN_C BWAFX_API int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
BW_EXTERN_C BWAFX_API int WINAPI lstrlenA(LPCSTR lpString);
BW_EXTERN_C BWAFX_API LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
BW_EXTERN_C BWAFX_API int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags,
                                                     LPCSTR lpMultiByteStr, int cbMultiByte,
                                                     LPWSTR lpWideCharStr, int cchWideChar);
BW_EXTERN_C BWAFX_API int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags,
                                                     LPCWSTR lpWideCharStr, int cchWideChar,
                                                     LPSTR lpMultiByteStr, int cbMultiByte,
                                                     LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

#define lstrcmp lstrcmpA
#define lstrcmpi lstrcmpiA
#define lstrlen lstrlenA
#define lstrcpy lstrcpyA
#define CharNext CharNextA
#define CharPrev CharPrevA
#define CharUpper CharUpperA
#define CharLower CharLowerA
