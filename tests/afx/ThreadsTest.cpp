// CSemaphore, CSingleLock and CWinThread with AfxBeginThread.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

namespace {

TEST(CSingleLockTest, HoldsOneUnitUntilUnlockOrScopeEnd) {
    CSemaphore semaphore; // one unit
    {
        CSingleLock first(&semaphore, TRUE);
        EXPECT_TRUE(first.IsLocked());
        EXPECT_TRUE(first.Lock()); // already held: no second wait on its own unit
        CSingleLock second(&semaphore);
        EXPECT_FALSE(second.Lock(0));
        EXPECT_FALSE(second.IsLocked());
        EXPECT_TRUE(first.Unlock());
        EXPECT_FALSE(first.IsLocked());
        EXPECT_TRUE(second.Lock(0));
    } // second unlocks here
    CSingleLock third(&semaphore);
    EXPECT_TRUE(third.Lock(0));
    EXPECT_FALSE(semaphore.Unlock(2)); // past the maximum of one
}

UINT ReturnParameter(LPVOID pValue) {
    return *static_cast<UINT*>(pValue);
}

TEST(CWinThreadTest, BeginThreadSuspendedWithPriorityAndNoAutoDelete) {
    UINT value = 7;
    CWinThread* thread =
        AfxBeginThread(ReturnParameter, &value, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(thread->m_bAutoDelete);
    thread->m_bAutoDelete = FALSE;
    EXPECT_EQ(thread->GetThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_NE(thread->m_nThreadID, 0u);
    EXPECT_EQ(thread->ResumeThread(), 1u);
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, INFINITE), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(code, 7u);
    delete thread;
}

// A thread object whose destruction can be seen.
class SignallingThread : public CWinThread {
public:
    SignallingThread(HANDLE hDeleted, UINT* pValue)
        : CWinThread(ReturnParameter, pValue), m_hDeleted(hDeleted) {}
    ~SignallingThread() override { SetEvent(m_hDeleted); }

private:
    HANDLE m_hDeleted;
};

TEST(CWinThreadTest, AutoDeleteDeletesTheObjectWhenTheThreadEnds) {
    const HANDLE deleted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    UINT value = 0;
    CWinThread* thread = new SignallingThread(deleted, &value);
    ASSERT_TRUE(thread->CreateThread());
    EXPECT_EQ(WaitForSingleObject(deleted, INFINITE), WAIT_OBJECT_0);
    CloseHandle(deleted);
}

} // namespace
