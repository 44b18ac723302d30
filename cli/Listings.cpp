#include "Listings.h"

const char* whyNotADirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return "no such directory";
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return "it is not a directory";
    return nullptr;
}

CPathInfo* listingAt(const CPtrArrayEx& listings, INT_PTR index) {
    return static_cast<CPathInfo*>(listings.GetAt(index));
}

const CPathInfo::pathfileinfo* entryAt(const CPtrArrayEx& entries, INT_PTR index) {
    return static_cast<const CPathInfo::pathfileinfo*>(entries.GetAt(index));
}

CString entryPath(const CPathInfo& listing, const char* name) {
    CBWPath path(listing.m_strPath);
    path ^= CBWPath(name);
    return path.GetPath();
}
