#include <bwcore/dircache/CDirInfo.h>
#include <bwcore/tools/CBWPath.h>

#include <stdlib.h>

#include <memory>

namespace {

// Runs a function when the scope ends, also when an exception leaves it.
template <typename F>
struct at_scope_end {
    F f;
    ~at_scope_end() { f(); }
};
template <typename F>
at_scope_end(F) -> at_scope_end<F>;

// The path of a subdirectory: the directory's path and the name joined by one backslash. FALSE
// when it would not fit in MAX_PATH bytes with its terminator, rather than cutting it short.
BOOL JoinPath(const CString& strDir, const char* pszName, CString& strPath) {
    CBWPath path(strDir);
    path ^= CBWPath(pszName);
    if (lstrlenA(path) >= MAX_PATH)
        return FALSE;
    strPath = static_cast<LPCSTR>(path);
    return TRUE;
}

// Adds the keys whose listing `accept` takes (null for an emptied slot). Called with the cache's
// lock held.
template <typename Accept>
void AddKeysNL(CMapStringToPtr& mapDirs, CObArray& arrPaths, CStringArray& arrKeys, Accept accept) {
    CString strKey;
    void* pSlot = nullptr;
    for (POSITION pos = mapDirs.GetStartPosition(); pos != nullptr;) {
        mapDirs.GetNextAssoc(pos, strKey, pSlot);
        if (accept(static_cast<CPathInfo*>(arrPaths.GetAt(reinterpret_cast<INT_PTR>(pSlot)))))
            arrKeys.Add(strKey);
    }
}

CPathInfo::pathfileinfo* Record(CPtrArrayEx& arr, INT_PTR nIndex) {
    return static_cast<CPathInfo::pathfileinfo*>(arr.GetAt(nIndex));
}

} // namespace

long DeletePathInfo(void* pPathInfo) {
    if (pPathInfo == nullptr)
        return -1;
    delete static_cast<CPathInfo*>(pPathInfo);
    return 0;
}

CDirInfo::CDirInfo() {
    // A whole tree is tens of thousands of directories; the map's default 17 buckets would make
    // every look-up walk a chain of thousands of keys. The buckets are allocated with the first
    // directory.
    m_mapDirs.InitHashTable(16411, FALSE);
    CDirStartBackground();
}

CDirInfo::~CDirInfo() {
    if (m_pThread != nullptr) {
        {
            CSingleLock lock(&m_Lock, TRUE);
            m_bStop = TRUE;
        }
        SetEvent(m_hEvent);
        WaitForSingleObject(m_pThread->m_hThread, INFINITE);
        delete m_pThread;
    }
    if (m_hEvent != nullptr)
        CloseHandle(m_hEvent);
    if (m_hResume != nullptr)
        CloseHandle(m_hResume);
    while (!m_lstTasks.IsEmpty())
        free(m_lstTasks.RemoveHead());
    for (INT_PTR i = 0; i < m_arrPaths.GetSize(); ++i)
        delete m_arrPaths.GetAt(i);
    m_arrPaths.RemoveAll();
    m_mapDirs.RemoveAll();
}

int CDirInfo::CDirStartBackground() {
    m_hEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_hResume = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (m_hEvent == nullptr || m_hResume == nullptr)
        return -1;
    // Suspended, so that m_bAutoDelete is off before the thread can end: the destructor waits on
    // its handle.
    CWinThread* pThread = AfxBeginThread(DirInfoThreadProc, this, THREAD_PRIORITY_BELOW_NORMAL, 0,
                                         CREATE_SUSPENDED, nullptr);
    if (pThread == nullptr)
        return -1;
    pThread->m_bAutoDelete = FALSE;
    m_pThread = pThread;
    pThread->ResumeThread();
    return 0;
}

UINT CDirInfo::DirInfoThreadProc(LPVOID pParam) {
    CDirInfo* pCache = static_cast<CDirInfo*>(pParam);
    if (pCache == nullptr)
        return 1;
    for (;;) {
        WaitForSingleObject(pCache->m_hEvent, INFINITE);
        BOOL bStop = FALSE;
        dirtask* pTask = pCache->TakeTask(bStop);
        if (bStop)
            return 0;
        if (pTask != nullptr) {
            // What a walk can raise (std::bad_alloc, the framework's invalid-argument exception,
            // a static object) must not end the worker: the task is dropped.
            try {
                pCache->PerformTask(pTask);
            } catch (...) {
            }
            free(pTask);
        }
        CSingleLock lock(&pCache->m_Lock, TRUE);
        if (!pCache->m_lstTasks.IsEmpty())
            SetEvent(pCache->m_hEvent);
    }
}

