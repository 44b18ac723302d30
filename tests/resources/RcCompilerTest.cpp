// rc2c, the Linux build's resource compiler: the binary forms it writes (held against what the
// Windows build's compiler writes for the same script), and its errors on bad input, each at the
// file and line of the fault.
#include "RcParser.h"
#include "ResourceSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class RcCompilerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::path(::testing::TempDir()) / (std::string("rc2c_") + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }

    void WriteFile(const std::string& name, const std::string& content) const {
        std::ofstream out(PathOf(name), std::ios::binary);
        out << content;
    }

    std::vector<rc2c::Resource> Compile(const std::string& script) const {
        rc2c::ResourceSet set;
        rc2c::RcParser parser(set);
        parser.parseText(script, PathOf("t.rc"));
        return set.resources();
    }

    // The error message for script, without the directory part of the file name.
    std::string ErrorOf(const std::string& script) const {
        try {
            Compile(script);
        } catch (const rc2c::RcError& e) {
            std::string message = e.what();
            const std::string prefix = dir.string() + "/";
            if (message.compare(0, prefix.size(), prefix) == 0)
                message.erase(0, prefix.size());
            while (message.find(prefix) != std::string::npos)
                message.erase(message.find(prefix), prefix.size());
            return message;
        }
        return "(no error)";
    }

    fs::path dir;
};

std::vector<uint8_t> Utf16Block(const std::vector<std::string>& sixteen) {
    std::vector<uint8_t> out;
    for (const std::string& s : sixteen) {
        out.push_back(static_cast<uint8_t>(s.size()));
        out.push_back(static_cast<uint8_t>(s.size() >> 8));
        for (char c : s) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(0);
        }
    }
    return out;
}

// A valid icon file of two images; the first leaves planes and bit count 0.
std::string TwoImageIcon() {
    std::string ico("\0\0\1\0\2\0", 6);
    auto entry = [&](char w, char colours, char planes, char bits, char size, char offset) {
        ico += std::string{w, w, colours, 0, planes, 0, bits, 0, size, 0, 0, 0, offset, 0, 0, 0};
    };
    entry(16, 16, 0, 0, 3, 38);
    entry(32, 0, 1, 32, 2, 41);
    return ico + "abcde";
}

TEST_F(RcCompilerTest, StringEscapesAndJoinedStrings) {
    const auto resources = Compile("STRINGTABLE\n"
                                   "BEGIN\n"
                                   "    1, \"a\\nb\\\\c\"\"d\\te\\rf\"\n"
                                   "    2 \"x\" \"y\"\n"
                                   "END\n");
    ASSERT_EQ(1u, resources.size());
    EXPECT_EQ(rc2c::ResourceTypeString, resources[0].Type);
    EXPECT_EQ(1, resources[0].Name.Id);
    // Without a LANGUAGE statement resources are US English, as in the Windows build.
    EXPECT_EQ(1033, resources[0].Language);
    std::vector<std::string> strings(16);
    strings[1] = "a\nb\\c\"d\te\rf";
    strings[2] = "xy";
    EXPECT_EQ(Utf16Block(strings), resources[0].Data);
}

TEST_F(RcCompilerTest, StringsGoIntoBlocksPerLanguage) {
    const auto resources = Compile("#include <winresrc.h>\n"
                                   "#define LAST 31\n"
                                   "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
                                   "STRINGTABLE DISCARDABLE { 16, \"de\" }\n"
                                   "LANGUAGE 0, 0\n"
                                   "STRINGTABLE { LAST, \"neutral\" 16 \"n\" }\n");
    ASSERT_EQ(2u, resources.size());
    // Sorted by language within the block: neutral (0) before German (0x0407).
    EXPECT_EQ(0, resources[0].Language);
    EXPECT_EQ(0x0407, resources[1].Language);
    std::vector<std::string> neutral(16), german(16);
    neutral[0] = "n";
    neutral[15] = "neutral";
    german[0] = "de";
    EXPECT_EQ(2, resources[0].Name.Id);
    EXPECT_EQ(Utf16Block(neutral), resources[0].Data);
    EXPECT_EQ(Utf16Block(german), resources[1].Data);
}

