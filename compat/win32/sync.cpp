// Events, semaphores and threads for Linux, over a mutex and a condition variable per object.
//
// Each object keeps the threads that wait on it in a queue, in the order they began to wait.
// Whatever signals an object hands the signal on to the queue at once, under the object's lock:
// the first waiter that can take the object (an auto-reset event's signal, a semaphore's unit) is
// marked released and leaves the queue before anything else can happen to the object. So a wait
// never misses a signal meant for it, and two SetEvent calls on an auto-reset event release two
// waiters even when neither has run in between, as Win32's do; a ResetEvent after a SetEvent
// cannot take back a release already made.
//
// Handles index a table of objects, as the file handles index theirs (sync_objects.h). Objects
// are shared by their slot, by their waiters and, for a thread, by the thread itself, so closing
// a handle ends nothing that is still in use.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/sync.h>

#include "sync_objects.h"

#include <errno.h>
#include <limits.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace {

enum class object_kind { event, semaphore, thread };

struct waiter {
    bool released = false;
};

struct sync_object {
    explicit sync_object(object_kind kind_) : kind(kind_) {}

    const object_kind kind;
    std::mutex lock;
    std::condition_variable changed;
    std::deque<waiter*> waiters; // in the order they began to wait

    // Events, and threads (signalled, manual-reset, once they have ended).
    bool manual_reset = true;
    bool signalled = false;

    // Semaphores.
    LONG count = 0;
    LONG maximum = 0;

    // Threads.
    LPTHREAD_START_ROUTINE start = nullptr;
    LPVOID parameter = nullptr;
    DWORD suspend_count = 0;
    int priority = THREAD_PRIORITY_NORMAL;
    pid_t tid = 0;      // set when the thread starts
    int start_nice = 0; // the nice value it started with
    DWORD exit_code = STILL_ACTIVE;
};

using object_ptr = std::shared_ptr<sync_object>;

std::atomic<DWORD> next_thread_id{1};

// Takes the object for a wait if it is signalled. Called with the object's lock held.
bool try_take(sync_object& object) {
    switch (object.kind) {
    case object_kind::semaphore:
        if (object.count == 0)
            return false;
        --object.count;
        return true;
    case object_kind::event:
    case object_kind::thread:
        if (!object.signalled)
            return false;
        if (!object.manual_reset)
            object.signalled = false;
        return true;
    }
    return false;
}

// Hands a new signal on to the waiters, first come first served. Called with the object's lock
// held, after every change that may signal the object.
void release_waiters(sync_object& object) {
    bool any = false;
    while (!object.waiters.empty() && try_take(object)) {
        object.waiters.front()->released = true;
        object.waiters.pop_front();
        any = true;
    }
    if (any)
        object.changed.notify_all();
}

// ---------------------------------------------------------------------------------------------
// Handles

struct object_table {
    std::mutex lock;
    std::vector<object_ptr> slots;
};

// Never destroyed, so that handles still work while other libraries' static objects go away.
object_table& table() {
    static object_table* instance = new object_table;
    return *instance;
}

HANDLE handle_of(size_t slot) {
    return reinterpret_cast<HANDLE>(bwcompat::sync_handle_base + (slot + 1) * 4);
}

// The slot index of a handle value, or -1 when it names no object. Called with the lock held.
ptrdiff_t slot_of(const object_table& objects, HANDLE handle) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value <= bwcompat::sync_handle_base || value % 4 != 0)
        return -1;
    const uintptr_t index = (value - bwcompat::sync_handle_base) / 4 - 1;
    if (index >= objects.slots.size() || !objects.slots[index])
        return -1;
    return static_cast<ptrdiff_t>(index);
}

