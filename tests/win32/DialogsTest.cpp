// Dialogs from templates of both forms, the dialog manager's rules, the modal loop and message
// boxes. What a person would do to a real dialog (press Enter or Escape) is posted as key
// messages, so that the same cases run against the real user32 under Wine; the headless answers
// of the Linux layer (the default button when nobody presses one, message boxes) run on Linux.
#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
    DWORD style;
    DWORD id;
    const char* cls; // a name, or one of the ordinal names below
    const char* title;
    std::vector<WORD> data; // creation data, after its byte count
};
const char* const kButton = "\x80";
const char* const kStatic = "\x82";

// Builds a template in memory: the DLGTEMPLATE form or the extended one.
class Template {
public:
    Template(bool extended, DWORD style, const char* title, const std::vector<Item>& items)
        : m_extended(extended) {
        if (extended) {
            Word(1), Word(0xFFFF), Dword(0), Dword(0), Dword(style);
        } else {
            Dword(style), Dword(0);
        }
        Word(static_cast<WORD>(items.size())), Word(10), Word(10), Word(200), Word(100);
        Word(0), Word(0), Text(title); // no menu, the dialog class
        if (style & DS_SETFONT) {
            Word(8);
            if (extended)
                Word(400), Word(0); // weight, italic and charset
            Text("MS Shell Dlg");
        }
        for (const Item& item : items) {
            if (m_words.size() % 2)
                Word(0); // each item on a DWORD boundary
            if (extended)
                Dword(0), Dword(0), Dword(item.style);
            else
                Dword(item.style), Dword(0);
            Word(7), Word(7), Word(50), Word(14);
            extended ? Dword(item.id) : Word(static_cast<WORD>(item.id));
            if (static_cast<unsigned char>(item.cls[0]) >= 0x80)
                Word(0xFFFF), Word(static_cast<unsigned char>(item.cls[0]));
            else
                Text(item.cls);
            Text(item.title);
            Word(static_cast<WORD>(item.data.size() * 2));
            m_words.insert(m_words.end(), item.data.begin(), item.data.end());
        }
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void Text(const char* text) {
        for (; *text; ++text)
            Word(static_cast<unsigned char>(*text));
        Word(0);
    }
    bool m_extended;
    std::vector<WORD> m_words;
};

// What the test dialog procedure does and saw.
struct Script {
    std::vector<MSG> posts; // posted during WM_INITDIALOG, to the dialog
    bool endOnCommand = true;
    WPARAM setDefId = 0; // DM_SETDEFID during WM_INITDIALOG
    std::vector<std::string> log;
    LPARAM commandControl = 0;
};
Script* g_script;

INT_PTR CALLBACK ScriptedDialog(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    Script& s = *g_script;
    switch (msg) {
    case WM_INITDIALOG:
        s.log.push_back("init " + std::to_string(lParam) + (IsWindowVisible(hDlg) ? " shown" : ""));
        if (lParam == 77)
            EndDialog(hDlg, 77);
        if (s.setDefId)
            SendMessageA(hDlg, DM_SETDEFID, s.setDefId, 0);
        for (const MSG& m : s.posts)
            PostMessageA(hDlg, m.message, m.wParam, m.lParam);
        return TRUE;
    case WM_APP:
        s.log.push_back("app " + std::to_string(wParam));
        if (wParam == 42)
            EndDialog(hDlg, 42);
        return TRUE;
    case WM_APP + 1: // answers through DWLP_MSGRESULT only when it says it handled the message
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 99);
        return static_cast<INT_PTR>(wParam);
    case WM_COMMAND:
        s.log.push_back("command " + std::to_string(LOWORD(wParam)));
        s.commandControl = lParam;
        if (s.endOnCommand)
            EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

const std::vector<Item> kButtons = {{BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP, 10, kButton, "A", {}},
                                    {BS_DEFPUSHBUTTON | WS_VISIBLE, 11, kButton, "B", {}}};
const DWORD kStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION;
const MSG kEnter = {nullptr, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
const MSG kEscape = {nullptr, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};

INT_PTR RunModal(bool extended, Script& script, const std::vector<Item>& items = kButtons,
                 LPARAM init = 5, HWND parent = nullptr) {
    g_script = &script;
    const Template form(extended, kStyle, "Modal", items);
    return DialogBoxIndirectParamA(nullptr, form.get(), parent, ScriptedDialog, init);
}

class Dialogs : public ::testing::TestWithParam<bool> {}; // the extended form or not

// Keys pressed, posted messages and the default id, on either template form.
TEST_P(Dialogs, KeysAndDefaultButton) {
    const struct {
        std::vector<MSG> posts;
        WPARAM setDefId;
        std::vector<Item> items;
        INT_PTR result;
        std::vector<std::string> log;
    } cases[] = {
        {{kEnter}, 0, kButtons, 11, {"init 5", "command 11"}},
        {{kEscape}, 0, kButtons, IDCANCEL, {"init 5", "command 2"}},
        {{kEnter}, 10, kButtons, 10, {"init 5", "command 10"}},
        {{kEnter}, 0, {kButtons[0]}, IDOK, {"init 5", "command 1"}}, // no default push button
        {{{nullptr, WM_APP, 1, 0, 0, {0, 0}}, kEnter, {nullptr, WM_APP, 2, 0, 0, {0, 0}}},
         0,
         kButtons,
         11,
         {"init 5", "app 1", "command 11"}},
    };
    for (const auto& c : cases) {
        Script script;
        script.posts = c.posts;
        script.setDefId = c.setDefId;
        EXPECT_EQ(RunModal(GetParam(), script, c.items), c.result);
        EXPECT_EQ(script.log, c.log);
    }
    Script ended; // EndDialog within WM_INITDIALOG: never shown, nothing pressed
    EXPECT_EQ(RunModal(GetParam(), ended, kButtons, 77), 77);
    EXPECT_EQ(ended.log, std::vector<std::string>{"init 77"});
}

TEST_P(Dialogs, TemplateFields) {
    WNDCLASSA wc = {};
    static std::vector<WORD> s_created; // the creation data a control of the class was given
    wc.lpfnWndProc = [](HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_CREATE) {
            const auto* data = static_cast<const WORD*>(
                reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
            s_created.assign(data, data + (data != nullptr ? 1 + data[0] / 2 : 0));
        }
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    };
    wc.lpszClassName = "BwTestDataControl";
    RegisterClassA(&wc);
    const Template form(GetParam(), kStyle, "Fields",
                        {{SS_LEFT | WS_VISIBLE, 100, kStatic, "Label", {}},
                         {WS_VISIBLE, 101, "bwtestdatacontrol", "", {0x1234, 0x5678}},
                         {WS_VISIBLE | LBS_NOSEL, 102, "listbox", "", {}}});
    g_script = nullptr;
    HWND dlg = CreateDialogIndirectParamA(
        nullptr, form.get(), nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; },
        0);
    ASSERT_NE(dlg, nullptr);
    char text[32];
    GetWindowTextA(dlg, text, sizeof text);
    EXPECT_STREQ(text, "Fields");
    GetDlgItemTextA(dlg, 100, text, sizeof text);
    EXPECT_STREQ(text, "Label");
    EXPECT_EQ(s_created, (std::vector<WORD>{4, 0x1234, 0x5678}));
    GetClassNameA(GetDlgItem(dlg, 102), text, sizeof text);
    EXPECT_EQ(lstrcmpiA(text, "ListBox"), 0);
    RECT units = {0, 0, 50, 14}, client;
    ASSERT_TRUE(MapDialogRect(dlg, &units));
    GetClientRect(GetDlgItem(dlg, 100), &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    DestroyWindow(dlg);
}

INSTANTIATE_TEST_SUITE_P(Forms, Dialogs, ::testing::Bool());

TEST(DialogManager, ResultsAndFailures) {
    Script script;
    g_script = &script;
    const Template form(false, kStyle | WS_VISIBLE, "Modeless", kButtons);
    HWND dlg = CreateDialogIndirectParamA(nullptr, form.get(), nullptr, ScriptedDialog, 3);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(script.log, std::vector<std::string>{"init 3"});
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(SendMessageA(dlg, WM_APP + 1, TRUE, 0), 99);
    EXPECT_EQ(SendMessageA(dlg, WM_APP + 1, FALSE, 0), 0);
    EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), MAKELONG(11, DC_HASDEFID));
    // BM_CLICK on a button sends what the modal loop sends for the default button.
    SendDlgItemMessageA(dlg, 10, BM_CLICK, 0, 0);
    EXPECT_EQ(script.commandControl, reinterpret_cast<LPARAM>(GetDlgItem(dlg, 10)));
    EXPECT_FALSE(IsWindowVisible(dlg)); // EndDialog hides a modeless dialog
    DestroyWindow(dlg);

    HWND plain =
        CreateWindowExA(0, "Static", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    RECT rect = {0, 0, 4, 8};
    EXPECT_FALSE(MapDialogRect(plain, &rect));
    DestroyWindow(plain);
    Script bad;
    EXPECT_EQ(RunModal(false, bad, kButtons, 5,
                       reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234568))),
              -1);
    EXPECT_EQ(RunModal(true, bad, {{WS_VISIBLE, 1, "BwNoSuchControl", "", {}}}), -1);
    EXPECT_TRUE(bad.log.empty());
}

