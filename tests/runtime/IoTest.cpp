// File I/O: open modes, reading and writing, positions and sizes, deleting and renaming,
// attributes with the trailing-backslash rule. Version reading is in VersionsTest.cpp.
#include "../win32/TestDirectory.h"
#include "CodePage.h"

#include <bwcore/runtime/Io.h>

#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <string>

namespace {

// A file handle closed when the test ends.
struct Closer {
    void operator()(HANDLE file) const { IoClose(file); }
};
using IoFile = std::unique_ptr<void, Closer>;

class IoTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }
    HANDLE Open(const std::string& name, int32_t mode) const {
        return IoOpen(Path(name).c_str(), mode);
    }
    TestDirectory dir_;
};

TEST_F(IoTest, OpenModes) {
    const struct {
        int32_t mode;
        const char* contentAfter; // of an existing file holding "abc"
        bool reads, writes, createsMissing;
        bool sharesForReading; // a second open with mode 2 succeeds
    } cases[] = {
        {1, "", true, true, true, false},       {2, "abc", true, false, false, true},
        {17, "abc", false, true, false, false}, {64, "abc", true, false, false, true},
        {66, "abc", true, true, false, false},  {4129, "", false, true, true, false},
        {4162, "", true, true, true, false},    {3, "abc", true, true, false, false},
        {0, "abc", true, true, false, false},   {-1, "abc", true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        dir_.WriteFile("a.txt", "abc");
        {
            IoFile file(Open("a.txt", c.mode));
            ASSERT_TRUE((file.get() != INVALID_HANDLE_VALUE));
            IoFile second(Open("a.txt", 2));
            EXPECT_EQ((second.get() != INVALID_HANDLE_VALUE), c.sharesForReading);
            EXPECT_EQ(IoSize(file.get()), strlen(c.contentAfter));
            EXPECT_EQ(IoGetc(file.get()) != -1, c.reads && *c.contentAfter != '\0');
            EXPECT_EQ(IoPutc('x', file.get()) == 'x', c.writes);
        }
        IoDelete(Path("a.txt").c_str());
        IoFile created(Open("a.txt", c.mode));
        EXPECT_EQ((created.get() != INVALID_HANDLE_VALUE), c.createsMissing);
        EXPECT_EQ(IoSize(created.get()), 0u);
    }
}

TEST_F(IoTest, OpenAndCloseFailures) {
    EXPECT_EQ(Open("missing.txt", 2), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("nodir\\a.txt", 4129), INVALID_HANDLE_VALUE);
    EXPECT_EQ(IoOpen(nullptr, 2), INVALID_HANDLE_VALUE);
    dir_.WriteFile("a.txt", "abc");
    HANDLE exclusive = Open("a.txt", 17);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("a.txt", 64), INVALID_HANDLE_VALUE);
    // Mode 1 cannot delete a file that is held open, nor open it.
    EXPECT_EQ(Open("a.txt", 1), INVALID_HANDLE_VALUE);
    EXPECT_EQ(IoClose(exclusive), 0);
    EXPECT_EQ(IoClose(exclusive), -1);
    EXPECT_EQ(dir_.ReadFile("a.txt"), "abc");
}

TEST_F(IoTest, ReadWritePositionsAndSizes) {
    IoFile file(Open("a.txt", 4162));
    uint32_t count = 5;
    EXPECT_EQ(IoWrite(file.get(), "hello world", &count), 5);
    // The character comes back as passed; only its low byte is written.
    EXPECT_EQ(IoPutc(0x1241, file.get()), 0x1241);
    EXPECT_EQ(IoPutc(-2, file.get()), -2);
    uint32_t position = 1;
    EXPECT_EQ(IoSetPos(file.get(), &position), 1u);
    char buffer[16] = {};
    // Up to the count asked for, stored; at the end 0.
    for (uint32_t got : {3u, 3u, 0u}) {
        count = 3;
        EXPECT_EQ(IoRead(file.get(), buffer, &count), static_cast<int32_t>(got));
        EXPECT_EQ(count, got);
    }
    EXPECT_STREQ(buffer, "oA\xfe");
    EXPECT_EQ(IoGetc(file.get()), -1);
    EXPECT_EQ(IoRead(file.get(), buffer, nullptr) + IoWrite(file.get(), buffer, nullptr), -2);
    position = 6;
    EXPECT_EQ(IoSetPos(file.get(), &position), 6u);
    EXPECT_EQ(IoGetc(file.get()), 0xFE) << "bytes are unsigned";
    // The position is a signed 32-bit offset from the start: 2 GiB and more fail, and the
    // position stays.
    position = 0x80000000u;
    EXPECT_EQ(IoSetPos(file.get(), &position), 0xFFFFFFFFu);
    EXPECT_EQ(position, 0xFFFFFFFFu);
    EXPECT_EQ(IoGetPos(file.get(), &position), 7u);
    EXPECT_EQ(position, 7u);
    EXPECT_EQ(IoGetPos(file.get(), nullptr) & IoSetPos(file.get(), nullptr), 0xFFFFFFFFu);
    EXPECT_EQ(IoSize(file.get()), 7u);
    EXPECT_EQ(IoSetSize(file.get(), 4), 4u);
    EXPECT_EQ(IoGetPos(file.get(), &position), 4u) << "left at the new end";
    EXPECT_EQ(IoSetSize(file.get(), 6), 6u);
    EXPECT_EQ(IoSetSize(file.get(), 0x80000000u), 0u);
    EXPECT_EQ(IoSize(file.get()), 6u);
    EXPECT_EQ(dir_.ReadFile("a.txt"), std::string("hell\0\0", 6));
    // Failures leave the count as it was.
    IoFile reader(Open("a.txt", 2));
    IoFile writer(Open("c.txt", 4129));
    count = 2;
    EXPECT_EQ(IoWrite(reader.get(), "zz", &count) + IoRead(writer.get(), buffer, &count), -2);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(IoGetc(writer.get()) + IoPutc('a', reader.get()), -2);
    EXPECT_EQ(IoSetSize(reader.get(), 1), 0u) << "opened for reading only";
    HANDLE closed = Open("a.txt", 2);
    IoClose(closed);
    EXPECT_EQ(IoSize(closed), 0u);
}

