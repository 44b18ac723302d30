// Version resources: GetFileVersionInfoSizeA, GetFileVersionInfoA and VerQueryValueA over the PE
// files that versions.tsv was measured on, over small images built by the test (well-formed and
// broken), and IoGetVersion on top of them. The same source runs against the Linux layer and, in
// the Windows build, against Win32.
#include "../win32/ReferenceTable.h"
#include "../win32/TestDirectory.h"
#include "PeImage.h"
#include "Sha256.h"

#include <bwcore/bwcore.h>
#include <bwcore/runtime/Io.h>

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <functional>
#include <iostream>
#include <map>
#include <string>

namespace {

// Wine's 64-bit PE directory (Debian's wine64 package), reached through Wine's drive Z: under
// Wine and through the drive mapping of the Linux layer natively.
const char kWinePeDirectory[] = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";

const DWORD kSentinel = 0xdeadbeef;

// Whether the program runs against Win32 itself (the Windows build, under Wine) rather than the
// Linux layer.
const bool kRealWin32 = BWCORE_TEST_REAL_WIN32;

std::string FileSha256(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    Sha256 hash;
    std::string buffer(1 << 16, '\0');
    DWORD read = 0;
    while (ReadFile(file, &buffer[0], static_cast<DWORD>(buffer.size()), &read, nullptr) &&
           read > 0)
        hash.Update(buffer.data(), read);
    CloseHandle(file);
    return hash.HexDigest();
}

std::string Hex(DWORD value) {
    char text[16];
    snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// "0x2" and "0x00000002" alike.
DWORD HexValue(const std::string& text) {
    return static_cast<DWORD>(strtoul(text.c_str(), nullptr, 16));
}

// What the three calls give for one file, in the reference table's terms.
struct VersionQuery {
    DWORD size = 0;
    DWORD sizeError = 0;
    DWORD handle = kSentinel;
    bool fixedFound = false;
    UINT fixedLength = 0;
    VS_FIXEDFILEINFO fixed = {};
    std::string translation = "-";
};

VersionQuery QueryVersion(const std::string& path) {
    VersionQuery q;
    SetLastError(kSentinel);
    q.size = GetFileVersionInfoSizeA(path.c_str(), &q.handle);
    q.sizeError = GetLastError();
    if (q.size == 0)
        return q;
    std::string info(q.size, '\xCC');
    if (!GetFileVersionInfoA(path.c_str(), 0, q.size, &info[0]))
        return q;
    void* value = nullptr;
    q.fixedFound = VerQueryValueA(info.data(), "\\", &value, &q.fixedLength) != FALSE;
    if (q.fixedFound && q.fixedLength >= sizeof(VS_FIXEDFILEINFO))
        memcpy(&q.fixed, value, sizeof q.fixed);
    UINT length = 0;
    if (VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) && length >= 4) {
        DWORD translation = 0;
        memcpy(&translation, value, 4);
        q.translation = Hex(translation);
    }
    return q;
}

void ExpectRow(const ReferenceTable& table, size_t row, const VersionQuery& q) {
    EXPECT_EQ(q.size, std::stoul(table.Get(row, "size")));
    EXPECT_EQ(q.handle, 0u);
    if (q.size == 0) {
        EXPECT_EQ(q.sizeError, std::stoul(table.Get(row, "size_error")));
        return;
    }
    ASSERT_TRUE(q.fixedFound);
    EXPECT_EQ(q.fixedLength, std::stoul(table.Get(row, "query_len")));
    const VS_FIXEDFILEINFO& f = q.fixed;
    EXPECT_EQ(f.dwSignature, HexValue(table.Get(row, "signature")));
    EXPECT_EQ(f.dwFileVersionMS, HexValue(table.Get(row, "file_version_ms")));
    EXPECT_EQ(f.dwFileVersionLS, HexValue(table.Get(row, "file_version_ls")));
    EXPECT_EQ(f.dwProductVersionMS, HexValue(table.Get(row, "product_version_ms")));
    EXPECT_EQ(f.dwProductVersionLS, HexValue(table.Get(row, "product_version_ls")));
    EXPECT_EQ(f.dwFileFlags, HexValue(table.Get(row, "file_flags")));
    EXPECT_EQ(f.dwFileOS, HexValue(table.Get(row, "file_os")));
    EXPECT_EQ(f.dwFileType, HexValue(table.Get(row, "file_type")));
    EXPECT_EQ(f.dwFileSubtype, HexValue(table.Get(row, "file_subtype")));
    EXPECT_EQ(q.translation, table.Get(row, "translation"));
}

// The row of a file in versions.tsv or versions_files.tsv.
size_t FindRow(const ReferenceTable& table, const std::string& name) {
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (table.Get(row, "name") == name)
            return row;
    }
    ADD_FAILURE() << "no row " << name;
    return 0;
}

