// CFileType over associations installed for the test (TestClasses) and, in a run of its own,
// over the classes root measured on a real Win32 (filetypes.tsv: classes_root.reg on Linux, the
// registry itself under Wine).
#include "../win32/ReferenceTable.h"
#include "FailingMalloc.h"
#include "TestClasses.h"

#include <bwcore/BWCoreInit.h>
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <stdlib.h>

#include <memory>
#include <string>

namespace {

const std::string kIcon = BWCORE_TEST_DATA_DIR "/resources/test.ico";
const std::string kShell32 = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\shell32.dll";
// A value that fills the 260-byte buffer with its terminator: read whole.
const std::string kLongCommand(259, 'c');

// The record of the file's type, with the text and command the query gave.
const CFileType::typeinfo* Query(CFileType& types, std::string file, CString& text,
                                 CString& command) {
    return types.QueryFileTypeInfo(types.QueryFileTypeIndex(&file[0], text, command));
}

class FileTypes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        BWCoreInit();
        s_classes.reset(new TestClasses({{".bwi", "bw.icon"},
                                         {"bw.icon", "Icon"},
                                         {"bw.icon\\DefaultIcon", (kIcon + ",0").c_str()},
                                         {"bw.icon\\Shell\\Open\\Command", "open \"%1\""},
                                         {".bwd", "bw.dll"},
                                         {"bw.dll", "Dll"},
                                         {"bw.dll\\DefaultIcon", (kShell32 + ",3").c_str()},
                                         {".bwn", "bw.negative"},
                                         {"bw.negative", "Negative"},
                                         {"bw.negative\\DefaultIcon", "x.dll,-5"},
                                         {".bwc", "bw.nocomma"},
                                         {"bw.nocomma", "No comma"},
                                         {"bw.nocomma\\DefaultIcon", kIcon.c_str()},
                                         {".bwe", "bw.notext"},
                                         {"bw.notext", nullptr},
                                         {"bw.notext\\Shell\\Open\\Command", "edit"},
                                         {".bwm", "bw.missing"},
                                         {".bwl", "bw.long"},
                                         {"bw.long", "Long"},
                                         {"bw.long\\Shell\\Open\\Command", kLongCommand.c_str()}}));
    }
    static void TearDownTestSuite() { s_classes.reset(); }
    static std::unique_ptr<TestClasses> s_classes;
};

std::unique_ptr<TestClasses> FileTypes::s_classes;

TEST_F(FileTypes, RecordZeroTheFolderAndInvalidIndexes) {
    CFileType types;
    CString text, command = "x";
    EXPECT_EQ(types.QueryFileTypeIndex(const_cast<char*>("name."), text, command), 0);
    EXPECT_EQ(text, CString("File"));
    EXPECT_EQ(command, CString(""));
    EXPECT_EQ(types.QueryFolderImage(text), 1);
    EXPECT_EQ(text, CString("File Folder"));
    for (int bLarge : {1, 0}) {
        ASSERT_EQ(types.QueryImages(bLarge)->GetImageCount(), 2);
        ICONINFO info = {};
        BITMAP colour = {};
        ASSERT_TRUE(GetIconInfo(types.QueryImages(bLarge)->ExtractIcon(1), &info));
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, bLarge ? 32 : 16);
    }
    for (int nType : {-1, 1}) {
        EXPECT_EQ(types.QueryFileTypeText(nType, text, command), -1);
        EXPECT_EQ(text + command, CString("File Folder"));
    }
}

