// Windows for Linux: handles, creation and destruction, window longs and the window tree.
//
// A window's handle is window_handle_base + serial * 4 with a serial that only grows, so that a
// handle of a destroyed window names no other window for as long as the process can run up
// 0x08000000 windows; after that the serials go round, passing over those still in use.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/user.h>

#include "windows_internal.h"

#include <string.h>

#include <algorithm>
#include <new>
#include <type_traits>

namespace {

using bwcompat::window;
using bwcompat::window_registry;

constexpr uintptr_t window_handle_base = 0x60000000;
constexpr uintptr_t window_serials = 0x08000000;

HWND new_handle(window_registry& registry) {
    for (;;) {
        registry.lastSerial = registry.lastSerial % (window_serials - 1) + 1;
        const uintptr_t value = window_handle_base + registry.lastSerial * 4;
        if (registry.windows.find(value) == registry.windows.end())
            return reinterpret_cast<HWND>(value);
    }
}

std::vector<HWND> children_of(HWND hWnd) {
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    const window* found = bwcompat::LookUpWindow(registry, hWnd);
    return found != nullptr ? found->children : std::vector<HWND>();
}

// The siblings of a window: its parent's children, or the top-level windows.
std::vector<HWND>& siblings_of(window_registry& registry, const window& w) {
    if (w.parent != nullptr)
        return bwcompat::LookUpWindow(registry, w.parent)->children;
    return registry.topLevel;
}

void mark_destroying(window_registry& registry, HWND hWnd) {
    window* w = bwcompat::LookUpWindow(registry, hWnd);
    w->destroying = true;
    for (HWND child : w->children)
        mark_destroying(registry, child);
}

// WM_DESTROY to the window and then to each of its descendants, parents before children.
void send_destroy(HWND hWnd) {
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    for (HWND child : children_of(hWnd))
        send_destroy(child);
}

// WM_NCDESTROY to the descendants, children before parents, and then to the window; each record
// goes once its WM_NCDESTROY has been handled.
void free_window(HWND hWnd) {
    for (HWND child : children_of(hWnd))
        free_window(child);
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.windows.find(reinterpret_cast<uintptr_t>(hWnd));
    if (found == registry.windows.end())
        return;
    window& w = *found->second;
    std::vector<HWND>& siblings = siblings_of(registry, w);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), hWnd), siblings.end());
    for (auto& other : registry.windows)
        if (other.second->owner == hWnd)
            other.second->owner = nullptr;
    if (registry.focus == hWnd)
        registry.focus = nullptr;
    --w.cls->windows;
    registry.windows.erase(found);
}

HWND fail_create(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// Whether a window long of that index fits the caller's width: the pointer-sized ones do not fit
// GetWindowLongA's 32 bits.
bool pointer_sized(int index) {
    return index == GWLP_WNDPROC || index == GWLP_HINSTANCE || index == GWLP_HWNDPARENT;
}

// A field as the window long it is read as (a 32-bit one sign-extended, as LONG is), replaced by
// the value when there is one.
template <typename Field>
LONG_PTR exchange_long(Field& field, const LONG_PTR* value) {
    LONG_PTR previous;
    if constexpr (std::is_pointer_v<Field>)
        previous = reinterpret_cast<LONG_PTR>(field);
    else
        previous = static_cast<std::make_signed_t<Field>>(field);
    if (value != nullptr) {
        if constexpr (std::is_pointer_v<Field>)
            field = reinterpret_cast<Field>(*value);
        else
            field = static_cast<Field>(*value);
    }
    return previous;
}

// Reads (value null) or writes a window long; the value before the call, 0 with
// ERROR_INVALID_INDEX for an index the window does not have.
LONG_PTR access_long(HWND hWnd, int index, size_t size, const LONG_PTR* value) {
    return bwcompat::WithWindow(hWnd, [&](window_registry&, window& w) -> LONG_PTR {
        if (size < sizeof(LONG_PTR) && pointer_sized(index)) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        switch (index) {
        case GWLP_WNDPROC:
            return exchange_long(w.proc, value);
        case GWLP_HINSTANCE:
            return exchange_long(w.instance, value);
        case GWLP_HWNDPARENT: {
            const LONG_PTR previous =
                reinterpret_cast<LONG_PTR>(w.parent != nullptr ? w.parent : w.owner);
            if (value != nullptr && w.parent == nullptr)
                w.owner = reinterpret_cast<HWND>(*value);
            return previous;
        }
        case GWLP_ID:
            return exchange_long(w.id, value);
        case GWL_STYLE:
            return exchange_long(w.style, value);
        case GWL_EXSTYLE:
            return exchange_long(w.exStyle, value);
        case GWLP_USERDATA:
            return exchange_long(w.userData, value);
        default:
            break;
        }
        if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
        }
        LONG_PTR previous = 0;
        if (size == sizeof(LONG_PTR)) {
            memcpy(&previous, &w.extra[index], size);
            if (value != nullptr)
                memcpy(&w.extra[index], value, size);
        } else {
            LONG narrow = 0;
            memcpy(&narrow, &w.extra[index], sizeof narrow);
            previous = narrow;
            if (value != nullptr) {
                narrow = static_cast<LONG>(*value);
                memcpy(&w.extra[index], &narrow, sizeof narrow);
            }
        }
        return previous;
    });
}

} // namespace

