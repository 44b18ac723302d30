// File I/O: a thin layer of flat functions over the system's file calls, with integer results.
// Files are named by 8-bit paths in the ANSI code page; an open file is the system's file handle
// (CreateFileA's), INVALID_HANDLE_VALUE meaning failure.
//
// Contract:
// - Positions and sizes are 32-bit unsigned byte counts; files of 4 GiB and more are outside the
//   design.
// - IoOpen modes (every open with no security attributes, FILE_ATTRIBUTE_NORMAL, no template):
//     1     read/write, share read, open always - the file is deleted first, so it starts empty
//     2     read, share read, open existing
//     17    write, share none, open existing
//     64    read, share read, open existing
//     66    read/write, share read/write, open existing
//     4129  write, share read, create always
//     4162  read/write, share read/write, create always
//     other read/write, share read, open existing
// - Results: IoOpen a handle or INVALID_HANDLE_VALUE; IoClose, IoDelete, IoRename 0 or -1;
//   IoRead, IoWrite the count (also stored through the count pointer) or -1; IoGetc the byte
//   (0 to 255) or -1 at the end of the file or on failure; IoPutc the character as passed or -1;
//   IoGetPos and IoSetPos the position (also stored), all bits set on failure; IoSize the size,
//   0 when it cannot be read; IoSetSize the size, 0 on failure; IoGetAttr the attribute bits, 0
//   for a missing file; IoSetAttr non-zero or 0. A null pointer argument gives the function's
//   failure value and changes nothing. The caller asks GetLastError for the reason.
// - IoGetAttr and IoSetAttr tolerate one trailing backslash after a directory path (see
//   IoGetAttr); paths of 520 bytes or more are refused by them.
// - IoGetVersion: 0 with the file version's high and low 32 bits stored; -8 when the file exists
//   but has no version information, -2 when it cannot be opened, -1 for an empty path or when the
//   version information cannot be read. It leaves the process error mode at
//   SEM_NOOPENFILEERRORBOX (0x8000) when it had to look for the file.
// - No state of its own; a handle is used by one thread at a time.
#pragma once

#include <bwcore/export.h>
#include <bwcore/platform.h>

#include <stdint.h>

BW_EXTERN_C BWCORE_API HANDLE IoOpen(const char* path, int32_t mode);
BW_EXTERN_C BWCORE_API int32_t IoClose(HANDLE file);

// Reads up to *count bytes; stores the number read in *count and returns it (0 at the end of the
// file), or -1.
BW_EXTERN_C BWCORE_API int32_t IoRead(HANDLE file, void* buffer, uint32_t* count);
// Writes *count bytes; stores the number written in *count and returns it, or -1.
BW_EXTERN_C BWCORE_API int32_t IoWrite(HANDLE file, const void* buffer, uint32_t* count);
BW_EXTERN_C BWCORE_API int32_t IoGetc(HANDLE file);
// Writes the low byte of c; returns c as passed, or -1 when nothing was written.
BW_EXTERN_C BWCORE_API int32_t IoPutc(int32_t c, HANDLE file);

// Stores the current position in *position and returns it.
BW_EXTERN_C BWCORE_API uint32_t IoGetPos(HANDLE file, uint32_t* position);
// Moves to *position from the start, taken as a signed 32-bit offset (so 2 GiB and more fail);
// stores the resulting position (all bits set on failure) in *position and returns it.
BW_EXTERN_C BWCORE_API uint32_t IoSetPos(HANDLE file, uint32_t* position);
// The size; 0 when it cannot be read, and for a size of 0xFFFFFFFF.
BW_EXTERN_C BWCORE_API uint32_t IoSize(HANDLE file);
// Moves to `size` from the start and ends the file there; returns size, or 0 when either fails.
BW_EXTERN_C BWCORE_API uint32_t IoSetSize(HANDLE file, uint32_t size);

BW_EXTERN_C BWCORE_API int32_t IoDelete(const char* path);
BW_EXTERN_C BWCORE_API int32_t IoRename(const char* oldPath, const char* newPath);

// The attribute bits (GetFileAttributesA), or 0 when the file does not exist or cannot be
// queried. One trailing backslash is removed unless it belongs to a drive root: the path is
// walked by characters, and the last backslash that is neither the first character nor directly
// after a colon is where the path is cut when it ends with a backslash. So "C:\dir\" is queried
// as "C:\dir" and "C:\" as it is.
BW_EXTERN_C BWCORE_API uint32_t IoGetAttr(const char* path);
// Sets the attribute bits (SetFileAttributesA) of the path, cut as by IoGetAttr; non-zero on
// success, 0 on failure.
BW_EXTERN_C BWCORE_API int32_t IoSetAttr(const char* path, uint32_t attributes);

// The file version from the file's version resource: *versionMS and *versionLS receive
// dwFileVersionMS and dwFileVersionLS.
BW_EXTERN_C BWCORE_API int32_t IoGetVersion(const char* path, uint32_t* versionMS,
                                            uint32_t* versionLS);
