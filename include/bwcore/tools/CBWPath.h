// CBWPath: a Windows path held as 8-bit text in the process's ANSI code page.
//
// The separator is the backslash, on every platform; the text is kept as given and never
// converted. Every scan steps over double-byte characters whole, so a backslash or dot byte that
// is the trail byte of a double-byte character is part of that character, not a separator.
//
// Joining (operator^=) puts exactly one backslash between the two sides: trailing backslashes of
// the left side and leading backslashes of the right side are dropped before one is inserted
// ("dir" ^ "*.*" gives "dir\*.*", "dir\" ^ "x" and "dir" ^ "\x" give "dir\x", "C:\" ^ "x" gives
// "C:\x"). An empty left side takes the right side as it is; an empty right side leaves the left
// side unchanged, so no backslash is added to a directory joined with nothing.
//
// GetExtension gives the text after the last dot of the last component, without the dot, and
// empty text when that component has no dot or ends with it ("a.b\c" and "name." have none).
// A leading dot counts like any other, as with the system's file associations: ".profile" has
// the extension "profile".
#pragma once

#include <bwcore/afx/CString.h>

class BWTOOLS_API CBWPath {
public:
    CBWPath(const char* pszPath);
    CBWPath(const CString& strPath);
    CBWPath(const CBWPath& other) = default;
    CBWPath& operator=(const CBWPath& other) = default;
    ~CBWPath();

    operator LPCSTR() const { return m_strPath; }
    const CString& GetPath() const { return m_strPath; }

    // Appends the right side as a component of this path; see above.
    CBWPath& operator^=(const CBWPath& right);

    CBWPath GetExtension() const;

private:
    CString m_strPath;
};
