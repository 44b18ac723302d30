// Window text, visibility, enabling, focus and geometry for Linux, and the default window
// procedure that keeps the text.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/user.h>

#include "windows_internal.h"

#include <string.h>

#include <algorithm>
#include <new>

namespace {

using bwcompat::window;
using bwcompat::window_registry;

// Copies text into a buffer of `size` characters, cut to size - 1 and terminated; the count.
int copy_text(const std::string& text, LPSTR buffer, size_t size) {
    if (buffer == nullptr || size == 0)
        return 0;
    const size_t length = std::min(text.size(), size - 1);
    memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

// Sets or clears a style bit; the window's style before the change, or -1 with no window.
int64_t change_style(HWND hWnd, DWORD bit, bool set) {
    return bwcompat::WithWindow(
        hWnd,
        [&](window_registry&, window& w) -> int64_t {
            const DWORD before = w.style;
            w.style = set ? before | bit : before & ~bit;
            return before;
        },
        -1);
}

DWORD style_of(HWND hWnd) {
    return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
}

// The window's rectangle, in its own client coordinates or (screen) in the screen's.
BOOL get_rect(HWND hWnd, LPRECT lpRect, bool screen) {
    return bwcompat::WithWindow(hWnd, [&](window_registry& registry, const window& w) {
        if (lpRect == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        LONG left = 0, top = 0;
        for (const window* at = &w; screen && at != nullptr;
             at = bwcompat::LookUpWindow(registry, at->parent)) {
            left += at->x;
            top += at->y;
        }
        *lpRect = {left, top, left + w.width, top + w.height};
        return TRUE;
    });
}

} // namespace

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) try {
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr)
            DefWindowProcA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(cs->lpszName));
        return TRUE;
    }
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        window_registry& registry = bwcompat::Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        window* w = bwcompat::LookUpWindow(registry, hWnd);
        if (w == nullptr)
            return 0;
        if (Msg == WM_SETTEXT) {
            const char* text = reinterpret_cast<const char*>(lParam);
            w->text = text != nullptr ? text : "";
            return TRUE;
        }
        if (Msg == WM_GETTEXT)
            return copy_text(w->text, reinterpret_cast<LPSTR>(lParam), wParam);
        return static_cast<LRESULT>(w->text.size());
    }
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    default:
        return 0;
    }
} catch (const std::bad_alloc&) {
    return Msg == WM_NCCREATE ? TRUE : FALSE;
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (lpString == nullptr || nMaxCount <= 0)
        return 0;
    lpString[0] = '\0';
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item != nullptr && SetWindowTextA(item, lpString);
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    if (lpString != nullptr && cchMax > 0)
        lpString[0] = '\0';
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item != nullptr ? static_cast<UINT>(GetWindowTextA(item, lpString, cchMax)) : 0;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                   LPARAM lParam) {
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item != nullptr ? SendMessageA(item, Msg, wParam, lParam) : 0;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const bool show = nCmdShow != SW_HIDE;
    const bool wasVisible = (style_of(hWnd) & WS_VISIBLE) != 0;
    if (show != wasVisible) {
        // WM_SHOWWINDOW comes before the change, as Win32 sends it.
        SendMessageA(hWnd, WM_SHOWWINDOW, show, 0);
        change_style(hWnd, WS_VISIBLE, show);
    }
    return wasVisible;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    const window* w = bwcompat::LookUpWindow(registry, hWnd);
    if (w == nullptr)
        return FALSE;
    for (; w != nullptr; w = bwcompat::LookUpWindow(registry, w->parent))
        if ((w->style & WS_VISIBLE) == 0)
            return FALSE;
    return TRUE;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    const int64_t before = change_style(hWnd, WS_DISABLED, !bEnable);
    if (before < 0)
        return FALSE;
    const bool wasDisabled = (before & WS_DISABLED) != 0;
    if (wasDisabled == !bEnable)
        return wasDisabled;
    if (!bEnable && GetFocus() == hWnd)
        SetFocus(nullptr);
    SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    return IsWindow(hWnd) && (style_of(hWnd) & WS_DISABLED) == 0;
}

HWND WINAPI SetFocus(HWND hWnd) {
    HWND previous = nullptr;
    {
        window_registry& registry = bwcompat::Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        if (hWnd != nullptr && bwcompat::LookUpWindowOrFail(registry, hWnd) == nullptr)
            return nullptr;
        previous = registry.focus;
        if (previous == hWnd)
            return previous;
        registry.focus = hWnd;
    }
    if (previous != nullptr)
        SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd != nullptr)
        SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetFocus(void) {
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.focus;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    return get_rect(hWnd, lpRect, false);
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    return get_rect(hWnd, lpRect, true);
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    (void)bRepaint; // nothing is painted
    bool moved = false, sized = false;
    if (!bwcompat::WithWindow(hWnd, [&](window_registry&, window& w) {
            moved = w.x != X || w.y != Y;
            sized = w.width != nWidth || w.height != nHeight;
            w.x = X;
            w.y = Y;
            w.width = nWidth;
            w.height = nHeight;
            return true;
        }))
        return FALSE;
    if (moved)
        SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(X, Y));
    if (sized)
        SendMessageA(hWnd, WM_SIZE, 0, MAKELPARAM(nWidth, nHeight));
    return TRUE;
}
