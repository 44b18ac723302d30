// The message functions, through a driver that records each box and answers it.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct RecordingDriver : CUiDriver {
    int AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) override {
        text = lpszText;
        type = nType;
        help = nIDHelp;
        return IDNO;
    }

    std::string text;
    UINT type = 0, help = 0;
};

const char kFallback[] = "An internal error occurred while trying to display the message for "
                         "ERRORCODE:";

TEST(DlgMsg, TextFromCodeArgumentAndFallback) {
    const struct {
        int code;
        void* arg;
        std::string text;
    } kCases[] = {
        {-11049, const_cast<char*>("Setup"), "Cannot delete a required component. Setup"},
        {-11085, reinterpret_cast<void*>(7),
         "Are you sure you want to remove these 7 items from the Links folder?"},
        {-11085, nullptr, "Are you sure you want to remove these %d items from the Links folder?"},
        {-11032, nullptr,
         "Unable to launch the Brindlewick compiler.\nPlease make sure that compiler library "
         "file is installed properly."},
        // One argument cannot fill two conversions or a positional one.
        {-11217, const_cast<char*>("a"),
         "Unable to remove the indicated file\n  '%s'.\nPlease check access rights to this "
         "folder:\n  '%s'"},
        {-30579, const_cast<char*>("a"),
         "The project file '%1' is marked read-only. Do you want to turn off the read-only "
         "attribute and continue saving ?"},
        {5, const_cast<char*>("unused"), kFallback + std::string("5")},
        {-99, nullptr, kFallback + std::string("-99")},
        // Identifiers are 16-bit: this code is not 11032 in disguise.
        {-(65536 + 11032), nullptr, kFallback + std::string("-76568")},
    };
    int (*const kFunctions[])(CWnd*, int, int, void*) = {DlgMsgError, DlgMsgInfo, DlgMsgInfoEx};
    RecordingDriver driver;
    CUiDriver* previous = CUiDriver::Install(&driver);
    for (auto* function : kFunctions) {
        for (const auto& c : kCases) {
            EXPECT_EQ(IDNO, function(nullptr, c.code, MB_YESNO | MB_ICONSTOP, c.arg)) << c.code;
            EXPECT_EQ(c.text, driver.text) << c.code;
            EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONSTOP), driver.type) << c.code;
            EXPECT_EQ(static_cast<UINT>(-c.code), driver.help) << c.code;
        }
    }
    CUiDriver::Install(previous);
}

} // namespace