std::string AsString(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// ---------------------------------------------------------------------------------------------
// The reference table

// Every PE file of the table that this machine has in the same version (same SHA-256).
TEST(VersionsReference, WinePeFiles) {
    const ReferenceTable files("versions_files.tsv");
    std::map<std::string, std::string> hashes;
    for (size_t row = 0; row < files.RowCount(); ++row)
        hashes[files.Get(row, "name")] = files.Get(row, "sha256");
    const ReferenceTable table("versions.tsv");
    int checked = 0;
    int absent = 0;
    int different = 0;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        if (table.Get(row, "set") != "pe")
            continue;
        const std::string name = table.Get(row, "name");
        const std::string path = kWinePeDirectory + name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            ++absent;
            continue;
        }
        if (FileSha256(path) != hashes[name]) {
            ++different;
            continue;
        }
        SCOPED_TRACE(name);
        ExpectRow(table, row, QueryVersion(path));
        ++checked;
    }
    if (checked == 0)
        GTEST_SKIP() << "the Wine PE files are not installed in " << kWinePeDirectory;
    if (absent + different > 0)
        std::cout << "checked " << checked << " files; " << absent << " absent, " << different
                  << " in another version\n";
}

TEST(VersionsReference, FilesThatAreNoPeImages) {
    TestDirectory dir;
    dir.WriteFile("text.txt", "This text file has no version resource.\r\n\r\n");
    dir.WriteFile("empty.dll", "");
    const ReferenceTable table("versions.tsv");
    for (const char* name : {"text.txt", "empty.dll", "missing.dll"}) {
        SCOPED_TRACE(name);
        ExpectRow(table, FindRow(table, name), QueryVersion(dir.Path(name)));
    }
}

TEST(VersionsReference, IoGetVersionOfAWineFile) {
    const std::string path = std::string(kWinePeDirectory) + "advapi32.dll";
    const ReferenceTable files("versions_files.tsv");
    if (FileSha256(path) != files.Get(FindRow(files, "advapi32.dll"), "sha256"))
        GTEST_SKIP() << path << " is not installed in the version measured";
    const ReferenceTable table("versions.tsv");
    const size_t row = FindRow(table, "advapi32.dll");
    uint32_t ms = kSentinel;
    uint32_t ls = kSentinel;
    EXPECT_EQ(IoGetVersion(path.c_str(), &ms, &ls), 0);
    EXPECT_EQ(ms, HexValue(table.Get(row, "file_version_ms")));
    EXPECT_EQ(ls, HexValue(table.Get(row, "file_version_ls")));
}

// ---------------------------------------------------------------------------------------------
// Images built by the test

VersionFields SampleFields() {
    VersionFields fields;
    fields.fileVersionMS = 0x00020003;
    fields.fileVersionLS = 0x00040005;
    fields.productVersionMS = 0x00060007;
    fields.productVersionLS = 0x00080009;
    fields.fileFlags = 0x2;
    fields.strings = {{"CompanyName", "Brindlewick"}, {"FileVersion", "2.3.4.5"}, {"Comments", ""}};
    return fields;
}

class VersionsTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        m_dir.WriteFile(name, AsString(bytes));
        return m_dir.Path(name);
    }

    TestDirectory m_dir;
};

TEST_F(VersionsTest, WellFormedImages) {
    const VersionFields fields = SampleFields();
    const Bytes data = BuildVersionData(fields);
    for (bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        const std::string path = Write("a.dll", BuildPeImage(pe32Plus, {{0x0409, data}}));
        DWORD handle = kSentinel;
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
        EXPECT_EQ(size, 2 * data.size() + 4);
        EXPECT_EQ(handle, 0u);

        // The buffer is filled with a sentinel and has guard bytes past its end.
        std::string info(size + 16, '\xCC');
        ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &info[0]));
        EXPECT_EQ(info.substr(0, data.size()), AsString(data));
        EXPECT_EQ(info.substr(data.size(), 4), "FE2X");
        EXPECT_EQ(info.substr(size), std::string(16, '\xCC'));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = kSentinel;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, fields.fileVersionMS);
        EXPECT_EQ(fixed->dwFileVersionLS, fields.fileVersionLS);
        EXPECT_EQ(fixed->dwProductVersionMS, fields.productVersionMS);
        EXPECT_EQ(fixed->dwProductVersionLS, fields.productVersionLS);
        EXPECT_EQ(fixed->dwFileFlags, fields.fileFlags);
        EXPECT_EQ(fixed->dwFileOS, fields.fileOS);
        EXPECT_EQ(fixed->dwFileType, fields.fileType);

        uint32_t ms = 0;
        uint32_t ls = 0;
        EXPECT_EQ(IoGetVersion(path.c_str(), &ms, &ls), 0);
        EXPECT_EQ(ms, fields.fileVersionMS);
        EXPECT_EQ(ls, fields.fileVersionLS);
    }
}

TEST_F(VersionsTest, QueriesBySubBlock) {
    const Bytes data = BuildVersionData(SampleFields());
    const std::string path = Write("a.dll", BuildPeImage(true, {{0x0409, data}}));
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_EQ(size, 2 * data.size() + 4);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, &info[0]));
    const struct {
        const char* subBlock;
        const char* text; // the value as text, or null for a binary value of `length` bytes
        UINT length;
    } found[] = {
        {"", nullptr, 52},
        {"\\", nullptr, 52},
        {"\\VarFileInfo\\Translation", nullptr, 4},
        {"\\VarFileInfo", nullptr, 0},
        {"\\StringFileInfo", nullptr, 0},
        {"\\StringFileInfo\\040904B0", nullptr, 0},
        {"\\StringFileInfo\\040904B0\\CompanyName", "Brindlewick", 12},
        {"\\StringFileInfo\\040904B0\\FileVersion", "2.3.4.5", 8},
        {"\\stringfileinfo\\040904b0\\FILEVERSION", "2.3.4.5", 8},
        {"\\\\StringFileInfo\\\\040904B0\\FileVersion\\", "2.3.4.5", 8},
        {"StringFileInfo\\040904B0\\FileVersion", "2.3.4.5", 8},
        {"\\StringFileInfo\\040904B0\\Comments", "", 1},
    };
    for (const auto& c : found) {
        SCOPED_TRACE(c.subBlock);
        void* value = nullptr;
        UINT length = kSentinel;
        ASSERT_TRUE(VerQueryValueA(info.data(), c.subBlock, &value, &length));
        EXPECT_EQ(length, c.length);
        const size_t offset = static_cast<const char*>(value) - info.data();
        EXPECT_LE(offset, info.size());
        if (c.text != nullptr) {
            // Text comes as an 8-bit copy in the buffer's second half.
            EXPECT_GE(offset, data.size() + 4);
            EXPECT_STREQ(static_cast<const char*>(value), c.text);
        }
    }
    for (const char* subBlock :
         {"\\Nope", "\\StringFileInfo\\040904B0\\Nope", "\\StringFileInfo\\040904E4\\FileVersion",
          "\\VarFileInfo\\Translation\\More", "\\StringFileInfo\\040904B"}) {
        SCOPED_TRACE(subBlock);
        void* value = nullptr;
        UINT length = kSentinel;
        SetLastError(kSentinel);
        EXPECT_FALSE(VerQueryValueA(info.data(), subBlock, &value, &length));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
        EXPECT_EQ(length, 0u);
    }
}

