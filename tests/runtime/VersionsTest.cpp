// Version resources: GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA over the PE
// files that versions.tsv was measured on and over the PE seeds of the fuzz corpus (as they are,
// and broken here), and IoGetVersion on top of them. The same source runs against the Linux layer
// and, in the Windows build, against Win32.
#include "../win32/ReferenceTable.h"
#include "../win32/TestDirectory.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/Io.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

// Wine's 64-bit PE directory (Debian's wine64 package), reached through Wine's drive Z: under
// Wine and through the drive mapping of the Linux layer natively.
const char kWinePeDirectory[] = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";

const DWORD kSentinel = 0xdeadbeef;

// Whether the program runs against Win32 itself (the Windows build, under Wine) rather than the
// Linux layer.
const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;

// The PE32+ seed with one version resource (language 0x0409, file version 2.3.4.5) of 368 bytes,
// and where its parts are.
const char kStringsSeed[] = "pe32plus-strings";
const size_t kOptionalHeader = 0x58;
const size_t kResourceDirectory = 0xD8; // data directory 2
const size_t kSectionTable = 0x148;
const size_t kResourceSection = 0x200; // the root table; its entry for RT_VERSION at 0x210
const size_t kNameTable = 0x230;       // the languages under name 1
const size_t kDataEntry = 0x248;
const size_t kData = 0x258;
const DWORD kDataSize = 368;

std::string Seed(const std::string& name) {
    std::ifstream file(std::string(BWCORE_PE_CORPUS_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void Put(std::string& bytes, size_t offset, uint32_t value, size_t size) {
    for (size_t i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

// The size of a file, 0 when it cannot be opened.
uint32_t FileSize(const std::string& path) {
    HANDLE file = IoOpen(path.c_str(), 2);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const uint32_t size = IoSize(file);
    IoClose(file);
    return size;
}

// The seed with two version resources, file version 1 under its first language and 2 under its
// second, with the languages given.
std::string TwoLanguages(uint16_t first, uint16_t second) {
    std::string image = Seed("pe32plus-two-languages");
    Put(image, kNameTable + 16, first, 2);
    Put(image, kNameTable + 24, second, 2);
    return image;
}

DWORD HexValue(const std::string& text) {
    return static_cast<DWORD>(strtoul(text.c_str(), nullptr, 16));
}

// The three calls on one file against its row of versions.tsv.
void ExpectMeasured(const ReferenceTable& table, size_t row, const std::string& path) {
    SCOPED_TRACE(table.Get(row, "name"));
    DWORD handle = kSentinel;
    SetLastError(kSentinel);
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    EXPECT_EQ(size, std::stoul(table.Get(row, "size")));
    EXPECT_EQ(handle, 0u);
    if (size == 0) {
        EXPECT_EQ(GetLastError(), std::stoul(table.Get(row, "size_error")));
        return;
    }
    // The buffer has guard bytes past its end.
    std::string info(size + 16, '\xCC');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &info[0]));
    EXPECT_EQ(info.substr(size), std::string(16, '\xCC'));
    DWORD* f = nullptr; // VS_FIXEDFILEINFO as its 13 words
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&f), &length));
    EXPECT_EQ(length, std::stoul(table.Get(row, "query_len")));
    const char* const columns[] = {
        "signature",          nullptr, "file_version_ms", "file_version_ls", "product_version_ms",
        "product_version_ls", nullptr, "file_flags",      "file_os",         "file_type",
        "file_subtype"};
    for (size_t i = 0; i < 11; ++i)
        EXPECT_TRUE(columns[i] == nullptr || f[i] == HexValue(table.Get(row, columns[i]))) << i;
    DWORD* translation = nullptr;
    const bool translated = VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                                           reinterpret_cast<void**>(&translation), &length);
    EXPECT_EQ(translated ? *translation : 0u, HexValue(table.Get(row, "translation"))); // "-": 0
}

class VersionsTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        m_dir.WriteFile(name, bytes);
        return m_dir.Path(name);
    }

    TestDirectory m_dir;
};

// ---------------------------------------------------------------------------------------------
// The reference table

