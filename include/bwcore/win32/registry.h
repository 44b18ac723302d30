// The registry, read-only: the classes root (HKEY_CLASSES_ROOT) and the keys below it.
//
// Where the classes root comes from: it is read once per process, at the first registry call
// from any thread.
// - If the variable BWCORE_CLASSES_ROOT names a file (an empty value counts as unset), from that
//   registry export file: "REGEDIT4" or "Windows Registry Editor Version 5.00", in UTF-16LE with
//   its byte-order mark or as 8-bit text (UTF-8 when the whole file is valid UTF-8, else the ANSI
//   code page). Keys under HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE\SOFTWARE\Classes and
//   HKEY_CURRENT_USER\Software\Classes all land in the classes root, in the order of the file;
//   keys under other roots are passed over. A file that cannot be read gives an empty root.
//   How the lines are read, and what is done with malformed ones, is described in reg_file.h of
//   compat/win32.
// - Otherwise from the desktop's shared MIME database (XDG_DATA_HOME, then XDG_DATA_DIRS): for
//   each extension glob "*.ext" a key ".ext" whose default value is the MIME type and whose
//   "Content Type" is the same type; for each such type a class key named after it, whose default
//   value is the type's comment and whose Shell\Open\Command is the command line of the type's
//   default application (from mimeapps.list and defaults.list, else the first application that
//   declares the type). There are no DefaultIcon keys. See mime_database.h of compat/win32.
//
// Names: key and value names are compared without regard to case, through the ANSI code page's
// case mapping (CharUpperA). Text read from UTF-16 or UTF-8 is converted to the ANSI code page;
// a character the code page lacks becomes '?'.
//
// Predefined keys: HKEY_CURRENT_USER\Software\Classes and HKEY_LOCAL_MACHINE\SOFTWARE\Classes show
// the same tree as HKEY_CLASSES_ROOT (Windows merges the two into it); HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE hold nothing else, and the other predefined keys (HKEY_USERS,
// HKEY_CURRENT_CONFIG) are empty. The predefined keys need not be opened or closed.
#pragma once

#include <bwcore/win32/types.h>

typedef LONG LSTATUS;
typedef DWORD ACCESS_MASK;
typedef ACCESS_MASK REGSAM;

// The predefined keys, sign-extended as 64-bit Windows defines them.
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)((LONG)0x80000005))

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_CREATE_LINK 0x0020
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_LINK 6
#define REG_MULTI_SZ 7
#define REG_QWORD 11

// Error codes that only the registry functions report.
#define ERROR_BAD_PATHNAME 161L

// Opens the subkey lpSubKey of hKey (a predefined key or one this function opened): names
// separated by backslashes, a trailing backslash ignored; a null or empty lpSubKey opens hKey
// itself again. A leading backslash fails with ERROR_BAD_PATHNAME, as on Windows. ulOptions and
// samDesired (any access mask) are accepted and not used: every key may be read. A missing key
// fails with ERROR_FILE_NOT_FOUND, a handle that is not a key with ERROR_INVALID_HANDLE, a null
// phkResult with ERROR_INVALID_PARAMETER; on failure *phkResult is set to null. Handles stay valid
// until RegCloseKey, on any thread.
BW_EXTERN_C BWAFX_API LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions,
                                                   REGSAM samDesired, PHKEY phkResult);

// Reads the value lpValueName of hKey (null or "" the key's default value). The type goes to
// *lpType when lpType is not null. With lpData null, *lpcbData receives the size of the data;
// else a *lpcbData that holds the data gets it copied and *lpcbData set to its size, and a smaller
// one fails with ERROR_MORE_DATA, setting *lpcbData to the size needed and leaving lpData as it
// was. Text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) is in the ANSI code page, its size counting the
// terminator(s) as stored; REG_EXPAND_SZ is returned unexpanded. A missing value fails with
// ERROR_FILE_NOT_FOUND and leaves *lpcbData alone; lpData without lpcbData, or a non-null
// lpReserved, fails with ERROR_INVALID_PARAMETER.
BW_EXTERN_C BWAFX_API LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName,
                                                      LPDWORD lpReserved, LPDWORD lpType,
                                                      LPBYTE lpData, LPDWORD lpcbData);

// Closes a key that RegOpenKeyExA opened; closing a predefined key succeeds and does nothing. Any
// other handle, a closed one included, fails with ERROR_INVALID_HANDLE.
BW_EXTERN_C BWAFX_API LSTATUS WINAPI RegCloseKey(HKEY hKey);
