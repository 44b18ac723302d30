// File I/O over the system's file calls.
#include <bwcore/runtime/Io.h>

#include <bwcore/runtime/MemHeap.h>
#include <bwcore/runtime/Strings.h>

#include <string.h>

namespace {

struct OpenMode {
    int32_t mode;
    DWORD access;
    DWORD share;
    DWORD disposition;
    bool deleteFirst;
};

const OpenMode kOpenModes[] = {
    {1, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, true},
    {2, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, false},
    {17, GENERIC_WRITE, 0, OPEN_EXISTING, false},
    {64, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, false},
    {66, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, false},
    {4129, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, false},
    {4162, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, CREATE_ALWAYS, false},
};
const OpenMode kDefaultMode = {0, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING,
                               false};

const OpenMode& FindMode(int32_t mode) {
    for (const OpenMode& m : kOpenModes) {
        if (m.mode == mode)
            return m;
    }
    return kDefaultMode;
}

// A little more than the 512 bytes that the longest path in the callers' buffers needs.
const size_t kAttrPathSize = 520;

// Copies the path into `copy` and removes a trailing backslash that does not belong to a drive
// root. False when the path does not fit.
bool CutTrailingBackslash(const char* path, char (&copy)[kAttrPathSize]) {
    const size_t length = strlen(path);
    if (length >= kAttrPathSize)
        return false;
    memcpy(copy, path, length + 1);
    char* cut = nullptr;
    const char* previous = nullptr; // the character before p
    const char* last = nullptr;     // the last character
    for (char* p = copy; *p != '\0'; p = _lstrnext(p)) {
        const bool afterColon = previous != nullptr && previous + 1 == p && *previous == ':';
        if (*p == '\\' && p != copy && !afterColon)
            cut = p;
        previous = p;
        last = p;
    }
    // `last` starts a character, so a double-byte character's second byte (0x5C in code page
    // 932, say) is never taken for a trailing backslash.
    if (last != nullptr && *last == '\\' && cut != nullptr)
        *cut = '\0';
    return true;
}

} // namespace

HANDLE IoOpen(const char* path, int32_t mode) {
    if (path == nullptr)
        return INVALID_HANDLE_VALUE;
    const OpenMode& m = FindMode(mode);
    if (m.deleteFirst)
        DeleteFileA(path);
    return CreateFileA(path, m.access, m.share, nullptr, m.disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

int32_t IoClose(HANDLE file) {
    return CloseHandle(file) ? 0 : -1;
}

int32_t IoRead(HANDLE file, void* buffer, uint32_t* count) {
    if (count == nullptr)
        return -1;
    DWORD read = 0;
    if (!ReadFile(file, buffer, *count, &read, nullptr))
        return -1;
    *count = read;
    return static_cast<int32_t>(read);
}

int32_t IoWrite(HANDLE file, const void* buffer, uint32_t* count) {
    if (count == nullptr)
        return -1;
    DWORD written = 0;
    if (!WriteFile(file, buffer, *count, &written, nullptr))
        return -1;
    *count = written;
    return static_cast<int32_t>(written);
}

int32_t IoGetc(HANDLE file) {
    unsigned char next = 0;
    DWORD read = 0;
    if (!ReadFile(file, &next, 1, &read, nullptr) || read == 0)
        return -1;
    return next;
}

int32_t IoPutc(int32_t c, HANDLE file) {
    const unsigned char low = static_cast<unsigned char>(c);
    DWORD written = 0;
    if (!WriteFile(file, &low, 1, &written, nullptr) || written == 0)
        return -1;
    return c;
}

uint32_t IoGetPos(HANDLE file, uint32_t* position) {
    if (position == nullptr)
        return INVALID_SET_FILE_POINTER;
    *position = SetFilePointer(file, 0, nullptr, FILE_CURRENT);
    return *position;
}

uint32_t IoSetPos(HANDLE file, uint32_t* position) {
    if (position == nullptr)
        return INVALID_SET_FILE_POINTER;
    *position = SetFilePointer(file, static_cast<LONG>(*position), nullptr, FILE_BEGIN);
    return *position;
}

uint32_t IoSize(HANDLE file) {
    const DWORD size = GetFileSize(file, nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

uint32_t IoSetSize(HANDLE file, uint32_t size) {
    if (SetFilePointer(file, static_cast<LONG>(size), nullptr, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER)
        return 0;
    if (!SetEndOfFile(file))
        return 0;
    return size;
}

int32_t IoDelete(const char* path) {
    if (path == nullptr)
        return -1;
    return DeleteFileA(path) ? 0 : -1;
}

int32_t IoRename(const char* oldPath, const char* newPath) {
    if (oldPath == nullptr || newPath == nullptr)
        return -1;
    return MoveFileA(oldPath, newPath) ? 0 : -1;
}

uint32_t IoGetAttr(const char* path) {
    char copy[kAttrPathSize];
    if (path == nullptr || !CutTrailingBackslash(path, copy))
        return 0;
    const DWORD attributes = GetFileAttributesA(copy);
    return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
}

int32_t IoSetAttr(const char* path, uint32_t attributes) {
    char copy[kAttrPathSize];
    if (path == nullptr || !CutTrailingBackslash(path, copy))
        return 0;
    return SetFileAttributesA(copy, attributes) ? 1 : 0;
}

int32_t IoGetVersion(const char* path, uint32_t* versionMS, uint32_t* versionLS) {
    if (path == nullptr || versionMS == nullptr || versionLS == nullptr || *path == '\0')
        return -1;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) {
        // Without version information, tell a file that exists from one that cannot be opened,
        // with the system's error boxes off for the look.
        SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        SetErrorMode(SEM_NOOPENFILEERRORBOX);
        if (file == INVALID_HANDLE_VALUE)
            return -2;
        CloseHandle(file);
        return -8;
    }
    // size + 1 must not wrap round to a block smaller than what the system writes into it.
    void* info = size < UINT32_MAX ? MemHeapAlloc(MEMHEAP_GLOBAL, size + 1) : nullptr;
    if (info == nullptr)
        return -1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    int32_t result = -1;
    // A root block too short for the fixed part counts as a failed query.
    if (GetFileVersionInfoA(path, handle, size, info) &&
        VerQueryValueA(info, "\\", reinterpret_cast<LPVOID*>(&fixed), &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        *versionMS = fixed->dwFileVersionMS;
        *versionLS = fixed->dwFileVersionLS;
        result = 0;
    }
    MemHeapFree(MEMHEAP_GLOBAL, info);
    return result;
}
