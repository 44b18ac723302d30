// dircache_bench: the directory cache against find over the same trees in the same run:
//  - QueryDir(dir, "*.*", 1) on a new cache against `find DIR -printf '%s %T@ %y\n'`, which
//    reads the same metadata (size, last write time, kind) of every entry (goal: at most 1.0
//    times its time), against `find DIR`, the getdents floor (reported), and against
//    `find -L DIR -printf ...`, which follows symbolic links as the cache does (Win32 follows
//    them, plain find does not): in a tree with links, the peer that reads the same entries
//    (reported);
//  - the same query again, answered from the cache (goal: at most 0.2 times the first);
//  - Refresh of the whole tree (reported, against the first query);
//  - the C heap held per cached entry once the query's copies are freed, less the average name
//    length (goal: at most 64 bytes plus the name).
// The trees: a generated one of 100,000 files in 5,051 directories, written once into the build
// folder's tmp folder (BWCORE_BENCH_TMP_DIR) and reused by later runs, and /usr/share where
// present. Not /usr as a whole: the cache follows symbolic links to directories, as Win32 follows
// them, and /usr/lib/llvm-*/build/Release and Debug+Asserts link back to their own parent, so
// that its walk goes through millions of directories before the paths reach MAX_PATH, where find
// lists 17,000.
// Times are processor time (user and system): the child's as the kernel reports it for find,
// this thread's for the cache; each figure is the best of kRuns runs, taken in turns.
#include <bwcore/bwcore.h>

#include "BenchSupport.h"

#include <errno.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

const int kRuns = 5;

// The generated tree: kTop folders of kSub folders, each of these holding kFiles files.
const int kTop = 50;
const int kSub = 100;
const int kFiles = 20;

// Extensions as a project's folders hold them, one without; each is a file type of its own.
const char* const kExtensions[] = {"txt", "bws", "dll", "exe", "bmp", "ico", "h", "cpp", "", "ini"};

double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double timed(const std::function<void()>& work) {
    const double start = threadSeconds();
    work();
    return threadSeconds() - start;
}

