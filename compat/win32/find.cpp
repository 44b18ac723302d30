// Directory search for Linux (the rules are listed in find.h). A search reads the names of its
// directory when it starts, keeps those that match, sorts them, and reads each entry's status
// only when it delivers the entry, through a descriptor of the directory kept open for the
// search. Matching works on the names' upper-case character codes, with a table of the
// (name, pattern) positions already decided, so that no pattern of stars takes more than
// name length times pattern length steps.
//
// Search handles index a table of their own, at values far above those of file handles, so that
// neither kind is ever taken for the other.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>
#include <bwcore/win32/find.h>

#include "codepages.h"
#include "paths.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

using bwcompat::CharCode;
using bwcompat::CodePage;

struct search {
    search() = default;
    search(const search&) = delete;
    search& operator=(const search&) = delete;
    ~search() {
        if (fd >= 0)
            close(fd);
    }

    // Where a name and its upper-case form (see read_names) start in `names`, and the order of
    // that form's first bytes.
    struct place {
        size_t name;
        size_t key;
        uint64_t prefix;
    };

    const char* name(size_t i) const { return names.data() + order[i].name; }

    int fd = -1;              // the directory, for fstatat
    std::string names;        // the matching names, each with its terminator (see read_names)
    std::vector<place> order; // the names in the order they are delivered
    size_t next = 0;
};

// Slot i holds the search of handle value handle_base + (i + 1) * 4.
constexpr uintptr_t handle_base = 0x40000000;

struct search_table {
    std::mutex lock;
    std::vector<std::shared_ptr<search>> slots;
};

// Never destroyed, so that searches still work while other libraries' static objects go away.
search_table& table() {
    static search_table* instance = new search_table;
    return *instance;
}

// The slot index of a handle value, or -1 when it is not an open search. Called with the lock.
ptrdiff_t slot_of(const search_table& searches, HANDLE handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value <= handle_base || value % 4 != 0)
        return -1;
    const uintptr_t index = (value - handle_base) / 4 - 1;
    if (index >= searches.slots.size() || !searches.slots[index])
        return -1;
    return static_cast<ptrdiff_t>(index);
}

std::vector<CharCode> upper_chars(const CodePage& page, const char* p) {
    std::vector<CharCode> chars;
    while (int length = bwcompat::CharLength(page, p)) {
        chars.push_back(bwcompat::ToUpper(page, bwcompat::ReadChar(p, length)));
        p += length;
    }
    return chars;
}

// Whether a name (as upper_chars) matches a pattern (as upper_chars), by the rules in find.h.
class pattern_match {
public:
    pattern_match(const std::vector<CharCode>& name, const std::vector<CharCode>& pattern)
        : m_name(name), m_pattern(pattern),
          m_known((name.size() + 1) * (pattern.size() + 1), unknown) {}

    bool matches() { return at(0, 0); }

private:
    static constexpr signed char unknown = -1;

    bool at(size_t n, size_t p) {
        signed char& known = m_known[n * (m_pattern.size() + 1) + p];
        if (known == unknown)
            known = decide(n, p);
        return known != 0;
    }

    bool decide(size_t n, size_t p) {
        if (p == m_pattern.size())
            return n == m_name.size();
        const CharCode c = m_pattern[p];
        const bool end = n == m_name.size();
        if (c == '*')
            return at(n, p + 1) || (!end && at(n + 1, p));
        if (c == '?')
            return (!end && at(n + 1, p + 1)) || ((end || m_name[n] == '.') && at(n, p + 1));
        if (c == '.' && end)
            return std::all_of(m_pattern.begin() + static_cast<ptrdiff_t>(p) + 1, m_pattern.end(),
                               [](CharCode rest) { return rest == '*'; });
        return !end && m_name[n] == c && at(n + 1, p + 1);
    }

    const std::vector<CharCode>& m_name;
    const std::vector<CharCode>& m_pattern;
    std::vector<signed char> m_known;
};

