// Windows, classes, messages and the system controls. The same source runs against the Linux
// layer and, in the Windows build, against the real user32 under Wine.
#include <bwcore/platform.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// The creation and destruction messages each window of the test class received, as "name:msg".
std::vector<std::string> g_log;
LRESULT g_abortAt = 0; // the message whose answer aborts creation (FALSE or -1)
std::vector<std::pair<WPARAM, LPARAM>> g_commands; // WM_COMMAND as the parent received it

LRESULT CALLBACK Recording(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND)
        g_commands.emplace_back(wParam, lParam);
    const char* names[] = {"NCCREATE", "CREATE", "DESTROY", "NCDESTROY"};
    const UINT messages[] = {WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY};
    for (int i = 0; i < 4; ++i) {
        if (msg != messages[i])
            continue;
        char text[16] = "";
        GetWindowTextA(hWnd, text, sizeof text);
        g_log.push_back(std::string(msg == WM_NCCREATE ? "" : text) + ":" + names[i]);
        if (g_abortAt == msg)
            return msg == WM_NCCREATE ? FALSE : -1;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

class Windows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Recording;
        wc.cbWndExtra = 2 * sizeof(LONG_PTR);
        wc.lpszClassName = "BwTestRecording";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    void SetUp() override {
        g_log.clear();
        g_commands.clear();
        g_abortAt = 0;
    }
    static HWND Make(const char* name, HWND parent = nullptr, DWORD style = 0) {
        return CreateWindowExA(0, "bwtestrecording", name, style | (parent ? WS_CHILD : 0), 0, 0,
                               50, 20, parent, nullptr, nullptr, nullptr);
    }
};

TEST_F(Windows, DestructionOrderAndChildren) {
    HWND p = Make("P");
    HWND a = Make("A", p);
    HWND a1 = Make("A1", a);
    HWND b = Make("B", p);
    EXPECT_EQ(GetWindow(p, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetParent(a1), a);
    g_log.clear();
    ASSERT_TRUE(DestroyWindow(p));
    const std::vector<std::string> expected = {"P:DESTROY",   "A:DESTROY",    "A1:DESTROY",
                                               "B:DESTROY",   "A1:NCDESTROY", "A:NCDESTROY",
                                               "B:NCDESTROY", "P:NCDESTROY"};
    EXPECT_EQ(g_log, expected);
    for (HWND w : {p, a, a1, b})
        EXPECT_FALSE(IsWindow(w));
    EXPECT_NE(Make("again"), p); // a destroyed handle is not handed out again at once
}

TEST_F(Windows, CreationAborts) {
    const struct {
        UINT at;
        std::vector<std::string> log;
    } cases[] = {{WM_NCCREATE, {":NCCREATE", ":NCDESTROY"}},
                 {WM_CREATE, {":NCCREATE", "X:CREATE", "X:NCDESTROY"}}};
    for (const auto& c : cases) {
        g_log.clear();
        g_abortAt = c.at;
        EXPECT_EQ(Make("X"), nullptr);
        EXPECT_EQ(g_log, c.log);
    }
}

// The Windows build's tests run on Wine, which answers a few failures with other error codes
// than Windows; the Linux layer follows Windows.
DWORD WindowsOrWine(DWORD windows, DWORD wine) {
    return BWCORE_TEST_REAL_WIN32 ? wine : windows;
}

TEST_F(Windows, HandleFailures) {
    HWND dead = Make("dead");
    DestroyWindow(dead);
    static RECT rect;
    static char name[8];
    const struct {
        const char* name;
        LONG_PTR (*call)(HWND);
        DWORD wineError;
    } calls[] = {
        {"SendMessageA", [](HWND w) -> LONG_PTR { return SendMessageA(w, WM_USER, 1, 2); }, 1400},
        {"PostMessageA", [](HWND w) -> LONG_PTR { return PostMessageA(w, WM_USER, 1, 2); }, 1400},
        {"DestroyWindow", [](HWND w) -> LONG_PTR { return DestroyWindow(w); }, ERROR_ACCESS_DENIED},
        {"GetWindowLongPtrA", [](HWND w) { return GetWindowLongPtrA(w, GWLP_USERDATA); }, 1400},
        {"SetWindowTextA", [](HWND w) -> LONG_PTR { return SetWindowTextA(w, "x"); }, 1400},
        {"GetParent", [](HWND w) { return reinterpret_cast<LONG_PTR>(GetParent(w)); }, 1400},
        {"GetDlgItem", [](HWND w) { return reinterpret_cast<LONG_PTR>(GetDlgItem(w, 1)); }, 0},
        {"GetWindowRect", [](HWND w) -> LONG_PTR { return GetWindowRect(w, &rect); }, 1400},
        {"MoveWindow", [](HWND w) -> LONG_PTR { return MoveWindow(w, 1, 2, 3, 4, FALSE); }, 1400},
        {"GetClassNameA", [](HWND w) -> LONG_PTR { return GetClassNameA(w, name, 8); },
         ERROR_INVALID_PARAMETER},
        {"CreateWindowExA", [](HWND w) { return reinterpret_cast<LONG_PTR>(Make("c", w)); }, 1400},
    };
    for (HWND bad : {dead, reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234568))}) {
        for (const auto& c : calls) {
            SCOPED_TRACE(c.name);
            SetLastError(0);
            EXPECT_EQ(c.call(bad), 0);
            EXPECT_EQ(GetLastError(), WindowsOrWine(ERROR_INVALID_WINDOW_HANDLE, c.wineError));
        }
    }
}

