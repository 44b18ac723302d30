// GetLastError and SetLastError: one value per thread.

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(LastError, KeepsTheValueSet) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    SetLastError(0xFFFFFFFFu);
    EXPECT_EQ(GetLastError(), 0xFFFFFFFFu);
    SetLastError(0);
    EXPECT_EQ(GetLastError(), 0u);
}

TEST(LastError, EachThreadHasItsOwn) {
    // Both threads hold a value at the same time. They meet through an atomic flag only, since
    // starting and joining a thread may itself change the calling thread's value.
    std::atomic<int> step(0);
    DWORD otherAtStart = 1;
    DWORD otherAfterMain = 0;
    DWORD mainAfterOther = 0;
    std::thread other([&] {
        otherAtStart = GetLastError();
        SetLastError(ERROR_PATH_NOT_FOUND);
        step = 1;
        while (step != 2)
            std::this_thread::yield();
        otherAfterMain = GetLastError();
        step = 3;
    });
    while (step != 1)
        std::this_thread::yield();
    SetLastError(ERROR_ACCESS_DENIED);
    step = 2;
    while (step != 3)
        std::this_thread::yield();
    mainAfterOther = GetLastError();
    other.join();
    EXPECT_EQ(otherAtStart, 0u);
    EXPECT_EQ(otherAfterMain, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(mainAfterOther, static_cast<DWORD>(ERROR_ACCESS_DENIED));
}
