// CSingleLock: holds one synchronisation object for a scope.
//
// Lock takes the object (waiting at most dwTimeOut milliseconds) and records whether it holds
// it; Unlock gives it back if held; the destructor unlocks. Locking a lock that is already held
// keeps the one hold and returns TRUE, so that a semaphore of one unit cannot deadlock its own
// holder. A null object is never locked: Lock returns FALSE.
#pragma once

#include <bwcore/afx/CSyncObject.h>

class BWAFX_API CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    ~CSingleLock();

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    // TRUE when the lock is no longer held (also when it was not held).
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