TEST_F(Windows, ClassesAndWindowData) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "BWTESTRECORDING"; // names are compared without regard to case
    SetLastError(0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    SetLastError(0);
    EXPECT_EQ(
        CreateWindowExA(0, "BwNoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(GetLastError(), WindowsOrWine(ERROR_CANNOT_FIND_WND_CLASS, 1411));

    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(nullptr, "BUTTON", &info)); // a system class
    SetLastError(0);
    EXPECT_FALSE(GetClassInfoA(nullptr, "BwNoSuchClass", &info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));

    HWND w = Make("data");
    EXPECT_EQ(GetWindowLongPtrA(w, 0), 0); // extra bytes start zeroed
    EXPECT_EQ(SetWindowLongPtrA(w, sizeof(LONG_PTR), 42), 0);
    EXPECT_EQ(GetWindowLongPtrA(w, sizeof(LONG_PTR)), 42);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(w, 2 * sizeof(LONG_PTR) - 4), 0); // runs past the extra bytes
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetWindowLongPtrA(w, GWLP_USERDATA, 7);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 7);
    char name[8];
    EXPECT_EQ(GetClassNameA(w, name, sizeof name), 7);
    EXPECT_STREQ(name, "BwTestR");

    // Text is cut to the buffer and always terminated.
    SetWindowTextA(w, "Hello");
    char text[4] = "xyz";
    EXPECT_EQ(GetWindowTextA(w, text, 4), 3);
    EXPECT_STREQ(text, "Hel");
    EXPECT_EQ(GetWindowTextLengthA(w), 5);
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassA("BwTestRecording", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(w);
}

TEST_F(Windows, PostedMessages) {
    HWND w = Make("queue");
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    PostQuitMessage(3);
    for (UINT m : {WM_USER + 1, WM_USER + 2, WM_APP})
        PostMessageA(w, m, m, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);
    // A range takes the first message within it; PM_NOREMOVE leaves it; WM_QUIT comes last.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    const UINT order[] = {WM_USER + 1, WM_USER + 2, WM_APP, WM_USER + 3, WM_QUIT};
    for (UINT expected : order) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, expected);
        EXPECT_EQ(msg.hwnd, expected == WM_USER + 3 || expected == WM_QUIT ? nullptr : w);
    }
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(w);
}

// A message posted from another thread wakes the window's thread in GetMessageA, while other
// threads make and destroy windows of their own.
TEST_F(Windows, PostingAcrossThreads) {
    HWND w = Make("target");
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([w] {
            for (int i = 0; i < 20; ++i) {
                HWND own = CreateWindowExA(0, "Static", "x", 0, 0, 0, 1, 1, nullptr, nullptr,
                                           nullptr, nullptr);
                SendMessageA(w, WM_USER, 0, 0);
                DestroyWindow(own);
            }
            PostMessageA(w, WM_APP, 0, 0);
        });
    MSG msg;
    for (int arrived = 0; arrived < 3;)
        if (GetMessageA(&msg, w, 0, 0) > 0 && msg.message == WM_APP)
            ++arrived;
    for (auto& thread : threads)
        thread.join();
    DestroyWindow(w);
}

