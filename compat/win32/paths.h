// Windows paths on the Linux file system, for the file and directory search functions: the
// mapping onto Linux paths (the rules are listed in files.h), the case-insensitive lookup of
// names, the attributes of an entry and the Win32 errors of failed system calls. Internal to
// compat/win32.
#pragma once

#include <bwcore/win32/types.h>

#include <sys/stat.h>

#include <string>

namespace bwcompat {

struct CodePage;

struct MappedPath {
    std::string path;       // the Linux path, without a trailing '/' (except the root itself)
    bool trailingSeparator; // the Windows path ended with a separator
};

// Both are inline: every name that a directory search reads is walked with them.
inline bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The characters that no Win32 name may hold: * ? " < > | and control characters.
inline bool IsInvalidNameChar(char c) {
    switch (c) {
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return static_cast<unsigned char>(c) < 0x20;
    }
}

// Maps a Windows path onto the file system, each name resolved case-insensitively where no entry
// has it exactly (the last one only with resolveLastName); ERROR_SUCCESS or the Win32 error for
// the path. May throw std::bad_alloc.
DWORD MapPath(LPCSTR windowsPath, MappedPath& out, bool resolveLastName = true);
// The same mapping with every name kept as written, for a caller that tries the exact spelling
// itself before it asks MapPath.
DWORD MapPathAsWritten(LPCSTR windowsPath, MappedPath& out);

// Whether two names are the same but for case, in the ANSI code page's case mapping.
bool SameNameIgnoringCase(const CodePage& page, const char* a, const char* b);

// The attributes Win32 gives an entry of that name with that status (see GetFileAttributesA).
DWORD AttributesOf(const struct stat& st, const char* name);
// Files, not directories, carry the read-only attribute.
bool IsReadOnly(const struct stat& st);

// ENOENT for a path: Win32 tells a missing file from a missing directory on the way to it.
DWORD MissingError(const std::string& path);
DWORD ErrorFromErrno(int error);

} // namespace bwcompat