TEST_F(IoTest, DeleteAndRename) {
    dir_.WriteFile("a.txt", "abc");
    dir_.WriteFile("b.txt", "b");
    EXPECT_EQ(IoRename(Path("a.txt").c_str(), Path("b.txt").c_str()), -1) << "never replaces";
    EXPECT_EQ(IoRename(Path("a.txt").c_str(), Path("c.txt").c_str()), 0);
    EXPECT_EQ(dir_.ReadFile("c.txt"), "abc");
    EXPECT_EQ(IoRename(Path("a.txt").c_str(), Path("d.txt").c_str()), -1);
    EXPECT_EQ(IoDelete(Path("c.txt").c_str()), 0);
    EXPECT_EQ(IoDelete(Path("c.txt").c_str()), -1);
    EXPECT_EQ(IoDelete(nullptr) + IoRename(nullptr, "x") + IoRename(Path("b.txt").c_str(), nullptr),
              -3);
}

TEST_F(IoTest, AttributesWithATrailingBackslash) {
    dir_.WriteFile("a.txt", "abc");
    std::filesystem::create_directory(Path("sub"));
    const std::string dir = Path("sub");
    const struct {
        std::string path;
        uint32_t attributes;
    } cases[] = {
        {dir, FILE_ATTRIBUTE_DIRECTORY},
        {dir + "\\", FILE_ATTRIBUTE_DIRECTORY},
        {dir + "\\\\", FILE_ATTRIBUTE_DIRECTORY}, // one removed; Win32 takes the other
        {Path("a.txt") + "\\", FILE_ATTRIBUTE_ARCHIVE},
        {Path("a.txt") + "\\\\", 0}, // only one is removed
        {Path("missing.txt") + "\\", 0},
        {"", 0},
        // Longer paths are refused without a write past the local copy.
        {std::string(519, '\\'), 0},
        {std::string(520, '\\'), 0},
        {std::string(2000, '\\'), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 100));
        EXPECT_EQ(IoGetAttr(c.path.c_str()), c.attributes);
    }
    // The backslash after a colon stays, so the root itself is queried.
    EXPECT_NE(IoGetAttr("C:\\") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(IoGetAttr(nullptr), 0u);
    EXPECT_EQ(IoSetAttr(std::string(520, '\\').c_str(), FILE_ATTRIBUTE_NORMAL), 0);
    const std::string file = Path("a.txt");
    EXPECT_EQ(IoSetAttr((file + "\\").c_str(), FILE_ATTRIBUTE_READONLY), 1);
    EXPECT_EQ(IoGetAttr(file.c_str()), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(IoDelete(file.c_str()), -1);
    EXPECT_EQ(IoSetAttr(file.c_str(), FILE_ATTRIBUTE_NORMAL), 1);
    EXPECT_EQ(IoGetAttr(file.c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(IoSetAttr(Path("missing.txt").c_str(), FILE_ATTRIBUTE_READONLY), 0);
    EXPECT_EQ(IoSetAttr(nullptr, FILE_ATTRIBUTE_READONLY), 0);
}

TEST_F(IoTest, DoubleByteNameEndingIn0x5CCp932) {
    BW_REQUIRE_ACP(932);
    // In code page 932 0x95 0x5C is one character: its second byte is no trailing backslash.
    const std::string file = dir_.Path() + "\\\x95\x5C";
    IoFile created(IoOpen(file.c_str(), 4129));
    // Under Wine without the Unix locale installed, names outside ASCII cannot be stored.
    if (!(created.get() != INVALID_HANDLE_VALUE) && GetLastError() == ERROR_FILE_NOT_FOUND)
        GTEST_SKIP() << "this system cannot store names outside ASCII";
    ASSERT_TRUE((created.get() != INVALID_HANDLE_VALUE));
    EXPECT_EQ(IoGetAttr((file + "\\").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(IoSetAttr(file.c_str(), FILE_ATTRIBUTE_HIDDEN), 1);
}

} // namespace