CDirInfo::dirtask* CDirInfo::TakeTask(BOOL& bStop) {
    for (;;) {
        CSingleLock lock(&m_Lock, TRUE);
        if (m_bStop) {
            bStop = TRUE;
            return nullptr;
        }
        if (m_nHolds == 0)
            return m_lstTasks.IsEmpty() ? nullptr : static_cast<dirtask*>(m_lstTasks.RemoveHead());
        lock.Unlock();
        WaitForSingleObject(m_hResume, INFINITE);
    }
}

void CDirInfo::HoldWorker() {
    CSingleLock lock(&m_Lock, TRUE);
    if (m_nHolds++ == 0)
        ResetEvent(m_hResume);
}

void CDirInfo::ReleaseWorker() {
    CSingleLock lock(&m_Lock, TRUE);
    if (--m_nHolds == 0)
        SetEvent(m_hResume);
}

int CDirInfo::PerformTask(void* pTask) {
    dirtask* pDirTask = static_cast<dirtask*>(pTask);
    if (pDirTask == nullptr)
        return -1;
    pDirTask->nResult = MakeDirAvailable(pDirTask->szDir, pDirTask->bSubDirs);
    return 0;
}

int CDirInfo::ScheduleDir(const CString& strDir, int bSubDirs) {
    if (m_pThread == nullptr || strDir.GetLength() >= MAX_PATH)
        return -1;
    dirtask* pTask = static_cast<dirtask*>(malloc(sizeof(dirtask)));
    if (pTask == nullptr)
        return -1;
    lstrcpyA(pTask->szDir, strDir);
    pTask->bSubDirs = bSubDirs;
    pTask->nResult = 0;
    try {
        CSingleLock lock(&m_Lock, TRUE);
        m_lstTasks.AddTail(pTask);
    } catch (...) {
        free(pTask);
        throw;
    }
    SetEvent(m_hEvent);
    return 0;
}

int CDirInfo::MakeDirAvailable(const CString& strDir, int bSubDirs) {
    BOOL bCached;
    {
        CSingleLock lock(&m_Lock, TRUE);
        bCached = IsDirAvailableNL(strDir) != nullptr;
    }
    if (!bCached && EnumerateDirectory(strDir) < 0)
        return -1;

    // The subdirectories' paths are taken in one step: the listing may be freed once the lock
    // is let go.
    CStringArray arrSubDirs;
    {
        CSingleLock lock(&m_Lock, TRUE);
        CPathInfo* pInfo = IsDirAvailableNL(strDir);
        if (pInfo == nullptr)
            return -1;
        if (!bSubDirs)
            return 0;
        for (INT_PTR i = 0; i < pInfo->m_arrDirs.GetSize(); ++i) {
            CString strPath;
            if (JoinPath(pInfo->m_strPath, Record(pInfo->m_arrDirs, i)->pszName, strPath))
                arrSubDirs.Add(strPath);
        }
    }
    for (INT_PTR i = 0; i < arrSubDirs.GetSize(); ++i) {
        if (MakeDirAvailable(arrSubDirs[i], bSubDirs) < 0)
            return -1;
    }
    return 0;
}

int CDirInfo::EnumerateDirectory(const CString& strDir) {
    CString strKey(strDir);
    strKey.MakeUpper();
    // Read without the table, which is not to be used while a directory is read (see the header).
    std::unique_ptr<CPathInfo> pInfo(new CPathInfo(strDir, nullptr));
    if (pInfo->EnumDir(strDir) < 0)
        return -1;
    ClassifyEntries(pInfo.get());
    // A cached listing is only read from now on: its arrays give back the room that their grow
    // steps keep for more records (a third of a small directory's memory).
    pInfo->m_arrFiles.FreeExtra();
    pInfo->m_arrDirs.FreeExtra();

    CSingleLock lock(&m_Lock, TRUE);
    // One look-up of the key serves both tests: whether another thread placed a listing
    // meanwhile (the new one goes), and whether a refresh emptied the key's slot.
    void* pSlot = nullptr;
    if (m_mapDirs.Lookup(strKey, pSlot)) {
        const INT_PTR nSlot = reinterpret_cast<INT_PTR>(pSlot);
        if (m_arrPaths.GetAt(nSlot) == nullptr)
            m_arrPaths.SetAt(nSlot, pInfo.release());
    } else {
        const INT_PTR nSlot = m_arrPaths.Add(pInfo.get());
        pInfo.release();
        m_mapDirs.SetAt(strKey, reinterpret_cast<void*>(nSlot));
    }
    return 0;
}

