// Files for Linux: Win32 file handles over POSIX file descriptors.
//
// Paths are mapped onto the file system by paths.cpp (the rules are listed in files.h).
//
// Handles index a table of open files, each holding a descriptor and the access and sharing it
// was opened with. Handle values are multiples of 4 from 4 on, as Win32's are, so they are never
// null and never INVALID_HANDLE_VALUE. Opening, deleting and renaming take the table's lock for
// the whole operation, so that their sharing checks and the file system agree within this
// process.
//
// CloseHandle passes the values that name no file on to the events, semaphores and threads,
// whose handles lie in a range of their own (sync_objects.h).
//
// The read-only attribute is a file without any write permission bit. Win32 refuses to write to
// such a file, or to empty it, whoever asks, while the kernel lets root write anything: so the
// layer checks the attribute itself rather than leaving it to open().
//
// Paths and the handle table are standard strings and vectors; a function that cannot allocate
// them fails with ERROR_NOT_ENOUGH_MEMORY, as Win32 does, instead of letting std::bad_alloc out.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/files.h>

#include "paths.h"
#include "sync_objects.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr mode_t write_bits = S_IWUSR | S_IWGRP | S_IWOTH;

std::atomic<UINT> error_mode{0};

// ---------------------------------------------------------------------------------------------
// Paths

// The Win32 error for a failed stat or lstat of `path`.
DWORD stat_error(const bwcompat::MappedPath& path, int error) {
    return error == ENOENT ? bwcompat::MissingError(path.path) : bwcompat::ErrorFromErrno(error);
}

// stat of a mapped path (following links, or not). A trailing separator after something that
// is not a directory fails with `separator_error`, which differs between the functions.
DWORD stat_path(const bwcompat::MappedPath& path, bool follow_links, DWORD separator_error,
                struct stat& st) {
    const int result = follow_links ? stat(path.path.c_str(), &st) : lstat(path.path.c_str(), &st);
    if (result != 0)
        return stat_error(path, errno);
    if (path.trailingSeparator && !S_ISDIR(st.st_mode))
        return separator_error;
    return ERROR_SUCCESS;
}

// ---------------------------------------------------------------------------------------------
// Handles

// Made before its descriptor is opened (see CreateFileA), and given the descriptor after.
struct open_file {
    open_file(DWORD access_, DWORD share_) : access(access_), share(share_) {}
    open_file(const open_file&) = delete;
    open_file& operator=(const open_file&) = delete;
    ~open_file() {
        if (fd >= 0)
            close(fd);
    }

    void attach(int fd_, const struct stat& st) {
        fd = fd_;
        device = st.st_dev;
        inode = st.st_ino;
    }
    bool is_file(const struct stat& st) const { return st.st_dev == device && st.st_ino == inode; }

    int fd = -1;
    const DWORD access; // GENERIC_READ and GENERIC_WRITE bits
    const DWORD share;  // FILE_SHARE_* bits
    dev_t device = 0;
    ino_t inode = 0;
};

// Slot i holds the file of handle value (i + 1) * 4; an empty slot is a closed handle. A file is
// shared by its slot and by the calls using it at the moment, so that closing a handle while
// another thread reads through it (a caller's error) cannot close a descriptor under that read.
struct file_table {
    std::mutex lock;
    std::vector<std::shared_ptr<open_file>> slots;
};

// Never destroyed, so that handles still work while other libraries' static objects go away.
file_table& table() {
    static file_table* instance = new file_table;
    return *instance;
}

// The slot index of a handle value, or -1 when it cannot be one. Called with the lock held.
ptrdiff_t slot_of(const file_table& files, HANDLE handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || value % 4 != 0)
        return -1;
    const uintptr_t index = value / 4 - 1;
    if (index >= files.slots.size() || !files.slots[index])
        return -1;
    return static_cast<ptrdiff_t>(index);
}

// An empty slot for a new handle, added to the table if there is none. Called with the lock held.
size_t free_slot(file_table& files) {
    size_t slot = 0;
    while (slot < files.slots.size() && files.slots[slot])
        ++slot;
    if (slot == files.slots.size())
        files.slots.emplace_back();
    return slot;
}

HANDLE handle_of(size_t slot) {
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>((slot + 1) * 4));
}

