#include <bwcore/afx/CException.h>
#include <bwcore/afx/CSyncObject.h>

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CSemaphore, CSyncObject)

CSyncObject::~CSyncObject() {
    if (m_hObject != nullptr)
        CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout) {
    return WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0;
}

CSemaphore::CSemaphore(LONG lInitialCount, LONG lMaxCount, LPCSTR pstrName,
                       LPSECURITY_ATTRIBUTES lpsaAttributes) {
    m_hObject = CreateSemaphoreA(lpsaAttributes, lInitialCount, lMaxCount, pstrName);
    if (m_hObject == nullptr)
        AfxThrowResourceException();
}

BOOL CSemaphore::Unlock() {
    return Unlock(1, nullptr);
}

BOOL CSemaphore::Unlock(LONG lCount, LPLONG lprevCount) {
    return ReleaseSemaphore(m_hObject, lCount, lprevCount);
}