TEST_F(VersionsTest, LanguageOfSeveral) {
    auto version = [](uint32_t ms) {
        VersionFields fields;
        fields.fileVersionMS = ms;
        return BuildVersionData(fields);
    };
    const struct {
        std::vector<PeResource> resources;
        uint32_t chosen;
    } cases[] = {
        {{{0x0407, version(0x0407)}, {0x0409, version(0x0409)}}, 0x0409},
        {{{0x0000, version(0x0000)}, {0x0409, version(0x0409)}}, 0x0000},
        {{{0x0407, version(0x0407)}, {0x040C, version(0x040C)}}, 0x0407},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        const std::string path = Write("a.dll", BuildPeImage(true, c.resources));
        uint32_t ms = kSentinel;
        uint32_t ls = kSentinel;
        EXPECT_EQ(IoGetVersion(path.c_str(), &ms, &ls), 0);
        EXPECT_EQ(ms, c.chosen);
    }
}

// Broken images are refused like files without version information, and never read out of
// bounds (the sanitizer builds watch that). Win32 (as measured under Wine) refuses the broken
// headers and tables too, but takes a broken version block as it is, and reads past the file for
// data outside it: those rows are the Linux layer's alone.
TEST_F(VersionsTest, BrokenImages) {
    const Bytes data = BuildVersionData(SampleFields());
    PeLayout at;
    const Bytes good = BuildPeImage(true, {{0x0409, data}}, &at);
    const size_t rootEntry = at.resourceSection + 16;
    const struct {
        const char* name;
        bool win32Refuses;
        std::function<void(Bytes&)> breakIt;
    } cases[] = {
        {"no MZ", true, [&](Bytes& b) { b[0] = 'X'; }},
        {"e_lfanew past the end", true, [&](Bytes& b) { Put32(b, 0x3C, 0xFFFFFFF0u); }},
        {"no PE signature", true, [&](Bytes& b) { b[at.ntHeaders] = 'X'; }},
        {"unknown optional header", true, [&](Bytes& b) { Put16(b, at.optionalHeader, 0x999); }},
        {"no resource directory", true, [&](Bytes& b) { Put32(b, at.resourceDirectory, 0); }},
        {"resources outside the sections", true,
         [&](Bytes& b) { Put32(b, at.resourceDirectory, 0x9000); }},
        {"section data past the end", true,
         [&](Bytes& b) { Put32(b, at.sectionTable + 20, 0x100000); }},
        {"type entry without its level", true, [&](Bytes& b) { Put32(b, rootEntry + 4, 0x18); }},
        {"type table outside", true, [&](Bytes& b) { Put32(b, rootEntry + 4, 0xFFFFFF00u); }},
        {"type as a name", true, [&](Bytes& b) { Put32(b, rootEntry, 0x80000100u); }},
        {"too many entries", true, [&](Bytes& b) { Put16(b, at.resourceSection + 14, 0xFFFF); }},
        {"no language", true, [&](Bytes& b) { Put16(b, at.nameTable + 14, 0); }},
        {"cut in the DOS header", true, [&](Bytes& b) { b.resize(40); }},
        {"cut in the PE headers", true, [&](Bytes& b) { b.resize(at.optionalHeader + 10); }},
        {"cut in the section table", true, [&](Bytes& b) { b.resize(at.sectionTable + 12); }},
        {"cut in the resource tables", true, [&](Bytes& b) { b.resize(at.nameTable + 4); }},
        {"data outside the sections", false, [&](Bytes& b) { Put32(b, at.dataEntries, 0x50000); }},
        {"data longer than the file", false,
         [&](Bytes& b) { Put32(b, at.dataEntries + 4, 0x7FFFFFFF); }},
        {"cut in the data", false, [&](Bytes& b) { b.resize(at.data[0] + data.size() / 2); }},
        {"block longer than the data", false, [&](Bytes& b) { Put16(b, at.data[0], 0xFFFF); }},
        {"block shorter than its header", false, [&](Bytes& b) { Put16(b, at.data[0], 2); }},
        {"16-bit layout", false, [&](Bytes& b) { Put16(b, at.data[0] + 4, 'V' | ('S' << 8)); }},
    };
    for (const auto& c : cases) {
        if (kRealWin32 && !c.win32Refuses)
            continue;
        SCOPED_TRACE(c.name);
        Bytes image = good;
        c.breakIt(image);
        const std::string path = Write("broken.dll", image);
        SetLastError(kSentinel);
        EXPECT_EQ(GetFileVersionInfoSizeA(path.c_str(), nullptr), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
        std::string info(2 * good.size(), '\0');
        EXPECT_FALSE(
            GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), &info[0]));
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
    const Bytes data = BuildVersionData(SampleFields());
    const std::string path = Write("a.dll", BuildPeImage(true, {{0x0409, data}}));
    std::string info(2 * data.size() + 4, '\xCC');
    SetLastError(kSentinel);
    EXPECT_FALSE(
        GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size() - 1), &info[0]));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(info, std::string(info.size(), '\xCC'));

    // Room for the data but not for the copies: binary values are there, text is not.
    ASSERT_TRUE(
        GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size() + 4), &info[0]));
    EXPECT_EQ(info.substr(data.size(), 4), std::string(4, '\xCC'));
    void* value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    EXPECT_EQ(length, 52u);
    SetLastError(kSentinel);
    EXPECT_FALSE(
        VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileVersion", &value, &length));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(info.substr(data.size()), std::string(data.size() + 4, '\xCC'));
}

