// CDirInfo: the cache of directory listings.
//
// A caller asks for a directory, and with bSubDirs for its whole subtree, and receives an array
// of copies of the cached listings (CPathInfo), owned by the caller: the directory first, then its
// subtree in depth-first pre-order, the files of each copy filtered by a pattern and every
// subdirectory kept. Directories not cached yet are read on the caller's thread; ScheduleDir has
// the cache's one worker thread read them ahead of need, one task at a time in the order queued.
// A directory is cached under its path in upper case, otherwise unchanged, so c:\work and C:\WORK
// share an entry while C:\WORK\ is another; it keeps its slot in m_arrPaths across refreshes.
//
// Threads: any number of callers and the worker. m_Lock guards the queue, the map and the slots
// and is held only for short steps, never while a directory is read from disk.
//
// How the cache does what its design leaves open:
// - Destruction. The worker is started suspended with m_bAutoDelete off, so that its thread
//   object outlives its thread. The destructor, before it frees anything, sets m_bStop under the
//   lock and wakes the worker; the worker ends the task it may be running, sees the flag before it
//   takes another, and returns. The destructor waits for its thread to end, deletes the thread
//   object, closes the events, frees the tasks still queued without carrying them out, then the
//   listings.
// - Holding the worker back (Refresh, RefreshSubDir). A hold is a count, m_nHolds, that the
//   worker reads under the lock before it takes each task; while it is above 0 the worker waits on
//   m_hResume, a manual-reset event reset by the first hold and set when the last one ends. So the
//   worker is only ever held between two tasks, holding no lock and no listing, never suspended at
//   an arbitrary point. A task already running when a hold begins runs to its end alongside the
//   refresh; the lock keeps the two apart as it keeps two callers apart.
// - Walks. MakeDirAvailable takes the listing's subdirectory paths in one locked step and walks
//   those copies, since a refresh on another thread may free the listing meanwhile;
//   PlaceDirInArrayNL runs wholly under the lock. A directory whose slot is empty when a walk
//   needs it (a refresh is reading it again) makes QueryDir return null.
// - The file-type table. CFileType has no lock and EnumDir would classify entries while it reads
//   the directory, so listings are read without a table and their records classified afterwards,
//   files first and then subdirectories (type indexes are given in that order), under m_TypeLock,
//   before the listing is placed. Lock order: m_Lock and m_TypeLock are never held together.
//   Callers that use QueryFileType's table themselves must do so while the cache reads nothing
//   (no query, refresh or scheduled task running): the cache serialises only its own calls.
// - Long paths. ScheduleDir refuses (-1, nothing queued) a path that does not fit in MAX_PATH
//   bytes with its terminator. A subdirectory whose joined path would not fit is left out of
//   walks, neither read nor placed in QueryDir's array (its record stays in its parent's
//   listing): a path is never cut short into another directory's name.
// - Refresh and RefreshSubDir work through the keys present when they begin, taken under the
//   lock, as the map may grow while they read; directories that enter the cache meanwhile have
//   just been read.
// - A task whose walk raises an exception on the worker (memory exhaustion) is dropped, so that
//   the worker lives on.
#pragma once

#include <bwcore/afx.h>
#include <bwcore/dircache/CFileType.h>
#include <bwcore/dircache/CPathInfo.h>
#include <bwcore/dircache/CPtrArrayEx.h>

class BWCORE_API CDirInfo : public CObject {
public:
    // One scheduled directory, a block from the C heap.
    struct dirtask {
        char szDir[260];  // the directory's path
        int32_t bSubDirs; // nonzero: make the whole subtree available
        int32_t nResult;  // the result of carrying out the task
    };

    CDirInfo();
    ~CDirInfo() override;

    // A new array of listing copies, owned by the caller (its release callback DeletePathInfo);
    // empty when the directory cannot be made available, null when a listing is missing while
    // the copies are made.
    CPtrArrayEx* QueryDir(const CString& strDir, const CString& strPattern, int bSubDirs);
    // The table that classifies every listing's entries; owned by the cache.
    CFileType* QueryFileType() { return &m_FileType; }
    // Queues the directory for the worker: 0, or -1 (nothing queued) without a worker, for a path
    // too long, or when no task record can be allocated.
    int ScheduleDir(const CString& strDir, int bSubDirs);
    // Reads every cached directory again, by its upper-case key; 0.
    int Refresh();
    // Reads the directory again now, on the caller's thread; 0.
    int RefreshDir(const CString& strDir);
    // Reads again every cached directory whose path's text begins with strDir, case ignored (so
    // C:\A selects C:\A, C:\A\B and C:\AB); 0.
    int RefreshSubDir(const CString& strDir);

private:
    friend struct CDirInfoTestAccess;

    static UINT DirInfoThreadProc(LPVOID pParam);

    int CDirStartBackground();
    int PerformTask(void* pTask);
    int MakeDirAvailable(const CString& strDir, int bSubDirs);
    int EnumerateDirectory(const CString& strDir);
    // Called with m_Lock held.
    CPathInfo* IsDirAvailableNL(const CString& strDir);
    // Called with m_Lock held.
    int PlaceDirInArrayNL(CPtrArrayEx* pArray, const CString& strDir, const CString& strPattern,
                          int bSubDirs);

    // The worker's next task once no hold is left; null for an empty queue. Sets bStop (and gives
    // no task) when the cache is being destroyed.
    dirtask* TakeTask(BOOL& bStop);
    void HoldWorker();
    void ReleaseWorker();
    // Empties the slot of an upper-case key and returns the listing it held (or null). Called
    // with m_Lock held.
    CPathInfo* EmptySlotNL(const CString& strKey);
    // Gives the records of a listing read without a table their type indexes, under m_TypeLock.
    void ClassifyEntries(CPathInfo* pInfo);

    CSemaphore m_Lock{1, 1};         // guards m_lstTasks, m_mapDirs, m_arrPaths, m_nHolds, m_bStop
    HANDLE m_hEvent = nullptr;       // auto-reset; wakes the worker
    CPtrList m_lstTasks{10};         // dirtask records, first in first out, owned
    CWinThread* m_pThread = nullptr; // the worker; null when it could not be started
    CFileType m_FileType;            // classifies the entries of every listing
    CMapStringToPtr m_mapDirs{10};   // upper-case path -> slot index in m_arrPaths
    CObArray m_arrPaths;             // slots of the cached listings (CPathInfo*, owned)
    CSemaphore m_TypeLock{1, 1};     // serialises the calls on m_FileType
    HANDLE m_hResume = nullptr;      // manual-reset; signalled while no hold is taken
    int m_nHolds = 0;                // Refresh and RefreshSubDir calls running
    BOOL m_bStop = FALSE;            // the destructor asks the worker to end
};

// The release callback of QueryDir's arrays: deletes one listing; 0, or -1 for null.
BWCORE_API long DeletePathInfo(void* pPathInfo);
