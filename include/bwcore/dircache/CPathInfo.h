// CPathInfo: the listing of one directory, its entries split into files and subdirectories.
//
// Each entry is a pathfileinfo record: one block from the C heap (malloc), the name stored in the
// same block right behind the fixed fields, owned by the array that holds it. Entries keep the
// order the directory search returned them in; "." and ".." are never listed. The directory
// cache keeps one listing per directory and hands out copies (Duplicate), in which only the
// files whose names match a pattern remain, every subdirectory always.
//
// Patterns (CompWildcard), compared character by character in the ANSI code page, a double-byte
// character counting as one and case ignored: a '*' covers the rest of a name part up to a dot,
// the pattern's first dot after it meeting the name's last dot, so "*.txt" matches "b.c.txt" and
// "*.tar.gz" never matches; a '?' covers at most one character that is not a dot; a pattern
// that ends where the name has no more dots matches when only a dot, '?' and '*' are left
// ("*.*" and "*.??" match "README", "abc." matches "abc"). An empty pattern matches nothing.
//
// A directory whose search pattern (the path, a backslash and "*.*") does not fit in MAX_PATH
// bytes with its terminator is not searched: it lists as empty, like a directory that cannot be
// read, rather than being cut to a shorter path that could name another directory.
//
// Not locked: a listing is built by one thread, then only read.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/dircache/CPtrArrayEx.h>

class CFileType;

class BWCORE_API CPathInfo : public CObject {
    DECLARE_DYNCREATE(CPathInfo)

public:
    struct pathfileinfo {
        int32_t nSize;         // the whole block: these fields, the name and its terminator
        char* pszName;         // the name, in this block right behind these fields
        uint32_t dwSize;       // the low 32 bits of the file's size
        uint32_t dwAttributes; // FILE_ATTRIBUTE_* bits
        FILETIME ftLastWrite;
        uint64_t qwReserved; // 0
        int32_t nType;       // the file-type index, -1 without a file-type table
    };

    CPathInfo();
    CPathInfo(const CString& strPath, CFileType* pFileType);
    ~CPathInfo() override;

    // Appends the entries of strDir (when not empty, it replaces m_strPath) or of m_strPath; 0,
    // also for a directory that is missing or cannot be read, or -1 when a record cannot be
    // allocated (the records made so far stay).
    int EnumDir(const CString& strDir);
    // A new listing, owned by the caller, with copies of every subdirectory's record and of the
    // files matching strPattern; null when a record cannot be copied.
    CPathInfo* Duplicate(const CString& strPattern);

    CString m_strPath;
    CPtrArrayEx m_arrFiles; // pathfileinfo records of the entries that are not directories
    CPtrArrayEx m_arrDirs;  // pathfileinfo records of the subdirectories
    CFileType* m_pFileType = nullptr; // classifies the entries; not owned, may be null

protected:
    static CRuntimeClass* _GetBaseClass();

private:
    void Setup(const CString& strPath, CFileType* pFileType);
    int FillFileInfo(int nIndex, WIN32_FIND_DATAA* pData);
    int CompWildcard(char* pszName, char* pszPattern);
    int FileMatchQuery(pathfileinfo* pItem, const CString& strPattern);
    char* FindLastDot(char* psz);
    pathfileinfo* CopyFileItem(pathfileinfo* pItem);
    int CopyFileArray(CPtrArrayEx& arrTo, CPtrArrayEx& arrFrom);
};
