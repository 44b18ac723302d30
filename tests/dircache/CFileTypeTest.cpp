// CFileType over associations installed for the test (TestClasses) and, in a run of its own,
// over the classes root measured on a real Win32 (filetypes.tsv, read from classes_root.reg on
// Linux and from the registry itself under Wine).
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

const std::string kIconFile = BWCORE_TEST_DATA_DIR "/resources/test.ico";
const std::string kShell32 = "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\shell32.dll";

int QueryIndex(CFileType& types, const char* pszFile) {
    CString strText, strCommand;
    return types.QueryFileTypeIndex(const_cast<char*>(pszFile), strText, strCommand);
}

LONG IconWidth(CImageList* pList, int nImage) {
    HICON hIcon = pList->ExtractIcon(nImage);
    ICONINFO info = {};
    BITMAP colour = {};
    if (GetIconInfo(hIcon, &info)) {
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
    DestroyIcon(hIcon);
    return colour.bmWidth;
}

class FileTypes : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        BWCoreInit();
        s_classes = std::make_unique<TestClasses>(std::vector<TestClassKey>{
            {".bwi", "bwcore.icon"},
            {"bwcore.icon", "BW Icon Type"},
            {"bwcore.icon\\DefaultIcon", (kIconFile + ",0").c_str()},
            {"bwcore.icon\\Shell\\Open\\Command", "bwopen \"%1\""},
            {".bwd", "bwcore.dll"},
            {"bwcore.dll", "BW Library"},
            {"bwcore.dll\\DefaultIcon", (kShell32 + ",3").c_str()},
            {".bwn", "bwcore.negative"},
            {"bwcore.negative", "BW Negative"},
            {"bwcore.negative\\DefaultIcon", "x.dll,-5"},
            {".bwc", "bwcore.nocomma"},
            {"bwcore.nocomma", "BW No Comma"},
            {"bwcore.nocomma\\DefaultIcon", kIconFile.c_str()},
            {".bwp", "bwcore.plain"},
            {"bwcore.plain", "BW Plain"},
            {".bwe", "bwcore.notext"},
            {"bwcore.notext", nullptr},
            {"bwcore.notext\\Shell\\Open\\Command", "bwedit %1"},
            {".bwm", "bwcore.missing"},
        });
    }
    static void TearDownTestSuite() { s_classes.reset(); }

    static std::unique_ptr<TestClasses> s_classes;
};

std::unique_ptr<TestClasses> FileTypes::s_classes;

TEST_F(FileTypes, SetupMakesRecordZeroAndTheTwoImages) {
    CFileType types;
    CString strText = "x", strCommand = "x";
    EXPECT_EQ(types.QueryFileTypeIndex(const_cast<char*>("readme"), strText, strCommand), 0);
    EXPECT_STREQ(strText, "File");
    EXPECT_STREQ(strCommand, "");
    EXPECT_EQ(types.QueryFileTypeText(0, strText, strCommand), 0);
    EXPECT_EQ(types.QueryFolderImage(strText), 1);
    EXPECT_STREQ(strText, "File Folder");
    for (int bLarge : {1, 0}) {
        CImageList* pList = types.QueryImages(bLarge);
        ASSERT_NE(pList, nullptr);
        EXPECT_EQ(pList->GetImageCount(), 2);
        EXPECT_EQ(IconWidth(pList, 1), bLarge ? 32 : 16);
    }
}

TEST_F(FileTypes, ExtensionsFoldCaseAndUnknownOnesGetTheNextIndex) {
    CFileType types;
    const int nText = QueryIndex(types, "a.txt");
    EXPECT_EQ(nText, 1);
    EXPECT_EQ(QueryIndex(types, "dir.x\\B.TXT"), nText);
    EXPECT_EQ(QueryIndex(types, "name."), 0);
    CString strText, strCommand = "x";
    EXPECT_EQ(types.QueryFileTypeIndex(const_cast<char*>("c.zzq"), strText, strCommand), 2);
    EXPECT_STREQ(strText, "ZZQ File");
    EXPECT_STREQ(strCommand, "");
    EXPECT_EQ(types.QueryFileTypeText(2, strText, strCommand), 0);
}