namespace bwcompat {

window_registry& Registry() {
    static window_registry* instance = new window_registry;
    return *instance;
}

window* LookUpWindow(window_registry& registry, HWND hWnd) {
    auto found = registry.windows.find(reinterpret_cast<uintptr_t>(hWnd));
    return found != registry.windows.end() ? found->second.get() : nullptr;
}

window* LookUpWindowOrFail(window_registry& registry, HWND hWnd) {
    window* found = LookUpWindow(registry, hWnd);
    if (found == nullptr)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return found;
}

bool IsSelfOrDescendant(window_registry& registry, HWND hWnd, HWND ancestor) {
    while (hWnd != nullptr) {
        if (hWnd == ancestor)
            return true;
        const window* w = LookUpWindow(registry, hWnd);
        hWnd = w != nullptr ? w->parent : nullptr;
    }
    return false;
}

} // namespace bwcompat

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) try {
    const bool child = (dwStyle & (WS_CHILD | WS_POPUP)) == WS_CHILD;
    const int defaultSize = (dwStyle & (WS_CHILD | WS_POPUP)) == 0 ? 100 : 0;
    const int x = X == CW_USEDEFAULT ? 0 : X;
    const int y = Y == CW_USEDEFAULT ? 0 : Y;
    const int width = nWidth == CW_USEDEFAULT ? defaultSize : nWidth;
    const int height = nHeight == CW_USEDEFAULT ? defaultSize : nHeight;
    auto created = std::make_unique<window>();
    created->queue = bwcompat::CurrentQueue();
    HWND hWnd = nullptr;
    {
        window_registry& registry = bwcompat::Registry();
        std::lock_guard<std::mutex> guard(registry.lock);
        created->cls = bwcompat::FindClassForWindow(registry, lpClassName, hInstance);
        if (!created->cls)
            return fail_create(ERROR_CANNOT_FIND_WND_CLASS);
        HWND owner = nullptr;
        if (hWndParent != nullptr) {
            const window* parent = bwcompat::LookUpWindowOrFail(registry, hWndParent);
            if (parent == nullptr)
                return fail_create(ERROR_INVALID_WINDOW_HANDLE);
            // A top-level window's owner is the top-level window above the one given.
            owner = hWndParent;
            for (const window* above = parent; above->parent != nullptr;
                 above = bwcompat::LookUpWindow(registry, above->parent))
                owner = above->parent;
        } else if (child) {
            return fail_create(ERROR_TLW_WITH_WSCHILD);
        }
        window& w = *created;
        hWnd = new_handle(registry);
        w.handle = hWnd;
        w.proc = w.cls->proc;
        w.instance = hInstance;
        // WS_VISIBLE comes with the ShowWindow that follows WM_CREATE.
        w.style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE);
        w.exStyle = dwExStyle;
        w.id = reinterpret_cast<LONG_PTR>(hMenu);
        w.x = x;
        w.y = y;
        w.width = width;
        w.height = height;
        w.extra.assign(static_cast<size_t>(w.cls->windowExtra), 0);
        if (child) {
            w.parent = hWndParent;
            bwcompat::LookUpWindow(registry, hWndParent)->children.push_back(hWnd);
        } else {
            w.owner = owner;
            registry.topLevel.insert(registry.topLevel.begin(), hWnd);
        }
        ++w.cls->windows;
        registry.windows.emplace(reinterpret_cast<uintptr_t>(hWnd), std::move(created));
    }

    CREATESTRUCTA cs = {lpParam,
                        hInstance,
                        hMenu,
                        hWndParent,
                        height,
                        width,
                        y,
                        x,
                        static_cast<LONG>(dwStyle),
                        lpWindowName,
                        lpClassName,
                        dwExStyle};
    // A window whose creation is refused gets only WM_NCDESTROY (its children too).
    if (!SendMessageA(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        SendMessageA(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        free_window(hWnd);
        return nullptr;
    }
    if (!IsWindow(hWnd))
        return nullptr;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hWnd, SW_SHOW);
    return hWnd;
} catch (const std::bad_alloc&) {
    return fail_create(ERROR_NOT_ENOUGH_MEMORY);
}

