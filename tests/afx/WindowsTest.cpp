// The window classes of the framework subset: against the real user32 and comctl32 under Wine,
// and against the headless window system on Linux.
#include <bwcore/afx.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Message maps: a derived map is searched before its base's, by message, code and identifier.
class Base : public CCmdTarget {
public:
    std::string called;
    BOOL Route(UINT nID, int nCode) { return OnCmdMsg(nID, nCode, nullptr, nullptr); }
    void OnBaseOne() { called = "base 1"; }
    void OnBaseTwo() { called = "base 2"; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Base, CCmdTarget)
ON_COMMAND(1, &Base::OnBaseOne)
ON_BN_CLICKED(2, &Base::OnBaseTwo)
END_MESSAGE_MAP()

class Derived : public Base {
public:
    void OnDerivedTwo() { called = "derived 2"; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Derived, Base)
ON_BN_CLICKED(2, &Derived::OnDerivedTwo)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedEntriesFirstThenTheBase) {
    const struct {
        UINT id;
        int code;
        BOOL handled;
        const char* called;
    } cases[] = {
        {1, BN_CLICKED, TRUE, "base 1"},
        {2, BN_CLICKED, TRUE, "derived 2"},
        {1, 1, FALSE, ""}, // the code must match too
        {3, BN_CLICKED, FALSE, ""},
    };
    for (const auto& c : cases) {
        Derived target;
        EXPECT_EQ(target.Route(c.id, c.code), c.handled) << c.id;
        EXPECT_EQ(target.called, c.called) << c.id;
    }
}

// A hidden top-level window to parent the controls.
struct WindowTest : ::testing::Test {
    CWnd frame;
    void SetUp() override {
        ASSERT_TRUE(
            frame.CreateEx(0, "Static", "frame", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    }
};

TEST_F(WindowTest, FromHandleGivesOneWrapperAndOwnershipDecidesDestruction) {
    HWND child = ::CreateWindowExA(0, "Static", "child", WS_CHILD, 0, 0, 10, 10, frame.m_hWnd,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
    CWnd* wrapper = CWnd::FromHandle(child);
    EXPECT_EQ(wrapper, frame.GetDlgItem(7));
    EXPECT_EQ(wrapper->m_hWnd, child);
    EXPECT_EQ(CWnd::FromHandlePermanent(child), nullptr);
    EXPECT_EQ(CWnd::FromHandle(frame.m_hWnd), &frame);
    EXPECT_EQ(wrapper->GetParent(), &frame);
    CWnd::DeleteTempMap(); // deleting a wrapper leaves its window alone
    EXPECT_TRUE(::IsWindow(child));

    HWND owned = nullptr, detached = nullptr;
    {
        CWnd creator, keeper;
        ASSERT_TRUE(creator.CreateEx(0, "Static", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
        ASSERT_TRUE(keeper.CreateEx(0, "Static", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
        owned = creator.m_hWnd;
        detached = keeper.Detach();
        EXPECT_EQ(CWnd::FromHandlePermanent(owned), &creator);
    }
    EXPECT_FALSE(::IsWindow(owned));
    EXPECT_TRUE(::IsWindow(detached));
    ::DestroyWindow(detached);
}

TEST_F(WindowTest, ListCheckIsTheStateImageLessOne) {
    CListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT, RECT{0, 0, 200, 100}, &frame, 10));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    for (int i = 0; i < 3; ++i)
        list.InsertItem(i, "item");
    EXPECT_EQ(list.GetCheck(0), -1); // no state image yet
    const struct {
        UINT state_image;
        BOOL check;
    } cases[] = {{0, -1}, {1, 0}, {2, 1}, {3, 2}};
    for (const auto& c : cases) {
        list.SetItemState(1, INDEXTOSTATEIMAGEMASK(c.state_image), LVIS_STATEIMAGEMASK);
        EXPECT_EQ(list.GetCheck(1), c.check) << c.state_image;
    }
    list.SetCheck(2);
    EXPECT_EQ(list.GetItemState(2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
    list.SetCheck(2, FALSE);
    EXPECT_EQ(list.GetCheck(2), 0);

    // A text longer than the first buffer comes back whole.
    const std::string long_text(700, 'x');
    list.SetItemText(0, 0, long_text.c_str());
    EXPECT_EQ(std::string(list.GetItemText(0, 0)), long_text);
    EXPECT_EQ(std::string(list.GetItemText(9, 0)), "");
}

TEST_F(WindowTest, TreeTextsOfAnyLengthAndChildren) {
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(0, RECT{0, 0, 200, 100}, &frame, 11));
    HTREEITEM root = tree.InsertItem("root");
    HTREEITEM child = tree.InsertItem("child", root, TVI_LAST);
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_FALSE(tree.ItemHasChildren(child));
    const std::string long_text(600, 'y');
    tree.SetItemText(child, long_text.c_str());
    EXPECT_EQ(std::string(tree.GetItemText(child)), long_text);
}

// Drivers that answer from the test.
struct ScriptedDriver : CUiDriver {
    std::function<void(CDialog&)> on_dialog;
    int dialogs_shown = 0;
    std::string text;
    UINT type = 0, help = 0;
    int AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) override {
        text = lpszText;
        type = nType;
        help = nIDHelp;
        return IDRETRY;
    }
    void DialogShown(CDialog& dialog) override {
        ++dialogs_shown;
        if (on_dialog)
            on_dialog(dialog);
    }
};

struct DriverScope {
    CUiDriver* previous;
    explicit DriverScope(CUiDriver* driver) : previous(CUiDriver::Install(driver)) {}
    ~DriverScope() { CUiDriver::Install(previous); }
};

TEST(AfxMessageBox, AsksTheDriverWithTextTypeAndHelp) {
    ScriptedDriver driver;
    DriverScope scope(&driver);
    EXPECT_EQ(CUiDriver::Current(), &driver);
    EXPECT_EQ(AfxMessageBox("Disk full", MB_YESNO | MB_ICONSTOP, 42), IDRETRY);
    EXPECT_EQ(driver.text, "Disk full");
    EXPECT_EQ(driver.type, UINT(MB_YESNO | MB_ICONSTOP));
    EXPECT_EQ(driver.help, 42u);
    AfxMessageBox(61234u, MB_OK); // a help context of -1 stands for the prompt's identifier
    EXPECT_EQ(driver.help, 61234u);
}

class TestDialog : public CDialog {
public:
    std::string exchanges; // one letter per DoDataExchange: l(oad) or s(ave)
    int end_at_init = 0;
    TestDialog() : CDialog(200u) {}
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (end_at_init)
            EndDialog(end_at_init);
        return TRUE;
    }
    void OnYes() { EndDialog(100); }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        EXPECT_EQ(pDX->m_pDlgWnd, this);
        exchanges += pDX->m_bSaveAndValidate ? 's' : 'l';
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_BN_CLICKED(100, &TestDialog::OnYes)
END_MESSAGE_MAP()

// The template is found through the resource chain, in the program's own resources.
TEST(CDialog, ResultComesFromTheButtonEscapeOrOnInitDialog) {
    AfxSetResourceHandle(::GetModuleHandleA(nullptr));
    const struct {
        const char* name;
        std::function<void(CDialog&)> press;
        int end_at_init;
        INT_PTR result;
        const char* exchanges;
        int shown;
    } cases[] = {
        {"mapped button", [](CDialog& d) { CUiDriver::PressButton(d, 100); }, 0, 100, "l", 1},
        {"OK", [](CDialog& d) { CUiDriver::PressButton(d, IDOK); }, 0, IDOK, "ls", 1},
        {"Escape", [](CDialog& d) { CUiDriver::PressEscape(d); }, 0, IDCANCEL, "l", 1},
        {"ended at start", nullptr, 7, 7, "l", 0},
    };
    for (const auto& c : cases) {
        ScriptedDriver driver;
        driver.on_dialog = c.press;
        DriverScope scope(&driver);
        TestDialog dialog;
        dialog.end_at_init = c.end_at_init;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.name;
        EXPECT_EQ(dialog.exchanges, c.exchanges) << c.name;
        EXPECT_EQ(driver.dialogs_shown, c.shown) << c.name;
        EXPECT_EQ(dialog.m_hWnd, nullptr) << c.name;
    }
}

} // namespace
