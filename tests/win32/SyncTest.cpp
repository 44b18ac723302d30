// Events, semaphores and threads, and CloseHandle over every kind of handle. The same source runs
// against the Linux layer and, in the Windows build, against Win32.
#include "TestDirectory.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Each letter is one step: S set, R reset, W a wait that takes the event at once, T one that
// finds it not signalled.
TEST(Events, SignalRules) {
    const struct {
        BOOL manual, initial;
        const char* steps;
    } cases[] = {{FALSE, FALSE, "T"},   {FALSE, TRUE, "WT"},    {FALSE, FALSE, "SSWT"},
                 {FALSE, FALSE, "SRT"}, {TRUE, FALSE, "SWWRT"}, {TRUE, TRUE, "WW"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        const HANDLE event = CreateEventA(nullptr, c.manual, c.initial, nullptr);
        for (const char* step = c.steps; *step; ++step) {
            if (*step == 'S' || *step == 'R')
                EXPECT_TRUE(*step == 'S' ? SetEvent(event) : ResetEvent(event));
            else
                EXPECT_EQ(WaitForSingleObject(event, 0),
                          *step == 'W' ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
        }
        CloseHandle(event);
    }
}

HANDLE g_event, g_released; // an auto-reset event and a semaphore counting the waiters it let go

DWORD WINAPI WaitThenCount(LPVOID) {
    WaitForSingleObject(g_event, INFINITE);
    return ReleaseSemaphore(g_released, 1, nullptr);
}

TEST(Events, OneSetReleasesOneOfTwoWaiters) {
    g_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_released = CreateSemaphoreA(nullptr, 0, 2, nullptr);
    const HANDLE threads[] = {CreateThread(nullptr, 0, WaitThenCount, nullptr, 0, nullptr),
                              CreateThread(nullptr, 0, WaitThenCount, nullptr, 0, nullptr)};
    for (int set = 0; set < 2; ++set) {
        SetEvent(g_event);
        EXPECT_EQ(WaitForSingleObject(g_released, INFINITE), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(g_released, 100), WAIT_TIMEOUT);
    }
    for (HANDLE thread : threads)
        EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    for (HANDLE handle : {threads[0], threads[1], g_event, g_released})
        CloseHandle(handle);
}

TEST(Semaphores, CountsLimitsAndTimeOuts) {
    EXPECT_EQ(CreateSemaphoreA(nullptr, 2, 1, nullptr), nullptr);
    const HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 2, nullptr);
    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 1, &previous));
    EXPECT_EQ(previous, 1);
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr)); // past the maximum: nothing added
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TOO_MANY_POSTS));
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(semaphore, 60), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    CloseHandle(semaphore);
}

DWORD WINAPI ReturnParameter(LPVOID pValue) {
    return *static_cast<DWORD*>(pValue);
}

TEST(Threads, SuspendedPriorityRoundTripAndExitCode) {
    DWORD value = 42;
    const HANDLE thread =
        CreateThread(nullptr, 0, ReturnParameter, &value, CREATE_SUSPENDED, nullptr);
    EXPECT_EQ(GetThreadPriority(thread), THREAD_PRIORITY_NORMAL);
    EXPECT_TRUE(SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL));
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

// Each kind closes once; a closed handle is refused by CloseHandle and by waits, and closing
// one kind leaves a file open.
TEST(CloseHandles, EachKindOnce) {
    TestDirectory directory;
    const HANDLE file = CreateFileA(directory.Path("a").c_str(), GENERIC_READ, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // The thread may run after the test has returned: its parameter outlives the test.
    static DWORD value = 0;
    for (HANDLE handle :
         {CreateEventA(nullptr, FALSE, FALSE, nullptr), CreateSemaphoreA(nullptr, 1, 1, nullptr),
          CreateThread(nullptr, 0, ReturnParameter, &value, 0, nullptr)}) {
        EXPECT_TRUE(CloseHandle(handle));
        EXPECT_FALSE(CloseHandle(handle));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED);
    }
    EXPECT_NE(GetFileSize(file, nullptr), INVALID_FILE_SIZE);
    EXPECT_TRUE(CloseHandle(file));
}

} // namespace
