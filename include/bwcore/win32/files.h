// Files: opening, reading, writing and positioning through handles, attributes, deletion and
// renaming, and the process's error mode.
//
// Paths are Windows paths in the ANSI code page, mapped onto the Linux file system:
// - '\' and '/' both separate names; a double-byte character is never split, so its second byte
//   is never taken for a separator.
// - A drive letter and colon followed by a separator ("C:\", "Z:/") means the root of the file
//   system, whatever the letter; a drive letter and colon without a separator ("C:dir") means
//   the current directory. A path that starts with a separator is taken from the root; any other
//   path stays relative to the current directory.
// - "." and ".." are resolved by name, as Win32 does, before the file system is asked; a ".." at
//   the root stays at the root. Trailing dots and spaces of the last name are dropped unless the
//   path ends with a separator.
// - The bytes of the names are used as they are, without code-page conversion, as the C runtime's
//   fopen uses them: a file is found under the same name by both.
// - Names are case-insensitive, as in Win32: where no entry has a name exactly as written, the
//   first entry of its directory that equals it under the ANSI code page's case mapping is taken
//   (so "C:\WORK" is /work when there is no /WORK). An exact name always wins. Only the first
//   name found in no spelling is left, with the names after it, as written: a new file gets the
//   name it was given, and MoveFileA gives the destination its new spelling even when only the
//   case changes.
// - Paths longer than MAX_PATH characters fail with ERROR_FILENAME_EXCED_RANGE; the characters
//   * ? " < > | and control characters fail with ERROR_INVALID_NAME.
//
// Missing files fail with ERROR_FILE_NOT_FOUND, a missing directory on the way with
// ERROR_PATH_NOT_FOUND, denied access with ERROR_ACCESS_DENIED, a conflict with another open
// handle with ERROR_SHARING_VIOLATION.
#pragma once

#include <bwcore/win32/types.h>

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u

#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER ((DWORD)-1)
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)

#define SEM_FAILCRITICALERRORS 0x0001u
#define SEM_NOOPENFILEERRORBOX 0x8000u

// Error codes that only the file functions report.
#define ERROR_NOT_SAME_DEVICE 17L
#define ERROR_DISK_FULL 112L
#define ERROR_INVALID_NAME 123L
#define ERROR_NEGATIVE_SEEK 131L
#define ERROR_FILENAME_EXCED_RANGE 206L

typedef struct _SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

// Overlapped (asynchronous) I/O is not offered: the structure is only named so that the
// signatures match, and a non-null pointer fails with ERROR_INVALID_PARAMETER.
typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

// Opens or creates a file. dwDesiredAccess is GENERIC_READ, GENERIC_WRITE, both or neither;
// dwShareMode any of the FILE_SHARE_* bits; dwCreationDisposition OPEN_EXISTING, OPEN_ALWAYS or
// CREATE_ALWAYS (other values fail with ERROR_INVALID_PARAMETER). OPEN_ALWAYS and CREATE_ALWAYS
// set the last error to ERROR_ALREADY_EXISTS when the file existed, else to 0; CREATE_ALWAYS
// empties an existing file. A directory cannot be opened (ERROR_ACCESS_DENIED); a trailing
// separator after a file's name fails with ERROR_INVALID_NAME. The security attributes, the
// attribute and flag bits and the template are accepted and not used: a new file gets the file
// system's default permissions. Whether the file may be written is the file system's decision,
// so a process that may override permissions (root) can write a read-only file.
//
// Sharing is enforced between the handles of this process: an open fails with
// ERROR_SHARING_VIOLATION when an open handle to the same file does not share the access asked
// for, or has an access that the new share mode does not allow. Handles of other processes are
// not seen. The checks follow the file, not its name, so they hold across a rename.
BW_EXTERN_C BWAFX_API HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess,
                                                DWORD dwShareMode,
                                                LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                                                DWORD dwCreationDisposition,
                                                DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);

