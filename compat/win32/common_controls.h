// The window procedures of the common controls (listview.cpp, treeview.cpp), which
// common_controls.cpp registers as the classes "SysListView32" and "SysTreeView32".
//
// Each keeps its control's data in an object whose address stands in the first pointer of the
// window extra bytes, from WM_NCCREATE until WM_NCDESTROY frees it.
#pragma once

#include <bwcore/win32/user.h>

#include <new>
#include <string>

namespace bwcompat {

LRESULT CALLBACK ListViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TreeViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The window procedure of a control class: Control(hwnd) is made at WM_NCCREATE and deleted at
// WM_NCDESTROY; in between, Control::Handle answers every message, and a message that runs out
// of memory answers Control::FailureValue(msg).
template <typename Control>
LRESULT ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        Control* created = new (std::nothrow) Control(hwnd);
        if (created == nullptr)
            return FALSE;
        // A window whose WM_NCCREATE fails gets no WM_NCDESTROY.
        if (!DefWindowProcA(hwnd, msg, wParam, lParam)) {
            delete created;
            return FALSE;
        }
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(created));
        return TRUE;
    }
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, 0));
    if (control == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, 0, 0);
        delete control;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    try {
        return control->Handle(msg, wParam, lParam);
    } catch (const std::bad_alloc&) {
        return Control::FailureValue(msg);
    }
}

// Copies text into a caller's buffer of `size` bytes as the controls hand out texts: cut to
// size - 1 bytes and terminated. Returns the bytes copied; nothing is written when the buffer is
// null or has no room even for the terminator.
int CopyControlText(const std::string& text, LPSTR buffer, int size);

} // namespace bwcompat