// ---------------------------------------------------------------------------------------------
// IoGetVersion

TEST_F(VersionsTest, IoGetVersionFailures) {
    m_dir.WriteFile("text.txt", "no version here\r\n");
    m_dir.WriteFile("empty.dll", "");
    const struct {
        std::string path;
        int32_t result;
    } cases[] = {
        {"", -1},
        {m_dir.Path("missing.dll"), -2},
        {m_dir.Path("nodir") + "\\missing.dll", -2},
        {m_dir.Path("text.txt"), -8},
        {m_dir.Path("empty.dll"), -8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        uint32_t ms = kSentinel;
        uint32_t ls = kSentinel;
        EXPECT_EQ(IoGetVersion(c.path.c_str(), &ms, &ls), c.result);
        EXPECT_EQ(ms, kSentinel);
        EXPECT_EQ(ls, kSentinel);
    }
    uint32_t word = 0;
    EXPECT_EQ(IoGetVersion(nullptr, &word, &word), -1);
    EXPECT_EQ(IoGetVersion(m_dir.Path("text.txt").c_str(), nullptr, &word), -1);
}

TEST_F(VersionsTest, IoGetVersionLeavesTheErrorModeWhenItLooksForTheFile) {
    const std::string text = m_dir.Path("text.txt");
    m_dir.WriteFile("text.txt", "no version here\r\n");
    const std::string pe = Write("a.dll", BuildPeImage(true, {{0x0409, BuildVersionData({})}}));
    const UINT original = SetErrorMode(0);
    uint32_t ms = 0;
    uint32_t ls = 0;
    EXPECT_EQ(IoGetVersion(pe.c_str(), &ms, &ls), 0);
    EXPECT_EQ(SetErrorMode(0), 0u); // found at once: the mode is not touched
    EXPECT_EQ(IoGetVersion(text.c_str(), &ms, &ls), -8);
    EXPECT_EQ(SetErrorMode(0), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
    EXPECT_EQ(IoGetVersion(m_dir.Path("missing.dll").c_str(), &ms, &ls), -2);
    EXPECT_EQ(SetErrorMode(original), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
}

} // namespace
