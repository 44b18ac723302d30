// Messages for Linux: sending calls the window procedure on the calling thread; posting queues the
// message for the thread that created the window, whose GetMessageA wakes for it.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/user.h>

#include "windows_internal.h"

#include <chrono>
#include <new>

namespace {

using bwcompat::message_queue;
using bwcompat::window;
using bwcompat::window_registry;

// PeekMessageA's and GetMessageA's hWnd for the messages posted with no window.
const HWND thread_messages = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

DWORD tick_count() {
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool matches(window_registry& registry, const MSG& msg, HWND hWnd, UINT first, UINT last) {
    if (hWnd == thread_messages) {
        if (msg.hwnd != nullptr)
            return false;
    } else if (hWnd != nullptr && !bwcompat::IsSelfOrDescendant(registry, msg.hwnd, hWnd)) {
        return false;
    }
    return (first == 0 && last == 0) || (msg.message >= first && msg.message <= last);
}

// Takes (or with PM_NOREMOVE copies) the first matching message; WM_QUIT once no other matches.
// Called with the lock.
bool take(window_registry& registry, message_queue& queue, LPMSG lpMsg, HWND hWnd, UINT first,
          UINT last, UINT remove) {
    for (auto at = queue.posted.begin(); at != queue.posted.end(); ++at) {
        if (matches(registry, *at, hWnd, first, last)) {
            *lpMsg = *at;
            if (remove & PM_REMOVE)
                queue.posted.erase(at);
            return true;
        }
    }
    if (!queue.quit)
        return false;
    *lpMsg = {nullptr, WM_QUIT, static_cast<WPARAM>(queue.exitCode), 0, tick_count(), {0, 0}};
    if (remove & PM_REMOVE)
        queue.quit = false;
    return true;
}

bool valid_filter(window_registry& registry, HWND hWnd) {
    return hWnd == nullptr || hWnd == thread_messages ||
           bwcompat::LookUpWindowOrFail(registry, hWnd) != nullptr;
}

} // namespace

namespace bwcompat {

std::shared_ptr<message_queue> CurrentQueue() {
    thread_local std::shared_ptr<message_queue> queue = std::make_shared<message_queue>();
    return queue;
}

} // namespace bwcompat

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const WNDPROC proc =
        bwcompat::WithWindow(hWnd, [](window_registry&, const window& w) { return w.proc; });
    return proc != nullptr ? proc(hWnd, Msg, wParam, lParam) : 0;
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
    return lpPrevWndFunc != nullptr ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) try {
    std::shared_ptr<message_queue> queue = hWnd == nullptr ? bwcompat::CurrentQueue() : nullptr;
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (hWnd != nullptr) {
        const window* w = bwcompat::LookUpWindowOrFail(registry, hWnd);
        if (w == nullptr)
            return FALSE;
        queue = w->queue;
    }
    queue->posted.push_back({hWnd, Msg, wParam, lParam, tick_count(), {0, 0}});
    queue->arrived.notify_all();
    return TRUE;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

void WINAPI PostQuitMessage(int nExitCode) try {
    std::shared_ptr<message_queue> queue = bwcompat::CurrentQueue();
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    queue->quit = true;
    queue->exitCode = nExitCode;
    queue->arrived.notify_all();
} catch (const std::bad_alloc&) {
    // A thread without the memory for its queue has no loop to end.
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) try {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<message_queue> queue = bwcompat::CurrentQueue();
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (!valid_filter(registry, hWnd))
        return FALSE;
    return take(registry, *queue, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) try {
    if (lpMsg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    std::shared_ptr<message_queue> queue = bwcompat::CurrentQueue();
    window_registry& registry = bwcompat::Registry();
    std::unique_lock<std::mutex> guard(registry.lock);
    if (!valid_filter(registry, hWnd))
        return -1;
    while (!take(registry, *queue, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE))
        queue->arrived.wait(guard);
    return lpMsg->message != WM_QUIT;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (lpMsg == nullptr || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_KEYUP))
        return FALSE;
    // Without a keyboard layout only the keys whose character does not depend on one make one.
    const WPARAM key = lpMsg->wParam;
    if (lpMsg->message == WM_KEYDOWN && (key == VK_BACK || key == VK_TAB || key == VK_RETURN ||
                                         key == VK_ESCAPE || key == VK_SPACE))
        PostMessageA(lpMsg->hwnd, WM_CHAR, key, lpMsg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr)
        return 0;
    return SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}
