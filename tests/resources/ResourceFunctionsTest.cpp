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
constexpr DWORD kModuleNotFound = 126; // ERROR_MOD_NOT_FOUND

HMODULE Program() {
    return GetModuleHandleA(nullptr);
}
HMODULE Library() {
    return GetModuleHandleA("bwcore.dll");
}

std::vector<BYTE> Data(HMODULE module, HRSRC found) {
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return std::vector<BYTE>(p, p + SizeofResource(module, found));
}

std::string Load(HMODULE module, UINT id) {
    char buffer[256];
    LoadStringA(module, id, buffer, sizeof buffer);
    return buffer;
}

TEST(GetModuleHandleA, NamesTheLoadedModules) {
    ASSERT_NE(nullptr, Program());
    ASSERT_NE(nullptr, Library());
    EXPECT_NE(Program(), Library());
    // Case does not matter, and a name without an extension means a DLL.
    EXPECT_EQ(Library(), GetModuleHandleA("BWCORE.DLL"));
    EXPECT_EQ(Library(), GetModuleHandleA("bwcore"));
    EXPECT_NE(nullptr, GetModuleHandleA("bwcompat.dll"));
    EXPECT_NE(Library(), GetModuleHandleA("bwcompat.dll"));

    SetLastError(kProbe);
    EXPECT_EQ(nullptr, GetModuleHandleA("bwnosuchmodule.dll"));
    EXPECT_EQ(kModuleNotFound, GetLastError());
}

TEST(FindResourceA, ReportsWhatIsMissing) {
    const HMODULE program = Program();
    const HMODULE noResources = GetModuleHandleA("bwcompat.dll");
    const struct {
        const char* what;
        HMODULE module;
        LPCSTR name;
        LPCSTR type;
        DWORD error;
    } cases[] = {
        {"module without resources", noResources, MAKEINTRESOURCEA(1), RT_STRING,
         ERROR_RESOURCE_DATA_NOT_FOUND},
        {"type missing", program, MAKEINTRESOURCEA(1), RT_BITMAP, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"type name missing", program, MAKEINTRESOURCEA(1), "NOSUCHTYPE",
         ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"name missing", program, MAKEINTRESOURCEA(999), RT_STRING, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"name string missing", program, "NOSUCHICON", RT_GROUP_ICON,
         ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(kProbe);
        EXPECT_EQ(nullptr, FindResourceA(c.module, c.name, c.type));
        EXPECT_EQ(c.error, GetLastError());
    }
}

TEST(FindResourceA, SuccessLeavesTheLastErrorAlone) {
    SetLastError(kProbe);
    HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(100 / 16 + 1), RT_STRING);
    EXPECT_NE(nullptr, found);
    EXPECT_EQ(kProbe, GetLastError());
    // A null module is the program itself.
    EXPECT_EQ(found, FindResourceA(nullptr, MAKEINTRESOURCEA(100 / 16 + 1), RT_STRING));
}

TEST(FindResourceA, PrefersTheNeutralLanguageThenTakesAnyThereIs) {
    EXPECT_EQ("neutral", Load(Program(), 200));
    EXPECT_EQ("nur deutsch", Load(Program(), 300));

    const WORD german = 0x0407;
    HRSRC found = FindResourceExA(Program(), RT_STRING, MAKEINTRESOURCEA(200 / 16 + 1), german);
    ASSERT_NE(nullptr, found);
    const std::vector<BYTE> block = Data(Program(), found);
    // String 200 is index 8 of block 13: eight empty strings, then length 7, "deutsch".
    ASSERT_EQ(32u + 2 * 7, block.size());
    EXPECT_EQ(7, block[16]);
    EXPECT_EQ('d', block[18]);
}

TEST(FindResourceA, StringBlockIsSixteenCountedStrings) {
    HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(100 / 16 + 1), RT_STRING);
    ASSERT_NE(nullptr, found);
    // Block 7 holds 96 to 111: four empty strings, "One hundred" (length 11, in UTF-16), and
    // eleven empty strings, the empty 101 among them.
    std::vector<BYTE> expected(8, 0);
    expected.push_back(11);
    expected.push_back(0);
    for (char c : std::string("One hundred")) {
        expected.push_back(static_cast<BYTE>(c));
        expected.push_back(0);
    }
    expected.resize(expected.size() + 22, 0);
    EXPECT_EQ(expected, Data(Program(), found));
}

