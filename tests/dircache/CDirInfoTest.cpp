// CDirInfo: the order and filtering of QueryDir, keys and slots, the refreshes and the worker;
// then callers, worker and a changing tree all at once.
#include "../win32/FailingAllocator.h"
#include "../win32/TestDirectory.h"
#include "FailingMalloc.h"

#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

// Looks at the cache's map and slots, under its lock.
struct CDirInfoTestAccess {
    static INT_PTR Slot(CDirInfo& cache, CString strDir) { // -1: not cached
        CSingleLock lock(&cache.m_Lock, TRUE);
        strDir.MakeUpper();
        void* pSlot = nullptr;
        return cache.m_mapDirs.Lookup(strDir, pSlot) ? reinterpret_cast<INT_PTR>(pSlot) : -1;
    }
    static INT_PTR Slots(CDirInfo& cache) {
        CSingleLock lock(&cache.m_Lock, TRUE);
        return cache.m_arrPaths.GetSize();
    }
    static int Enumerate(CDirInfo& cache, const CString& strDir) {
        return cache.EnumerateDirectory(strDir);
    }
    // Ends the worker as the destructor does, then starts it again with no events to be had.
    static int RestartWithoutEvents(CDirInfo& cache) {
        {
            CSingleLock lock(&cache.m_Lock, TRUE);
            cache.m_bStop = TRUE;
        }
        SetEvent(cache.m_hEvent);
        WaitForSingleObject(cache.m_pThread->m_hThread, INFINITE);
        delete cache.m_pThread;
        cache.m_pThread = nullptr;
        CloseHandle(cache.m_hEvent);
        CloseHandle(cache.m_hResume);
        FailAllocationsAfter(0);
        const int nResult = cache.CDirStartBackground();
        AllowAllocations();
        return nResult;
    }
};

