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

// Escapes and joined strings, in a block of 16 counted UTF-16 strings; without a LANGUAGE
// statement US English, as in the Windows build. (The layout of blocks per language and of icon
// groups is held against the Windows build's in ResourceFunctionsTest.)
TEST_F(RcCompilerTest, StringEscapesAndJoinedStrings) {
    const auto resources =
        Compile("STRINGTABLE\nBEGIN\n 1, \"a\\nb\\\\c\"\"d\\te\\rf\"\n 2 \"x\" \"y\"\nEND\n");
    ASSERT_EQ(1u, resources.size());
    EXPECT_EQ(1, resources[0].Name.Id);
    EXPECT_EQ(1033, resources[0].Language);
    std::vector<std::string> strings(16);
    strings[1] = "a\nb\\c\"d\te\rf";
    strings[2] = "xy";
    std::vector<uint8_t> block;
    for (const std::string& text : strings) {
        block.insert(block.end(), {static_cast<uint8_t>(text.size()), 0});
        for (char c : text)
            block.insert(block.end(), {static_cast<uint8_t>(c), 0});
    }
    EXPECT_EQ(block, resources[0].Data);
}

TEST_F(RcCompilerTest, BadInputIsReportedWhereItIs) {
    WriteFile("cursor.ico", std::string("\0\0\2\0\1\0", 6));
    WriteFile("short.ico", std::string("\0\0\1\0\2\0", 6) + std::string(20, '\0'));
    WriteFile("outside.ico", std::string("\0\0\1\0\1\0", 6) +
                                 std::string("\x10\x10\0\0\1\0\4\0\x10\0\0\0\x16\0\0\0", 16));
    WriteFile("loop.rc", "#include \"loop.rc\"\n");
    WriteFile("icon.bmp", std::string("\0\0\1\0", 4) + std::string(60, '\0'));
    WriteFile("short.bmp", "BM" + std::string(51, '\0'));
    WriteFile("tiny.bmp", "BM" + std::string(52, '\0'));
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
        {"Folder ICON \"" BWCORE_TEST_DATA_DIR "/resources/test.ico\"\n"
         "FOLDER ICON \"" BWCORE_TEST_DATA_DIR "/resources/test.ico\"",
         "t.rc:2: duplicate icon FOLDER in language 1033 (first defined at t.rc:1)"},
        {"1 BITMAP \"icon.bmp\"", "t.rc:1: bitmap file 'icon.bmp': does not start with \"BM\""},
        {"1 BITMAP \"short.bmp\"", "t.rc:1: bitmap file 'short.bmp': too short for its headers"},
        {"1 BITMAP \"tiny.bmp\"\n1 BITMAP \"tiny.bmp\"",
         "t.rc:2: duplicate bitmap 1 in language 1033 (first defined at t.rc:1)"},
        {"1 CURSOR \"x.cur\"",
         "t.rc:1: unsupported resource type 'CURSOR' (supported: BITMAP, ICON, STRINGTABLE, "
         "LANGUAGE)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(c.error, ErrorOf(c.script));
    }
}

} // namespace