// A new handle for the object; null with ERROR_NOT_ENOUGH_MEMORY when the table cannot grow.
HANDLE add_object(object_ptr object) try {
    object_table& objects = table();
    std::lock_guard<std::mutex> guard(objects.lock);
    size_t slot = 0;
    while (slot < objects.slots.size() && objects.slots[slot])
        ++slot;
    if (slot == objects.slots.size())
        objects.slots.emplace_back();
    objects.slots[slot] = std::move(object);
    return handle_of(slot);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// The object of a handle, of the kind asked for; null with ERROR_INVALID_HANDLE when the handle
// names no such object, as Win32 answers a handle of another type.
object_ptr find_object(HANDLE handle, std::initializer_list<object_kind> kinds) {
    object_table& objects = table();
    std::lock_guard<std::mutex> guard(objects.lock);
    const ptrdiff_t slot = slot_of(objects, handle);
    if (slot >= 0) {
        const object_ptr& object = objects.slots[static_cast<size_t>(slot)];
        if (std::find(kinds.begin(), kinds.end(), object->kind) != kinds.end())
            return object;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

HANDLE fail_create(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Threads

bool is_priority(int priority) {
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
    case THREAD_PRIORITY_BELOW_NORMAL:
    case THREAD_PRIORITY_NORMAL:
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
    case THREAD_PRIORITY_TIME_CRITICAL:
        return true;
    default:
        return false;
    }
}

int nice_steps(int priority) {
    switch (priority) {
    case THREAD_PRIORITY_IDLE:
        return 19;
    case THREAD_PRIORITY_LOWEST:
        return 10;
    case THREAD_PRIORITY_BELOW_NORMAL:
        return 5;
    case THREAD_PRIORITY_ABOVE_NORMAL:
        return -5;
    case THREAD_PRIORITY_HIGHEST:
        return -10;
    case THREAD_PRIORITY_TIME_CRITICAL:
        return -20;
    default:
        return 0;
    }
}

// Applies the thread's priority as its nice value. A refusal (raising it needs a privilege) keeps
// the nice value the system allows: the priority only orders the scheduler's preferences. Called
// with the object's lock held, once the thread has started.
void apply_priority(const sync_object& thread) {
    const int nice = std::clamp(thread.start_nice + nice_steps(thread.priority), -20, 19);
    setpriority(PRIO_PROCESS, static_cast<id_t>(thread.tid), nice);
}

void* thread_main(void* argument) {
    const object_ptr self = std::move(*static_cast<object_ptr*>(argument));
    delete static_cast<object_ptr*>(argument);
    {
        std::unique_lock<std::mutex> guard(self->lock);
        self->changed.wait(guard, [&] { return self->suspend_count == 0; });
        self->tid = static_cast<pid_t>(syscall(SYS_gettid));
        self->start_nice = getpriority(PRIO_PROCESS, static_cast<id_t>(self->tid));
        if (self->priority != THREAD_PRIORITY_NORMAL)
            apply_priority(*self);
    }
    const DWORD exit_code = self->start(self->parameter);
    std::lock_guard<std::mutex> guard(self->lock);
    self->exit_code = exit_code;
    self->signalled = true;
    release_waiters(*self);
    return nullptr;
}

} // namespace

BOOL bwcompat::CloseSyncHandle(HANDLE handle) {
    object_ptr object;
    {
        object_table& objects = table();
        std::lock_guard<std::mutex> guard(objects.lock);
        const ptrdiff_t slot = slot_of(objects, handle);
        if (slot < 0)
            return fail(ERROR_INVALID_HANDLE);
        object.swap(objects.slots[static_cast<size_t>(slot)]);
    }
    return TRUE; // the object goes with its last user
}

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset,
                           BOOL bInitialState, LPCSTR lpName) try {
    if (lpName != nullptr)
        return fail_create(ERROR_INVALID_PARAMETER);
    auto event = std::make_shared<sync_object>(object_kind::event);
    event->manual_reset = bManualReset != FALSE;
    event->signalled = bInitialState != FALSE;
    return add_object(std::move(event));
} catch (const std::bad_alloc&) {
    return fail_create(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI SetEvent(HANDLE hEvent) {
    const object_ptr event = find_object(hEvent, {object_kind::event});
    if (!event)
        return FALSE;
    std::lock_guard<std::mutex> guard(event->lock);
    event->signalled = true;
    release_waiters(*event);
    return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
    const object_ptr event = find_object(hEvent, {object_kind::event});
    if (!event)
        return FALSE;
    std::lock_guard<std::mutex> guard(event->lock);
    event->signalled = false;
    return TRUE;
}

HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES lpSemaphoreAttributes, LONG lInitialCount,
                               LONG lMaximumCount, LPCSTR lpName) try {
    if (lpName != nullptr || lMaximumCount < 1 || lInitialCount < 0 ||
        lInitialCount > lMaximumCount)
        return fail_create(ERROR_INVALID_PARAMETER);
    auto semaphore = std::make_shared<sync_object>(object_kind::semaphore);
    semaphore->count = lInitialCount;
    semaphore->maximum = lMaximumCount;
    return add_object(std::move(semaphore));
} catch (const std::bad_alloc&) {
    return fail_create(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount) {
    const object_ptr semaphore = find_object(hSemaphore, {object_kind::semaphore});
    if (!semaphore)
        return FALSE;
    if (lReleaseCount < 1)
        return fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> guard(semaphore->lock);
    if (lReleaseCount > semaphore->maximum - semaphore->count)
        return fail(ERROR_TOO_MANY_POSTS);
    if (lpPreviousCount != nullptr)
        *lpPreviousCount = semaphore->count;
    semaphore->count += lReleaseCount;
    release_waiters(*semaphore);
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) try {
    const object_ptr object =
        find_object(hHandle, {object_kind::event, object_kind::semaphore, object_kind::thread});
    if (!object)
        return WAIT_FAILED;
    std::unique_lock<std::mutex> guard(object->lock);
    // A signal present now was not claimed by anyone queued (it would have been handed on).
    if (try_take(*object))
        return WAIT_OBJECT_0;
    if (dwMilliseconds == 0)
        return WAIT_TIMEOUT;
    waiter self;
    object->waiters.push_back(&self);
    const auto released = [&] { return self.released; };
    if (dwMilliseconds == INFINITE) {
        object->changed.wait(guard, released);
        return WAIT_OBJECT_0;
    }
    if (object->changed.wait_for(guard, std::chrono::milliseconds(dwMilliseconds), released))
        return WAIT_OBJECT_0;
    object->waiters.erase(std::find(object->waiters.begin(), object->waiters.end(), &self));
    return WAIT_TIMEOUT;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return WAIT_FAILED;
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                           LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                           DWORD dwCreationFlags, LPDWORD lpThreadId) try {
    if (lpStartAddress == nullptr)
        return fail_create(ERROR_INVALID_PARAMETER);
    auto thread = std::make_shared<sync_object>(object_kind::thread);
    thread->start = lpStartAddress;
    thread->parameter = lpParameter;
    thread->suspend_count = (dwCreationFlags & CREATE_SUSPENDED) ? 1 : 0;
    const DWORD id = next_thread_id.fetch_add(1);

    // The handle is made first, so that a thread that cannot be given one never runs.
    const HANDLE handle = add_object(thread);
    if (handle == nullptr)
        return nullptr;
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    if (dwStackSize != 0)
        pthread_attr_setstacksize(&attributes, std::max<SIZE_T>(dwStackSize, PTHREAD_STACK_MIN));
    // Stored before the thread runs, which may end and free what lpThreadId points into.
    if (lpThreadId != nullptr)
        *lpThreadId = id;
    auto* argument = new (std::nothrow) object_ptr(thread);
    pthread_t unused;
    const int error =
        argument == nullptr ? ENOMEM : pthread_create(&unused, &attributes, thread_main, argument);
    pthread_attr_destroy(&attributes);
    if (error != 0) {
        delete argument;
        bwcompat::CloseSyncHandle(handle);
        return fail_create(ERROR_NOT_ENOUGH_MEMORY);
    }
    return handle;
} catch (const std::bad_alloc&) {
    return fail_create(ERROR_NOT_ENOUGH_MEMORY);
}

DWORD WINAPI ResumeThread(HANDLE hThread) {
    const object_ptr thread = find_object(hThread, {object_kind::thread});
    if (!thread)
        return static_cast<DWORD>(-1);
    std::lock_guard<std::mutex> guard(thread->lock);
    const DWORD previous = thread->suspend_count;
    if (previous > 0 && --thread->suspend_count == 0)
        thread->changed.notify_all();
    return previous;
}

BOOL WINAPI SetThreadPriority(HANDLE hThread, int nPriority) {
    const object_ptr thread = find_object(hThread, {object_kind::thread});
    if (!thread)
        return FALSE;
    if (!is_priority(nPriority))
        return fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> guard(thread->lock);
    thread->priority = nPriority;
    if (thread->tid != 0 && !thread->signalled)
        apply_priority(*thread);
    return TRUE;
}

int WINAPI GetThreadPriority(HANDLE hThread) {
    const object_ptr thread = find_object(hThread, {object_kind::thread});
    if (!thread)
        return THREAD_PRIORITY_ERROR_RETURN;
    std::lock_guard<std::mutex> guard(thread->lock);
    return thread->priority;
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    const object_ptr thread = find_object(hThread, {object_kind::thread});
    if (!thread)
        return FALSE;
    if (lpExitCode == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> guard(thread->lock);
    *lpExitCode = thread->exit_code;
    return TRUE;
}
