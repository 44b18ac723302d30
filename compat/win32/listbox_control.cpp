// The "ListBox" class for Linux: a list of strings. With LBS_SORT, LB_ADDSTRING keeps the list in
// order without regard to case (lstrcmpiA, the comparison the system's list box sorts by);
// LB_INSERTSTRING never sorts. A bad index answers LB_ERR.
#include <bwcore/win32/strings.h>
#include <bwcore/win32/user.h>

#include "windows_internal.h"

#include <string.h>

#include <new>
#include <string>
#include <vector>

namespace {

using strings = std::vector<std::string>;

// The list lives in the window's first extra bytes from WM_NCCREATE to WM_NCDESTROY.
strings* list_of(HWND hWnd) {
    return reinterpret_cast<strings*>(GetWindowLongPtrA(hWnd, 0));
}

const char* text_of(LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return text != nullptr ? text : "";
}

bool valid_index(const strings& items, WPARAM index) {
    return index < items.size();
}

// Where a sorted list takes a new string: a binary search that stops at the first string it
// meets that compares equal, so that the new string goes before that one. This is the system
// list box's own search, which puts a string among equal ones where the search happens to meet
// them rather than after them all.
size_t sorted_position(const strings& items, const char* text) {
    ptrdiff_t low = 0, high = static_cast<ptrdiff_t>(items.size()) - 1;
    while (low <= high) {
        const ptrdiff_t middle = (low + high) / 2;
        const int order = lstrcmpiA(items[static_cast<size_t>(middle)].c_str(), text);
        if (order == 0)
            return static_cast<size_t>(middle);
        if (order > 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return static_cast<size_t>(low);
}

LRESULT insert(strings& items, size_t index, const char* text) {
    items.insert(items.begin() + static_cast<ptrdiff_t>(index), text);
    return static_cast<LRESULT>(index);
}

LRESULT handle(HWND hWnd, strings& items, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case LB_ADDSTRING: {
        const char* text = text_of(lParam);
        if (!(GetWindowLongA(hWnd, GWL_STYLE) & LBS_SORT))
            return insert(items, items.size(), text);
        return insert(items, sorted_position(items, text), text);
    }
    case LB_INSERTSTRING: {
        const auto index = static_cast<int>(wParam);
        if (index == -1)
            return insert(items, items.size(), text_of(lParam));
        if (index < 0 || static_cast<size_t>(index) > items.size())
            return LB_ERR;
        return insert(items, static_cast<size_t>(index), text_of(lParam));
    }
    case LB_DELETESTRING:
        if (!valid_index(items, wParam))
            return LB_ERR;
        items.erase(items.begin() + static_cast<ptrdiff_t>(wParam));
        return static_cast<LRESULT>(items.size());
    case LB_RESETCONTENT:
        items.clear();
        return 0;
    case LB_GETCOUNT:
        return static_cast<LRESULT>(items.size());
    case LB_GETTEXT:
        if (!valid_index(items, wParam) || lParam == 0)
            return LB_ERR;
        memcpy(reinterpret_cast<char*>(lParam), items[wParam].c_str(), items[wParam].size() + 1);
        return static_cast<LRESULT>(items[wParam].size());
    case LB_GETTEXTLEN:
        return valid_index(items, wParam) ? static_cast<LRESULT>(items[wParam].size()) : LB_ERR;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default:
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
}

} // namespace

namespace bwcompat {

LRESULT CALLBACK ListBoxWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) try {
    if (Msg == WM_NCCREATE) {
        SetWindowLongPtrA(hWnd, 0, reinterpret_cast<LONG_PTR>(new strings));
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
    strings* items = list_of(hWnd);
    if (Msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, 0, 0);
        delete items;
        return 0;
    }
    if (items == nullptr)
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    return handle(hWnd, *items, Msg, wParam, lParam);
} catch (const std::bad_alloc&) {
    // A list that cannot grow answers as Win32's does when out of memory.
    return Msg == WM_NCCREATE ? FALSE : LB_ERRSPACE;
}

} // namespace bwcompat