// Nobody presses anything on Linux: after the posted messages, the default push button; when
// even that does not end the dialog, IDCANCEL. (The real dialog would wait for a person.)
TEST(HeadlessDialogs, AnswerWithTheDefaultButton) {
    if (BWCORE_TEST_REAL_WIN32)
        GTEST_SKIP() << "the real dialog waits for a person";
    Script pressed, ignored, posted;
    ignored.endOnCommand = false;
    posted.posts = {{nullptr, WM_APP, 42, 0, 0, {0, 0}}};
    EXPECT_EQ(RunModal(true, pressed), 11);
    EXPECT_EQ(pressed.log, (std::vector<std::string>{"init 5", "command 11"}));
    EXPECT_EQ(RunModal(false, ignored), IDCANCEL);
    EXPECT_EQ(RunModal(false, posted), 42);
    EXPECT_EQ(posted.log, (std::vector<std::string>{"init 5", "app 42"}));
}

TEST(HeadlessMessageBoxes, DefaultButtonAndText) {
    if (BWCORE_TEST_REAL_WIN32)
        GTEST_SKIP() << "the real box waits for a person";
    const struct {
        UINT type;
        int result;
    } cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_DEFBUTTON2, IDOK}, // beyond the set: the first button
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3 | MB_ICONERROR, IDIGNORE},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_YESNO | MB_DEFBUTTON3, IDYES},
        {MB_RETRYCANCEL | MB_DEFBUTTON4, IDRETRY},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
        {7, 0}, // no such button set
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageBoxA(nullptr, "Text", "Caption", c.type), c.result) << c.type;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.result ? "Text\n" : "");
    }
}

} // namespace
