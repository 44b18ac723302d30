// The file functions: handles, sharing, positions, attributes, deletion and renaming, checked
// against the attribute table in tests/data/win32 and against the behaviour measured under a
// real Win32 implementation. The same source runs against the Linux layer and, in the Windows
// build, against Win32.
#include "FailingAllocator.h"
#include "ReferenceTable.h"
#include "TestDirectory.h"

#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

const DWORD kSentinel = 0xdeadbeef;
const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;

// A handle closed when the test ends, with the last error of the call that opened it.
class File {
public:
    File(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
        SetLastError(kSentinel);
        m_handle = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        m_error = GetLastError();
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    DWORD Error() const { return m_error; }
    std::string ReadAll() const {
        std::string bytes;
        char buffer[64];
        DWORD read = 0;
        while (ReadFile(m_handle, buffer, sizeof buffer, &read, nullptr) && read > 0)
            bytes.append(buffer, read);
        return bytes;
    }

private:
    HANDLE m_handle;
    DWORD m_error;
};

// The last error of a call that must fail.
template <typename Call>
DWORD FailureOf(Call call) {
    SetLastError(kSentinel);
    EXPECT_FALSE(call());
    return GetLastError();
}

class FilesTest : public ::testing::Test {
protected:
    TestDirectory m_dir;
};

TEST_F(FilesTest, DispositionsAndTheirLastError) {
    const std::string a = m_dir.Path("a.txt");
    DWORD written = 0;
    {
        File created(a, GENERIC_WRITE, 0, CREATE_ALWAYS);
        EXPECT_EQ(created.Error(), 0u);
        EXPECT_TRUE(WriteFile(created.Get(), "hello", 5, &written, nullptr) && written == 5);
    }
    EXPECT_EQ(File(a, GENERIC_READ, 0, OPEN_ALWAYS).Error(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(File(a, GENERIC_READ, 0, OPEN_EXISTING).ReadAll(), "hello");
    File emptied(a, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_EQ(emptied.Error(), DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(emptied.ReadAll(), "");
    EXPECT_EQ(File(m_dir.Path("b.txt"), GENERIC_READ, 0, OPEN_ALWAYS).Error(), 0u);
}

TEST_F(FilesTest, FailuresOfEachPathFunction) {
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    std::string tooLong = m_dir.Path(); // Win32's limit for these paths is MAX_PATH characters
    while (tooLong.size() < MAX_PATH + 1)
        tooLong += "\\.";
    tooLong.resize(MAX_PATH + 1);
    const DWORD kFile = ERROR_FILE_NOT_FOUND, kPath = ERROR_PATH_NOT_FOUND,
                kName = ERROR_INVALID_NAME, kDenied = ERROR_ACCESS_DENIED,
                kRange = ERROR_FILENAME_EXCED_RANGE, kSkip = 0;
    const struct {
        std::string path;
        DWORD disposition, open, remove, setAttributes; // the errors; kSkip: not tried
    } cases[] = {
        {m_dir.Path("missing.txt"), OPEN_EXISTING, kFile, kFile, kFile},
        {m_dir.Path("nodir") + "\\x.txt", CREATE_ALWAYS, kPath, kPath, kPath},
        {m_dir.Path("a.txt") + "\\x.txt", OPEN_EXISTING, kPath, kSkip, kSkip},
        {m_dir.Path("a.txt") + "\\", OPEN_EXISTING, kName, kName, kName},
        {m_dir.Path("sub"), CREATE_ALWAYS, kDenied, kDenied, kSkip},
        {m_dir.Path("sub") + "\\", OPEN_EXISTING, kDenied, kDenied, kSkip},
        {m_dir.Path("*.txt"), OPEN_EXISTING, kName, kSkip, kSkip},
        {m_dir.Path("a<b"), CREATE_ALWAYS, kName, kSkip, kSkip},
        {"", OPEN_EXISTING, kPath, kSkip, kSkip},
        {tooLong, OPEN_EXISTING, kRange, kSkip, kSkip},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        File file(c.path, GENERIC_READ, 0, c.disposition);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.Error(), c.open);
        if (c.remove != kSkip) {
            EXPECT_EQ(FailureOf([&] { return DeleteFileA(c.path.c_str()); }), c.remove);
        }
        if (c.setAttributes != kSkip) {
            EXPECT_EQ(FailureOf([&] { return SetFileAttributesA(c.path.c_str(), 0); }),
                      c.setAttributes);
        }
    }
    EXPECT_EQ(File(m_dir.Path("a.txt"), GENERIC_READ, 0, 0).Error(),
              DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(m_dir.ReadFile("a.txt"), "abc");
}

TEST_F(FilesTest, PathsAreResolvedByName) {
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const std::string dir = m_dir.Path();
    for (const std::string name : {"\\sub\\..\\a.txt", "\\nowhere\\..\\a.txt", "\\.\\a.txt",
                                   "\\\\a.txt", "/sub/../a.txt", "\\a.txt. ."}) {
        EXPECT_EQ(GetFileAttributesA((dir + name).c_str()), FILE_ATTRIBUTE_ARCHIVE) << name;
    }
    EXPECT_EQ(GetFileAttributesA((dir + "\\a.txt\\..").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FilesTest, DoubleByteNamesKeepTheirSecondByte) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs code page 932";
    // 0x95 0x5C is one character; its second byte is no backslash.
    const std::string name = m_dir.Path() + "\\\x95\x5C.txt";
    File file(name, GENERIC_WRITE, 0, CREATE_ALWAYS);
    // Creating a file in an existing folder fails with ERROR_FILE_NOT_FOUND only where names
    // outside ASCII cannot be stored at all (Wine without an installed Unix locale); a name split
    // at the second byte would fail with ERROR_PATH_NOT_FOUND.
    if (!file.IsOpen() && file.Error() == ERROR_FILE_NOT_FOUND)
        GTEST_SKIP() << "this system cannot store names outside ASCII";
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(GetFileAttributesA(name.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributesA((m_dir.Path() + "\\\x95").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilesTest, SharingBetweenHandles) {
    m_dir.WriteFile("a.txt", "abc");
    const std::string path = m_dir.Path("a.txt");
    const DWORD R = GENERIC_READ, W = GENERIC_WRITE, sR = FILE_SHARE_READ, sW = FILE_SHARE_WRITE;
    const struct {
        DWORD firstAccess, firstShare, secondAccess, secondShare, disposition;
        bool opens;
    } cases[] = {
        {R, sR, R, sR, OPEN_EXISTING, true},
        {R, 0, R, sR | sW, OPEN_EXISTING, false},
        {R, sR, W, sR | sW, OPEN_EXISTING, false},
        {R, sR, W, sR, CREATE_ALWAYS, false},     // and the file is not emptied
        {R | W, sR, R, sR, OPEN_EXISTING, false}, // the second must share the first's writing
        {R | W, sR | sW, R | W, sR | sW, OPEN_EXISTING, true},
        {W, sR, R, sR | sW, OPEN_EXISTING, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firstAccess << "/" << c.firstShare
                                        << " then " << c.secondAccess << "/" << c.secondShare);
        File first(path, c.firstAccess, c.firstShare, OPEN_EXISTING);
        File second(path, c.secondAccess, c.secondShare, c.disposition);
        EXPECT_EQ(second.IsOpen(), c.opens);
        EXPECT_EQ(second.Error(), c.opens ? second.Error() : DWORD(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(m_dir.ReadFile("a.txt"), "abc");
    File held(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    const std::string c = m_dir.Path("c.txt");
    EXPECT_EQ(FailureOf([&] { return DeleteFileA(path.c_str()); }), DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(FailureOf([&] { return MoveFileA(path.c_str(), c.c_str()); }),
              DWORD(ERROR_SHARING_VIOLATION));
}

TEST_F(FilesTest, ReadWriteAndPositions) {
    m_dir.WriteFile("a.txt", "0123456789");
    const std::string path = m_dir.Path("a.txt");
    char one = 0;
    DWORD count = kSentinel;
    {
        File reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        EXPECT_EQ(FailureOf([&] { return WriteFile(reader.Get(), "x", 1, &count, nullptr); }),
                  DWORD(ERROR_ACCESS_DENIED));
        EXPECT_FALSE(SetEndOfFile(reader.Get()));
        File writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
        EXPECT_EQ(FailureOf([&] { return ReadFile(writer.Get(), &one, 1, &count, nullptr); }),
                  DWORD(ERROR_ACCESS_DENIED));
        HANDLE closed =
            File(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING).Get();
        for (HANDLE invalid : {closed, HANDLE(nullptr)}) {
            EXPECT_EQ(FailureOf([&] { return CloseHandle(invalid); }), DWORD(ERROR_INVALID_HANDLE));
            EXPECT_EQ(FailureOf([&] { return ReadFile(invalid, &one, 1, &count, nullptr); }),
                      DWORD(ERROR_INVALID_HANDLE));
        }
        EXPECT_TRUE(CloseHandle(INVALID_HANDLE_VALUE)); // also the current process's pseudo handle
    }
    File file(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    HANDLE h = file.Get();
    EXPECT_EQ(SetFilePointer(h, 3, nullptr, FILE_BEGIN), 3u);
    EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_CURRENT), 5u);
    // A position before the start fails and leaves the position alone; so does a bad method.
    for (DWORD method : {DWORD(FILE_CURRENT), DWORD(7)}) {
        SetLastError(kSentinel);
        EXPECT_EQ(SetFilePointer(h, -200, nullptr, method), INVALID_SET_FILE_POINTER);
        EXPECT_EQ(GetLastError(),
                  method == 7 ? DWORD(ERROR_INVALID_PARAMETER) : DWORD(ERROR_NEGATIVE_SEEK));
    }
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 5u);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 5u);
    SetFilePointer(h, 7, nullptr, FILE_BEGIN); // past the end: extends with zeros
    EXPECT_TRUE(SetEndOfFile(h));
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(file.ReadAll(), std::string("01234\0\0", 7));
    EXPECT_TRUE(ReadFile(h, &one, 1, &count, nullptr)) << "reading at the end succeeds";
    EXPECT_EQ(count, 0u);
}

TEST_F(FilesTest, MoveFileNeverReplaces) {
    m_dir.WriteFile("a.txt", "abc");
    m_dir.WriteFile("b.txt", "b");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const std::string a = m_dir.Path("a.txt");
    for (const std::string& to : {m_dir.Path("b.txt"), m_dir.Path("sub")})
        EXPECT_EQ(FailureOf([&] { return MoveFileA(a.c_str(), to.c_str()); }),
                  DWORD(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(FailureOf([&] { return MoveFileA(m_dir.Path("c.txt").c_str(), a.c_str()); }),
              DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(m_dir.ReadFile("b.txt"), "b");
    EXPECT_TRUE(MoveFileA(a.c_str(), m_dir.Path("sub\\c.txt").c_str()));
    EXPECT_TRUE(MoveFileA(m_dir.Path("sub").c_str(), m_dir.Path("sub2").c_str()));
    EXPECT_EQ(m_dir.ReadFile("sub2/c.txt"), "abc");
}

// findfile_attrs.tsv, measured on a tree of files that the test builds again. Left out: the
// rows that depend on the measuring machine's drives ("Z:\" is a symbolic link there, "C:\windows"
// exists only in a Windows installation).
TEST_F(FilesTest, AttributesOfTheReferenceTree) {
    for (const char* name : {"empty.txt", "small.txt", "page.bin", "big.bin", "readonly.txt",
                             ".hidden", "name with spaces.txt"})
        m_dir.WriteFile(name, "x");
    std::filesystem::create_directory(m_dir.Path("subdir"));
    m_dir.WriteFile("subdir/inner.txt", "i");
    ASSERT_TRUE(SetFileAttributesA(m_dir.Path("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    const ReferenceTable table("findfile_attrs.tsv");
    const std::string tree = "<TREE>";
    int checked = 0;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        std::string path = table.Get(row, "path");
        if (path.compare(0, tree.size(), tree) == 0)
            path = m_dir.Path() + path.substr(tree.size());
        else if (path != "C:\\" && path != "Z:" && path.compare(0, 6, "Z:\\tmp") != 0)
            continue;
        SCOPED_TRACE(path);
        SetLastError(kSentinel);
        EXPECT_EQ(GetFileAttributesA(path.c_str()),
                  static_cast<DWORD>(strtoul(table.Get(row, "attributes").c_str(), nullptr, 16)));
        const std::string error = table.Get(row, "error");
        EXPECT_EQ(GetLastError(), error == "-" ? kSentinel : std::stoul(error));
        ++checked;
    }
    EXPECT_EQ(checked, 19);
}

TEST_F(FilesTest, NamesResolveInAnyCase) {
    std::filesystem::create_directory(m_dir.Path("Dir"));
    m_dir.WriteFile("Dir/File.txt", "abc");
    EXPECT_EQ(File(m_dir.Path("DIR\\FILE.TXT"), GENERIC_READ, 0, OPEN_EXISTING).ReadAll(), "abc");
    // A move that only changes the case gives the name its new spelling (Wine keeps the old one).
    EXPECT_TRUE(
        MoveFileA(m_dir.Path("dir\\file.txt").c_str(), m_dir.Path("DIR\\FILE.txt").c_str()));
    EXPECT_TRUE(kRealWin32 || std::filesystem::exists(m_dir.Path("Dir/FILE.txt")));
    m_dir.WriteFile("a.txt", "lower");
    m_dir.WriteFile("A.TXT", "upper"); // the same file where names are case-insensitive
    EXPECT_EQ(File(m_dir.Path("A.TXT"), GENERIC_READ, 0, OPEN_EXISTING).ReadAll(), "upper");
    if (GetACP() == 932) { // full-width A (0x8260) and a (0x8281) are case partners
        File wide(m_dir.Path() + "\\\x82\x60", GENERIC_WRITE, 0, CREATE_ALWAYS);
        EXPECT_EQ(GetFileAttributesA((m_dir.Path() + "\\\x82\x81").c_str()),
                  wide.IsOpen() ? FILE_ATTRIBUTE_ARCHIVE : INVALID_FILE_ATTRIBUTES);
    }
}

// The names read for case-insensitive lookups are kept once their directory has been left alone
// for a second, and read again after any change to it.
TEST_F(FilesTest, KeptNamesFollowTheirDirectory) {
    const auto exists = [&](const char* name) {
        return GetFileAttributesA(m_dir.Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    m_dir.WriteFile("old.txt", "");
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_TRUE(exists("OLD.TXT"));
    EXPECT_FALSE(exists("NEW.TXT"));
    m_dir.WriteFile("new.txt", "");
    std::filesystem::rename(m_dir.Path("old.txt"), m_dir.Path("older.txt"));
    EXPECT_TRUE(exists("NEW.TXT"));
    EXPECT_FALSE(exists("OLD.TXT"));
}

TEST_F(FilesTest, ReadOnlyFilesRefuseWritingWhoeverAsks) {
    // Win32 checks the attribute itself, so root is refused as well.
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const std::string path = m_dir.Path("a.txt");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    if (kRealWin32 && File(path, GENERIC_WRITE, 0, OPEN_EXISTING).IsOpen())
        GTEST_SKIP() << "this Win32 (Wine run by root) leaves the attribute to Unix permissions";
    const struct {
        DWORD access, disposition;
    } writes[] = {{GENERIC_WRITE, OPEN_EXISTING},
                  {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
                  {GENERIC_WRITE, CREATE_ALWAYS},
                  {GENERIC_READ, CREATE_ALWAYS}};
    for (const auto& c : writes) {
        File file(path, c.access, 0, c.disposition);
        EXPECT_FALSE(file.IsOpen()) << std::hex << c.access << " " << c.disposition;
        EXPECT_EQ(file.Error(), DWORD(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(FailureOf([&] { return DeleteFileA(path.c_str()); }), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(File(path, GENERIC_READ, 0, OPEN_EXISTING).ReadAll(), "abc");
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    // Directories keep no read-only state.
    EXPECT_TRUE(SetFileAttributesA(m_dir.Path("sub").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(m_dir.Path("sub").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FilesTest, RunningOutOfMemoryIsAFailureNotAnException) {
    m_dir.WriteFile("a.txt", "abc");
    const std::string a = m_dir.Path("sub\\..\\a.txt");
    const std::string b = m_dir.Path("b.txt");
    const auto outOfMemory = [](DWORD error) { EXPECT_EQ(error, DWORD(ERROR_NOT_ENOUGH_MEMORY)); };
    const auto isTrue = [](BOOL result) { return result != FALSE; };
    UntilAllocationsSuffice(
        [&] {
            return CreateFileA(b.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        },
        [](HANDLE h) { return h != INVALID_HANDLE_VALUE && CloseHandle(h); },
        [&](DWORD error) {
            outOfMemory(error);
            EXPECT_EQ(GetFileAttributesA(b.c_str()), INVALID_FILE_ATTRIBUTES) << "no file made";
        });
    UntilAllocationsSuffice([&] { return DeleteFileA(b.c_str()); }, isTrue, outOfMemory);
    UntilAllocationsSuffice([&] { return GetFileAttributesA(a.c_str()); },
                            [](DWORD attributes) { return attributes != INVALID_FILE_ATTRIBUTES; },
                            outOfMemory);
    UntilAllocationsSuffice([&] { return SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_NORMAL); },
                            isTrue, outOfMemory);
    UntilAllocationsSuffice([&] { return MoveFileA(a.c_str(), b.c_str()); }, isTrue, outOfMemory);
    EXPECT_EQ(m_dir.ReadFile("b.txt"), "abc");
    // Calls that fail anyway, once they can allocate.
    UntilAllocationsSuffice(
        [] { return FindResourceA(nullptr, "NAME", "TYPE") ? 0 : GetLastError(); },
        [](DWORD error) { return error != ERROR_NOT_ENOUGH_MEMORY; }, outOfMemory);
    const std::string pe = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\advapi32.dll";
    if (GetFileAttributesA(pe.c_str()) != INVALID_FILE_ATTRIBUTES)
        UntilAllocationsSuffice([&] { return GetFileVersionInfoSizeA(pe.c_str(), nullptr); },
                                [](DWORD size) { return size != 0; }, outOfMemory);
}

} // namespace
