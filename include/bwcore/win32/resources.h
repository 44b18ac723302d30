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

// A module handle is the module's load address (dladdr's dli_fbase), as the image base is on
// Windows. Null names the main program. A name is compared with the loaded modules' file names,
// without case and without any directory; a name without an extension means "name.dll", and
// "name.dll" also finds the shared object "libname.so" (with or without a version suffix), so
// "bwcore.dll" finds libbwcore.so. Unknown names give null and ERROR_MOD_NOT_FOUND (126).
BW_EXTERN_C BWAFX_API HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);

// Types and names are integers (MAKEINTRESOURCE) or strings, compared without case; a null module
// is the main program. Failures, with the last error: ERROR_RESOURCE_DATA_NOT_FOUND when the
// module has no resources (or is not a module), ERROR_RESOURCE_TYPE_NOT_FOUND, then
// ERROR_RESOURCE_NAME_NOT_FOUND; success leaves the last error alone.
// Of several languages of one resource the first found of these is taken: the language asked for
// (FindResourceA asks for the neutral language 0), its primary language with the neutral
// sublanguage, the neutral language; when the neutral language was asked for, the user's language
// (US English, 1033: the Linux layer keeps no language setting) and its primary language; and
// finally the resource's lowest language, so that a resource is found whenever its name is.
BW_EXTERN_C BWAFX_API HRSRC WINAPI FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
BW_EXTERN_C BWAFX_API HRSRC WINAPI FindResourceExA(HMODULE hModule, LPCSTR lpType, LPCSTR lpName,
                                                   WORD wLanguage);
BW_EXTERN_C BWAFX_API HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
BW_EXTERN_C BWAFX_API LPVOID WINAPI LockResource(HGLOBAL hResData);
BW_EXTERN_C BWAFX_API DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
BW_EXTERN_C BWAFX_API BOOL WINAPI FreeResource(HGLOBAL hResData);
// Copies string uID (its low word) of the module's string table, converted to the ANSI code page,
// into the buffer: at most cchBufferMax - 1 bytes, never half a double-byte character, then a
// terminator. Returns the bytes copied: 0 for a missing or empty string (the buffer then holds
// ""), -1 for cchBufferMax 0 (nothing is written), 0 for a negative size.
BW_EXTERN_C BWAFX_API int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer,
                                             int cchBufferMax);

// How a module's resources reach the functions above on Linux, where no loader reads them from
// the module's image. The build compiles the module's resource script into a constant
// BW_RESOURCE_DIRECTORY (resources/rc2c), and the module's start-up code (module_entry.cpp)
// registers it under the module's handle while the module is loaded. The data keeps the Win32
// binary forms, so LockResource gives callers the same bytes as on Windows.
typedef struct BW_RESOURCE_ENTRY {
    WORD Type;         // integer type (RT_STRING, RT_ICON, RT_GROUP_ICON, ...)
    WORD NameId;       // integer name, when NameString is null
    LPCSTR NameString; // upper-case name, or null
    WORD Language;     // language id (1033 = US English)
    DWORD Size;
    const BYTE* Data; // aligned to 8 bytes
} BW_RESOURCE_ENTRY;

typedef struct BW_RESOURCE_DIRECTORY {
    const BW_RESOURCE_ENTRY* Entries; // sorted by type, name, then language
    DWORD Count;
} BW_RESOURCE_DIRECTORY;

// Serves the directory's resources for hModule until it is unregistered; the directory must stay
// valid until then. Registering a module again replaces its directory.
BW_EXTERN_C BWAFX_API void WINAPI
BwRegisterModuleResources(HMODULE hModule, const BW_RESOURCE_DIRECTORY* pDirectory);
BW_EXTERN_C BWAFX_API void WINAPI BwUnregisterModuleResources(HMODULE hModule);

#define FindResource FindResourceA
#define LoadString LoadStringA
#define GetModuleHandle GetModuleHandleA