std::vector<BYTE> IconFile() {
    std::ifstream in(BWCORE_TEST_DATA_DIR "/resources/test.ico", std::ios::binary);
    EXPECT_TRUE(in);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FindResourceA, IconGroupsAreLaidOutAsTheResourceCompilerDoes) {
    const std::vector<BYTE> file = IconFile();
    ASSERT_EQ(1078u, file.size());
    // The directory of each group: reserved, type 1, count 2; per image width, height, colour
    // count, reserved, planes, bit count, size and RT_ICON id. The file leaves planes and bit
    // count of the first image 0; the group has planes 1 and the 4 bits of its 16 colours.
    // clang-format off
    const std::vector<BYTE> group1 = {
        0, 0, 1, 0, 2, 0,
        16, 16, 16, 0, 1, 0, 4, 0, 40, 1, 0, 0, 1, 0,
        32, 32, 0, 0, 1, 0, 4, 0, 232, 2, 0, 0, 2, 0,
    };
    // clang-format on
    std::vector<BYTE> group2 = group1;
    group2[18] = 3;
    group2[32] = 4;
    const struct {
        LPCSTR name;
        const std::vector<BYTE>& directory;
    } groups[] = {
        {MAKEINTRESOURCEA(1), group1},
        {"TestIcon", group2},
        {"testicon", group2},
    };
    for (const auto& g : groups) {
        SCOPED_TRACE(IS_INTRESOURCE(g.name) ? "1" : g.name);
        HRSRC found = FindResourceA(Program(), g.name, RT_GROUP_ICON);
        ASSERT_NE(nullptr, found);
        EXPECT_EQ(g.directory, Data(Program(), found));
    }

    // The images are the file's bytes, under the ids the directories name.
    const struct {
        WORD id;
        size_t offset;
        size_t size;
    } images[] = {{1, 38, 296}, {2, 334, 744}, {3, 38, 296}, {4, 334, 744}};
    for (const auto& image : images) {
        SCOPED_TRACE(image.id);
        HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(image.id), RT_ICON);
        ASSERT_NE(nullptr, found);
        EXPECT_EQ(std::vector<BYTE>(file.begin() + image.offset,
                                    file.begin() + image.offset + image.size),
                  Data(Program(), found));
    }
}

TEST(LoadStringA, CopiesWhatFitsAndTerminates) {
    const struct {
        UINT id;
        int size;
        int result;
        const char* text;
    } cases[] = {
        {100, 64, 11, "One hundred"},
        {100, 12, 11, "One hundred"},
        {100, 11, 10, "One hundre"},
        {100, 2, 1, "O"},
        {100, 1, 0, ""},
        // Only the low word of the id counts: 100 with 0x8000 in the high word.
        {0x80000064u, 64, 11, "One hundred"},
        // An empty string, a string missing from a block, a block missing altogether.
        {101, 64, 0, ""},
        {102, 64, 0, ""},
        {5000, 64, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " into " + std::to_string(c.size));
        char buffer[80];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(c.result, LoadStringA(Program(), c.id, buffer, c.size));
        EXPECT_STREQ(c.text, buffer);
        EXPECT_EQ('x', buffer[c.result + 1]) << "written past the terminator";
    }
}

TEST(LoadStringA, LastErrorTellsAMissingBlockOnly) {
    char buffer[16];
    SetLastError(kProbe);
    EXPECT_EQ(0, LoadStringA(Program(), 5000, buffer, sizeof buffer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());
    SetLastError(kProbe);
    EXPECT_EQ(0, LoadStringA(Program(), 100, buffer, 1));
    EXPECT_EQ(kProbe, GetLastError());
    EXPECT_EQ(11, LoadStringA(Program(), 100, buffer, sizeof buffer));
    EXPECT_EQ(kProbe, GetLastError());
}

TEST(LoadStringA, ZeroSizedBufferGivesMinusOneAndIsNotWritten) {
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(-1, LoadStringA(Program(), 100, buffer, 0));
    EXPECT_EQ(-1, LoadStringA(Program(), 5000, buffer, 0));
    EXPECT_EQ('x', buffer[0]);
}

} // namespace
