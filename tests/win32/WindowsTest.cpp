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

LRESULT CALLBACK Recording(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
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

} // namespace