TEST_F(RcCompilerTest, IconsAreGroupsOfNumberedImages) {
    WriteFile("two.ico", TwoImageIcon());
    const auto resources = Compile("5 ICON \"two.ico\"\n"
                                   "folder ICON MOVEABLE PURE \"two.ico\"\n");
    ASSERT_EQ(6u, resources.size());
    // RT_ICON images numbered from 1 across the script, then the groups, ids before names.
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rc2c::ResourceTypeIcon, resources[i].Type);
        EXPECT_EQ(i + 1, resources[i].Name.Id);
        EXPECT_EQ(i % 2 == 0 ? "abc" : "de",
                  std::string(resources[i].Data.begin(), resources[i].Data.end()));
    }
    EXPECT_EQ(rc2c::ResourceTypeGroupIcon, resources[4].Type);
    EXPECT_EQ(5, resources[4].Name.Id);
    const std::vector<uint8_t> group = {0,  0,  1,  0, 2, 0,                           //
                                        16, 16, 16, 0, 1, 0, 4,  0, 3, 0, 0, 0, 1, 0,  //
                                        32, 32, 0,  0, 1, 0, 32, 0, 2, 0, 0, 0, 2, 0}; //
    EXPECT_EQ(group, resources[4].Data);
    EXPECT_EQ("FOLDER", resources[5].Name.Name);
    EXPECT_EQ(3, resources[5].Data[18]);
}

TEST_F(RcCompilerTest, IncludedScriptsAndIconsAreFoundBesideTheirScript) {
    fs::create_directories(dir / "sub");
    WriteFile("sub/two.ico", TwoImageIcon());
    WriteFile("sub/ids.rc", "#define FIRST 7 // the first id\n"
                            "FIRST ICON \"two.ico\"\n");
    const auto resources = Compile("#include \"sub/ids.rc\"\n"
                                   "STRINGTABLE { FIRST, \"seven\" }\n");
    // Sorted by type: the two images, the string block, the group.
    ASSERT_EQ(4u, resources.size());
    EXPECT_EQ(rc2c::ResourceTypeString, resources[2].Type);
    EXPECT_EQ(1, resources[2].Name.Id);
    EXPECT_EQ(rc2c::ResourceTypeGroupIcon, resources[3].Type);
    EXPECT_EQ(7, resources[3].Name.Id);
}

