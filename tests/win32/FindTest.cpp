// Directory search: every listing of findfile.tsv, over a tree built again from the table, and the
// rules the table does not show. The same source runs against Win32 in the Windows build.
#include "ReferenceTable.h"
#include "TestDirectory.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;

TEST(FindTest, ListingsOfTheReferenceTree) {
    TestDirectory dir;
    const ReferenceTable table("findfile.tsv");
    for (size_t row = 0; row < 14; ++row) { // the rows of "<TREE>\*.*": the tree itself
        const std::string name = table.Get(row, "cFileName");
        if (table.Get(row, "dwFileAttributes") == "0x00000010") // ".", ".." and subdir
            std::filesystem::create_directories(dir.Path("subdir"));
        else
            dir.WriteFile(name, std::string(std::stoul(table.Get(row, "nFileSizeLow")), 'x'));
    }
    dir.WriteFile("subdir/inner.txt", "inner.");
    ASSERT_TRUE(SetFileAttributesA(dir.Path("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    WIN32_FIND_DATAA data;
    HANDLE search = INVALID_HANDLE_VALUE;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const std::string pattern = dir.Path() + table.Get(row, "pattern").substr(6);
        // Linux file systems keep no short names, through which "*.htm" finds page.html.
        if (!kRealWin32 && pattern.find(".htm") != std::string::npos)
            continue;
        SCOPED_TRACE(pattern + " #" + table.Get(row, "seq"));
        const std::string result = table.Get(row, "result"), name = table.Get(row, "cFileName");
        SetLastError(0);
        if (table.Get(row, "seq") == "0" || result == "fail")
            ASSERT_EQ((search = FindFirstFileA(pattern.c_str(), &data)) != INVALID_HANDLE_VALUE,
                      result == "entry");
        else
            ASSERT_EQ(FindNextFileA(search, &data) != FALSE, result == "entry");
        if (result != "entry") {
            EXPECT_EQ(std::to_string(GetLastError()), table.Get(row, "error"));
            EXPECT_TRUE(result == "fail" || FindClose(search));
            continue;
        }
        EXPECT_EQ(data.cFileName,
                  name != "fftree" ? name : std::filesystem::path(dir.Path()).filename().string());
        EXPECT_EQ(data.dwFileAttributes, DWORD(HexNumber(table.Get(row, "dwFileAttributes"))));
        EXPECT_EQ(std::to_string(data.nFileSizeHigh) + " " + std::to_string(data.nFileSizeLow),
                  table.Get(row, "nFileSizeHigh") + " " + table.Get(row, "nFileSizeLow"));
        EXPECT_TRUE(data.ftLastWriteTime.dwHighDateTime && data.ftCreationTime.dwHighDateTime &&
                    data.ftLastAccessTime.dwHighDateTime); // every row: nonzero
    }
}

TEST(FindTest, PatternsAndDirectoriesInAnyCase) {
    TestDirectory dir;
    std::filesystem::create_directory(dir.Path("Sub"));
    for (const char* name : {"a", "ab", "abc", "Abc.txt", "Sub/In.txt"})
        dir.WriteFile(name, "");
    const struct {
        const char *pattern, *names;
    } cases[] = {
        // '?' may match nothing at the end; the Wine measured lets it match one character only.
        {"??", kRealWin32 ? "..,ab" : ".,..,a,ab"},
        {"abc.", "abc"},
        {"ABC.*", "abc,Abc.txt"},
        {"SUB\\*.TXT", "In.txt"},
    };
    WIN32_FIND_DATAA data;
    for (const auto& c : cases) {
        HANDLE search = FindFirstFileA((dir.Path() + "\\" + c.pattern).c_str(), &data);
        std::string names = search != INVALID_HANDLE_VALUE
                                ? data.cFileName
                                : "error " + std::to_string(GetLastError());
        while (search != INVALID_HANDLE_VALUE && FindNextFileA(search, &data))
            names += std::string(",") + data.cFileName;
        EXPECT_EQ(names, c.names) << c.pattern;
        if (search != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(FindClose(search));
            // Search handles are a kind of their own, and closed ones are refused.
            EXPECT_FALSE(!kRealWin32 && (CloseHandle(search) || FindClose(search)));
        }
    }
}

// Names are delivered by their upper-case forms after "." and "..", also where they share a long
// start or begin with bytes below '.'; on Linux ".." is described by the directory itself, as
// NTFS describes it.
TEST(FindTest, DeliveryOrderAndTheDotEntries) {
    TestDirectory dir;
    for (const char* name : {"file_0010.txt", "FILE_0009.TXT", "file_00100", ".x", "-dash", "!"})
        dir.WriteFile(name, "");
    WIN32_FIND_DATAA data, self;
    HANDLE search = FindFirstFileA((dir.Path() + "\\*").c_str(), &self);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    std::string names = self.cFileName;
    while (FindNextFileA(search, &data)) {
        names += std::string(",") + data.cFileName;
        if (!kRealWin32 && std::string(data.cFileName) == "..") {
            EXPECT_EQ(self.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
        }
    }
    EXPECT_TRUE(FindClose(search));
    EXPECT_EQ(".,..,!,-dash,.x,FILE_0009.TXT,file_0010.txt,file_00100", names);
}

} // namespace
