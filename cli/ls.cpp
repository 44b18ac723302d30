// bwcore ls [--recursive] [--pattern PAT] [--schedule] [--json] DIR...: directory listings as
// the directory cache returns them.
//
// Each DIR is listed through one cache: its listing and, with --recursive, the listings of its
// whole subtree, in depth-first pre-order (every subdirectory directly followed by its own
// subtree, subdirectories in their listing's order), as QueryDir with bSubDirs set returns them.
// The walk asks QueryDir for one directory at a time, so that a progress line can count the
// directories and entries read so far; with --schedule every DIR is first handed to the cache's
// worker (ScheduleDir), which reads ahead of the walk.
//
// Text form: per listing a heading (the directory's path and a colon), then one tab-separated
// line per entry: name, size, attributes, last write time, type text, image index; a blank line
// ends the listing. Subdirectories come first, then the files, each in the order the system
// returned them. The size is the low 32 bits of the file's size, as the listing keeps it; the
// attributes are five letters, one per place, a "-" where the bit is clear: D directory,
// R read-only, H hidden, S system, A archive. The last write time is local time in ISO 8601
// ("2026-12-06T23:10:00"), "-" where there is none. A file's type text and image are its
// file type's; a directory shows the folder's ("File Folder" and the folder image), as a folder
// view does. JSON form: an array of one object per listing, {"path", "entries"}, each entry
// with "name", "size", "attributes" (the letters), "attribute_bits", "last_write" (null for
// none), "type" (the type index the listing stores), "type_text" and "image".
//
// A DIR that is not a directory is reported on stderr, naming it, and the others are still
// listed; the exit code is then 1.
#include "Command.h"
#include "CommandLine.h"
#include "Listings.h"
#include "Output.h"
#include "Progress.h"

#include <bwcore/bwcore.h>

#include <stdint.h>
#include <stdio.h>
#include <time.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct LsArguments {
    bool recursive = false;
    bool schedule = false;
    bool json = false;
    std::string pattern = "*.*";
    std::vector<std::string> dirs;
};

// The arrays QueryDir returned, one listing copy each, in the order of the output. Deleting an
// array deletes its copies.
using Listings = std::vector<std::unique_ptr<CPtrArrayEx>>;

// Walks one directory tree through the cache, keeping each listing.
class Walk {
public:
    Walk(CDirInfo& cache, const LsArguments& args, Progress& progress, Listings& listings)
        : m_cache(cache), m_args(args), m_pattern(args.pattern.c_str()), m_progress(progress),
          m_listings(listings) {}

    // Lists the directory, and with --recursive its subtree; false after a message when any
    // directory could not be listed.
    bool list(const CString& path) {
        // The cache keeps paths in buffers of 260 bytes; a longer path is never cut short into
        // another directory's name, it is refused here.
        if (path.GetLength() >= MAX_PATH)
            return fail(path, "the path is longer than 259 bytes");
        std::unique_ptr<CPtrArrayEx> array(m_cache.QueryDir(path, m_pattern, 0));
        if (array == nullptr || array->GetSize() != 1)
            return fail(path, "it cannot be read");
        CPathInfo* listing = listingAt(*array, 0);
        m_listings.push_back(std::move(array));
        ++m_dirs;
        m_entries +=
            static_cast<size_t>(listing->m_arrDirs.GetSize() + listing->m_arrFiles.GetSize());
        m_progress.show(false, "bwcore ls: %zu directories, %zu entries", m_dirs, m_entries);
        if (!m_args.recursive)
            return true;
        bool allListed = true;
        for (INT_PTR i = 0; i < listing->m_arrDirs.GetSize(); ++i) {
            const CString subdir = entryPath(*listing, entryAt(listing->m_arrDirs, i)->pszName);
            allListed = list(subdir) && allListed;
        }
        return allListed;
    }

private:
    bool fail(const CString& path, const char* why) {
        m_progress.clear();
        fprintf(stderr, "bwcore ls: cannot list '%s': %s\n", static_cast<const char*>(path), why);
        return false;
    }

    CDirInfo& m_cache;
    const LsArguments& m_args;
    const CString m_pattern;
    Progress& m_progress;
    Listings& m_listings;
    size_t m_dirs = 0;
    size_t m_entries = 0;
};

std::string attributeLetters(uint32_t attributes) {
    const struct {
        uint32_t bit;
        char letter;
    } kLetters[] = {{FILE_ATTRIBUTE_DIRECTORY, 'D'},
                    {FILE_ATTRIBUTE_READONLY, 'R'},
                    {FILE_ATTRIBUTE_HIDDEN, 'H'},
                    {0x4, 'S'}, // FILE_ATTRIBUTE_SYSTEM, which no file on Linux has,
                    {FILE_ATTRIBUTE_ARCHIVE, 'A'}};
    std::string letters;
    for (const auto& l : kLetters)
        letters += (attributes & l.bit) != 0 ? l.letter : '-';
    return letters;
}