bool makeDir(const std::string& path) {
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

// Writes the tree unless a finished one is there; the marker beside it is written last.
bool generateTree(const std::string& root) {
    const std::string marker = root + ".done";
    struct stat st;
    if (stat(marker.c_str(), &st) == 0)
        return true;
    printf("writing %s ...\n", root.c_str());
    fflush(stdout);
    const std::string parent = root.substr(0, root.find_last_of('/'));
    if (!makeDir(parent) || !makeDir(root))
        return false;
    char name[64];
    for (int top = 0; top < kTop; ++top) {
        snprintf(name, sizeof name, "/Folder%02d", top);
        const std::string topDir = root + name;
        if (!makeDir(topDir))
            return false;
        for (int sub = 0; sub < kSub; ++sub) {
            snprintf(name, sizeof name, "/sub%03d", sub);
            const std::string dir = topDir + name;
            if (!makeDir(dir))
                return false;
            for (int file = 0; file < kFiles; ++file) {
                const char* ext = kExtensions[file % 10];
                snprintf(name, sizeof name, "/file_%04d%s%s", file * 7 + sub, *ext ? "." : "", ext);
                const int fd = open((dir + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                if (fd < 0)
                    return false;
                // Sizes differ, so that the size field is not always 0.
                const bool written = ftruncate(fd, file * 100) == 0;
                if (close(fd) != 0 || !written)
                    return false;
            }
        }
    }
    const int fd = open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd >= 0 && close(fd) == 0;
}

size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct TreeSize {
    size_t dirs = 0;
    size_t entries = 0;   // files and subdirectories of every listing
    size_t nameBytes = 0; // of those entries' names, without terminators
};

TreeSize measure(const CPtrArrayEx& listings) {
    TreeSize size;
    for (INT_PTR i = 0; i < listings.GetSize(); ++i) {
        const CPathInfo* listing = static_cast<const CPathInfo*>(listings.GetAt(i));
        ++size.dirs;
        for (const CPtrArrayEx* entries : {&listing->m_arrFiles, &listing->m_arrDirs}) {
            for (INT_PTR j = 0; j < entries->GetSize(); ++j) {
                const auto* record = static_cast<const CPathInfo::pathfileinfo*>(entries->GetAt(j));
                ++size.entries;
                size.nameBytes += strlen(record->pszName);
            }
        }
    }
    return size;
}

void printGoal(const char* what, double value, double goal) {
    printf("  %-34s %8.3f", what, value);
    if (goal > 0)
        printf("   (goal <= %.3f) %s", goal, value <= goal ? "met" : "NOT MET");
    printf("\n");
}

bool benchTree(const std::string& dir) {
    const double inf = std::numeric_limits<double>::infinity();
    double printfFind = inf, followFind = inf, floorFind = inf, first = inf, cached = inf,
           refresh = inf;
    TreeSize size;
    // One walk first, so that every run finds the tree's metadata in the system's caches.
    if (RunQuietly({"find", dir}) < 0) {
        fprintf(stderr, "dircache_bench: cannot run find over %s\n", dir.c_str());
        return false;
    }
    for (int run = 0; run < kRuns; ++run) {
        printfFind = std::min(printfFind, RunQuietly({"find", dir, "-printf", "%s %T@ %y\n"}));
        followFind =
            std::min(followFind, RunQuietly({"find", "-L", dir, "-printf", "%s %T@ %y\n"}));
        floorFind = std::min(floorFind, RunQuietly({"find", dir}));
        auto cache = std::make_unique<CDirInfo>();
        std::unique_ptr<CPtrArrayEx> listings;
        first =
            std::min(first, timed([&] { listings.reset(cache->QueryDir(dir.c_str(), "*.*", 1)); }));
        if (listings == nullptr || listings->GetSize() == 0) {
            fprintf(stderr, "dircache_bench: QueryDir found nothing in %s\n", dir.c_str());
            return false;
        }
        size = measure(*listings);
        listings.reset();
        cached = std::min(cached,
                          timed([&] { listings.reset(cache->QueryDir(dir.c_str(), "*.*", 1)); }));
        listings.reset();
        refresh = std::min(refresh, timed([&] { cache->Refresh(); }));
    }
    // Memory on a cache of its own, once the file associations have been read by the runs.
    const size_t before = heapInUse();
    auto cache = std::make_unique<CDirInfo>();
    delete cache->QueryDir(dir.c_str(), "*.*", 1);
    const size_t held = heapInUse() - before;
    const double perEntry = static_cast<double>(held) / static_cast<double>(size.entries);
    const double nameLength =
        static_cast<double>(size.nameBytes) / static_cast<double>(size.entries);

    printf("\n%s: %zu directories, %zu entries (best of %d runs, processor time)\n", dir.c_str(),
           size.dirs, size.entries, kRuns);
    printf("  %-34s %8.1f ms\n", "find -printf '%s %T@ %y\\n'", printfFind * 1000);
    printf("  %-34s %8.1f ms\n", "find -L -printf (links followed)", followFind * 1000);
    printf("  %-34s %8.1f ms\n", "find (getdents floor)", floorFind * 1000);
    printf("  %-34s %8.1f ms\n", "QueryDir, new cache", first * 1000);
    printf("  %-34s %8.1f ms\n", "QueryDir, from the cache", cached * 1000);
    printf("  %-34s %8.1f ms\n", "Refresh, whole tree", refresh * 1000);
    printf("  %-34s %8.1f bytes + name (%.1f bytes on average)\n", "C heap per cached entry",
           perEntry - nameLength, nameLength);
    printGoal("QueryDir new / find -printf", first / printfFind, 1.0);
    printGoal("QueryDir new / find -L -printf", first / followFind, 0);
    printGoal("QueryDir new / find floor", first / floorFind, 0);
    printGoal("QueryDir cached / new", cached / first, 0.2);
    printGoal("Refresh / QueryDir new", refresh / first, 0);
    printGoal("bytes per entry beyond the name / 64", (perEntry - nameLength) / 64, 1.0);
    fflush(stdout);
    return true;
}

} // namespace

int main() {
    const std::string tree = std::string(BWCORE_BENCH_TMP_DIR) + "/dircache_tree";
    if (!generateTree(tree)) {
        fprintf(stderr, "dircache_bench: cannot write %s\n", tree.c_str());
        return 1;
    }
    bool ok = benchTree(tree);
    struct stat st;
    if (stat("/usr/share", &st) == 0 && S_ISDIR(st.st_mode))
        ok = benchTree("/usr/share") && ok;
    return ok ? 0 : 1;
}
