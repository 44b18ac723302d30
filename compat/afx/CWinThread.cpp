#include <bwcore/afx/CWinThread.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

DWORD WINAPI thread_entry(LPVOID pThread) {
    CWinThread* thread = static_cast<CWinThread*>(pThread);
    const UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    thread->Delete();
    return result;
}

} // namespace

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    if (m_hThread != nullptr)
        CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    // Suspended until m_hThread and m_nThreadID are stored: a thread that ran at once could end
    // and delete the object first.
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, thread_entry, this,
                               dwCreateFlags | CREATE_SUSPENDED, &m_nThreadID);
    if (m_hThread == nullptr)
        return FALSE;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

int CWinThread::GetThreadPriority() {
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority) {
    return ::SetThreadPriority(m_hThread, nPriority);
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}

void CWinThread::Delete() {
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    CWinThread* thread = new CWinThread(pfnThreadProc, pParam);
    // Suspended until its priority is set, so that it never runs at another one.
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        thread->Delete();
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}