void CDirInfo::ClassifyEntries(CPathInfo* pInfo) {
    CSingleLock lock(&m_TypeLock, TRUE);
    CString strText;
    CString strCommand;
    for (CPtrArrayEx* pArray : {&pInfo->m_arrFiles, &pInfo->m_arrDirs}) {
        for (INT_PTR i = 0; i < pArray->GetSize(); ++i) {
            CPathInfo::pathfileinfo* pItem = Record(*pArray, i);
            pItem->nType = m_FileType.QueryFileTypeIndex(pItem->pszName, strText, strCommand);
        }
    }
    pInfo->m_pFileType = &m_FileType;
}

CPathInfo* CDirInfo::IsDirAvailableNL(const CString& strDir) {
    CString strKey(strDir);
    strKey.MakeUpper();
    void* pSlot = nullptr;
    if (!m_mapDirs.Lookup(strKey, pSlot))
        return nullptr;
    return static_cast<CPathInfo*>(m_arrPaths.GetAt(reinterpret_cast<INT_PTR>(pSlot)));
}

CPathInfo* CDirInfo::EmptySlotNL(const CString& strKey) {
    void* pSlot = nullptr;
    if (!m_mapDirs.Lookup(strKey, pSlot))
        return nullptr;
    const INT_PTR nSlot = reinterpret_cast<INT_PTR>(pSlot);
    CPathInfo* pInfo = static_cast<CPathInfo*>(m_arrPaths.GetAt(nSlot));
    m_arrPaths.SetAt(nSlot, nullptr);
    return pInfo;
}

CPtrArrayEx* CDirInfo::QueryDir(const CString& strDir, const CString& strPattern, int bSubDirs) {
    std::unique_ptr<CPtrArrayEx> pArray(new CPtrArrayEx(DeletePathInfo));
    if (MakeDirAvailable(strDir, bSubDirs) < 0)
        return pArray.release();
    CSingleLock lock(&m_Lock, TRUE);
    if (PlaceDirInArrayNL(pArray.get(), strDir, strPattern, bSubDirs) < 0)
        return nullptr; // the copies go with the array, once the lock is let go
    return pArray.release();
}

int CDirInfo::PlaceDirInArrayNL(CPtrArrayEx* pArray, const CString& strDir,
                                const CString& strPattern, int bSubDirs) {
    CPathInfo* pInfo = IsDirAvailableNL(strDir);
    if (pInfo == nullptr)
        return -1;
    std::unique_ptr<CPathInfo> pCopy(pInfo->Duplicate(strPattern));
    if (!pCopy)
        return -1;
    CPathInfo* pPlaced = pCopy.get();
    pArray->Add(pPlaced);
    pCopy.release();
    if (!bSubDirs)
        return 0;
    for (INT_PTR i = 0; i < pPlaced->m_arrDirs.GetSize(); ++i) {
        CString strPath;
        if (!JoinPath(pPlaced->m_strPath, Record(pPlaced->m_arrDirs, i)->pszName, strPath))
            continue;
        if (PlaceDirInArrayNL(pArray, strPath, strPattern, bSubDirs) < 0)
            return -1;
    }
    return 0;
}

int CDirInfo::RefreshDir(const CString& strDir) {
    CString strKey(strDir);
    strKey.MakeUpper();
    CPathInfo* pOld;
    {
        CSingleLock lock(&m_Lock, TRUE);
        pOld = EmptySlotNL(strKey);
    }
    delete pOld;
    MakeDirAvailable(strDir, 0);
    return 0;
}

int CDirInfo::Refresh() {
    HoldWorker();
    at_scope_end release{[this] { ReleaseWorker(); }};
    CStringArray arrKeys;
    {
        CSingleLock lock(&m_Lock, TRUE);
        AddKeysNL(m_mapDirs, m_arrPaths, arrKeys, [](CPathInfo*) { return true; });
    }
    // The key, in upper case, is the path read: every refreshed listing's path is upper case.
    for (INT_PTR i = 0; i < arrKeys.GetSize(); ++i)
        RefreshDir(arrKeys[i]);
    return 0;
}

int CDirInfo::RefreshSubDir(const CString& strDir) {
    HoldWorker();
    at_scope_end release{[this] { ReleaseWorker(); }};
    // A test on text, not on path components.
    const int nLength = strDir.GetLength();
    CStringArray arrKeys;
    {
        CSingleLock lock(&m_Lock, TRUE);
        AddKeysNL(m_mapDirs, m_arrPaths, arrKeys, [&](CPathInfo* pInfo) {
            return pInfo != nullptr && pInfo->m_strPath.Left(nLength).CompareNoCase(strDir) == 0;
        });
    }
    int nResult = 0;
    for (INT_PTR i = 0; i < arrKeys.GetSize() && nResult == 0; ++i)
        nResult = RefreshDir(arrKeys[i]);
    return nResult;
}
