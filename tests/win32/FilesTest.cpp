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

#include <string>

namespace {

const DWORD kSentinel = 0xdeadbeef;

// A handle closed when the test ends.
class File {
public:
    explicit File(HANDLE handle) : m_handle(handle) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

std::string ReadAll(HANDLE file) {
    std::string bytes;
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

// The failing call's result and last error.
template <typename Result>
struct Failure {
    Result result;
    DWORD error;
};

template <typename Call>
auto Try(Call call) -> Failure<decltype(call())> {
    SetLastError(kSentinel);
    auto result = call();
    return {result, GetLastError()};
}

class FilesTest : public ::testing::Test {
protected:
    TestDirectory m_dir;
};

// ---------------------------------------------------------------------------------------------
// Opening

TEST_F(FilesTest, DispositionsAndTheirLastError) {
    const std::string path = m_dir.Path("a.txt");
    {
        auto created = Try([&] { return Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS); });
        File file(created.result);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(created.error, 0u);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.Get(), "hello", 5, &written, nullptr));
        EXPECT_EQ(written, 5u);
    }
    {
        auto opened = Try([&] { return Open(path, GENERIC_READ, 0, OPEN_ALWAYS); });
        File file(opened.result);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(opened.error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        EXPECT_EQ(ReadAll(file.Get()), "hello");
    }
    {
        // CREATE_ALWAYS empties an existing file and says that it existed.
        auto recreated = Try([&] { return Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS); });
        File file(recreated.result);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(recreated.error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        EXPECT_EQ(GetFileSize(file.Get(), nullptr), 0u);
    }
    {
        auto created = Try([&] { return Open(m_dir.Path("b.txt"), GENERIC_READ, 0, OPEN_ALWAYS); });
        File file(created.result);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(created.error, 0u);
    }
}

TEST_F(FilesTest, OpenFailures) {
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const struct {
        std::string path;
        DWORD disposition;
        DWORD error;
    } cases[] = {
        {m_dir.Path("missing.txt"), OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
        {m_dir.Path("nodir") + "\\x.txt", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {m_dir.Path("nodir") + "\\x.txt", CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
        {m_dir.Path("a.txt") + "\\x.txt", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {m_dir.Path("a.txt") + "\\", OPEN_EXISTING, ERROR_INVALID_NAME},
        {m_dir.Path("sub"), OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {m_dir.Path("sub") + "\\", OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {m_dir.Path("sub"), CREATE_ALWAYS, ERROR_ACCESS_DENIED},
        {m_dir.Path("sub"), OPEN_ALWAYS, ERROR_ACCESS_DENIED},
        {m_dir.Path("*.txt"), OPEN_EXISTING, ERROR_INVALID_NAME},
        {m_dir.Path("a?.txt"), CREATE_ALWAYS, ERROR_INVALID_NAME},
        {m_dir.Path("a<b"), CREATE_ALWAYS, ERROR_INVALID_NAME},
        {"", OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {m_dir.Path("a.txt"), 0, ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " disposition " + std::to_string(c.disposition));
        auto opened = Try([&] { return Open(c.path, GENERIC_READ, 0, c.disposition); });
        File file(opened.result);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(opened.error, c.error);
    }
    EXPECT_EQ(m_dir.ReadFile("a.txt"), "abc");
}

TEST_F(FilesTest, LongPathsAreRefused) {
    // Win32's limit for these paths is MAX_PATH characters.
    std::string path = m_dir.Path();
    while (path.size() < MAX_PATH + 1)
        path += "\\.";
    path.resize(MAX_PATH + 1);
    path.back() = 'x';
    auto opened = Try([&] { return Open(path, GENERIC_READ, 0, OPEN_EXISTING); });
    EXPECT_EQ(opened.result, INVALID_HANDLE_VALUE);
    EXPECT_EQ(opened.error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST_F(FilesTest, PathsAreResolvedByName) {
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const std::string dir = m_dir.Path();
    const struct {
        std::string path;
        DWORD attributes;
    } cases[] = {
        {dir + "\\sub\\..\\a.txt", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "\\nowhere\\..\\a.txt", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "\\.\\a.txt", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "\\\\a.txt", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "/sub/../a.txt", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "\\a.txt.", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "\\a.txt. .", FILE_ATTRIBUTE_ARCHIVE},
        {dir + "\\a.txt\\..", FILE_ATTRIBUTE_DIRECTORY},
        {dir + "\\sub\\.", FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()), c.attributes);
    }
}

TEST_F(FilesTest, DoubleByteNamesKeepTheirSecondByte) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs code page 932";
    // 0x95 0x5C is one character; its second byte is no backslash.
    const std::string name = m_dir.Path() + "\\\x95\x5C.txt";
    File file(Open(name, GENERIC_WRITE, 0, CREATE_ALWAYS));
    // Creating a file in an existing folder fails with ERROR_FILE_NOT_FOUND only where names
    // outside ASCII cannot be stored at all (Wine without an installed Unix locale); a name split
    // at the second byte would fail with ERROR_PATH_NOT_FOUND.
    if (!file.IsOpen() && GetLastError() == ERROR_FILE_NOT_FOUND)
        GTEST_SKIP() << "this system cannot store names outside ASCII";
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(GetFileAttributesA(name.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributesA((m_dir.Path() + "\\\x95").c_str()), INVALID_FILE_ATTRIBUTES);
}

// ---------------------------------------------------------------------------------------------
// Sharing

TEST_F(FilesTest, SharingBetweenHandles) {
    m_dir.WriteFile("a.txt", "abc");
    const std::string path = m_dir.Path("a.txt");
    const DWORD R = GENERIC_READ;
    const DWORD W = GENERIC_WRITE;
    const DWORD sR = FILE_SHARE_READ;
    const DWORD sW = FILE_SHARE_WRITE;
    const struct {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool opens;
    } cases[] = {
        // clang-format off
        {R, sR, R, sR, true},
        {R, 0, R, sR | sW, false},
        {R, sR, W, sR | sW, false},
        {R, sR | sW, W, sR | sW, true},
        {R | W, sR, R, sR, false}, // the second must share the first's writing
        {R | W, sR, R, sR | sW, true},
        {W, sR, R, sR | sW, true},
        {W, sR | sW, W, sR | sW, true},
        {0, 0, R | W, 0, true}, // a handle without access conflicts with nothing
        {R | W, 0, 0, 0, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firstAccess << "/" << c.firstShare
                                        << " then " << c.secondAccess << "/" << c.secondShare);
        File first(Open(path, c.firstAccess, c.firstShare, OPEN_EXISTING));
        ASSERT_TRUE(first.IsOpen());
        auto second = Try([&] { return Open(path, c.secondAccess, c.secondShare, OPEN_EXISTING); });
        File secondFile(second.result);
        EXPECT_EQ(secondFile.IsOpen(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(second.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
    }
}

TEST_F(FilesTest, RefusedCreateAlwaysLeavesTheFileAlone) {
    m_dir.WriteFile("a.txt", "abc");
    const std::string path = m_dir.Path("a.txt");
    File first(Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    auto second = Try([&] { return Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS); });
    EXPECT_EQ(second.result, INVALID_HANDLE_VALUE);
    EXPECT_EQ(second.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(ReadAll(first.Get()), "abc");
}

TEST_F(FilesTest, DeleteAndMoveNeedShareDelete) {
    m_dir.WriteFile("a.txt", "abc");
    m_dir.WriteFile("b.txt", "b");
    const std::string a = m_dir.Path("a.txt");
    const std::string b = m_dir.Path("b.txt");
    {
        File held(Open(a, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
        auto deleted = Try([&] { return DeleteFileA(a.c_str()); });
        EXPECT_FALSE(deleted.result);
        EXPECT_EQ(deleted.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        auto moved = Try([&] { return MoveFileA(a.c_str(), m_dir.Path("c.txt").c_str()); });
        EXPECT_FALSE(moved.result);
        EXPECT_EQ(moved.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    {
        // Sharing follows the file to its new name.
        File held(Open(b, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING));
        const std::string moved = m_dir.Path("moved.txt");
        EXPECT_TRUE(MoveFileA(b.c_str(), moved.c_str()));
        auto writer =
            Try([&] { return Open(moved, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING); });
        File writerFile(writer.result);
        EXPECT_FALSE(writerFile.IsOpen());
        EXPECT_EQ(writer.error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_TRUE(DeleteFileA(moved.c_str()));
        EXPECT_EQ(ReadAll(held.Get()), "b");
    }
}

// ---------------------------------------------------------------------------------------------
// Reading, writing, positions

TEST_F(FilesTest, ReadAndWriteNeedTheirAccess) {
    m_dir.WriteFile("a.txt", "abc");
    const std::string path = m_dir.Path("a.txt");
    char one = 0;
    DWORD count = kSentinel;
    {
        File reader(Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
        auto write = Try([&] { return WriteFile(reader.Get(), "x", 1, &count, nullptr); });
        EXPECT_FALSE(write.result);
        EXPECT_EQ(write.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_FALSE(SetEndOfFile(reader.Get()));
    }
    {
        File writer(Open(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
        auto read = Try([&] { return ReadFile(writer.Get(), &one, 1, &count, nullptr); });
        EXPECT_FALSE(read.result);
        EXPECT_EQ(read.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    {
        File neither(Open(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
        ASSERT_TRUE(neither.IsOpen());
        EXPECT_EQ(GetFileSize(neither.Get(), nullptr), 3u);
        EXPECT_FALSE(ReadFile(neither.Get(), &one, 1, &count, nullptr));
    }
}

TEST_F(FilesTest, ReadAtTheEndSucceedsWithNothing) {
    m_dir.WriteFile("a.txt", "ab");
    File file(Open(m_dir.Path("a.txt"), GENERIC_READ, 0, OPEN_EXISTING));
    char buffer[8] = {};
    DWORD count = kSentinel;
    EXPECT_TRUE(ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(count, 2u);
    count = kSentinel;
    EXPECT_TRUE(ReadFile(file.Get(), buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(count, 0u);
}

TEST_F(FilesTest, FilePointer) {
    m_dir.WriteFile("a.txt", "0123456789");
    File file(Open(m_dir.Path("a.txt"), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING));
    HANDLE h = file.Get();
    EXPECT_EQ(SetFilePointer(h, 3, nullptr, FILE_BEGIN), 3u);
    EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_CURRENT), 5u);
    EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_END), 9u);
    EXPECT_EQ(SetFilePointer(h, 100, nullptr, FILE_BEGIN), 100u); // past the end is allowed

    // A position before the start fails and leaves the position alone.
    auto negative = Try([&] { return SetFilePointer(h, -200, nullptr, FILE_CURRENT); });
    EXPECT_EQ(negative.result, INVALID_SET_FILE_POINTER);
    EXPECT_EQ(negative.error, static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 100u);
    // Without the high part the distance is a signed 32-bit value.
    auto signedLow = Try([&] { return SetFilePointer(h, LONG(0x80000000u), nullptr, FILE_BEGIN); });
    EXPECT_EQ(signedLow.result, INVALID_SET_FILE_POINTER);
    EXPECT_EQ(signedLow.error, static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    auto badMethod = Try([&] { return SetFilePointer(h, 0, nullptr, 7); });
    EXPECT_EQ(badMethod.result, INVALID_SET_FILE_POINTER);
    EXPECT_EQ(badMethod.error, static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    // With it, both parts form one signed 64-bit distance.
    LONG high = 0;
    EXPECT_EQ(SetFilePointer(h, LONG(0x80000000u), &high, FILE_BEGIN), 0x80000000u);
    EXPECT_EQ(high, 0);
    high = 1;
    EXPECT_EQ(SetFilePointer(h, 5, &high, FILE_BEGIN), 5u);
    EXPECT_EQ(high, 1);
    high = -1;
    auto negative64 = Try([&] { return SetFilePointer(h, -2, &high, FILE_BEGIN); });
    EXPECT_EQ(negative64.result, INVALID_SET_FILE_POINTER);
    EXPECT_EQ(negative64.error, static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    high = 0;
    EXPECT_EQ(SetFilePointer(h, 0, &high, FILE_BEGIN), 0u);
}

TEST_F(FilesTest, SetEndOfFileShortensAndExtends) {
    m_dir.WriteFile("a.txt", "0123456789");
    File file(Open(m_dir.Path("a.txt"), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING));
    HANDLE h = file.Get();
    DWORD high = kSentinel;
    EXPECT_EQ(GetFileSize(h, &high), 10u);
    EXPECT_EQ(high, 0u);
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 4u);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 4u);
    SetFilePointer(h, 6, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(h));
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    EXPECT_EQ(ReadAll(h), std::string("0123\0\0", 6));
}

TEST_F(FilesTest, InvalidHandles) {
    m_dir.WriteFile("a.txt", "abc");
    HANDLE h = Open(m_dir.Path("a.txt"), GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(CloseHandle(h));
    auto closedAgain = Try([&] { return CloseHandle(h); });
    EXPECT_FALSE(closedAgain.result);
    EXPECT_EQ(closedAgain.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    auto closedNull = Try([&] { return CloseHandle(nullptr); });
    EXPECT_FALSE(closedNull.result);
    EXPECT_EQ(closedNull.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // INVALID_HANDLE_VALUE is also the current process's pseudo handle.
    EXPECT_TRUE(CloseHandle(INVALID_HANDLE_VALUE));

    auto size = Try([&] { return GetFileSize(h, nullptr); });
    EXPECT_EQ(size.result, INVALID_FILE_SIZE);
    EXPECT_EQ(size.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
    char one = 0;
    DWORD count = kSentinel;
    auto read = Try([&] { return ReadFile(h, &one, 1, &count, nullptr); });
    EXPECT_FALSE(read.result);
    EXPECT_EQ(read.error, static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// ---------------------------------------------------------------------------------------------
// Deleting and renaming

TEST_F(FilesTest, DeleteFailures) {
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const struct {
        std::string path;
        DWORD error;
    } cases[] = {
        {m_dir.Path("missing.txt"), ERROR_FILE_NOT_FOUND},
        {m_dir.Path("nodir") + "\\x.txt", ERROR_PATH_NOT_FOUND},
        {m_dir.Path("sub"), ERROR_ACCESS_DENIED},
        {m_dir.Path("sub") + "\\", ERROR_ACCESS_DENIED},
        {m_dir.Path("a.txt") + "\\", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto deleted = Try([&] { return DeleteFileA(c.path.c_str()); });
        EXPECT_FALSE(deleted.result);
        EXPECT_EQ(deleted.error, c.error);
    }
    EXPECT_TRUE(DeleteFileA(m_dir.Path("a.txt").c_str()));
    EXPECT_EQ(GetFileAttributesA(m_dir.Path("a.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilesTest, ReadOnlyFilesRefuseWritingWhoeverAsks) {
    // Win32 checks the attribute itself, so root is refused as well.
    m_dir.WriteFile("a.txt", "abc");
    const std::string path = m_dir.Path("a.txt");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const struct {
        DWORD access, disposition;
    } writes[] = {{GENERIC_WRITE, OPEN_EXISTING},
                  {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
                  {GENERIC_WRITE, CREATE_ALWAYS},
                  {GENERIC_READ, CREATE_ALWAYS}};
    for (const auto& c : writes) {
        SCOPED_TRACE(testing::Message() << std::hex << c.access << " " << c.disposition);
        auto opened = Try([&] { return Open(path, c.access, 0, c.disposition); });
        File file(opened.result);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(opened.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    auto deleted = Try([&] { return DeleteFileA(path.c_str()); });
    EXPECT_FALSE(deleted.result);
    EXPECT_EQ(deleted.error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    File reader(Open(path, GENERIC_READ, 0, OPEN_EXISTING));
    EXPECT_EQ(ReadAll(reader.Get()), "abc");
}

TEST_F(FilesTest, MoveFile) {
    m_dir.WriteFile("a.txt", "abc");
    m_dir.WriteFile("b.txt", "b");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const std::string a = m_dir.Path("a.txt");
    const struct {
        std::string from;
        std::string to;
        DWORD error;
    } failures[] = {
        {a, m_dir.Path("b.txt"), ERROR_ALREADY_EXISTS},
        {a, m_dir.Path("sub"), ERROR_ALREADY_EXISTS},
        {m_dir.Path("missing.txt"), m_dir.Path("c.txt"), ERROR_FILE_NOT_FOUND},
        {a, m_dir.Path("nodir") + "\\c.txt", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : failures) {
        SCOPED_TRACE(c.from + " -> " + c.to);
        auto moved = Try([&] { return MoveFileA(c.from.c_str(), c.to.c_str()); });
        EXPECT_FALSE(moved.result);
        EXPECT_EQ(moved.error, c.error);
    }
    EXPECT_EQ(m_dir.ReadFile("b.txt"), "b");
    EXPECT_TRUE(MoveFileA(a.c_str(), m_dir.Path("sub\\c.txt").c_str()));
    EXPECT_EQ(m_dir.ReadFile("sub/c.txt"), "abc");
    EXPECT_TRUE(MoveFileA(m_dir.Path("sub").c_str(), m_dir.Path("sub2").c_str()));
    EXPECT_EQ(m_dir.ReadFile("sub2/c.txt"), "abc");
}

// ---------------------------------------------------------------------------------------------
// Attributes

// findfile_attrs.tsv, measured on a tree of files that the test builds again. Left out: the
// rows that depend on the measuring machine's drives ("Z:\" is a symbolic link there, "C:\windows"
// exists only in a Windows installation) and the upper-case spelling of a lower-case name, which
// Linux file systems tell apart.
TEST_F(FilesTest, AttributesOfTheReferenceTree) {
    m_dir.WriteFile("empty.txt", "");
    m_dir.WriteFile("small.txt", "small");
    m_dir.WriteFile("page.bin", std::string(4096, 'p'));
    m_dir.WriteFile("big.bin", std::string(70000, 'b'));
    m_dir.WriteFile("readonly.txt", "ro");
    m_dir.WriteFile(".hidden", "h");
    m_dir.WriteFile("name with spaces.txt", "n");
    std::filesystem::create_directory(m_dir.Path("subdir"));
    m_dir.WriteFile("subdir/inner.txt", "i");
    ASSERT_TRUE(SetFileAttributesA(m_dir.Path("readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY));

    const ReferenceTable table("findfile_attrs.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    const std::string tree = "<TREE>";
    int checked = 0;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        std::string path = table.Get(row, "path");
        if (path.compare(0, tree.size(), tree) == 0)
            path = m_dir.Path() + path.substr(tree.size());
        else if (path != "C:\\" && path != "Z:" && path.compare(0, 6, "Z:\\tmp") != 0)
            continue;
        if (path.find("NAME WITH SPACES") != std::string::npos)
            continue;
        SCOPED_TRACE(path);
        const DWORD expected =
            static_cast<DWORD>(strtoul(table.Get(row, "attributes").c_str(), nullptr, 16));
        SetLastError(kSentinel);
        EXPECT_EQ(GetFileAttributesA(path.c_str()), expected);
        const std::string error = table.Get(row, "error");
        EXPECT_EQ(GetLastError(), error == "-" ? kSentinel : std::stoul(error));
        ++checked;
    }
    EXPECT_EQ(checked, 18);
}

TEST_F(FilesTest, ReadOnlyRoundTrip) {
    m_dir.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(m_dir.Path("sub"));
    const std::string file = m_dir.Path("a.txt");
    const std::string dir = m_dir.Path("sub");
    EXPECT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(SetFileAttributesA(file.c_str(), 0));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    // Directories keep no read-only state.
    EXPECT_TRUE(SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(dir.c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(SetFileAttributesA((dir + "\\").c_str(), FILE_ATTRIBUTE_READONLY));
}

TEST_F(FilesTest, SetAttributesFailures) {
    m_dir.WriteFile("a.txt", "abc");
    const struct {
        std::string path;
        DWORD error;
    } cases[] = {
        {m_dir.Path("missing.txt"), ERROR_FILE_NOT_FOUND},
        {m_dir.Path("nodir") + "\\x.txt", ERROR_PATH_NOT_FOUND},
        {m_dir.Path("a.txt") + "\\", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        auto set = Try([&] { return SetFileAttributesA(c.path.c_str(), FILE_ATTRIBUTE_READONLY); });
        EXPECT_FALSE(set.result);
        EXPECT_EQ(set.error, c.error);
    }
    EXPECT_EQ(GetFileAttributesA(m_dir.Path("a.txt").c_str()), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FilesTest, RunningOutOfMemoryIsAFailureNotAnException) {
    m_dir.WriteFile("a.txt", "abc");
    const std::string a = m_dir.Path("sub\\..\\a.txt");
    const std::string b = m_dir.Path("b.txt");
    const auto outOfMemory = [](DWORD error) {
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    };
    const auto isTrue = [](BOOL result) { return result != FALSE; };
    UntilAllocationsSuffice([&] { return Open(b, GENERIC_WRITE, 0, CREATE_ALWAYS); },
                            [](HANDLE h) { return h != INVALID_HANDLE_VALUE && CloseHandle(h); },
                            [&](DWORD error) {
                                outOfMemory(error);
                                // A refused open makes no file.
                                EXPECT_EQ(GetFileAttributesA(b.c_str()), INVALID_FILE_ATTRIBUTES);
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
    const auto errorOnce = [](DWORD result) { return result != ERROR_NOT_ENOUGH_MEMORY; };
    UntilAllocationsSuffice(
        [] { return FindResourceA(nullptr, "NAME", "TYPE") ? 0 : GetLastError(); }, errorOnce,
        outOfMemory);
    const std::string pe = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\advapi32.dll";
    if (GetFileAttributesA(pe.c_str()) != INVALID_FILE_ATTRIBUTES)
        UntilAllocationsSuffice([&] { return GetFileVersionInfoSizeA(pe.c_str(), nullptr); },
                                [](DWORD size) { return size != 0; }, outOfMemory);
}

TEST(ErrorMode, ReturnsThePreviousMode) {
    const UINT original = SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(SetErrorMode(SEM_NOOPENFILEERRORBOX), SEM_FAILCRITICALERRORS);
    EXPECT_EQ(SetErrorMode(original), SEM_NOOPENFILEERRORBOX);
}

} // namespace
