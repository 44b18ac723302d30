// Path mapping for the Linux Win32 layer: a Windows path is split into names by characters of
// the ANSI code page, so that the second byte of a double-byte character (0x5C in code page 932,
// for example) is never taken for a backslash. "X:\" - any drive letter - is the root of the file
// system, "X:" without a separator the current directory; "." and ".." are resolved by name as
// Win32 resolves them; the names are joined with '/' and passed on byte for byte. So
// "C:\tmp\a.txt" is /tmp/a.txt, "\tmp\a.txt" too, and "dir\..\a.txt" is a.txt in the current
// directory.
//
// Win32 names are case-insensitive, Linux names are not. A path whose exact spelling exists costs
// one lstat; only when it does not is each name looked up on its own, and a name that its
// directory does not hold exactly is replaced by the first entry of that directory that equals
// it but for case (folded_names.h: the names of the directories read last are kept). The first name
// found in no spelling ends the lookup: the rest of the path is kept as written, so that a file
// about to be created gets the name it was given.
#include "paths.h"

#include "codepages.h"
#include "folded_names.h"

#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>

#include <errno.h>
#include <string.h>
#include <sys/stat.h>

#include <vector>

namespace bwcompat {

namespace {

// Not declared by the layer's error header; only the file functions report it.
constexpr DWORD error_gen_failure = 31;

bool is_drive_letter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Adds one name of a path to the names gathered so far, resolving "." and "..".
void push_name(std::vector<std::string>& names, const std::string& name, bool absolute) {
    if (name == ".")
        return;
    if (name == "..") {
        if (!names.empty() && names.back() != "..")
            names.pop_back();
        else if (!absolute)
            names.push_back(name); // above the current directory; at the root ".." stays there
        return;
    }
    names.push_back(name);
}

std::string join_names(const std::vector<std::string>& names, bool absolute) {
    std::string result = absolute ? "/" : "";
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            result += '/';
        result += names[i];
    }
    return result.empty() ? "." : result;
}

// See the comment at the top of the file.
void resolve_case(std::vector<std::string>& names, bool absolute, bool lastName) {
    struct stat st;
    if (names.empty() || lstat(join_names(names, absolute).c_str(), &st) == 0)
        return;
    std::string prefix = absolute ? "/" : "";
    for (std::string& name : names) {
        if (!lastName && &name == &names.back())
            return;
        if (lstat((prefix + name).c_str(), &st) != 0 &&
            (errno != ENOENT || !FindNameIgnoringCase(prefix.empty() ? "." : prefix, name)))
            return;
        prefix += name + "/";
    }
}

} // namespace

namespace {

enum class case_lookup { none, all_but_last, all };

DWORD map_path(LPCSTR windowsPath, MappedPath& out, case_lookup lookup) {
    if (windowsPath == nullptr || *windowsPath == '\0')
        return ERROR_PATH_NOT_FOUND;
    const CodePage& page = AnsiCodePage();

    const char* p = windowsPath;
    if (is_drive_letter(p[0]) && p[1] == ':')
        p += 2;
    const bool absolute = IsSeparator(*p);

    std::vector<std::string> names;
    std::string name;
    size_t kept = 0; // the name's length without its trailing single-byte dots and spaces
    bool trailingSeparator = false;
    int characters = static_cast<int>(p - windowsPath);
    while (int length = CharLength(page, p)) {
        if (++characters > MAX_PATH)
            return ERROR_FILENAME_EXCED_RANGE;
        if (length == 1 && IsSeparator(*p)) {
            if (!name.empty())
                push_name(names, name, absolute);
            name.clear();
            kept = 0;
            trailingSeparator = true;
        } else {
            if (length == 1 && IsInvalidNameChar(*p))
                return ERROR_INVALID_NAME;
            name.append(p, static_cast<size_t>(length));
            if (length == 2 || (*p != '.' && *p != ' '))
                kept = name.size();
            trailingSeparator = false;
        }
        p += length;
    }
    if (!name.empty()) {
        // Win32 drops the trailing dots and spaces of the last name (after resolving "." and
        // ".."), so "a.txt." and "a.txt " name a.txt.
        if (name != "." && name != "..")
            name.resize(kept);
        if (!name.empty())
            push_name(names, name, absolute);
    }

    if (lookup != case_lookup::none)
        resolve_case(names, absolute, lookup == case_lookup::all);
    out.path = join_names(names, absolute);
    out.trailingSeparator = trailingSeparator;
    return ERROR_SUCCESS;
}

} // namespace

DWORD MapPath(LPCSTR windowsPath, MappedPath& out, bool resolveLastName) {
    return map_path(windowsPath, out,
                    resolveLastName ? case_lookup::all : case_lookup::all_but_last);
}

DWORD MapPathAsWritten(LPCSTR windowsPath, MappedPath& out) {
    return map_path(windowsPath, out, case_lookup::none);
}

bool SameNameIgnoringCase(const CodePage& page, const char* a, const char* b) {
    for (;;) {
        const int lengthA = CharLength(page, a);
        const int lengthB = CharLength(page, b);
        if (lengthA == 0 || lengthB == 0)
            return lengthA == lengthB;
        if (ToUpper(page, ReadChar(a, lengthA)) != ToUpper(page, ReadChar(b, lengthB)))
            return false;
        a += lengthA;
        b += lengthB;
    }
}

bool IsReadOnly(const struct stat& st) {
    return !S_ISDIR(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

DWORD AttributesOf(const struct stat& st, const char* name) {
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(st.st_mode))
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    if (IsReadOnly(st))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (name[0] == '.' && name[1] != '\0' && strcmp(name, "..") != 0)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

DWORD MissingError(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string parent =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat st;
    if (stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return ERROR_FILE_NOT_FOUND;
    return ERROR_PATH_NOT_FOUND;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
    case ENOTEMPTY:
        return ERROR_ALREADY_EXISTS;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
    case EFBIG:
        return ERROR_INVALID_PARAMETER;
    default:
        return error_gen_failure;
    }
}

} // namespace bwcompat