// Every PE file of the table that this machine has in the same version (of the same size).
TEST_F(VersionsTest, MeasuredFiles) {
    const ReferenceTable files("versions_files.tsv");
    const ReferenceTable table("versions.tsv");
    ASSERT_EQ(files.RowCount() + 3, table.RowCount()); // and text.txt, empty.dll, missing.dll
    Write("text.txt", "This text file has no version resource.\r\n\r\n");
    Write("empty.dll", "");
    for (size_t row = files.RowCount(); row < table.RowCount(); ++row)
        ExpectMeasured(table, row, m_dir.Path(table.Get(row, "name")));
    int checked = 0;
    for (size_t row = 0; row < files.RowCount(); ++row) {
        const std::string path = kWinePeDirectory + table.Get(row, "name");
        ASSERT_EQ(files.Get(row, "name"), table.Get(row, "name"));
        if (FileSize(path) != std::stoul(files.Get(row, "bytes")))
            continue;
        ExpectMeasured(table, row, path);
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "the Wine PE files are not installed in " << kWinePeDirectory;
}

// ---------------------------------------------------------------------------------------------
// The fuzz corpus' seeds

TEST_F(VersionsTest, QueriesBySubBlock) {
    const std::string path = Write("a.dll", Seed(kStringsSeed));
    std::string info(2 * kDataSize + 4, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), &info[0]));
    const struct {
        const char* subBlock;
        bool found;
        const char* text; // the value as text, or null for a binary value of `length` bytes
        UINT length;
    } cases[] = {
        {"", true, nullptr, 52},
        {"\\", true, nullptr, 52},
        {"\\VarFileInfo\\Translation", true, nullptr, 4},
        {"\\StringFileInfo\\040904B0", true, nullptr, 0},
        {"\\StringFileInfo\\040904B0\\CompanyName", true, "Brindlewick", 12},
        {"\\stringfileinfo\\040904b0\\FILEVERSION", true, "2.3.4.5", 8},
        {"\\\\StringFileInfo\\\\040904B0\\FileVersion\\", true, "2.3.4.5", 8},
        {"StringFileInfo\\040904B0\\ProductVersion", true, "2.3", 4},
        {"\\Nope", false, nullptr, 0},
        {"\\StringFileInfo\\040904E4\\FileVersion", false, nullptr, 0},
        {"\\VarFileInfo\\Translation\\More", false, nullptr, 0},
        {"\\StringFileInfo\\040904B", false, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subBlock);
        void* value = nullptr;
        UINT length = kSentinel;
        SetLastError(kSentinel);
        ASSERT_EQ(VerQueryValueA(info.data(), c.subBlock, &value, &length) != FALSE, c.found);
        EXPECT_EQ(length, c.length);
        EXPECT_TRUE(c.found || GetLastError() == ERROR_RESOURCE_TYPE_NOT_FOUND);
        // Values point into the caller's buffer: text to an 8-bit copy in its second half.
        const size_t offset = c.found ? static_cast<const char*>(value) - info.data() : 0;
        EXPECT_LE(offset, info.size());
        EXPECT_TRUE(c.text == nullptr ||
                    (offset > kDataSize && !strcmp(c.text, static_cast<const char*>(value))));
    }
}

