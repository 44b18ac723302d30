// rc2c, the Linux build's resource compiler: the binary forms it writes (held against what the
// Windows build's compiler writes for the same script), and its errors on bad input, each at the
// file and line of the fault.
#include "RcParser.h"
#include "ResourceSet.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

    // The dialog templates (name, language, bytes) that the Windows build's compiler writes for
    // the script at path; empty when that compiler is not installed.
    std::vector<rc2c::Resource> WindowsBuildDialogs(const std::string& path) const {
        const std::string res = PathOf("windres.res");
        const std::string command =
            std::string(kWindres) + " -O res \"" + path + "\" \"" + res + "\"";
        EXPECT_EQ(0, std::system(command.c_str())) << command;
        std::ifstream in(res, std::ios::binary);
        const std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
        auto word = [&](size_t at) { return static_cast<uint16_t>(d[at] | d[at + 1] << 8); };
        auto dword = [&](size_t at) {
            return word(at) | static_cast<uint32_t>(word(at + 2)) << 16;
        };
        // Each entry: data size, header size, type and name (ordinals here), then after the
        // DWORD-aligned names the data version, memory flags and language; data follows the
        // header, and the next entry starts on a DWORD boundary.
        std::vector<rc2c::Resource> dialogs;
        for (size_t at = 0; at + 16 <= d.size();) {
            const uint32_t size = dword(at), header = dword(at + 4);
            if (word(at + 8) == 0xFFFF && word(at + 10) == rc2c::ResourceTypeDialog &&
                word(at + 12) == 0xFFFF) {
                rc2c::Resource r;
                r.Type = rc2c::ResourceTypeDialog;
                r.Name.Id = word(at + 14);
                r.Language = word(at + 22);
                r.Data.assign(d.begin() + at + header, d.begin() + at + header + size);
                dialogs.push_back(r);
            }
            at = (at + header + size + 3) & ~size_t{3};
        }
        return dialogs;
    }

    static bool HaveWindres() {
        return std::system((std::string("command -v ") + kWindres + " >/dev/null").c_str()) == 0;
    }

    static constexpr const char* kWindres = "x86_64-w64-mingw32-windres";
    fs::path dir;
};

std::vector<rc2c::Resource> Dialogs(const std::vector<rc2c::Resource>& resources) {
    std::vector<rc2c::Resource> dialogs;
    for (const rc2c::Resource& r : resources)
        if (r.Type == rc2c::ResourceTypeDialog)
            dialogs.push_back(r);
    return dialogs;
}

void ExpectSameDialogs(const std::vector<rc2c::Resource>& expected,
                       const std::vector<rc2c::Resource>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("dialog " + std::to_string(expected[i].Name.Id));
        EXPECT_EQ(expected[i].Name.Id, actual[i].Name.Id);
        EXPECT_EQ(expected[i].Language, actual[i].Language);
        EXPECT_EQ(expected[i].Data, actual[i].Data);
    }
}

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

// The library's templates, the registry-import dialog (DIALOG) and the error report (DIALOGEX),
// byte for byte as the Windows build's compiler writes them.
TEST_F(RcCompilerTest, LibraryDialogsEqualTheWindowsBuilds) {
    if (!HaveWindres())
        GTEST_SKIP() << kWindres << " is not installed";
    const std::string script = BWCORE_TEST_DATA_DIR "/../../resources/bwcore.rc";
    rc2c::ResourceSet set;
    rc2c::RcParser parser(set);
    parser.parseFile(script);
    const auto dialogs = Dialogs(set.resources());
    ASSERT_EQ(2u, dialogs.size());
    EXPECT_EQ(30491, dialogs[0].Name.Id);
    EXPECT_EQ(31263, dialogs[1].Name.Id);
    ExpectSameDialogs(WindowsBuildDialogs(script), dialogs);
}