// Reads up to nNumberOfBytesToRead bytes at the file position; at the end of the file it succeeds
// and stores 0. Needs GENERIC_READ (else ERROR_ACCESS_DENIED).
BW_EXTERN_C BWAFX_API BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer,
                                           DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                                           LPOVERLAPPED lpOverlapped);
// Writes the bytes at the file position, extending the file as needed. Needs GENERIC_WRITE.
BW_EXTERN_C BWAFX_API BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer,
                                            DWORD nNumberOfBytesToWrite,
                                            LPDWORD lpNumberOfBytesWritten,
                                            LPOVERLAPPED lpOverlapped);

// Moves the file position and returns its low 32 bits, the high ones going to
// *lpDistanceToMoveHigh. Without lpDistanceToMoveHigh the distance is the signed 32-bit
// lDistanceToMove and a position that does not fit in 32 bits fails with
// ERROR_INVALID_PARAMETER; with it, the distance is the signed 64-bit value of both parts. A
// position before the start fails with ERROR_NEGATIVE_SEEK. Failures return
// INVALID_SET_FILE_POINTER and leave the position alone; a success whose low part equals
// INVALID_SET_FILE_POINTER sets the last error to 0 so that the two can be told apart.
BW_EXTERN_C BWAFX_API DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove,
                                                  LPLONG lpDistanceToMoveHigh, DWORD dwMoveMethod);
// The file's size: the low 32 bits, the high ones to *lpFileSizeHigh; INVALID_FILE_SIZE on
// failure (a size whose low part equals it sets the last error to 0).
BW_EXTERN_C BWAFX_API DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
// Ends the file at the file position, shortening or extending it. Needs GENERIC_WRITE.
BW_EXTERN_C BWAFX_API BOOL WINAPI SetEndOfFile(HANDLE hFile);

// Closes a file handle. A value that is not an open handle fails with ERROR_INVALID_HANDLE,
// except INVALID_HANDLE_VALUE: it is also the current process's pseudo handle, whose closing
// Win32 accepts and ignores.
BW_EXTERN_C BWAFX_API BOOL WINAPI CloseHandle(HANDLE hObject);

// Deletes a file. Directories and read-only files are refused (ERROR_ACCESS_DENIED), as is a
// file that a handle of this process holds open without FILE_SHARE_DELETE
// (ERROR_SHARING_VIOLATION). A file deleted while open disappears at once; its handles stay
// usable.
BW_EXTERN_C BWAFX_API BOOL WINAPI DeleteFileA(LPCSTR lpFileName);
// Renames a file or directory, within one file system (else ERROR_NOT_SAME_DEVICE). An existing
// destination fails with ERROR_ALREADY_EXISTS, a file held open without FILE_SHARE_DELETE with
// ERROR_SHARING_VIOLATION.
BW_EXTERN_C BWAFX_API BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName);

// Attributes, derived from the file system (symbolic links are followed):
// - FILE_ATTRIBUTE_DIRECTORY for a directory, FILE_ATTRIBUTE_ARCHIVE for a regular file;
// - FILE_ATTRIBUTE_READONLY for a file without any write permission bit (whoever asks);
// - FILE_ATTRIBUTE_HIDDEN for a name that starts with a dot;
// - FILE_ATTRIBUTE_NORMAL, alone, when none of these applies (devices, pipes, sockets).
// A directory path may end with a separator; a file path that does fails with
// ERROR_PATH_NOT_FOUND. Failures return INVALID_FILE_ATTRIBUTES.
BW_EXTERN_C BWAFX_API DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName);
// Only FILE_ATTRIBUTE_READONLY has an effect, and only on files: set, it removes every write
// permission bit; cleared, it gives the owner write permission back. The other bits are accepted
// and not kept (hidden comes from the name). A trailing separator after a file's name fails
// with ERROR_INVALID_NAME.
BW_EXTERN_C BWAFX_API BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes);

// Sets the process-wide error mode (SEM_* bits) and returns the previous one; it starts at 0. The
// Linux layer shows no error boxes, so the mode is only kept.
BW_EXTERN_C BWAFX_API UINT WINAPI SetErrorMode(UINT uMode);
