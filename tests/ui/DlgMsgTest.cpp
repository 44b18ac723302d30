// The message functions and the registry-import dialog, through a driver that records each box
// (text|type|help context) and answers it, and reads the dialog's list box, then presses a button
// or Escape.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Installed for its lifetime.
struct TestDriver : CUiDriver {
    TestDriver() : previous(Install(this)) {}
    ~TestDriver() override { Install(previous); }
    int AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) override {
        shown = lpszText + ("|" + std::to_string(nType)) + "|" + std::to_string(nIDHelp);
        return IDNO;
    }
    void DialogShown(CDialog& dialog) override {
        char line[64];
        for (int i = 0; dialog.SendDlgItemMessage(31264, LB_GETTEXT, i, (LPARAM)line) > 0; ++i)
            shown += line + std::string("|");
        EXPECT_TRUE(button != 0 ? PressButton(dialog, button) : (PressEscape(dialog), TRUE));
    }

    CUiDriver* previous;
    std::string shown;
    int button = 0; // 0: Escape
};

TEST(DlgMsg, TextFromCodeArgumentAndFallbackWithTypeAndHelpContext) {
    const std::string kFallback = "An internal error occurred while trying to display the message "
                                  "for ERRORCODE:";
    // clang-format off
    const struct { int code; const void* arg; std::string text; } kCases[] = {
        {-11049, "Setup", "Cannot delete a required component. Setup|20|11049"},
        {-11085, reinterpret_cast<void*>(7),
         "Are you sure you want to remove these 7 items from the Links folder?|20|11085"},
        {-11085, nullptr,
         "Are you sure you want to remove these %d items from the Links folder?|20|11085"},
        {5, "unused", kFallback + "5|20|4294967291"}, {-99, nullptr, kFallback + "-99|20|99"},
    };
    // clang-format on
    TestDriver driver;
    for (auto* function : {DlgMsgError, DlgMsgInfo, DlgMsgInfoEx}) {
        for (const auto& c : kCases) {
            void* arg = const_cast<void*>(c.arg);
            EXPECT_EQ(IDNO, function(nullptr, c.code, MB_YESNO | MB_ICONSTOP, arg));
            EXPECT_EQ(c.text, driver.shown) << c.code;
        }
    }
}

TEST(DlgMsg, RegImportDialogShowsThreeLinesAndEndsWithTheButtonPressed) {
    TestDriver driver;
    // Each button ends the dialog with its own id; Escape (0) gives IDCANCEL.
    for (const int button : {1310, 1309, 1312, 1311, 0}) {
        CDlgRegImportOverwrite dialog;
        dialog.m_strKeyName = "K";
        dialog.m_strValueName = "V";
        dialog.m_strNewValue = "N";
        driver.button = button;
        driver.shown.clear();
        EXPECT_EQ(button != 0 ? button : IDCANCEL, dialog.DoModal());
        EXPECT_EQ("Key Name:  K|Value Name:  V|New Value:  N|", driver.shown) << button;
    }
}

} // namespace