// Each step sends one message to a list box and expects its answer (for LB_GETTEXT the text).
TEST_F(Windows, ListBoxIndexesAndSorting) {
    const struct {
        DWORD style;
        UINT msg;
        WPARAM index;
        const char* text;
        LRESULT result;
    } steps[] = {
        {0, LB_ADDSTRING, 0, "b", 0},
        {0, LB_ADDSTRING, 0, "a", 1},
        {0, LB_INSERTSTRING, WPARAM(-1), "c", 2},
        {0, LB_INSERTSTRING, 1, "x", 1},
        {0, LB_INSERTSTRING, 5, "y", LB_ERR},
        {0, LB_INSERTSTRING, 4, "z", 4},
        {0, LB_GETTEXTLEN, 5, nullptr, LB_ERR},
        {0, LB_GETTEXT, WPARAM(-1), nullptr, LB_ERR},
        {0, LB_DELETESTRING, 5, nullptr, LB_ERR},
        {0, LB_DELETESTRING, 0, nullptr, 4},
        {0, LB_GETTEXT, 0, "x", 1},
        {0, LB_GETCOUNT, 0, nullptr, 4},
        {0, LB_RESETCONTENT, 0, nullptr, 0},
        {0, LB_GETCOUNT, 0, nullptr, 0},
        {LBS_SORT, LB_ADDSTRING, 0, "beta", 0},
        {LBS_SORT, LB_ADDSTRING, 0, "Alpha", 0},
        {LBS_SORT, LB_ADDSTRING, 0, "gamma", 2},
        {LBS_SORT, LB_ADDSTRING, 0, "alpha", 0},
        {LBS_SORT, LB_ADDSTRING, 0, "Beta", 2},
        {LBS_SORT, LB_INSERTSTRING, 0, "zeta", 0},
        {LBS_SORT, LB_GETTEXT, 3, "Beta", 4},
    };
    HWND parent = Make("parent");
    HWND lists[2] = {};
    for (DWORD style : {0ul, static_cast<unsigned long>(LBS_SORT)})
        lists[style != 0] = CreateWindowExA(0, "listbox", "", WS_CHILD | style, 0, 0, 50, 50,
                                            parent, nullptr, nullptr, nullptr);
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << std::hex << step.msg << " " << step.index);
        char text[16] = "";
        const bool get = step.msg == LB_GETTEXT;
        const LPARAM lParam = reinterpret_cast<LPARAM>(get ? text : step.text);
        EXPECT_EQ(SendMessageA(lists[step.style != 0], step.msg, step.index, lParam), step.result);
        if (get && step.result != LB_ERR) {
            EXPECT_STREQ(text, step.text);
        }
    }
    DestroyWindow(parent);
}

TEST_F(Windows, ButtonsAndControlCodes) {
    HWND parent = Make("parent");
    auto make = [parent](const char* cls, DWORD style, int id) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 20, 20, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    const struct {
        const char* cls;
        DWORD style;
        LRESULT code;
    } codes[] = {
        {"Button", BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {"Button", BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {"Button", BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {"Button", BS_GROUPBOX, DLGC_STATIC},
        {"Button", BS_CHECKBOX, DLGC_BUTTON},
        {"Static", SS_LEFT, DLGC_STATIC},
        {"Edit", ES_LEFT, DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS},
        {"Edit", ES_MULTILINE,
         DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS},
    };
    for (const auto& c : codes) {
        SCOPED_TRACE(testing::Message() << c.cls << " " << c.style);
        EXPECT_EQ(SendMessageA(make(c.cls, c.style, 1), WM_GETDLGCODE, 0, 0), c.code);
    }

    // A click changes an automatic button first and then tells the parent; a disabled button
    // ignores it (Wine's clicks all the same). A check box has no third state, a push button no
    // state at all.
    HWND box = make("Button", BS_AUTOCHECKBOX, 40);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].first, MAKEWPARAM(40, BN_CLICKED));
    EXPECT_EQ(g_commands[0].second, reinterpret_cast<LPARAM>(box));
    EnableWindow(box, FALSE);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(g_commands.size(), WindowsOrWine(1, 2));
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), WindowsOrWine(BST_CHECKED, BST_UNCHECKED));
    SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    HWND push = make("Button", BS_PUSHBUTTON, 41);
    SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Clicking an automatic radio button clears the others of its group only.
    HWND radios[3] = {make("Button", BS_AUTORADIOBUTTON | WS_GROUP, 50),
                      make("Button", BS_AUTORADIOBUTTON, 51),
                      make("Button", BS_AUTORADIOBUTTON | WS_GROUP, 52)};
    SendMessageA(radios[0], BM_CLICK, 0, 0);
    SendMessageA(radios[2], BM_CLICK, 0, 0);
    SendMessageA(radios[1], BM_CLICK, 0, 0);
    const LRESULT checks[] = {BST_UNCHECKED, BST_CHECKED, BST_CHECKED};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SendMessageA(radios[i], BM_GETCHECK, 0, 0), checks[i]);

    HWND edit = make("Edit", 0, 60);
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
    DestroyWindow(parent);
}

} // namespace