// Every control statement with its default style, and with style expressions (which start from
// the statement's base style: text statements leave WS_GROUP out), NOT, extended styles and help
// ids; dialog defaults, options in either order, fonts with and without weight, ordinals, negative
// ids and odd-length texts that need alignment; in both forms.
TEST_F(RcCompilerTest, DialogStatementsEqualTheWindowsBuilds) {
    if (!HaveWindres())
        GTEST_SKIP() << kWindres << " is not installed";
    const std::string controls = R"(BEGIN
    LTEXT "a", 1, 1, 2, 3, 4
    LTEXT "ab", 2, 1, 2, 3, 4, SS_NOPREFIX
    RTEXT "abc", 3, 1, 2, 3, 4
    RTEXT "", 4, 1, 2, 3, 4, WS_GROUP | SS_NOTIFY
    CTEXT "c", 5, 1, 2, 3, 4
    CTEXT "c", 6, 1, 2, 3, 4, 0, WS_EX_CLIENTEDGE
    PUSHBUTTON "&p", -1, 1, 2, 3, 4
    PUSHBUTTON "p", 8, 1, 2, 3, 4, NOT WS_TABSTOP | WS_DISABLED
    DEFPUSHBUTTON "d", 9, 1, 2, 3, 4
    CHECKBOX "k", 10, 1, 2, 3, 4
    AUTOCHECKBOX "k", 11, 1, 2, 3, 4, BS_LEFTTEXT
    GROUPBOX "g", 12, 1, 2, 3, 4
    LISTBOX 13, 1, 2, 3, 4
    LISTBOX 14, 1, 2, 3, 4, NOT LBS_NOTIFY | LBS_SORT | NOT WS_VISIBLE
    EDITTEXT 15, 1, 2, 3, 4
    EDITTEXT 16, 1, 2, 3, 4, ES_MULTILINE | NOT WS_BORDER
    ICON 30355, 17, 1, 2
    ICON "Folder", 18, 1, 2, 5, 6, SS_CENTERIMAGE
    CONTROL "x", 19, "SysListView32", 0x0001 | WS_BORDER, 1, 2, 3, 4
    CONTROL 5, 20, "MyClass", NOT WS_VISIBLE, 1, 2, 3, 4
END
)";
    const std::string script =
        "#include <winresrc.h>\n"
        "1 DIALOG 1, 2, 3, 4\n" +
        controls +
        "2 DIALOG 1, 2, 3, 4\nCAPTION \"Caption\"\nSTYLE WS_POPUP\nFONT 8, \"MS Sans Serif\"\n"
        "MENU 7\nCLASS 9\nEXSTYLE 0x80\n" +
        controls + "3 DIALOGEX 1, 2, 3, 4, 77\nFONT 9, \"Tahoma\"\n" + controls +
        "4 DIALOGEX 1, 2, 3, 4\nSTYLE DS_MODALFRAME | WS_POPUP\nFONT 9, \"Tahoma\", 700, 1, 0\n"
        "MENU Main\n" +
        controls + "5 DIALOGEX 1, 2, 3, 4\nFONT 9, \"Tahoma\", 400\n" + controls +
        "6 DIALOGEX 1, 2, 3, 4\nBEGIN\n LTEXT \"a\", 1, 1, 2, 3, 4, SS_NOPREFIX, "
        "WS_EX_CLIENTEDGE, 99\nEND\n";
    WriteFile("t.rc", script);
    ExpectSameDialogs(WindowsBuildDialogs(PathOf("t.rc")), Dialogs(Compile(script)));
}

// A CONTROL of a predefined class is written with the class's ordinal, whatever the case of its
// name, so that it equals the statement for that class. (The Windows build's cross compiler
// writes the name in upper case instead, which the system reads the same way.)
TEST_F(RcCompilerTest, PredefinedClassesAreOrdinals) {
    const char* const pairs[][2] = {
        {"LTEXT \"t\", 1, 1, 2, 3, 4", "CONTROL \"t\", 1, \"static\", 0x20000, 1, 2, 3, 4"},
        {"PUSHBUTTON \"t\", 1, 1, 2, 3, 4", "CONTROL \"t\", 1, \"Button\", 0x10000, 1, 2, 3, 4"},
        {"EDITTEXT 1, 1, 2, 3, 4", "CONTROL \"\", 1, \"EDIT\", 0x810000, 1, 2, 3, 4"},
        {"LISTBOX 1, 1, 2, 3, 4", "CONTROL \"\", 1, \"ListBox\", 0x800001, 1, 2, 3, 4"},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[1]);
        auto dialog = [&](const char* control) {
            return Compile(std::string("1 DIALOG 0, 0, 9, 9\nBEGIN\n") + control + "\nEND\n");
        };
        EXPECT_EQ(dialog(pair[0])[0].Data, dialog(pair[1])[0].Data);
    }
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
         "t.rc:1: unsupported resource type 'CURSOR' (supported: BITMAP, DIALOG, DIALOGEX, ICON, "
         "STRINGTABLE, LANGUAGE)"},
        {"1 DIALOG 0, 0, 9, 9\nBEGIN\n LTEXT \"a\", 1, 0, 0, 9, 9\n", "t.rc:1: dialog has no END"},
        {"1 DIALOG 0, 0, 9, 9\nBEGIN\n RADIO \"a\", 1, 0, 0, 9, 9\nEND",
         "t.rc:3: expected a control statement or END, found 'RADIO'"},
        {"1 DIALOG 0, 0, 9, 9\nBEGIN\n LTEXT \"a\", 1, 0, 0, 9 9\nEND",
         "t.rc:3: expected ',' after the control's width, found number 9"},
        {"1 DIALOG 0, 0, 9, 9\nBEGIN\n LTEXT \"a\", 1, 0, 0, 9, 9, 0, 0, 7\nEND",
         "t.rc:3: a control's help id needs DIALOGEX"},
        {"1 DIALOG 0, 0, 9, 9\nFONT 8, \"Face\", 700\nBEGIN\nEND",
         "t.rc:2: a font's weight, italic and charset need DIALOGEX"},
        {"1 DIALOG 0, 0, 9, 9\nSTYLE WS_POPUP\nBEGIN\nEND",
         "t.rc:2: unknown identifier 'WS_POPUP'"},
        {"1 DIALOG 0, 0, 9, 9\nBEGIN\nEND\n1 DIALOGEX 0, 0, 9, 9\nBEGIN\nEND",
         "t.rc:4: duplicate dialog 1 in language 1033 (first defined at t.rc:1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(c.error, ErrorOf(c.script));
    }
}

} // namespace
