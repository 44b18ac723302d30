// Directory search: the entries of one directory whose names match a pattern.
//
// The search name is a path whose last name is the pattern ("C:\dir\*.*", "dir\*.txt", or a
// plain name). The directory part is mapped as the file functions map paths (files.h), case-
// insensitively. The pattern is matched against each entry's name, case-insensitively in the
// ANSI code page's case mapping, a double-byte character counting as one character:
// - '*' matches any run of characters, dots included, or none;
// - '?' matches any one character, or none where the name is at its end or at a dot (so "??"
//   matches "a", and "a?.txt" matches "a.txt");
// - a '.' matches a dot, or the end of a name when nothing but '*' follows it in the pattern (so
//   "*.*" matches every name, "abc." and "abc.*" match "abc");
// - any other character matches itself in either case.
// Linux file systems keep no short (8.3) names: cAlternateFileName is always empty and patterns
// are matched against the long names only.
//
// Entries come in the order of their upper-case names, "." and ".." first, as Win32 file systems
// list them; "." and ".." appear in every directory but the root of the file system. Names that
// no Win32 path could reach again (holding a backslash or a character invalid in Win32 names)
// are left out. The entry's data is read when the entry is delivered, following symbolic links;
// an entry that has gone by then is skipped.
//
// WIN32_FIND_DATAA: dwFileAttributes as GetFileAttributesA gives them; the size split into
// nFileSizeHigh and nFileSizeLow (0 for directories); the times in 100 ns units since
// 1601-01-01 UTC: ftLastWriteTime the last modification, ftLastAccessTime the last access,
// ftCreationTime the last status change (the nearest time Linux keeps on every file system).
//
// Errors: a directory part that does not exist or is not a directory, ERROR_PATH_NOT_FOUND; no
// entry matching (or an empty pattern, as after a trailing separator), ERROR_FILE_NOT_FOUND; a
// directory that cannot be read, ERROR_ACCESS_DENIED; the end of the entries,
// ERROR_NO_MORE_FILES. Search handles are their own kind: CloseHandle does not take them, and
// FindNextFileA and FindClose take nothing else (ERROR_INVALID_HANDLE). A null argument fails
// with ERROR_INVALID_PARAMETER.
#pragma once

#include <bwcore/win32/types.h>

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

typedef struct _WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *PWIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

// Starts a search and fills lpFindFileData with its first entry; INVALID_HANDLE_VALUE on failure.
BW_EXTERN_C BWAFX_API HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName,
                                                   LPWIN32_FIND_DATAA lpFindFileData);
// The search's next entry; FALSE with ERROR_NO_MORE_FILES after the last.
BW_EXTERN_C BWAFX_API BOOL WINAPI FindNextFileA(HANDLE hFindFile,
                                                LPWIN32_FIND_DATAA lpFindFileData);
BW_EXTERN_C BWAFX_API BOOL WINAPI FindClose(HANDLE hFindFile);