// Each row makes a new record at the next index, or (same) finds an earlier one.
TEST_F(FileTypes, RecordsFollowTheAssociationsAndBothListsGrowTogether) {
    const struct {
        const char* file;
        int type;
        const char* text;
        const char* command;
        std::string iconFile;
        int iconIndex;
        bool extracted;
    } rows[] = {
        {"a.txt", 1, nullptr, nullptr, "", 0, false},
        {"d.x\\B.TXT", 1, nullptr, nullptr, "", 0, false},
        {"a.bwi", 2, "Icon", "open \"%1\"", kIcon, 0, true},
        {"a.bwd", 3, "Dll", "", kShell32, 3, true},
        {"a.bwn", 4, "Negative", "", "x.dll", -5, false},
        {"a.bwc", 5, "No comma", "", "", 0, false},
        {"a.bwe", 6, "BWE File", "edit", "", -2, false},
        {"a.bwm", 7, "BWM File", "", "", -2, false},
        {"a.zzq", 8, "ZZQ File", "", "", -2, false},
        {"a.bwl", 9, "Long", kLongCommand.c_str(), "", -2, false},
    };
    CFileType types;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const int nImages = types.QueryImages(1)->GetImageCount();
        CString text, command;
        std::string file = row.file;
        ASSERT_EQ(types.QueryFileTypeIndex(&file[0], text, command), row.type);
        if (!row.text)
            continue; // .txt is what the platform's own classes make it
        const CFileType::typeinfo* pInfo = types.QueryFileTypeInfo(row.type);
        EXPECT_EQ(text, CString(row.text));
        EXPECT_EQ(command, CString(row.command));
        EXPECT_EQ(pInfo->szIconFile, row.iconFile);
        EXPECT_EQ(pInfo->nIconIndex, row.iconIndex);
        EXPECT_EQ(pInfo->nImage, row.extracted ? nImages : 0);
        EXPECT_EQ(types.QueryImages(1)->GetImageCount(), nImages + row.extracted);
        EXPECT_EQ(types.QueryImages(0)->GetImageCount(), nImages + row.extracted);
    }
}

TEST_F(FileTypes, RecordsThatCannotBeAllocatedFailCleanly) {
    if (!MallocFailuresInjectable())
        GTEST_SKIP() << "a DLL's malloc cannot be replaced here";
    const void* library = reinterpret_cast<const void*>(&CutilLoadIcon16);
    FailMallocsAfter(library, 0);
    auto failed = std::make_unique<CFileType>();
    AllowMallocs();
    EXPECT_EQ(failed->QueryImages(1), nullptr);
    EXPECT_EQ(failed->QueryFileTypeInfo(0), nullptr);
    // A record that failed is made on the next call, at the same index.
    CFileType types;
    CString text = "text", command;
    FailMallocsAfter(library, 0);
    EXPECT_EQ(types.QueryFileTypeIndex(const_cast<char*>("a.bwi"), text, command), -1);
    AllowMallocs();
    EXPECT_EQ(text, CString("text"));
    EXPECT_EQ(types.QueryFileTypeIndex(const_cast<char*>("a.bwi"), text, command), 1);
}

// DefaultIcon is split at its last comma; a missing class key counts as no class.
TEST(FileTypesReference, EveryMeasuredExtension) {
    BWCoreInit();
    const ReferenceTable table("filetypes.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    CFileType types;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const std::string ext = table.Get(row, "ext");
        SCOPED_TRACE(ext);
        CString text = CString(ext.c_str() + 1).MakeUpper() + " File", command, iconFile;
        int iconIndex = -2;
        const auto ok = [&](const char* column) {
            return table.Get(row, column).compare(0, 3, "ok:") == 0;
        };
        if (ok("class_status") && ok("type_text_status")) {
            text = table.Get(row, "type_text").c_str();
            command = table.Get(row, "open_command").c_str();
            const std::string icon = table.Get(row, "icon");
            const size_t comma = icon.rfind(',');
            if (comma != std::string::npos) {
                iconFile = icon.substr(0, comma).c_str();
                iconIndex = atoi(icon.c_str() + comma + 1);
            } else if (ok("icon_status")) {
                iconIndex = atoi(icon.c_str());
            }
        }
        CString strText, strCommand;
        const CFileType::typeinfo* pInfo = Query(types, "x" + ext, strText, strCommand);
        ASSERT_NE(pInfo, nullptr);
        EXPECT_EQ(strText + "|" + strCommand, text + "|" + command);
        EXPECT_EQ(CString(pInfo->szIconFile), iconFile);
        EXPECT_EQ(pInfo->nIconIndex, iconIndex);
    }
}

} // namespace
