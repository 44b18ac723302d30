// The registry-import dialog, shown modally and answered through a driver that reads its list box
// and presses a button or Escape.
#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PressingDriver : CUiDriver {
    void DialogShown(CDialog& dialog) override {
        lines.clear();
        HWND hList = ::GetDlgItem(dialog.m_hWnd, CDlgRegImportOverwrite::IDC_VALUE_LIST);
        const int count = static_cast<int>(::SendMessage(hList, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char line[256] = {};
            ::SendMessage(hList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
            lines.push_back(line);
        }
        if (button != 0)
            EXPECT_TRUE(PressButton(dialog, button));
        else
            PressEscape(dialog);
    }

    int button = 0; // 0: Escape
    std::vector<std::string> lines;
};

TEST(CDlgRegImportOverwrite, ShowsTheThreeLinesAndEndsWithTheButtonPressed) {
    const struct {
        int button;
        INT_PTR result;
    } kCases[] = {
        {1310, 1310}, {1309, 1309}, {1312, 1312}, {1311, 1311}, {0, IDCANCEL},
    };
    PressingDriver driver;
    CUiDriver* previous = CUiDriver::Install(&driver);
    for (const auto& c : kCases) {
        CDlgRegImportOverwrite dialog;
        dialog.m_strData = "data";
        dialog.m_strKeyName = "K";
        dialog.m_strValueName = "V";
        dialog.m_strNewValue = "N";
        driver.button = c.button;
        EXPECT_EQ(c.result, dialog.DoModal()) << c.button;
        EXPECT_EQ((std::vector<std::string>{"Key Name:  K", "Value Name:  V", "New Value:  N"}),
                  driver.lines)
            << c.button;
    }
    CUiDriver::Install(previous);
}

} // namespace