BOOL WINAPI DestroyWindow(HWND hWnd) try {
    std::vector<HWND> owned;
    bool underway = false;
    if (!bwcompat::WithWindow(hWnd, [&](window_registry& registry, window& w) {
            underway = w.destroying;
            if (!underway) {
                mark_destroying(registry, hWnd);
                for (HWND top : registry.topLevel)
                    if (bwcompat::LookUpWindow(registry, top)->owner == hWnd)
                        owned.push_back(top);
            }
            return true;
        }))
        return FALSE;
    if (underway)
        return TRUE;
    // Owned windows go first, as Win32 destroys them.
    for (HWND top : owned)
        DestroyWindow(top);
    send_destroy(hWnd);
    free_window(hWnd);
    return TRUE;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    return bwcompat::LookUpWindow(registry, hWnd) != nullptr;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    return access_long(hWnd, nIndex, sizeof(LONG_PTR), nullptr);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    return access_long(hWnd, nIndex, sizeof(LONG_PTR), &dwNewLong);
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    return static_cast<LONG>(access_long(hWnd, nIndex, sizeof(LONG), nullptr));
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    const LONG_PTR value = dwNewLong;
    return static_cast<LONG>(access_long(hWnd, nIndex, sizeof(LONG), &value));
}

HWND WINAPI GetParent(HWND hWnd) {
    return bwcompat::WithWindow(hWnd, [](window_registry&, const window& w) -> HWND {
        if (w.parent != nullptr)
            return w.parent;
        return (w.style & WS_POPUP) != 0 ? w.owner : nullptr;
    });
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    return bwcompat::WithWindow(hWnd, [&](window_registry& registry, window& w) -> HWND {
        const std::vector<HWND>& siblings = siblings_of(registry, w);
        const auto self = std::find(siblings.begin(), siblings.end(), hWnd);
        switch (uCmd) {
        case GW_CHILD:
            return w.children.empty() ? nullptr : w.children.front();
        case GW_OWNER:
            return w.owner;
        case GW_HWNDFIRST:
            return siblings.front();
        case GW_HWNDLAST:
            return siblings.back();
        case GW_HWNDNEXT:
            return self + 1 != siblings.end() ? *(self + 1) : nullptr;
        case GW_HWNDPREV:
            return self != siblings.begin() ? *(self - 1) : nullptr;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    });
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    return bwcompat::WithWindow(hDlg, [&](window_registry& registry, const window& dialog) -> HWND {
        for (HWND child : dialog.children)
            if (bwcompat::LookUpWindow(registry, child)->id == nIDDlgItem)
                return child;
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
        return nullptr;
    });
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    return static_cast<int>(GetWindowLongPtrA(hWnd, GWLP_ID));
}