TEST_F(RcCompilerTest, BadInputIsReportedWhereItIs) {
    WriteFile("cursor.ico", std::string("\0\0\2\0\1\0", 6));
    WriteFile("short.ico", std::string("\0\0\1\0\2\0", 6) + std::string(20, '\0'));
    WriteFile("outside.ico", std::string("\0\0\1\0\1\0", 6) +
                                 std::string("\x10\x10\0\0\1\0\4\0\x10\0\0\0\x16\0\0\0", 16));
    WriteFile("loop.rc", "#include \"loop.rc\"\n");
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"STRINGTABLE\nBEGIN\n 1, \"abc\nEND\n", "t.rc:3: unterminated string"},
        {"STRINGTABLE\nBEGIN\n 1, \"a\\qb\"\nEND\n",
         "t.rc:3: unsupported escape sequence: backslash before 'q' "
         "(supported: \\n \\r \\t \\\\ and \"\")"},
        {"STRINGTABLE\nBEGIN\n 1, \"say \\\"hi\\\"\"\nEND\n",
         "t.rc:3: write a quote inside a string as \"\", not \\\""},
        {"STRINGTABLE { 1, \"caf\xC3\xA9\" }", "t.rc:1: non-ASCII byte 0xC3 in a string"},
        {"STRINGTABLE { 1, L\"wide\" }",
         "t.rc:1: prefixed strings such as L\"...\" are not supported"},
        {"STRINGTABLE {\n 70000, \"x\" }", "t.rc:2: string id 70000 is out of range (0 to 65535)"},
        {"STRINGTABLE {\n 1, \"x\"\n 1, \"y\" }",
         "t.rc:3: duplicate string id 1 in language 1033 (first defined at t.rc:2)"},
        {"STRINGTABLE\nBEGIN\n 1, \"x\"\n", "t.rc:1: STRINGTABLE has no END"},
        {"STRINGTABLE BEGIN 1 END", "t.rc:1: expected the text of string 1, found 'END'"},
        {"STRINGTABLE 1, \"x\"", "t.rc:1: expected BEGIN after STRINGTABLE, found number 1"},
        {"STRINGTABLE { 010, \"x\" }",
         "t.rc:1: number '010' has a leading zero (octal is not supported)"},
        {"STRINGTABLE { 0x1FFFFFFFF, \"x\" }",
         "t.rc:1: number '0x1FFFFFFFF' does not fit in 32 bits"},
        {"STRINGTABLE { 12ab, \"x\" }", "t.rc:1: '12ab' is not a number"},
        {"LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
         "t.rc:1: unknown identifier 'LANG_ENGLISH' (#include <winresrc.h> defines the language "
         "names)"},
        {"LANGUAGE 9 1", "t.rc:1: expected ',' between the language numbers, found number 1"},
        {"LANGUAGE 1024, 1", "t.rc:1: language 1024 is out of range (0 to 1023)"},
        {"LANGUAGE 9,\n 64", "t.rc:2: sublanguage 64 is out of range (0 to 63)"},
        {"#include <windows.h>",
         "t.rc:1: cannot include <windows.h> (of the system headers only <winresrc.h> is known)"},
        {"#include missing.rc", "t.rc:1: expected #include \"file\" or #include <winresrc.h>"},
        {"#include \"missing.rc\"", "t.rc:1: cannot open included file 'missing.rc'"},
        {"#include \"loop.rc\"",
         "loop.rc:1: includes nested more than 16 deep (an include cycle?)"},
        {"#if 0\n#endif", "t.rc:1: unsupported directive '#if'"},
        {"#define X 1\n#define X 2", "t.rc:2: X redefined as 2 (it is 1 from t.rc:1)"},
        {"#define 9X 1", "t.rc:1: expected #define NAME number"},
        {"#define X", "t.rc:1: #define X needs a number"},
        {"LANGUAGE 9, 1 #define", "t.rc:1: '#' must start a line"},
        {"STRINGTABLE {\n#define X 1\n}",
         "t.rc:2: directives are not supported inside a STRINGTABLE"},
        {"1 BITMAP \"x.bmp\"",
         "t.rc:1: unsupported resource type 'BITMAP' (supported: ICON, STRINGTABLE, LANGUAGE)"},
        {"1 ICON x.ico", "t.rc:1: expected the icon's file name in quotes, found 'x'"},
        {"1 , ICON", "t.rc:1: expected a statement, found number 1 followed by ','"},
        {", 1", "t.rc:1: expected a statement, found ','"},
        {"1 ICON \"missing.ico\"", "t.rc:1: cannot open icon file 'missing.ico'"},
        {"\n1 ICON \"cursor.ico\"",
         "t.rc:2: icon file 'cursor.ico': is a cursor file, not an icon"},
        {"1 ICON \"short.ico\"",
         "t.rc:1: icon file 'short.ico': directory of 2 images is cut short"},
        {"1 ICON \"outside.ico\"",
         "t.rc:1: icon file 'outside.ico': image 1 lies outside the file"},
        {"/* open\n\n", "t.rc:1: unterminated comment"},
        {"LANGUAGE = 1", "t.rc:1: unexpected character '='"},
        {"STRINGTABLE { 1, \"a\x01\" }", "t.rc:1: control character byte 0x01 in a string"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(c.error, ErrorOf(c.script));
    }
}

TEST_F(RcCompilerTest, DuplicateIconsAreRejected) {
    WriteFile("two.ico", TwoImageIcon());
    EXPECT_EQ("t.rc:2: duplicate icon FOLDER in language 1033 (first defined at t.rc:1)",
              ErrorOf("Folder ICON \"two.ico\"\nFOLDER ICON \"two.ico\""));
}

} // namespace
