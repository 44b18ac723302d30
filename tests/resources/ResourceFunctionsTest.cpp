// The Win32 resource functions: module handles, FindResourceA and its errors, the choice of
// language, the binary forms of string tables and icons, and LoadStringA's buffer rules. The
// same source runs against our Linux layer and, under Wine, against Win32; the test program's
// own resources are in resources_tests.rc.
#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr DWORD kProbe = 0xdeadbeef;

HMODULE Program() {
    return GetModuleHandleA(nullptr);
}

std::vector<BYTE> Data(HRSRC found) {
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(Program(), found)));
    return std::vector<BYTE>(p, p + SizeofResource(Program(), found));
}

TEST(FindResourceA, ReportsWhatIsMissingAndLeavesTheErrorAloneOnSuccess) {
    const struct {
        HMODULE module;
        LPCSTR name;
        LPCSTR type;
        DWORD error;
    } cases[] = {
        {GetModuleHandleA("bwcompat.dll"), MAKEINTRESOURCEA(1), RT_STRING,
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {Program(), MAKEINTRESOURCEA(1), RT_BITMAP, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {Program(), MAKEINTRESOURCEA(1), "NOSUCHTYPE", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {Program(), MAKEINTRESOURCEA(999), RT_STRING, ERROR_RESOURCE_NAME_NOT_FOUND},
        {Program(), "NOSUCHICON", RT_GROUP_ICON, ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SetLastError(kProbe);
        EXPECT_EQ(nullptr, FindResourceA(c.module, c.name, c.type));
        EXPECT_EQ(c.error, GetLastError());
    }
    SetLastError(kProbe);
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(100 / 16 + 1), RT_STRING);
    EXPECT_NE(nullptr, found);
    EXPECT_EQ(kProbe, GetLastError());
    EXPECT_EQ(found, FindResourceA(Program(), MAKEINTRESOURCEA(100 / 16 + 1), RT_STRING));
}

// A block is 16 counted UTF-16 strings. The neutral language is preferred, then any there is.
TEST(FindResourceA, StringBlocks) {
    // Block 7 holds 96 to 111: four empty strings, "One hundred", eleven empty ones (101 too).
    std::vector<BYTE> expected(8, 0);
    expected.insert(expected.end(), {11, 0});
    for (char c : std::string("One hundred"))
        expected.insert(expected.end(), {static_cast<BYTE>(c), 0});
    expected.resize(expected.size() + 22, 0);
    EXPECT_EQ(expected, Data(FindResourceA(Program(), MAKEINTRESOURCEA(7), RT_STRING)));

    char buffer[32];
    LoadStringA(Program(), 200, buffer, sizeof buffer);
    EXPECT_STREQ("neutral", buffer);
    LoadStringA(Program(), 300, buffer, sizeof buffer);
    EXPECT_STREQ("nur deutsch", buffer);
}

// Laid out as the platform's resource compiler does: the images numbered on across the groups,
// each group's directory with planes 1 and the bit count of its colours where the file leaves
// them 0, and the images the file's bytes.
TEST(FindResourceA, IconGroups) {
    std::ifstream in(BWCORE_TEST_DATA_DIR "/resources/test.ico", std::ios::binary);
    const std::vector<BYTE> file{std::istreambuf_iterator<char>(in),
                                 std::istreambuf_iterator<char>()};
    ASSERT_EQ(1078u, file.size());
    // clang-format off
    std::vector<BYTE> group = {
        0, 0, 1, 0, 2, 0,
        16, 16, 16, 0, 1, 0, 4, 0, 40, 1, 0, 0, 1, 0,
        32, 32, 0, 0, 1, 0, 4, 0, 232, 2, 0, 0, 2, 0,
    };
    // clang-format on
    EXPECT_EQ(group, Data(FindResourceA(Program(), MAKEINTRESOURCEA(1), RT_GROUP_ICON)));
    group[18] = 3;
    group[32] = 4;
    EXPECT_EQ(group, Data(FindResourceA(Program(), "TestIcon", RT_GROUP_ICON)));
    EXPECT_EQ(group, Data(FindResourceA(Program(), "testicon", RT_GROUP_ICON)));
    for (WORD id = 1; id <= 4; ++id) {
        const size_t offset = id % 2 == 1 ? 38 : 334, size = id % 2 == 1 ? 296 : 744;
        EXPECT_EQ(std::vector<BYTE>(file.begin() + offset, file.begin() + offset + size),
                  Data(FindResourceA(Program(), MAKEINTRESOURCEA(id), RT_ICON)))
            << id;
    }
}

TEST(LoadStringA, CopiesWhatFitsAndTerminates) {
    const struct {
        UINT id;
        int size;
        int result;
        const char* text;
        DWORD error;
    } cases[] = {
        {100, 64, 11, "One hundred", kProbe},
        {100, 12, 11, "One hundred", kProbe},
        {100, 11, 10, "One hundre", kProbe},
        {100, 2, 1, "O", kProbe},
        {100, 1, 0, "", kProbe},
        // Only the low word of the id counts.
        {0x80000064u, 64, 11, "One hundred", kProbe},
        // An empty string, a string missing from a block, a block missing altogether.
        {101, 64, 0, "", kProbe},
        {5000, 64, 0, "", ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " into " + std::to_string(c.size));
        char buffer[80];
        std::memset(buffer, 'x', sizeof buffer);
        SetLastError(kProbe);
        EXPECT_EQ(c.result, LoadStringA(Program(), c.id, buffer, c.size));
        EXPECT_EQ(c.error, GetLastError());
        EXPECT_STREQ(c.text, buffer);
        EXPECT_EQ('x', buffer[c.result + 1]) << "written past the terminator";
    }
}

} // namespace
