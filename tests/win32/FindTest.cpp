// Directory search: every listing of findfile.tsv, over a tree built again from the table, and the
// rules the table does not show. The same source runs against Win32 in the Windows build.
#include "ReferenceTable.h"
#include "TestDirectory.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <time.h>

#include <filesystem>
#include <string>

namespace {

const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;

// The names a pattern lists, comma-separated, or "error N" when FindFirstFileA fails.
std::string Listing(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return "error " + std::to_string(GetLastError());
    std::string names = data.cFileName;
    while (FindNextFileA(search, &data))
        names += std::string(",") + data.cFileName;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

TEST(FindTest, ListingsOfTheReferenceTree) {
    TestDirectory dir;
    const ReferenceTable table("findfile.tsv");
    const std::string tree = "<TREE>";
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const std::string name = table.Get(row, "cFileName");
        if (table.Get(row, "pattern") != tree + "\\*.*" || table.Get(row, "result") != "entry" ||
            name == "." || name == "..")
            continue;
        if (table.Get(row, "dwFileAttributes") == "0x00000010")
            std::filesystem::create_directory(dir.Path(name));
        else
            dir.WriteFile(name, std::string(std::stoul(table.Get(row, "nFileSizeLow")), 'x'));
    }
    dir.WriteFile("subdir/inner.txt", "inner.");
    ASSERT_TRUE(SetFileAttributesA(dir.Path("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    WIN32_FIND_DATAA data;
    HANDLE search = INVALID_HANDLE_VALUE;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const std::string pattern = dir.Path() + table.Get(row, "pattern").substr(tree.size());
        // Linux file systems keep no short names, through which "*.htm" finds page.html.
        if (!kRealWin32 && pattern.find(".htm") != std::string::npos)
            continue;
        SCOPED_TRACE(pattern + " #" + table.Get(row, "seq"));
        const std::string result = table.Get(row, "result");
        SetLastError(0);
        const BOOL found =
            table.Get(row, "seq") == "0" || result == "fail"
                ? (search = FindFirstFileA(pattern.c_str(), &data)) != INVALID_HANDLE_VALUE
                : FindNextFileA(search, &data);
        ASSERT_EQ(found != FALSE, result == "entry");
        if (result != "entry") {
            EXPECT_EQ(std::to_string(GetLastError()), table.Get(row, "error"));
            if (result == "end") {
                EXPECT_TRUE(FindClose(search));
            }
            continue;
        }
        const std::string name = table.Get(row, "cFileName");
        EXPECT_EQ(data.cFileName,
                  name == "fftree" ? dir.Path().substr(dir.Path().find_last_of("\\/") + 1) : name);
        EXPECT_EQ(data.dwFileAttributes, DWORD(HexNumber(table.Get(row, "dwFileAttributes"))));
        EXPECT_EQ(std::to_string(data.nFileSizeHigh), table.Get(row, "nFileSizeHigh"));
        EXPECT_EQ(std::to_string(data.nFileSizeLow), table.Get(row, "nFileSizeLow"));
        for (const auto& time : {std::make_pair(data.ftLastWriteTime, "write_time_nonzero"),
                                 std::make_pair(data.ftCreationTime, "creation_time_nonzero"),
                                 std::make_pair(data.ftLastAccessTime, "access_time_nonzero")})
            EXPECT_EQ(time.first.dwLowDateTime || time.first.dwHighDateTime ? "1" : "0",
                      table.Get(row, time.second));
    }
}

TEST(FindTest, PatternsAndNamesInAnyCase) {
    TestDirectory dir;
    for (const char* name : {"a", "ab", "abc", "Abc.txt", "x.tar.gz"})
        dir.WriteFile(name, "");
    std::filesystem::create_directory(dir.Path("Sub"));
    dir.WriteFile("Sub/In.txt", "");
    const struct {
        const char* pattern;
        const char* names;
    } cases[] = {
        // A '?' may match nothing at the end; the Wine measured lets it match one character only.
        {"??", kRealWin32 ? "..,ab" : ".,..,a,ab"},
        {"abc.", "abc"},
        {"ABC.*", "abc,Abc.txt"},
        {"a?c.TXT", "Abc.txt"},
        {"*.gz", "x.tar.gz"},
        {"*c*", "abc,Abc.txt"},
        {"abcd", "error 2"},
        {"SUB\\*.TXT", "In.txt"},
        {"sub\\in.txt", "In.txt"},
        {"sub\\no\\*", "error 3"},
        {"SUB", "Sub"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Listing(dir.Path() + "\\" + c.pattern), c.names) << c.pattern;
}

TEST(FindTest, SizeTimeAndHandles) {
    TestDirectory dir;
    const std::string big = dir.Path("big.bin"); // sparse: 4 GiB + 10 bytes
    HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LONG high = 1;
    ASSERT_EQ(SetFilePointer(file, 10, &high, FILE_BEGIN), 10u);
    ASSERT_TRUE(SetEndOfFile(file) && CloseHandle(file));

    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(big.c_str(), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 10u);
    // 100 ns units since 1601: the file was written within the last minutes.
    const ULONGLONG written =
        (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    const ULONGLONG now = (ULONGLONG(time(nullptr)) + 11644473600ull) * 10000000ull;
    EXPECT_LT(written > now ? written - now : now - written, 600 * 10000000ull);
    if (!kRealWin32) {
        EXPECT_FALSE(CloseHandle(search)) << "search handles are not file handles";
        ASSERT_TRUE(FindClose(search));
        for (HANDLE invalid : {search, HANDLE(nullptr)}) {
            SetLastError(0);
            EXPECT_FALSE(FindNextFileA(invalid, &data) || FindClose(invalid));
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        }
    } else {
        EXPECT_TRUE(FindClose(search));
    }
}

} // namespace
