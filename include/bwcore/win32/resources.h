// Modules and their resources: module handles, FindResourceA/LoadResource/LockResource and the
// string-table loader. On Linux a module's resources are data built from resources/ at build time
// and registered under the module's handle when it is loaded.
#pragma once

#include <bwcore/win32/types.h>

#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEA(12)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)
#define RT_VERSION MAKEINTRESOURCEA(16)

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

BW_EXTERN_C BWAFX_API HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
BW_EXTERN_C BWAFX_API HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
BW_EXTERN_C BWAFX_API HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName,
                                                   WORD wLanguage);
BW_EXTERN_C BWAFX_API HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
BW_EXTERN_C BWAFX_API LPVOID WINAPI LockResource(HGLOBAL hResData);
BW_EXTERN_C BWAFX_API DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
BW_EXTERN_C BWAFX_API BOOL WINAPI FreeResource(HGLOBAL hResData);
BW_EXTERN_C BWAFX_API int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer,
                                             int cchBufferMax);

#define FindResource FindResourceA
#define LoadString LoadStringA
#define GetModuleHandle GetModuleHandleA
