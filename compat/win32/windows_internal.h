// The records of the headless window system, shared by windows.cpp (windows), window_classes.cpp
// (classes) and messages.cpp (queues), and the window procedures of the system classes.
//
// One lock guards every record. It is never held while a window procedure runs, so a procedure
// may call any function of the window system.
#pragma once

#include <bwcore/win32/user.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace bwcompat {

struct window_class {
    std::string name;
    ATOM atom = 0;
    HINSTANCE instance = nullptr;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    bool system = false;
    size_t windows = 0; // live windows of the class
};

// A thread's posted messages. WM_QUIT is a flag, as Win32 keeps it: it is handed out only when no
// other message matches.
struct message_queue {
    std::deque<MSG> posted;
    bool quit = false;
    int exitCode = 0;
    std::condition_variable arrived;
};

struct window {
    HWND handle = nullptr;
    std::shared_ptr<window_class> cls;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0; // a child's control id, a top-level window's menu
    LONG_PTR userData = 0;
    std::string text;
    int x = 0, y = 0, width = 0, height = 0; // relative to the parent
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children; // in creation order, as dialogs' tab order needs
    std::vector<BYTE> extra;
    bool destroying = false;
    std::shared_ptr<message_queue> queue; // the creating thread's
};

struct window_registry {
    std::mutex lock;
    std::unordered_map<uintptr_t, std::unique_ptr<window>> windows;
    std::vector<HWND> topLevel; // the first is the most recently created
    uintptr_t lastSerial = 0;
    std::vector<std::shared_ptr<window_class>> classes; // application classes, then system ones
    std::unordered_map<std::string, ATOM> atoms;        // by upper-case name, never forgotten
    bool systemClassesRegistered = false;
    HWND focus = nullptr;
};

// Never destroyed, so that windows still work while other libraries' static objects go away.
window_registry& Registry();

// The window of a handle, or null when it names no live window. Called with the lock.
window* LookUpWindow(window_registry& registry, HWND hWnd);
// As LookUpWindow, setting ERROR_INVALID_WINDOW_HANDLE when there is no window.
window* LookUpWindowOrFail(window_registry& registry, HWND hWnd);

// fn(registry, window) with the lock held; without a window, failure (0, FALSE or null unless
// given) and ERROR_INVALID_WINDOW_HANDLE.
template <typename Fn>
auto WithWindow(HWND hWnd, Fn fn,
                decltype(fn(std::declval<window_registry&>(),
                            std::declval<window&>())) failure = {}) {
    window_registry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    window* w = LookUpWindowOrFail(registry, hWnd);
    return w != nullptr ? fn(registry, *w) : failure;
}

// The class CreateWindowExA uses: the instance's own class of that name or atom, then a
// CS_GLOBALCLASS class, then a system class. Registers the system classes the first time.
// Called with the lock.
std::shared_ptr<window_class> FindClassForWindow(window_registry& registry, LPCSTR name,
                                                 HINSTANCE instance);

// The calling thread's message queue, made on first use.
std::shared_ptr<message_queue> CurrentQueue();

// Whether hWnd is ancestor or one of its descendants. Called with the lock.
bool IsSelfOrDescendant(window_registry& registry, HWND hWnd, HWND ancestor);

// The window procedures of the system classes (one file each) and of the dialog class.
LRESULT CALLBACK ButtonWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// The dialog class's name (Win32's atom 32770 as a string).
constexpr const char* dialog_class_name = "#32770";

} // namespace bwcompat
