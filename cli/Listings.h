// What the ls and script commands share to read the directory cache: the listings of a QueryDir
// array, their records, and the paths of their entries.
#pragma once

#include <bwcore/bwcore.h>

#include <string>

// Why the path cannot be listed as a directory ("no such directory", "it is not a directory"),
// or null when it is a directory.
const char* whyNotADirectory(const std::string& path);

// The index-th listing of an array that QueryDir returned.
CPathInfo* listingAt(const CPtrArrayEx& listings, INT_PTR index);

// The index-th record of a listing's m_arrFiles or m_arrDirs.
const CPathInfo::pathfileinfo* entryAt(const CPtrArrayEx& entries, INT_PTR index);

// The path of an entry of the listing, joined as the cache joins a subdirectory's path.
CString entryPath(const CPathInfo& listing, const char* name);