// A FILETIME counts 100 ns ticks since 1601-01-01 UTC; empty text when it is 0 or local time
// cannot show it.
std::string localTime(const FILETIME& time) {
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    if (ticks == 0)
        return std::string();
    const int64_t kTicksPerSecond = 10000000;
    const int64_t kSeconds1601To1970 = 11644473600;
    const time_t seconds =
        static_cast<time_t>(static_cast<int64_t>(ticks / kTicksPerSecond) - kSeconds1601To1970);
    // The tool reads local time on its main thread only.
    const struct tm* local = localtime(&seconds);
    char text[32];
    if (local == nullptr || strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", local) == 0)
        return std::string();
    return text;
}

// An entry as the output shows it.
struct Entry {
    const CPathInfo::pathfileinfo* record;
    std::string attributes;
    std::string lastWrite;
    CString typeText;
    int image;
};

// Calls visit(entry) for the subdirectories, then the files, of the listing.
template <class Visit>
void forEachEntry(CPathInfo& listing, CFileType& types, Visit visit) {
    CString folderText;
    const int folderImage = types.QueryFolderImage(folderText);
    for (CPtrArrayEx* entries : {&listing.m_arrDirs, &listing.m_arrFiles}) {
        const bool directories = entries == &listing.m_arrDirs;
        for (INT_PTR i = 0; i < entries->GetSize(); ++i) {
            const CPathInfo::pathfileinfo* record = entryAt(*entries, i);
            Entry entry{record, attributeLetters(record->dwAttributes),
                        localTime(record->ftLastWrite), folderText, folderImage};
            if (!directories) {
                CString command;
                entry.typeText.Empty();
                entry.image = types.QueryFileTypeText(record->nType, entry.typeText, command);
            }
            visit(entry);
        }
    }
}

void printText(const Listings& listings, CFileType& types) {
    TextOutput out;
    for (const auto& array : listings) {
        CPathInfo* listing = listingAt(*array, 0);
        out.field(listing->m_strPath).raw(":").endLine();
        forEachEntry(*listing, types, [&](const Entry& entry) {
            out.field(entry.record->pszName).raw("\t");
            out.raw(std::to_string(entry.record->dwSize).c_str()).raw("\t");
            out.raw(entry.attributes.c_str()).raw("\t").field(entry.lastWrite.c_str(), true);
            out.raw("\t").field(entry.typeText, true).raw("\t");
            out.raw(std::to_string(entry.image).c_str()).endLine();
        });
        out.endLine();
    }
}

void printJson(const Listings& listings, CFileType& types) {
    Json document = Json::array();
    for (const auto& array : listings) {
        CPathInfo* listing = listingAt(*array, 0);
        Json entries = Json::array();
        forEachEntry(*listing, types, [&](const Entry& entry) {
            entries.push_back(
                {{"name", utf8FromAnsi(entry.record->pszName)},
                 {"size", entry.record->dwSize},
                 {"attributes", entry.attributes},
                 {"attribute_bits", entry.record->dwAttributes},
                 {"last_write", entry.lastWrite.empty() ? Json() : Json(entry.lastWrite)},
                 {"type", entry.record->nType},
                 {"type_text", utf8FromAnsi(entry.typeText)},
                 {"image", entry.image}});
        });
        document.push_back(
            {{"path", utf8FromAnsi(listing->m_strPath)}, {"entries", std::move(entries)}});
    }
    writeJson(document);
}

} // namespace

int runLs(int argc, char** argv) {
    CLI::App app("Directory listings as the directory cache returns them.\n"
                 "Per entry: name, size, attributes, last write time (local), type text, image.\n"
                 "Attributes, one letter per place, - where clear: D directory, R read-only,\n"
                 "H hidden, S system, A archive. Subdirectories are listed before the files.",
                 "bwcore ls");
    LsArguments args;
    app.add_flag("-r,--recursive", args.recursive,
                 "list every subdirectory too, each directly followed by its own subtree");
    app.add_option("--pattern", args.pattern,
                   "show only the files that match (* and ?); subdirectories are always shown")
        ->capture_default_str();
    app.add_flag("--schedule", args.schedule, "let the cache's worker read ahead first");
    app.add_flag("--json", args.json, "write JSON (UTF-8) instead of text");
    app.add_option("DIR", args.dirs, "directories to list")->required();
    if (const int exitCode = parseCommandLine(app, argc, argv); exitCode >= 0)
        return exitCode;

    CDirInfo cache;
    std::vector<bool> isDirectory;
    for (const std::string& dir : args.dirs) {
        const char* why = whyNotADirectory(dir);
        if (why != nullptr)
            fprintf(stderr, "bwcore ls: cannot list '%s': %s\n", dir.c_str(), why);
        else if (args.schedule)
            cache.ScheduleDir(dir.c_str(), args.recursive ? 1 : 0);
        isDirectory.push_back(why == nullptr);
    }
    bool allListed = true;
    Listings listings;
    {
        Progress progress(args.recursive);
        Walk walk(cache, args, progress, listings);
        for (size_t i = 0; i < args.dirs.size(); ++i)
            allListed = isDirectory[i] && walk.list(args.dirs[i].c_str()) && allListed;
    }
    if (args.json)
        printJson(listings, *cache.QueryFileType());
    else
        printText(listings, *cache.QueryFileType());
    return finishOutput("ls") && allListed ? kExitOk : kExitFailure;
}
