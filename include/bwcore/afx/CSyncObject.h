// CSyncObject: the base of the framework's synchronisation objects, which own one waitable
// handle; CSemaphore: a counting semaphore, used as a lock of lInitialCount units.
//
// Lock waits for the object (WaitForSingleObject) and says whether it was taken in time; Unlock
// gives it back. A semaphore that cannot be created raises AfxThrowResourceException.
#pragma once

#include <bwcore/afx/CObject.h>

class BWAFX_API CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override; // closes m_hObject

    operator HANDLE() const { return m_hObject; }

    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;

    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() = default;
};

class BWAFX_API CSemaphore : public CSyncObject {
    DECLARE_DYNAMIC(CSemaphore)
public:
    explicit CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCSTR pstrName = nullptr,
                        LPSECURITY_ATTRIBUTES lpsaAttributes = nullptr);
    ~CSemaphore() override = default;

    // Gives back one unit.
    BOOL Unlock() override;
    // Gives back lCount units; the count before goes to *lprevCount when that is not null.
    virtual BOOL Unlock(LONG lCount, LPLONG lprevCount = nullptr);
};