bool is_dots(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The order of delivery: "." and ".." first, then by the names' upper-case character codes.
bool delivered_before(const CodePage& page, const char* p, const char* q) {
    if (is_dots(p) != is_dots(q))
        return is_dots(p);
    for (;;) {
        // ASCII bytes are characters of their own in every code page: the common case is cased
        // here, byte by byte.
        const unsigned char x = static_cast<unsigned char>(*p);
        const unsigned char y = static_cast<unsigned char>(*q);
        if (x < 0x80 && y < 0x80) {
            if (x == 0 || y == 0)
                return x == 0 && y != 0;
            const int upperX = x >= 'a' && x <= 'z' ? x - 0x20 : x;
            const int upperY = y >= 'a' && y <= 'z' ? y - 0x20 : y;
            if (upperX != upperY)
                return upperX < upperY;
            ++p;
            ++q;
            continue;
        }
        const int lengthP = bwcompat::CharLength(page, p);
        const int lengthQ = bwcompat::CharLength(page, q);
        if (lengthP == 0 || lengthQ == 0)
            return lengthP == 0 && lengthQ != 0;
        const CharCode c = bwcompat::ToUpper(page, bwcompat::ReadChar(p, lengthP));
        const CharCode d = bwcompat::ToUpper(page, bwcompat::ReadChar(q, lengthQ));
        if (c != d)
            return c < d;
        p += lengthP;
        q += lengthQ;
    }
}

// The first eight bytes of an upper-case form as one number that orders as they do, so that most
// comparisons of a sort take one step; "." and ".." take 0 and 1, before every name.
uint64_t sort_prefix(const char* key) {
    if (is_dots(key))
        return key[1] == '\0' ? 0 : 1;
    uint64_t prefix = 0;
    for (int i = 0; i < 8; ++i) {
        prefix = prefix << 8 | static_cast<unsigned char>(*key);
        if (*key != '\0')
            ++key;
    }
    return prefix;
}

// Reads the names of the search's open directory that match the pattern, straight from the
// kernel's directory records (the descriptor stays the search's own, for fstatat), into one
// buffer, and sorts their places into the order of delivery: where every name is ASCII, by their
// upper-case forms, which give the order of delivered_before.
void read_names(search& found, const std::string& pattern, bool root) {
    const CodePage& page = bwcompat::AnsiCodePage();
    const bool everything = pattern == "*" || pattern == "*.*";
    const std::vector<CharCode> wanted = upper_chars(page, pattern.c_str());
    alignas(struct dirent64) char records[32768];
    bool ascii = true;
    ssize_t length;
    while ((length = getdents64(found.fd, records, sizeof records)) > 0) {
        for (ssize_t at = 0; at < length;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(records + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if ((root && is_dots(name)) ||
                !(everything || pattern_match(upper_chars(page, name), wanted).matches()))
                continue;
            // Behind each name, its ASCII upper-case form, by which most directories sort; it
            // is made in the same pass that finds the names that no Win32 path could reach.
            const size_t size = strlen(name) + 1;
            const size_t start = found.names.size();
            found.names.append(name, size).append(name, size);
            char* key = &found.names[start + size];
            bool reachable = true;
            for (char* c = key; *c != '\0' && reachable;) {
                if (static_cast<unsigned char>(*c) >= 0x80) {
                    ascii = false;
                    c += bwcompat::CharLength(page, c);
                    continue;
                }
                reachable = *c != '\\' && !bwcompat::IsInvalidNameChar(*c);
                if (*c >= 'a' && *c <= 'z')
                    *c = static_cast<char>(*c - 0x20);
                ++c;
            }
            if (reachable)
                found.order.push_back({start, start + size, sort_prefix(key)});
            else
                found.names.resize(start);
        }
    }
    const char* names = found.names.data();
    if (ascii) {
        std::sort(found.order.begin(), found.order.end(),
                  [names](const search::place& a, const search::place& b) {
                      if (a.prefix != b.prefix)
                          return a.prefix < b.prefix;
                      return strcmp(names + a.key, names + b.key) < 0;
                  });
    } else {
        std::sort(found.order.begin(), found.order.end(),
                  [&page, names](const search::place& a, const search::place& b) {
                      return delivered_before(page, names + a.name, names + b.name);
                  });
    }
}

FILETIME filetime_of(const struct timespec& t) {
    // 100 ns units since 1601-01-01, 11644473600 seconds before the Unix epoch; earlier is 0.
    const int64_t seconds = static_cast<int64_t>(t.tv_sec) + 11644473600LL;
    const uint64_t ticks =
        seconds < 0 ? 0 : static_cast<uint64_t>(seconds) * 10000000u + t.tv_nsec / 100;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Fills the data with the search's next entry that still exists; false after the last.
bool deliver_next(search& found, WIN32_FIND_DATAA* data) {
    while (found.next < found.order.size()) {
        const char* name = found.name(found.next++);
        struct stat st;
        // A symbolic link is described by its target, a dangling one by itself. "." and ".." are
        // both described by the open directory, as NTFS, which keeps no entries for them,
        // reports them; no name is looked up for either.
        if (is_dots(name) ? fstat(found.fd, &st) != 0
                          : fstatat(found.fd, name, &st, 0) != 0 &&
                                fstatat(found.fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        memset(data, 0, sizeof *data);
        data->dwFileAttributes = bwcompat::AttributesOf(st, name);
        data->ftCreationTime = filetime_of(st.st_ctim);
        data->ftLastAccessTime = filetime_of(st.st_atim);
        data->ftLastWriteTime = filetime_of(st.st_mtim);
        if (!S_ISDIR(st.st_mode)) {
            const uint64_t size = static_cast<uint64_t>(st.st_size);
            data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
            data->nFileSizeLow = static_cast<DWORD>(size);
        }
        memcpy(data->cFileName, name, strlen(name) + 1); // Linux names fit in MAX_PATH
        return true;
    }
    return false;
}

// The search of a handle, null when it names none; with `close` its slot is emptied as well.
std::shared_ptr<search> search_of(HANDLE handle, bool close) {
    search_table& searches = table();
    std::lock_guard<std::mutex> guard(searches.lock);
    const ptrdiff_t slot = slot_of(searches, handle);
    if (slot < 0)
        return nullptr;
    std::shared_ptr<search>& held = searches.slots[static_cast<size_t>(slot)];
    if (close)
        return std::move(held);
    return held;
}

HANDLE fail_search(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

} // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) try {
    if (lpFileName == nullptr || lpFindFileData == nullptr)
        return fail_search(ERROR_INVALID_PARAMETER);
    // The pattern is the last name: after the last separator, or after a drive's colon.
    const CodePage& page = bwcompat::AnsiCodePage();
    const char* pattern = lpFileName;
    if (((*pattern | 0x20) >= 'a' && (*pattern | 0x20) <= 'z') && pattern[1] == ':')
        pattern += 2;
    int characters = 0;
    for (const char* p = pattern; int length = bwcompat::CharLength(page, p); p += length) {
        if (++characters > MAX_PATH)
            return fail_search(ERROR_FILENAME_EXCED_RANGE);
        if (length == 1 && bwcompat::IsSeparator(*p))
            pattern = p + 1;
    }
    const std::string directoryText(lpFileName, static_cast<size_t>(pattern - lpFileName));
    const char* directoryName = directoryText.empty() ? "." : directoryText.c_str();
    bwcompat::MappedPath directory;
    if (DWORD error = bwcompat::MapPathAsWritten(directoryName, directory))
        return fail_search(error);

    // The spelling as written is opened first, so that an exact path costs one open; the case-
    // insensitive lookup comes in only where it does not name a directory.
    auto found = std::make_shared<search>();
    found->fd = open(directory.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (found->fd < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        if (DWORD error = bwcompat::MapPath(directoryName, directory))
            return fail_search(error);
        found->fd = open(directory.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (found->fd < 0)
        return fail_search(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                               : bwcompat::ErrorFromErrno(errno));
    if (*pattern == '\0')
        return fail_search(ERROR_FILE_NOT_FOUND);
    read_names(*found, pattern, directory.path == "/");

    if (!deliver_next(*found, lpFindFileData))
        return fail_search(ERROR_FILE_NOT_FOUND);

    search_table& searches = table();
    std::lock_guard<std::mutex> guard(searches.lock);
    size_t slot = 0;
    while (slot < searches.slots.size() && searches.slots[slot])
        ++slot;
    if (slot == searches.slots.size())
        searches.slots.emplace_back();
    searches.slots[slot] = std::move(found);
    return reinterpret_cast<HANDLE>(handle_base + (slot + 1) * 4);
} catch (const std::bad_alloc&) {
    return fail_search(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
    const std::shared_ptr<search> found = search_of(hFindFile, false);
    if (!found)
        return fail(ERROR_INVALID_HANDLE);
    if (lpFindFileData == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    return deliver_next(*found, lpFindFileData) ? TRUE : fail(ERROR_NO_MORE_FILES);
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
    // The search, closing its directory, goes once the table's lock has been let go.
    if (!search_of(hFindFile, true))
        return fail(ERROR_INVALID_HANDLE);
    return TRUE;
}
