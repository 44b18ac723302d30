// GetLastError and SetLastError: one value per thread.

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(LastError, EachThreadHasItsOwn) {
    // Both threads hold a value at the same time. They meet through an atomic flag only, since
    // starting and joining a thread may itself change the calling thread's value.
    std::atomic<int> step(0);
    DWORD otherAtStart = 1, otherAfterMain = 0;
    std::thread other([&] {
        otherAtStart = GetLastError();
        SetLastError(ERROR_PATH_NOT_FOUND);
        for (step = 1; step != 2;)
            std::this_thread::yield();
        otherAfterMain = GetLastError();
        step = 3;
    });
    while (step != 1)
        std::this_thread::yield();
    SetLastError(0xFFFFFFFFu);
    for (step = 2; step != 3;)
        std::this_thread::yield();
    EXPECT_EQ(GetLastError(), 0xFFFFFFFFu);
    other.join();
    EXPECT_EQ(otherAtStart, 0u);
    EXPECT_EQ(otherAfterMain, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}