TEST_F(FileTypes, RecordsFollowTheAssociationsAndBothListsGrowTogether) {
    const struct {
        const char* file;
        const char* text;
        const char* command;
        std::string iconFile;
        int iconIndex;
        bool extracted; // a new image in both lists
    } cases[] = {
        {"a.bwi", "BW Icon Type", "bwopen \"%1\"", kIconFile, 0, true},
        {"a.bwd", "BW Library", "", kShell32, 3, true},
        {"a.bwn", "BW Negative", "", "x.dll", -5, false},
        {"a.bwc", "BW No Comma", "", "", 0, false},
        {"a.bwp", "BW Plain", "", "", -2, false},
        {"a.bwe", "BWE File", "bwedit %1", "", -2, false},
        {"a.bwm", "BWM File", "", "", -2, false},
    };
    CFileType types;
    CImageList* pLarge = types.QueryImages(1);
    CImageList* pSmall = types.QueryImages(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const int nImages = pLarge->GetImageCount();
        CString strText, strCommand;
        const int nType = types.QueryFileTypeIndex(const_cast<char*>(c.file), strText, strCommand);
        EXPECT_STREQ(strText, c.text);
        EXPECT_STREQ(strCommand, c.command);
        const CFileType::typeinfo* pInfo = types.QueryFileTypeInfo(nType);
        ASSERT_NE(pInfo, nullptr);
        EXPECT_EQ(pInfo->szIconFile, c.iconFile);
        EXPECT_EQ(pInfo->nIconIndex, c.iconIndex);
        EXPECT_EQ(pInfo->nImage, c.extracted ? nImages : 0);
        EXPECT_EQ(pLarge->GetImageCount(), nImages + (c.extracted ? 1 : 0));
        EXPECT_EQ(pSmall->GetImageCount(), pLarge->GetImageCount());
    }
}

TEST_F(FileTypes, InvalidTypeIndexesLeaveTheStringsAlone) {
    CFileType types;
    QueryIndex(types, "a.bwp");
    for (int nType : {-1, 2}) {
        CString strText = "text", strCommand = "command";
        EXPECT_EQ(types.QueryFileTypeText(nType, strText, strCommand), -1);
        EXPECT_STREQ(strText, "text");
        EXPECT_STREQ(strCommand, "command");
        EXPECT_EQ(types.QueryFileTypeInfo(nType), nullptr);
    }
}

TEST_F(FileTypes, RecordsThatCannotBeAllocatedFailCleanly) {
    if (!MallocFailuresInjectable())
        GTEST_SKIP() << "a DLL's malloc cannot be replaced here";
    const void* library = reinterpret_cast<const void*>(&CutilLoadIcon16);
    // Setup without record 0 has no image lists either.
    FailMallocsAfter(library, 0);
    auto failed = std::make_unique<CFileType>();
    AllowMallocs();
    EXPECT_EQ(failed->QueryImages(1), nullptr);
    EXPECT_EQ(failed->QueryImages(0), nullptr);
    EXPECT_EQ(failed->QueryFileTypeInfo(0), nullptr);
    // A failed record is made again on the next call, at the same index.
    CFileType types;
    int failures = 0;
    UntilMallocsSuffice(
        library,
        [&] {
            CString strText = "text", strCommand = "command";
            const int nType =
                types.QueryFileTypeIndex(const_cast<char*>("a.bwp"), strText, strCommand);
            EXPECT_STREQ(strText, nType < 0 ? "text" : "BW Plain");
            return nType;
        },
        [](int nType) { return nType >= 0; },
        [&](int nType, int) {
            EXPECT_EQ(nType, -1);
            ++failures;
        });
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(QueryIndex(types, "a.bwp"), 1);
}

// One row per extension: what the classes root gave for its class, DefaultIcon, text and
// command; a class whose key is missing counts as unknown.
TEST(FileTypesReference, EveryMeasuredExtension) {
    BWCoreInit();
    const ReferenceTable table("filetypes.tsv");
    ASSERT_GT(table.RowCount(), 0u);
    CFileType types;
    for (size_t row = 0; row < table.RowCount(); ++row) {
        const std::string ext = table.Get(row, "ext");
        SCOPED_TRACE(ext);
        std::string text = CString(ext.substr(1).c_str()).MakeUpper().GetString();
        text += " File";
        std::string command, iconFile;
        int iconIndex = -2;
        if (table.Get(row, "class_status").rfind("ok", 0) == 0 &&
            table.Get(row, "type_text_status").rfind("open", 0) != 0) {
            if (!table.Get(row, "type_text").empty())
                text = table.Get(row, "type_text");
            command = table.Get(row, "open_command");
            if (table.Get(row, "icon_status").rfind("ok", 0) == 0) {
                const std::string icon = table.Get(row, "icon");
                const size_t comma = icon.rfind(',');
                iconIndex = atoi(icon.c_str() + (comma == std::string::npos ? 0 : comma + 1));
                iconFile = comma == std::string::npos ? "" : icon.substr(0, comma);
            }
        }
        CString strText, strCommand;
        const int nType =
            types.QueryFileTypeIndex(const_cast<char*>(("x" + ext).c_str()), strText, strCommand);
        EXPECT_EQ(std::string(strText), text);
        EXPECT_EQ(std::string(strCommand), command);
        const CFileType::typeinfo* pInfo = types.QueryFileTypeInfo(nType);
        ASSERT_NE(pInfo, nullptr);
        EXPECT_EQ(pInfo->szIconFile, iconFile);
        EXPECT_EQ(pInfo->nIconIndex, iconIndex);
    }
}

} // namespace