// The open file of a handle; null with ERROR_INVALID_HANDLE when there is none.
std::shared_ptr<open_file> find_file(HANDLE handle) {
    file_table& files = table();
    std::lock_guard<std::mutex> guard(files.lock);
    const ptrdiff_t slot = slot_of(files, handle);
    if (slot < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return files.slots[static_cast<size_t>(slot)];
}

bool has_data_access(DWORD access) {
    return (access & (GENERIC_READ | GENERIC_WRITE)) != 0;
}

// Whether a new open with `access` and `share` conflicts with an open handle: each side must
// share what the other reads or writes. As in Win32, handles with neither access (opened only to
// ask for sizes, say) take no part in sharing.
bool sharing_conflict(const open_file& open, DWORD access, DWORD share) {
    if (!has_data_access(open.access) || !has_data_access(access))
        return false;
    return ((access & GENERIC_READ) && !(open.share & FILE_SHARE_READ)) ||
           ((access & GENERIC_WRITE) && !(open.share & FILE_SHARE_WRITE)) ||
           ((open.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) ||
           ((open.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE));
}

// Whether an open handle keeps the file from being deleted or renamed. Called with the lock held.
bool held_against_delete(const file_table& files, const struct stat& st) {
    for (const std::shared_ptr<open_file>& open : files.slots) {
        if (open && open->is_file(st) && has_data_access(open->access) &&
            !(open->share & FILE_SHARE_DELETE))
            return true;
    }
    return false;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

HANDLE fail_open(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

// Opens the descriptor for CreateFileA; `created` tells whether the call made the file. Called
// with the table's lock held.
int open_descriptor(const bwcompat::MappedPath& path, int flags, DWORD disposition, bool& created) {
    created = false;
    if (disposition == OPEN_EXISTING)
        return open(path.path.c_str(), flags);
    // Try to create first, so that Win32's ERROR_ALREADY_EXISTS can be told apart.
    int fd = open(path.path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
        created = true;
        return fd;
    }
    if (errno == EEXIST)
        fd = open(path.path.c_str(), flags);
    return fd;
}

} // namespace

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) try {
    if ((dwDesiredAccess & ~(GENERIC_READ | GENERIC_WRITE)) != 0 ||
        (dwShareMode & ~(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE)) != 0 ||
        (dwCreationDisposition != CREATE_ALWAYS && dwCreationDisposition != OPEN_EXISTING &&
         dwCreationDisposition != OPEN_ALWAYS))
        return fail_open(ERROR_INVALID_PARAMETER);
    bwcompat::MappedPath path;
    if (DWORD error = bwcompat::MapPath(lpFileName, path))
        return fail_open(error);
    if (path.trailingSeparator) {
        // A directory cannot be opened; anything else cannot be named with a separator after it.
        struct stat st;
        const bool directory = stat(path.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return fail_open(directory ? ERROR_ACCESS_DENIED : ERROR_INVALID_NAME);
    }

    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK; // a pipe must not block the open
    if ((dwDesiredAccess & GENERIC_READ) && (dwDesiredAccess & GENERIC_WRITE))
        flags |= O_RDWR;
    else if (dwDesiredAccess & GENERIC_WRITE)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;

    file_table& files = table();
    std::lock_guard<std::mutex> guard(files.lock);
    // Everything the handle needs is allocated before the file is touched, so that running out
    // of memory leaves no file made or emptied behind it.
    auto file = std::make_shared<open_file>(dwDesiredAccess, dwShareMode);
    const size_t slot = free_slot(files);
    bool created = false;
    const int fd = open_descriptor(path, flags, dwCreationDisposition, created);
    if (fd < 0)
        return fail_open(errno == ENOENT ? bwcompat::MissingError(path.path)
                                         : bwcompat::ErrorFromErrno(errno));
    struct stat st;
    if (fstat(fd, &st) != 0) {
        close(fd);
        return fail_open(ERROR_ACCESS_DENIED);
    }
    file->attach(fd, st);
    if (S_ISDIR(st.st_mode))
        return fail_open(ERROR_ACCESS_DENIED);
    if (!created && bwcompat::IsReadOnly(st) &&
        ((dwDesiredAccess & GENERIC_WRITE) || dwCreationDisposition == CREATE_ALWAYS))
        return fail_open(ERROR_ACCESS_DENIED);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    for (const std::shared_ptr<open_file>& open : files.slots) {
        if (open && open->is_file(st) && sharing_conflict(*open, dwDesiredAccess, dwShareMode))
            return fail_open(ERROR_SHARING_VIOLATION);
    }
    // Emptying waits for the sharing check: a refused open must not touch the file.
    if (dwCreationDisposition == CREATE_ALWAYS && !created) {
        const int result =
            (dwDesiredAccess & GENERIC_WRITE) ? ftruncate(fd, 0) : truncate(path.path.c_str(), 0);
        if (result != 0)
            return fail_open(bwcompat::ErrorFromErrno(errno));
    }

    files.slots[slot] = std::move(file);
    SetLastError(!created && dwCreationDisposition != OPEN_EXISTING ? ERROR_ALREADY_EXISTS
                                                                    : ERROR_SUCCESS);
    return handle_of(slot);
} catch (const std::bad_alloc&) {
    return fail_open(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                     LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesRead != nullptr)
        *lpNumberOfBytesRead = 0;
    const std::shared_ptr<open_file> file = find_file(hFile);
    if (!file)
        return FALSE;
    if (lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToRead != 0))
        return fail(ERROR_INVALID_PARAMETER);
    if (!(file->access & GENERIC_READ))
        return fail(ERROR_ACCESS_DENIED);
    DWORD done = 0;
    while (done < nNumberOfBytesToRead) {
        const ssize_t count =
            read(file->fd, static_cast<char*>(lpBuffer) + done, nNumberOfBytesToRead - done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return fail(bwcompat::ErrorFromErrno(errno));
        }
        if (count == 0)
            break; // the end of the file
        done += static_cast<DWORD>(count);
        if (lpNumberOfBytesRead != nullptr)
            *lpNumberOfBytesRead = done;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped) {
    if (lpNumberOfBytesWritten != nullptr)
        *lpNumberOfBytesWritten = 0;
    const std::shared_ptr<open_file> file = find_file(hFile);
    if (!file)
        return FALSE;
    if (lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToWrite != 0))
        return fail(ERROR_INVALID_PARAMETER);
    if (!(file->access & GENERIC_WRITE))
        return fail(ERROR_ACCESS_DENIED);
    DWORD done = 0;
    while (done < nNumberOfBytesToWrite) {
        const ssize_t count = write(file->fd, static_cast<const char*>(lpBuffer) + done,
                                    nNumberOfBytesToWrite - done);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return fail(bwcompat::ErrorFromErrno(errno));
        }
        done += static_cast<DWORD>(count);
        if (lpNumberOfBytesWritten != nullptr)
            *lpNumberOfBytesWritten = done;
    }
    return TRUE;
}

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LPLONG lpDistanceToMoveHigh,
                            DWORD dwMoveMethod) {
    const std::shared_ptr<open_file> file = find_file(hFile);
    if (!file)
        return INVALID_SET_FILE_POINTER;
    int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr)
        distance = static_cast<int64_t>(
            (static_cast<uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
            static_cast<DWORD>(lDistanceToMove));
    int64_t origin = 0;
    if (dwMoveMethod == FILE_CURRENT) {
        origin = lseek(file->fd, 0, SEEK_CUR);
    } else if (dwMoveMethod == FILE_END) {
        struct stat st;
        origin = fstat(file->fd, &st) == 0 ? st.st_size : -1;
    } else if (dwMoveMethod != FILE_BEGIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (origin < 0) {
        SetLastError(bwcompat::ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    int64_t target = 0;
    DWORD error = ERROR_SUCCESS;
    if (__builtin_add_overflow(origin, distance, &target))
        error = ERROR_INVALID_PARAMETER;
    else if (target < 0)
        error = ERROR_NEGATIVE_SEEK;
    else if (lpDistanceToMoveHigh == nullptr && target > 0xFFFFFFFF)
        error = ERROR_INVALID_PARAMETER; // the 32-bit result could not report it
    else if (lseek(file->fd, target, SEEK_SET) < 0)
        error = bwcompat::ErrorFromErrno(errno);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh != nullptr)
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
    const DWORD low = static_cast<DWORD>(target);
    if (low == INVALID_SET_FILE_POINTER)
        SetLastError(ERROR_SUCCESS);
    return low;
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    const std::shared_ptr<open_file> file = find_file(hFile);
    if (!file)
        return INVALID_FILE_SIZE;
    struct stat st;
    if (fstat(file->fd, &st) != 0) {
        SetLastError(bwcompat::ErrorFromErrno(errno));
        return INVALID_FILE_SIZE;
    }
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (lpFileSizeHigh != nullptr)
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    const DWORD low = static_cast<DWORD>(size);
    if (low == INVALID_FILE_SIZE)
        SetLastError(ERROR_SUCCESS);
    return low;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
    const std::shared_ptr<open_file> file = find_file(hFile);
    if (!file)
        return FALSE;
    if (!(file->access & GENERIC_WRITE))
        return fail(ERROR_ACCESS_DENIED);
    const off_t position = lseek(file->fd, 0, SEEK_CUR);
    if (position < 0 || ftruncate(file->fd, position) != 0)
        return fail(bwcompat::ErrorFromErrno(errno));
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    // INVALID_HANDLE_VALUE is also the current process's pseudo handle, which Win32 lets callers
    // close without effect.
    if (hObject == INVALID_HANDLE_VALUE)
        return TRUE;
    std::shared_ptr<open_file> file;
    {
        file_table& files = table();
        std::lock_guard<std::mutex> guard(files.lock);
        const ptrdiff_t slot = slot_of(files, hObject);
        if (slot >= 0)
            file.swap(files.slots[static_cast<size_t>(slot)]);
    }
    if (!file)
        return bwcompat::CloseSyncHandle(hObject); // events, semaphores and threads
    return TRUE; // the descriptor closes with the last user of the file
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) try {
    bwcompat::MappedPath path;
    if (DWORD error = bwcompat::MapPath(lpFileName, path))
        return fail(error);
    file_table& files = table();
    std::lock_guard<std::mutex> guard(files.lock);
    struct stat st;
    if (DWORD error = stat_path(path, false, ERROR_INVALID_NAME, st))
        return fail(error);
    if (S_ISDIR(st.st_mode) || bwcompat::IsReadOnly(st))
        return fail(ERROR_ACCESS_DENIED);
    if (held_against_delete(files, st))
        return fail(ERROR_SHARING_VIOLATION);
    if (unlink(path.path.c_str()) != 0)
        return fail(stat_error(path, errno));
    return TRUE;
} catch (const std::bad_alloc&) {
    return fail(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) try {
    bwcompat::MappedPath from;
    bwcompat::MappedPath to;     // the destination as it exists, in whatever case
    bwcompat::MappedPath target; // its last name as written, so that a rename can change case
    if (DWORD error = bwcompat::MapPath(lpExistingFileName, from))
        return fail(error);
    if (DWORD error = bwcompat::MapPath(lpNewFileName, to))
        return fail(error);
    bwcompat::MapPath(lpNewFileName, target, false);
    file_table& files = table();
    std::lock_guard<std::mutex> guard(files.lock);
    struct stat st;
    if (DWORD error = stat_path(from, false, ERROR_INVALID_NAME, st))
        return fail(error);
    if (held_against_delete(files, st))
        return fail(ERROR_SHARING_VIOLATION);
    // rename() would replace the destination; MoveFileA never does, unless both names are the
    // same file.
    struct stat existing;
    if (lstat(to.path.c_str(), &existing) == 0 &&
        (existing.st_dev != st.st_dev || existing.st_ino != st.st_ino))
        return fail(ERROR_ALREADY_EXISTS);
    if (rename(from.path.c_str(), target.path.c_str()) != 0)
        return fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : bwcompat::ErrorFromErrno(errno));
    return TRUE;
} catch (const std::bad_alloc&) {
    return fail(ERROR_NOT_ENOUGH_MEMORY);
}

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) try {
    bwcompat::MappedPath path;
    DWORD error = bwcompat::MapPath(lpFileName, path);
    struct stat st;
    if (error == ERROR_SUCCESS)
        error = stat_path(path, true, ERROR_PATH_NOT_FOUND, st);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    const size_t slash = path.path.find_last_of('/');
    return bwcompat::AttributesOf(st,
                                  path.path.c_str() + (slash == std::string::npos ? 0 : slash + 1));
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_FILE_ATTRIBUTES;
}

BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) try {
    bwcompat::MappedPath path;
    if (DWORD error = bwcompat::MapPath(lpFileName, path))
        return fail(error);
    struct stat st;
    if (DWORD error = stat_path(path, true, ERROR_INVALID_NAME, st))
        return fail(error);
    if (S_ISDIR(st.st_mode))
        return TRUE; // Win32 keeps no read-only state for directories that matters here
    mode_t mode = st.st_mode & 07777;
    if (dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        mode &= ~write_bits;
    else if ((mode & write_bits) == 0)
        mode |= S_IWUSR;
    if (mode != (st.st_mode & 07777) && chmod(path.path.c_str(), mode) != 0)
        return fail(bwcompat::ErrorFromErrno(errno));
    return TRUE;
} catch (const std::bad_alloc&) {
    return fail(ERROR_NOT_ENOUGH_MEMORY);
}

UINT WINAPI SetErrorMode(UINT uMode) {
    return error_mode.exchange(uMode);
}
