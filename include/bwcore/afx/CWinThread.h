// CWinThread: a thread of the process running a worker function, and AfxBeginThread, which
// starts one.
//
// AfxBeginThread creates the object, creates its thread suspended, gives it nPriority and lets
// it run unless dwCreateFlags holds CREATE_SUSPENDED (then ResumeThread starts it). It returns
// the object, or null when the thread cannot be created (the object is then deleted).
//
// The thread runs pfnThreadProc(pParam); what that returns is the thread's exit code. When it
// returns and m_bAutoDelete is TRUE (the default) the object deletes itself, closing m_hThread,
// so a caller that waits on m_hThread or reads the object after the thread may have ended sets
// m_bAutoDelete to FALSE before the thread can end (start it suspended) and deletes the object
// itself once the thread has ended.
#pragma once

#include <bwcore/afx/CCmdTarget.h>

typedef UINT (*AFX_THREADPROC)(LPVOID);

class BWAFX_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override; // closes m_hThread; the thread itself runs on

    // Creates the thread (CreateThread's flags, stack size and attributes); FALSE on failure.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);
    DWORD ResumeThread();

    operator HANDLE() const { return m_hThread; }

    // Called when the thread's function has returned: deletes the object if m_bAutoDelete.
    virtual void Delete();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

BWAFX_API CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                                     int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                     DWORD dwCreateFlags = 0,
                                     LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
