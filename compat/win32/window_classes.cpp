// Window classes for Linux: application classes (local to an instance, or CS_GLOBALCLASS) and the
// system classes, looked up by name without regard to case or by atom.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/user.h>

#include "windows_internal.h"

#include <string.h>

#include <algorithm>
#include <new>

namespace {

using bwcompat::window_class;
using bwcompat::window_registry;

std::string class_key(const char* name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return key;
}

// Atoms are handed out from 0xC000 as Win32's string atoms are, one per name for the process's
// life, so that a class registered again keeps its atom.
ATOM atom_of(window_registry& registry, const std::string& key) {
    auto found = registry.atoms.find(key);
    if (found != registry.atoms.end())
        return found->second;
    const ATOM atom = static_cast<ATOM>(0xC000 + registry.atoms.size());
    registry.atoms.emplace(key, atom);
    return atom;
}

// Whether a name passed by a caller (a string or MAKEINTATOM) names the class.
bool names(const window_class& cls, LPCSTR name) {
    if (IS_INTRESOURCE(name))
        return cls.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    return class_key(name) == class_key(cls.name.c_str());
}

struct system_class {
    const char* name;
    WNDPROC proc;
    int windowExtra;
    ATOM atom; // 0: a string atom
};

void register_system_classes(window_registry& registry) {
    if (registry.systemClassesRegistered)
        return;
    static const system_class table[] = {
        {"Button", bwcompat::ButtonWindowProc, sizeof(LONG_PTR), 0},
        {"Edit", bwcompat::EditWindowProc, 0, 0},
        {"Static", bwcompat::StaticWindowProc, 0, 0},
        {"ListBox", bwcompat::ListBoxWindowProc, sizeof(void*), 0},
        {bwcompat::dialog_class_name, bwcompat::DialogWindowProc, DLGWINDOWEXTRA, 32770},
    };
    for (const system_class& entry : table) {
        auto cls = std::make_shared<window_class>();
        cls->name = entry.name;
        cls->atom = entry.atom != 0 ? entry.atom : atom_of(registry, class_key(entry.name));
        cls->style = CS_GLOBALCLASS;
        cls->proc = entry.proc;
        cls->windowExtra = entry.windowExtra;
        cls->system = true;
        registry.classes.push_back(std::move(cls));
    }
    registry.systemClassesRegistered = true;
}

// The application class the instance registered under that name, or null.
std::vector<std::shared_ptr<window_class>>::iterator own_class(window_registry& registry,
                                                               LPCSTR name, HINSTANCE instance) {
    return std::find_if(registry.classes.begin(), registry.classes.end(), [&](const auto& cls) {
        return !cls->system && cls->instance == instance && names(*cls, name);
    });
}

ATOM register_class(const WNDCLASSEXA& wc) {
    if (wc.lpszClassName == nullptr || IS_INTRESOURCE(wc.lpszClassName) || wc.cbClsExtra < 0 ||
        wc.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    register_system_classes(registry);
    const bool global = (wc.style & CS_GLOBALCLASS) != 0;
    const bool taken =
        std::any_of(registry.classes.begin(), registry.classes.end(), [&](const auto& cls) {
            return !cls->system && names(*cls, wc.lpszClassName) &&
                   (cls->instance == wc.hInstance ||
                    (global && (cls->style & CS_GLOBALCLASS) != 0));
        });
    if (taken) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_shared<window_class>();
    cls->name = wc.lpszClassName;
    cls->atom = atom_of(registry, class_key(wc.lpszClassName));
    cls->instance = wc.hInstance;
    cls->style = wc.style;
    cls->proc = wc.lpfnWndProc;
    cls->classExtra = wc.cbClsExtra;
    cls->windowExtra = wc.cbWndExtra;
    cls->icon = wc.hIcon;
    cls->cursor = wc.hCursor;
    cls->background = wc.hbrBackground;
    const ATOM atom = cls->atom;
    // Application classes come before the system ones, so that they are found first.
    auto firstSystem = std::find_if(registry.classes.begin(), registry.classes.end(),
                                    [](const auto& c) { return c->system; });
    registry.classes.insert(firstSystem, std::move(cls));
    return atom;
}

} // namespace

namespace bwcompat {

std::shared_ptr<window_class> FindClassForWindow(window_registry& registry, LPCSTR name,
                                                 HINSTANCE instance) {
    register_system_classes(registry);
    if (name == nullptr)
        return nullptr;
    auto own = own_class(registry, name, instance);
    if (own != registry.classes.end())
        return *own;
    for (const auto& cls : registry.classes)
        if ((cls->style & CS_GLOBALCLASS) != 0 && names(*cls, name))
            return cls;
    return nullptr;
}

} // namespace bwcompat

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) try {
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = lpWndClass->style;
    wc.lpfnWndProc = lpWndClass->lpfnWndProc;
    wc.cbClsExtra = lpWndClass->cbClsExtra;
    wc.cbWndExtra = lpWndClass->cbWndExtra;
    wc.hInstance = lpWndClass->hInstance;
    wc.hIcon = lpWndClass->hIcon;
    wc.hCursor = lpWndClass->hCursor;
    wc.hbrBackground = lpWndClass->hbrBackground;
    wc.lpszMenuName = lpWndClass->lpszMenuName;
    wc.lpszClassName = lpWndClass->lpszClassName;
    return register_class(wc);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx) try {
    if (lpwcx == nullptr || lpwcx->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return register_class(*lpwcx);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance) try {
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto own = lpClassName != nullptr ? own_class(registry, lpClassName, hInstance)
                                      : registry.classes.end();
    if (own == registry.classes.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if ((*own)->windows != 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    registry.classes.erase(own);
    return TRUE;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE hInstance, LPCSTR lpClassName, LPWNDCLASSA lpWndClass) try {
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    window_registry& registry = bwcompat::Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    const std::shared_ptr<window_class> cls =
        bwcompat::FindClassForWindow(registry, lpClassName, hInstance);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *lpWndClass = {};
    lpWndClass->style = cls->style;
    lpWndClass->lpfnWndProc = cls->proc;
    lpWndClass->cbClsExtra = cls->classExtra;
    lpWndClass->cbWndExtra = cls->windowExtra;
    lpWndClass->hInstance = cls->system ? nullptr : cls->instance;
    lpWndClass->hIcon = cls->icon;
    lpWndClass->hCursor = cls->cursor;
    lpWndClass->hbrBackground = cls->background;
    lpWndClass->lpszClassName = lpClassName;
    return cls->atom;
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    return bwcompat::WithWindow(hWnd, [&](window_registry&, const bwcompat::window& w) {
        if (lpClassName == nullptr || nMaxCount <= 0) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        const size_t length = std::min(w.cls->name.size(), static_cast<size_t>(nMaxCount - 1));
        memcpy(lpClassName, w.cls->name.data(), length);
        lpClassName[length] = '\0';
        return static_cast<int>(length);
    });
}
