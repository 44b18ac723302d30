#include "folded_names.h"

#include "codepages.h"
#include "paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <list>
#include <mutex>
#include <unordered_map>

namespace bwcompat {

namespace {

// Enough for the ancestors of every directory of a deep walk and their large neighbours; the
// directory used least recently goes first, also while more names than kept_names are kept
// (some 7 MB; the directory read last stays however large it is).
constexpr size_t kept_directories = 64;
constexpr size_t kept_names = 65536;

struct folded_directory {
    std::string path;
    struct stat status;                                 // as it was just before its names were read
    std::unordered_map<std::string, std::string> names; // folded name -> first entry with it
};

struct folded_cache {
    std::mutex lock;
    std::list<folded_directory> directories; // the one used last first
    size_t names = 0;                        // in all of them
};

// Never destroyed, so that lookups still work while other libraries' static objects go away.
folded_cache& cache() {
    static folded_cache* instance = new folded_cache;
    return *instance;
}

// The name's characters in upper case, two bytes each, so that two names are the same but for
// case exactly when their folded forms are equal.
std::string fold(const CodePage& page, const char* p) {
    std::string folded;
    while (int length = CharLength(page, p)) {
        const CharCode c = ToUpper(page, ReadChar(p, length));
        folded += static_cast<char>(c >> 8);
        folded += static_cast<char>(c & 0xFF);
        p += length;
    }
    return folded;
}

bool same_time(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool unchanged(const struct stat& kept, const struct stat& now) {
    return kept.st_dev == now.st_dev && kept.st_ino == now.st_ino &&
           same_time(kept.st_mtim, now.st_mtim) && same_time(kept.st_ctim, now.st_ctim);
}

// Whether the directory's last change is old enough that a later one must move its times.
bool settled(const struct stat& st) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return st.st_mtim.tv_sec < now.tv_sec - 1 && st.st_ctim.tv_sec < now.tv_sec - 1;
}

// Calls `take` with each entry's name until it returns true; false when the directory cannot be
// read.
template <typename F>
bool read_names(const std::string& directory, F take) {
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr)
        return false;
    try {
        while (const dirent* entry = readdir(dir)) {
            if (take(entry->d_name))
                break;
        }
    } catch (...) {
        closedir(dir);
        throw;
    }
    closedir(dir);
    return true;
}

} // namespace

bool FindNameIgnoringCase(const std::string& directory, std::string& name) {
    struct stat st;
    if (stat(directory.c_str(), &st) != 0)
        return false;
    const CodePage& page = AnsiCodePage();
    folded_cache& kept = cache();
    const std::string folded = fold(page, name.c_str());
    {
        std::lock_guard<std::mutex> guard(kept.lock);
        for (auto it = kept.directories.begin(); it != kept.directories.end(); ++it) {
            if (it->path != directory)
                continue;
            if (!unchanged(it->status, st)) {
                kept.names -= it->names.size();
                kept.directories.erase(it);
                break;
            }
            kept.directories.splice(kept.directories.begin(), kept.directories, it);
            const auto found = it->names.find(folded);
            if (found == it->names.end())
                return false;
            name = found->second;
            return true;
        }
    }

    if (!settled(st)) {
        bool found = false;
        read_names(directory, [&](const char* entry) {
            found = SameNameIgnoringCase(page, entry, name.c_str());
            if (found)
                name = entry;
            return found;
        });
        return found;
    }
    folded_directory read{directory, st, {}};
    if (!read_names(directory, [&](const char* entry) {
            read.names.emplace(fold(page, entry), entry); // the first entry of a spelling stays
            return false;
        }))
        return false;
    const auto found = read.names.find(folded);
    const bool exists = found != read.names.end();
    if (exists)
        name = found->second;
    std::lock_guard<std::mutex> guard(kept.lock);
    kept.directories.remove_if([&](const folded_directory& d) {
        if (d.path != directory)
            return false;
        kept.names -= d.names.size();
        return true;
    });
    kept.names += read.names.size();
    kept.directories.push_front(std::move(read));
    while (kept.directories.size() > 1 &&
           (kept.directories.size() > kept_directories || kept.names > kept_names)) {
        kept.names -= kept.directories.back().names.size();
        kept.directories.pop_back();
    }
    return exists;
}

} // namespace bwcompat
