// The message functions and the registry-import dialog, through a driver that records each box
// and answers it, and reads the dialog's list box and presses a button or Escape.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct TestDriver : CUiDriver {
    int AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) override {
        shown = lpszText + std::string("|") + std::to_string(nType) + "|" + std::to_string(nIDHelp);
        return IDNO;
    }
    void DialogShown(CDialog& dialog) override {
        shown.clear();
        char line[64];
        for (int i = 0; dialog.SendDlgItemMessage(31264, LB_GETTEXT, i, (LPARAM)line) > 0; ++i)
            shown += line + std::string("|");
        if (button != 0)
            EXPECT_TRUE(PressButton(dialog, button));
        else
            PressEscape(dialog);
    }

    std::string shown;
    int button = 0; // 0: Escape
};

TEST(DlgMsg, TextFromCodeArgumentAndFallbackWithTypeAndHelpContext) {
    const std::string kFallback = "An internal error occurred while trying to display the message "
                                  "for ERRORCODE:";
    const std::string kLinks = "Are you sure you want to remove these %d items from the Links "
                               "folder?";
    // clang-format off
    const struct { int code; const void* arg; std::string text; } kCases[] = {
        {-11049, "Setup", "Cannot delete a required component. Setup|20|11049"},
        {-11085, reinterpret_cast<void*>(7), kLinks.substr(0, 38) + "7" + kLinks.substr(40) +
                                             "|20|11085"},
        {-11085, nullptr, kLinks + "|20|11085"},
        // One argument cannot fill two conversions.
        {-11217, "a", "Unable to remove the indicated file\n  '%s'.\nPlease check access rights "
                      "to this folder:\n  '%s'|20|11217"},
        {5, "unused", kFallback + "5|20|4294967291"}, {-99, nullptr, kFallback + "-99|20|99"},
        // Identifiers are 16-bit: this code is not 11032 in disguise.
        {-(65536 + 11032), nullptr, kFallback + "-76568|20|76568"},
    };
    // clang-format on
    TestDriver driver;
    CUiDriver* previous = CUiDriver::Install(&driver);
    for (auto* function : {DlgMsgError, DlgMsgInfo, DlgMsgInfoEx}) {
        for (const auto& c : kCases) {
            EXPECT_EQ(IDNO,
                      function(nullptr, c.code, MB_YESNO | MB_ICONSTOP, const_cast<void*>(c.arg)));
            EXPECT_EQ(c.text, driver.shown) << c.code;
        }
    }
    CUiDriver::Install(previous);
}

TEST(DlgMsg, RegImportDialogShowsThreeLinesAndEndsWithTheButtonPressed) {
    // The button pressed (0: Escape) and the result.
    const int kCases[][2] = {{1310, 1310}, {1309, 1309}, {1312, 1312}, {1311, 1311}, {0, IDCANCEL}};
    TestDriver driver;
    CUiDriver* previous = CUiDriver::Install(&driver);
    for (const auto& c : kCases) {
        CDlgRegImportOverwrite dialog;
        dialog.m_strKeyName = "K";
        dialog.m_strValueName = "V";
        dialog.m_strNewValue = "N";
        driver.button = c[0];
        EXPECT_EQ(c[1], dialog.DoModal()) << c[0];
        EXPECT_EQ("Key Name:  K|Value Name:  V|New Value:  N|", driver.shown) << c[0];
    }
    CUiDriver::Install(previous);
}

} // namespace