namespace {

using Access = CDirInfoTestAccess;
using Array = std::unique_ptr<CPtrArrayEx>;

CPathInfo* Listing(const Array& pArray, INT_PTR i) {
    return static_cast<CPathInfo*>(pArray->GetAt(i));
}

CString Name(CPtrArrayEx& arr, INT_PTR i) {
    return static_cast<CPathInfo::pathfileinfo*>(arr.GetAt(i))->pszName;
}

// A tree in a temporary directory; relative paths are written with '/', and the cache's paths
// (Dir) join them with backslashes as the cache does.
struct Tree {
    TestDirectory root;
    CString Dir(const CString& strRel) const {
        CString strDir = (root.Path() + "\\").c_str() + strRel;
        strDir.Replace('/', '\\');
        return strDir;
    }
    void Make(const std::string& rel, const std::string& file = "") const {
        std::filesystem::create_directories(root.Path(rel));
        if (!file.empty())
            root.WriteFile(rel + "/" + file, "x");
    }
};

// Whether the directory's listing holds the file.
bool Lists(CDirInfo& cache, const CString& strDir, const char* pszName) {
    Array pArray(cache.QueryDir(strDir, "*.*", 0));
    CPtrArrayEx& files = Listing(pArray, 0)->m_arrFiles;
    for (INT_PTR i = 0; i < files.GetSize(); ++i)
        if (Name(files, i) == pszName)
            return true;
    return false;
}

// The listing at `next` is the directory's, with only .txt files, followed by the subtree of each
// of its subdirectories in its listing's order.
void ExpectPreOrder(const Array& pArray, INT_PTR& next, const CString& strPath) {
    ASSERT_LT(next, pArray->GetSize());
    CPathInfo* pInfo = Listing(pArray, next++);
    EXPECT_EQ(pInfo->m_strPath, strPath);
    for (INT_PTR i = 0; i < pInfo->m_arrFiles.GetSize(); ++i)
        EXPECT_EQ(Name(pInfo->m_arrFiles, i).Right(4), ".txt");
    for (INT_PTR i = 0; i < pInfo->m_arrDirs.GetSize(); ++i)
        ExpectPreOrder(pArray, next, strPath + "\\" + Name(pInfo->m_arrDirs, i));
}

TEST(CDirInfoTest, QueryDirIsPreOrderAndFiltersOnlyFiles) {
    Tree tree;
    tree.Make("A", "x.txt");
    tree.Make("A", "y.dat");
    tree.Make("A/B/C", "z.dat");
    tree.Make("A/D", "w.txt");
    CDirInfo cache;
    Array pArray(cache.QueryDir(tree.Dir("A"), "*.txt", 1));
    INT_PTR next = 0;
    ExpectPreOrder(pArray, next, tree.Dir("A"));
    EXPECT_EQ(next, 4);
    EXPECT_EQ(pArray->GetSize(), 4);
    EXPECT_EQ(Listing(pArray, 0)->m_arrFiles.GetSize(), 1);
    // Classified by the cache's table: x.txt has a type of its own, above record 0.
    EXPECT_GT(static_cast<CPathInfo::pathfileinfo*>(Listing(pArray, 0)->m_arrFiles[0])->nType, 0);
}

// The worker reads the first form ahead; the upper-case form finds its entry, the trailing
// backslash makes another.
TEST(CDirInfoTest, ScheduleDirReadsAheadAndKeysFoldCaseButNotATrailingBackslash) {
    Tree tree;
    tree.Make("Work");
    CDirInfo cache;
    EXPECT_EQ(cache.ScheduleDir(CString('x', MAX_PATH), 0), -1); // too long: never cut short
    if (MallocFailuresInjectable()) { // no task record, no entry record: -1
        FailMallocsAfter(reinterpret_cast<const void*>(&DeletePathInfo), 0);
        EXPECT_EQ(cache.ScheduleDir(tree.Dir("Work"), 0), -1);
        EXPECT_EQ(Access::Enumerate(cache, tree.Dir("")), -1);
        AllowMallocs();
    }
    EXPECT_EQ(cache.ScheduleDir(tree.Dir("Work"), 0), 0);
    for (int i = 0; i < 500 && Access::Slot(cache, tree.Dir("Work")) < 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Access::Slots(cache), 1);
    CString strUpper = tree.Dir("Work");
    strUpper.MakeUpper();
    for (const CString& strDir : {strUpper, tree.Dir("Work\\")})
        delete cache.QueryDir(strDir, "*.*", 0);
    EXPECT_EQ(Access::Slots(cache), 2);
    EXPECT_EQ(Access::Slot(cache, tree.Dir("Work\\")), 1);
    if (MallocFailuresInjectable()) {
        EXPECT_EQ(Access::RestartWithoutEvents(cache), -1);
        EXPECT_EQ(cache.ScheduleDir(tree.Dir("Work"), 0), -1); // no worker
    }
}

TEST(CDirInfoTest, RefreshesKeepSlotsAndRefreshReadsUpperCasePaths) {
    Tree tree;
    tree.Make("A/B");
    CDirInfo cache;
    delete cache.QueryDir(tree.Dir("A"), "*.*", 1);
    const INT_PTR nSlot = Access::Slot(cache, tree.Dir("A/B"));
    tree.Make("A/B", "new.txt");
    EXPECT_FALSE(Lists(cache, tree.Dir("A/B"), "new.txt"));
    EXPECT_EQ(cache.RefreshDir(tree.Dir("A/B")), 0);
    EXPECT_TRUE(Lists(cache, tree.Dir("A/B"), "new.txt"));
    EXPECT_EQ(Access::Slot(cache, tree.Dir("A/B")), nSlot);
    EXPECT_EQ(cache.Refresh(), 0);
    Array pArray(cache.QueryDir(tree.Dir("A"), "*.*", 1));
    ASSERT_EQ(pArray->GetSize(), 2); // the upper-case paths found the same directories
    for (INT_PTR i = 0; i < 2; ++i) {
        CString strUpper = Listing(pArray, i)->m_strPath;
        strUpper.MakeUpper();
        EXPECT_EQ(Listing(pArray, i)->m_strPath, strUpper);
    }
    EXPECT_EQ(Access::Slots(cache), 2);
}

TEST(CDirInfoTest, RefreshSubDirSelectsByTextPrefix) {
    const struct {
        const char* dir;
        bool refreshed;
    } cases[] = {{"A", true}, {"A/B", true}, {"AB", true}, {"C", false}};
    Tree tree;
    CDirInfo cache;
    for (const auto& c : cases) {
        tree.Make(c.dir);
        delete cache.QueryDir(tree.Dir(c.dir), "*.*", 0);
        tree.Make(c.dir, "new.txt");
    }
    EXPECT_EQ(cache.RefreshSubDir(tree.Dir("a")), 0);
    for (const auto& c : cases)
        EXPECT_EQ(Lists(cache, tree.Dir(c.dir), "new.txt"), c.refreshed) << c.dir;
}

// Four callers query, schedule and refresh while another thread changes the tree; in every array
// returned, each copy lists only its own directory's files, whose names begin with the
// directory's path below the root. Then the cache is destroyed with tasks queued. Run under
// ThreadSanitizer and LeakSanitizer; a deadlock ends in the test's time-out (CMakeLists.txt).
TEST(CDirInfoTest, StressCallersWorkerAndChangingTree) {
    Tree tree;
    const char* dirs[] = {"D0", "D0/S0", "D0/S1", "D1", "D1/S0", "D2", ""};
    const auto file = [](CString strDir, int n) {
        strDir.Replace('/', '_');
        return std::string(strDir + "-") + std::to_string(n) + (n % 2 ? ".txt" : ".dat");
    };
    for (int n = 0; n < 24; ++n)
        tree.Make(dirs[n % 6], file(dirs[n % 6], n));
    auto cache = std::make_unique<CDirInfo>();
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        for (int n = 24; !stop; ++n) {
            const std::string dir = dirs[n % 6], sub = dir + "/X";
            tree.Make(dir, file(dir.c_str(), n));
            std::error_code error;
            std::filesystem::remove(tree.root.Path(dir + "/" + file(dir.c_str(), n - 24)), error);
            n % 3 ? (void)std::filesystem::remove_all(tree.root.Path(sub), error)
                  : tree.Make(sub, file(sub.c_str(), n));
        }
    });
    const int nRoot = tree.Dir("").GetLength();
    std::vector<std::thread> callers;
    for (unsigned t = 0; t < 4; ++t) {
        callers.emplace_back([&, t] {
            std::mt19937 random(t);
            while (!stop) {
                const CString strDir = tree.Dir(dirs[random() % 7]);
                const int bSubDirs = random() % 2, nOperation = random() % 6;
                if (nOperation == 0) {
                    EXPECT_EQ(cache->ScheduleDir(strDir, bSubDirs), 0);
                } else if (nOperation == 1) {
                    cache->RefreshDir(strDir);
                } else if (nOperation == 2) {
                    cache->Refresh();
                } else if (nOperation == 3) {
                    cache->RefreshSubDir(strDir);
                }
                // Null when a refresh had just emptied a slot that the copies needed.
                Array pArray(nOperation > 3 ? cache->QueryDir(strDir, "*.*", bSubDirs) : nullptr);
                for (INT_PTR i = 0; pArray && i < pArray->GetSize(); ++i) {
                    CString strTag = Listing(pArray, i)->m_strPath.Mid(nRoot) + "-";
                    strTag.Replace('\\', '_');
                    CPtrArrayEx& files = Listing(pArray, i)->m_arrFiles;
                    for (INT_PTR f = 0; f < files.GetSize(); ++f)
                        EXPECT_EQ(Name(files, f).Left(strTag.GetLength()).CompareNoCase(strTag), 0);
                }
            }
        });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    stop = true;
    for (std::thread& caller : callers)
        caller.join();
    changer.join();
    for (int i = 0; i < 20; ++i)
        cache->ScheduleDir(tree.Dir(""), 1);
    cache.reset();
}

} // namespace
