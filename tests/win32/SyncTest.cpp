// Events, semaphores and threads, and CloseHandle over every kind of handle. The same source runs
// against the Linux layer and, in the Windows build, against Win32.
#include "TestDirectory.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Each letter is one step on the event: S set, R reset, W a wait that must take it at once, T one
// that must time out.
TEST(Events, SignalRules) {
    const struct {
        BOOL manual;
        BOOL initial;
        const char* steps;
    } cases[] = {
        {FALSE, FALSE, "T"},    {FALSE, TRUE, "WT"}, // a wait takes an auto-reset signal
        {FALSE, FALSE, "SSWT"},                      // a set with no waiter stays; sets do not add
        {FALSE, FALSE, "SRT"},  {TRUE, FALSE, "SWWRT"}, {TRUE, TRUE, "WW"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        const HANDLE event = CreateEventA(nullptr, c.manual, c.initial, nullptr);
        ASSERT_NE(event, nullptr);
        for (const char* step = c.steps; *step; ++step) {
            if (*step == 'S')
                EXPECT_TRUE(SetEvent(event));
            else if (*step == 'R')
                EXPECT_TRUE(ResetEvent(event));
            else
                EXPECT_EQ(WaitForSingleObject(event, 0),
                          *step == 'W' ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
        }
        CloseHandle(event);
    }
}

struct Waiters {
    HANDLE event;
    HANDLE done; // a semaphore counting the waiters released
};

DWORD WINAPI WaitThenCount(LPVOID pWaiters) {
    Waiters* waiters = static_cast<Waiters*>(pWaiters);
    WaitForSingleObject(waiters->event, INFINITE);
    ReleaseSemaphore(waiters->done, 1, nullptr);
    return 0;
}

TEST(Events, OneSetReleasesOneOfTwoWaiters) {
    Waiters waiters{CreateEventA(nullptr, FALSE, FALSE, nullptr),
                    CreateSemaphoreA(nullptr, 0, 2, nullptr)};
    HANDLE threads[2];
    for (HANDLE& thread : threads)
        thread = CreateThread(nullptr, 0, WaitThenCount, &waiters, 0, nullptr);
    for (int set = 0; set < 2; ++set) {
        SetEvent(waiters.event);
        EXPECT_EQ(WaitForSingleObject(waiters.done, INFINITE), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(waiters.done, 100), WAIT_TIMEOUT) << "set " << set;
    }
    for (HANDLE thread : threads) {
        EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    CloseHandle(waiters.event);
    CloseHandle(waiters.done);
}

TEST(Semaphores, CountsAndLimits) {
    EXPECT_EQ(CreateSemaphoreA(nullptr, 2, 1, nullptr), nullptr);
    EXPECT_EQ(CreateSemaphoreA(nullptr, -1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateSemaphoreA(nullptr, 0, 0, nullptr), nullptr);
    const HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 2, nullptr);
    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 1, &previous));
    EXPECT_EQ(previous, 1);
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr)); // past the maximum: nothing added
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_TIMEOUT);
    CloseHandle(semaphore);
}

TEST(Waits, TimeOutAfterTheTimeGiven) {
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(event, 60), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    CloseHandle(event);
}

DWORD WINAPI ReturnParameter(LPVOID pValue) {
    return *static_cast<DWORD*>(pValue);
}

TEST(Threads, SuspendedPriorityRoundTripAndExitCode) {
    DWORD value = 42;
    const HANDLE thread =
        CreateThread(nullptr, 0, ReturnParameter, &value, CREATE_SUSPENDED, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
    for (int priority : {THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_IDLE,
                         THREAD_PRIORITY_HIGHEST, THREAD_PRIORITY_BELOW_NORMAL}) {
        EXPECT_TRUE(SetThreadPriority(thread, priority));
        EXPECT_EQ(GetThreadPriority(thread), priority);
    }
    EXPECT_FALSE(SetThreadPriority(thread, 3));
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(WaitForSingleObject(thread, 50), WAIT_TIMEOUT); // suspended: has not run
    EXPECT_EQ(ResumeThread(thread), 1u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0); // an ended thread stays signalled
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    CloseHandle(thread);
}

// Every kind of handle closes once; a closed handle is refused by CloseHandle and by waits, and
// closing one kind leaves the others open.
TEST(CloseHandles, EachKindOnce) {
    TestDirectory directory;
    const HANDLE file = CreateFileA(directory.Path("a").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD value = 0;
    const HANDLE handles[] = {
        CreateEventA(nullptr, FALSE, FALSE, nullptr),
        CreateSemaphoreA(nullptr, 1, 1, nullptr),
        CreateThread(nullptr, 0, ReturnParameter, &value, 0, nullptr),
    };
    for (HANDLE handle : handles) {
        ASSERT_NE(handle, nullptr);
        EXPECT_TRUE(CloseHandle(handle));
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(CloseHandle(handle));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED);
    }
    EXPECT_NE(GetFileSize(file, nullptr), INVALID_FILE_SIZE);
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
}

} // namespace
