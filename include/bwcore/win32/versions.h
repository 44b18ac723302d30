// Version resources: the version information of a file, read from the RT_VERSION resource of a
// PE image (PE32 or PE32+), and queries into it.
//
// The resource taken is type 16 (RT_VERSION), name 1, in the neutral language if present, else
// in US English, else in its first language. Files that are not PE images, images without that
// resource, and images whose headers or resource directory are inconsistent or point outside the
// file all fail with ERROR_RESOURCE_DATA_NOT_FOUND, as does version data not in the 32-bit
// (Unicode) layout that PE images carry. A file that cannot be opened fails with the open's error
// (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ...). Paths are mapped as in files.h.
#pragma once

#include <bwcore/win32/types.h>

#define VS_FFI_SIGNATURE 0xFEEF04BDu

typedef struct tagVS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
} VS_FIXEDFILEINFO;

// The size of the buffer GetFileVersionInfoA needs: twice the resource's size plus 4, the second
// half being where VerQueryValueA puts the 8-bit copies of text values. 0 on failure; the handle
// (if given) is set to 0.
BW_EXTERN_C BWAFX_API DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR lptstrFilename,
                                                           LPDWORD lpdwHandle);
// Copies the version resource into lpData (as much of it as dwLen holds) and, when dwLen leaves
// room for the text conversions, marks the block for them with the signature "FE2X" just after
// the version data. dwHandle is ignored. Unlike Win32, a dwLen smaller than the version data
// fails with ERROR_INSUFFICIENT_BUFFER rather than handing out a cut block that queries would
// read past.
BW_EXTERN_C BWAFX_API BOOL WINAPI GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD dwHandle,
                                                      DWORD dwLen, LPVOID lpData);
// Finds a value in a block that GetFileVersionInfoA filled. lpSubBlock names it by the keys on
// the way, separated by backslashes and compared without regard to ASCII case: "\" (or "") is
// the root's VS_FIXEDFILEINFO, "\VarFileInfo\Translation" the language and code page pairs,
// "\StringFileInfo\040904B0\FileVersion" a text. *lplpBuffer receives the value's address and
// *puLen its length: bytes for binary values, and for text the bytes of its 8-bit copy (in the
// ANSI code page, terminator included), which is made in the block's second half. A key that is
// not there fails with ERROR_RESOURCE_TYPE_NOT_FOUND and sets *puLen to 0. Text values need the
// room for their copies: a block without the "FE2X" mark gives ERROR_INSUFFICIENT_BUFFER for them.
BW_EXTERN_C BWAFX_API BOOL WINAPI VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock,
                                                 LPVOID* lplpBuffer, UINT* puLen);
