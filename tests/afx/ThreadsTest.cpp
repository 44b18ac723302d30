// CSemaphore, CSingleLock and CWinThread with AfxBeginThread.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

namespace {

TEST(CSingleLockTest, HoldsOneUnitUntilUnlockOrScopeEnd) {
    CSemaphore semaphore; // one unit
    {
        CSingleLock first(&semaphore, TRUE);
        EXPECT_TRUE(first.Lock()); // already held: no second wait on its own unit
        CSingleLock second(&semaphore);
        EXPECT_FALSE(second.Lock(0));
        EXPECT_TRUE(first.Unlock());
        EXPECT_FALSE(first.IsLocked());
        EXPECT_TRUE(second.Lock(0));
    } // second unlocks here
    EXPECT_TRUE(CSingleLock(&semaphore).Lock(0));
    EXPECT_FALSE(semaphore.Unlock(2)); // past the maximum of one
}

UINT ReturnParameter(LPVOID pValue) {
    return *static_cast<UINT*>(pValue);
}

HANDLE g_deleted; // set by the destructor of a SignallingThread

struct SignallingThread : CWinThread {
    using CWinThread::CWinThread;
    ~SignallingThread() override { SetEvent(g_deleted); }
};

TEST(CWinThreadTest, AutoDeleteDeletesTheObjectWhenTheThreadEnds) {
    g_deleted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    UINT value = 0;
    ASSERT_TRUE((new SignallingThread(ReturnParameter, &value))->CreateThread());
    EXPECT_EQ(WaitForSingleObject(g_deleted, INFINITE), WAIT_OBJECT_0);
    CloseHandle(g_deleted);
}

} // namespace
