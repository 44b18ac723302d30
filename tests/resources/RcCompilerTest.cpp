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

// Escapes and joined strings; blocks of 16 per language, sorted by language within a block;
// without a LANGUAGE statement US English, as in the Windows build.
TEST_F(RcCompilerTest, StringsGoIntoBlocksPerLanguage) {
    const auto resources =
        Compile("#include <winresrc.h>\n"
                "#define LAST 31\n"
                "STRINGTABLE\nBEGIN\n 1, \"a\\nb\\\\c\"\"d\\te\\rf\"\n 2 \"x\" \"y\"\nEND\n"
                "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
                "STRINGTABLE DISCARDABLE { 16, \"de\" }\n"
                "LANGUAGE 0, 0\n"
                "STRINGTABLE { LAST, \"neutral\" 16 \"n\" }\n");
    ASSERT_EQ(3u, resources.size());
    std::vector<std::string> english(16), neutral(16), german(16);
    english[1] = "a\nb\\c\"d\te\rf";
    english[2] = "xy";
    neutral[0] = "n";
    neutral[15] = "neutral";
    german[0] = "de";
    const struct {
        int block;
        int language;
        const std::vector<std::string>& strings;
    } expected[] = {{1, 1033, english}, {2, 0, neutral}, {2, 0x0407, german}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rc2c::ResourceTypeString, resources[i].Type);
        EXPECT_EQ(expected[i].block, resources[i].Name.Id);
        EXPECT_EQ(expected[i].language, resources[i].Language);
        EXPECT_EQ(Utf16Block(expected[i].strings), resources[i].Data);
    }
}

// RT_ICON images numbered from 1 across the script, then the groups, ids before names; files
// are found beside the script that names them, included scripts too.
TEST_F(RcCompilerTest, IconsAreGroupsOfNumberedImages) {
    fs::create_directories(dir / "sub");
    WriteFile("sub/two.ico", TwoImageIcon());
    WriteFile("sub/ids.rc", "#define FIRST 5 // the first id\n"
                            "FIRST ICON \"two.ico\"\n");
    const auto resources = Compile("#include \"sub/ids.rc\"\n"
                                   "folder ICON MOVEABLE PURE \"sub/two.ico\"\n");
    ASSERT_EQ(6u, resources.size());
    for (int i = 0; i < 4; ++i) {
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

TEST_F(RcCompilerTest, BadInputIsReportedWhereItIs) {
    WriteFile("cursor.ico", std::string("\0\0\2\0\1\0", 6));
    WriteFile("short.ico", std::string("\0\0\1\0\2\0", 6) + std::string(20, '\0'));
    WriteFile("outside.ico", std::string("\0\0\1\0\1\0", 6) +
                                 std::string("\x10\x10\0\0\1\0\4\0\x10\0\0\0\x16\0\0\0", 16));
    WriteFile("loop.rc", "#include \"loop.rc\"\n");
    WriteFile("two.ico", TwoImageIcon());
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
        {"STRINGTABLE {\n 70000, \"x\" }", "t.rc:2: string id 70000 is out of range (0 to 65535)"},
        {"STRINGTABLE {\n 1, \"x\"\n 1, \"y\" }",
         "t.rc:3: duplicate string id 1 in language 1033 (first defined at t.rc:2)"},
        {"STRINGTABLE\nBEGIN\n 1, \"x\"\n", "t.rc:1: STRINGTABLE has no END"},
        {"LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US",
         "t.rc:1: unknown identifier 'LANG_ENGLISH' (#include <winresrc.h> defines the language "
         "names)"},
        {"LANGUAGE 1024, 1", "t.rc:1: language 1024 is out of range (0 to 1023)"},
        {"#include \"missing.rc\"", "t.rc:1: cannot open included file 'missing.rc'"},
        {"#include \"loop.rc\"",
         "loop.rc:1: includes nested more than 16 deep (an include cycle?)"},
        {"#define X 1\n#define X 2", "t.rc:2: X redefined as 2 (it is 1 from t.rc:1)"},
        {"\n1 ICON \"cursor.ico\"",
         "t.rc:2: icon file 'cursor.ico': is a cursor file, not an icon"},
        {"1 ICON \"short.ico\"",
         "t.rc:1: icon file 'short.ico': directory of 2 images is cut short"},
        {"1 ICON \"outside.ico\"",
         "t.rc:1: icon file 'outside.ico': image 1 lies outside the file"},
        {"Folder ICON \"two.ico\"\nFOLDER ICON \"two.ico\"",
         "t.rc:2: duplicate icon FOLDER in language 1033 (first defined at t.rc:1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(c.error, ErrorOf(c.script));
    }
}

} // namespace