// Broken images are refused like files without version information, and never read out of
// bounds (the sanitizer builds watch that). Win32 (as measured under Wine) refuses the broken
// headers and tables too, but takes a broken version block as it is, and reads past the file for
// data outside it: those rows are the Linux layer's alone.
TEST_F(VersionsTest, BrokenImages) {
    const struct {
        const char* name;
        bool win32Refuses;
        size_t offset;
        uint32_t value;
        size_t size; // of the value in bytes; 0: the image is cut at the offset
    } cases[] = {
        {"no MZ", true, 0, 'X', 1},
        {"e_lfanew past the end", true, 0x3C, 0xFFFFFFF0u, 4},
        {"no PE signature", true, 0x40, 'X', 1},
        {"unknown optional header", true, kOptionalHeader, 0x999, 2},
        {"no resource directory", true, kResourceDirectory, 0, 4},
        {"resources outside the sections", true, kResourceDirectory, 0x9000, 4},
        {"section data past the end", true, kSectionTable + 20, 0x100000, 4},
        {"type entry without its level", true, kResourceSection + 20, 0x18, 4},
        {"type table outside", true, kResourceSection + 20, 0xFFFFFF00u, 4},
        {"type as a name", true, kResourceSection + 16, 0x80000100u, 4},
        {"too many entries", true, kResourceSection + 14, 0xFFFF, 2},
        {"no language", true, kNameTable + 14, 0, 2},
        {"cut in the DOS header", true, 40, 0, 0},
        {"cut in the PE headers", true, kOptionalHeader + 10, 0, 0},
        {"cut in the section table", true, kSectionTable + 12, 0, 0},
        {"cut in the resource tables", true, kNameTable + 4, 0, 0},
        {"data outside the sections", false, kDataEntry, 0x50000, 4},
        {"data longer than the file", false, kDataEntry + 4, 0x7FFFFFFF, 4},
        {"cut in the data", false, kData + kDataSize / 2, 0, 0},
        {"block longer than the data", false, kData, 0xFFFF, 2},
        {"block shorter than its header", false, kData, 2, 2},
        {"16-bit layout", false, kData + 4, 'V' | ('S' << 8), 2},
    };
    for (const auto& c : cases) {
        if (kRealWin32 && !c.win32Refuses)
            continue;
        SCOPED_TRACE(c.name);
        std::string image = Seed(kStringsSeed);
        if (c.size == 0)
            image.resize(c.offset);
        else
            Put(image, c.offset, c.value, c.size);
        const std::string path = Write("broken.dll", image);
        SetLastError(kSentinel);
        EXPECT_EQ(GetFileVersionInfoSizeA(path.c_str(), nullptr), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
        uint32_t ms = 0;
        uint32_t ls = 0;
        EXPECT_EQ(IoGetVersion(path.c_str(), &ms, &ls), -8);
    }
}

// Win32 fills a buffer too small for the version data with its beginning, and a query then reads
// past it; the Linux layer refuses such a buffer, and text from a block without room for its copy.
TEST_F(VersionsTest, BuffersWithoutRoom) {
    if (kRealWin32)
        GTEST_SKIP() << "Win32 hands out cut blocks";
    const std::string path = Write("a.dll", Seed(kStringsSeed));
    std::string info(2 * kDataSize + 4, '\xCC');
    EXPECT_FALSE(GetFileVersionInfoA(path.c_str(), 0, kDataSize - 1, &info[0]));
    EXPECT_EQ(info, std::string(info.size(), '\xCC'));
    // Room for the data but not for the copies of its texts.
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, kDataSize + 4, &info[0]));
    void* value = nullptr;
    UINT length = 0;
    SetLastError(kSentinel);
    EXPECT_FALSE(
        VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(info.substr(kDataSize), std::string(kDataSize + 4, '\xCC'));
}

// ---------------------------------------------------------------------------------------------
// IoGetVersion

TEST_F(VersionsTest, IoGetVersionResultsAndTheErrorMode) {
    const std::string text = Write("text.txt", "no version here\r\n");
    const struct {
        std::string path;
        int32_t result;
        uint32_t ms; // the words stored, or as they were
        uint32_t ls;
        UINT errorMode; // afterwards, from 0 before
    } cases[] = {
        {"", -1, kSentinel, kSentinel, 0},
        // Found at once: the mode is not touched.
        {Write("a.dll", Seed(kStringsSeed)), 0, 0x00020003, 0x00040005, 0},
        {Write("b.dll", Seed("pe32-codepage-1252")), 0, 0, 0, 0},
        // Of several languages the neutral one, else US English, else the first.
        {Write("c.dll", TwoLanguages(0x0407, 0x0409)), 0, 2, 0, 0},
        {Write("d.dll", TwoLanguages(0x0000, 0x0409)), 0, 1, 0, 0},
        {Write("e.dll", TwoLanguages(0x0407, 0x040C)), 0, 1, 0, 0},
        {text, -8, kSentinel, kSentinel, SEM_NOOPENFILEERRORBOX},
        {Write("empty.dll", ""), -8, kSentinel, kSentinel, SEM_NOOPENFILEERRORBOX},
        {m_dir.Path("missing.dll"), -2, kSentinel, kSentinel, SEM_NOOPENFILEERRORBOX},
    };
    const UINT original = SetErrorMode(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        uint32_t ms = kSentinel;
        uint32_t ls = kSentinel;
        EXPECT_EQ(IoGetVersion(c.path.c_str(), &ms, &ls), c.result);
        EXPECT_EQ(SetErrorMode(0), c.errorMode);
        EXPECT_EQ(ms, c.ms);
        EXPECT_EQ(ls, c.ls);
    }
    SetErrorMode(original);
    uint32_t word = 0;
    EXPECT_EQ(IoGetVersion(nullptr, &word, &word), -1);
    EXPECT_EQ(IoGetVersion(text.c_str(), nullptr, &word), -1);
}

} // namespace
