// The "Button" class for Linux: push buttons, check boxes, three-state boxes and radio buttons.
// A click (BM_CLICK) changes an automatic button's state first and then tells the parent, as a
// mouse click does; a disabled button ignores it. The check state lives in the window's first
// extra bytes.
#include <bwcore/win32/user.h>

#include "windows_internal.h"

namespace {

DWORD type_of(HWND hWnd) {
    return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool is_radio(DWORD type) {
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// The highest check state the type has: 0 for buttons that have none.
LONG_PTR highest_state(DWORD type) {
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return BST_CHECKED;
    case BS_3STATE:
    case BS_AUTO3STATE:
        return BST_INDETERMINATE;
    default:
        return 0;
    }
}

// Checks an automatic radio button and clears the other automatic radio buttons of its group:
// the siblings from the last WS_GROUP one before it up to the next WS_GROUP one.
void check_in_group(HWND hWnd) {
    HWND first = hWnd;
    while (!(GetWindowLongA(first, GWL_STYLE) & WS_GROUP)) {
        HWND previous = GetWindow(first, GW_HWNDPREV);
        if (previous == nullptr)
            break;
        first = previous;
    }
    for (HWND sibling = first; sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling != first && (GetWindowLongA(sibling, GWL_STYLE) & WS_GROUP))
            break;
        if (type_of(sibling) == BS_AUTORADIOBUTTON)
            SendMessageA(sibling, BM_SETCHECK, sibling == hWnd ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void click(HWND hWnd) {
    if (!IsWindowEnabled(hWnd))
        return;
    const DWORD type = type_of(hWnd);
    const LONG_PTR state = GetWindowLongPtrA(hWnd, 0);
    if (type == BS_AUTOCHECKBOX)
        SendMessageA(hWnd, BM_SETCHECK, state == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    else if (type == BS_AUTO3STATE)
        SendMessageA(hWnd, BM_SETCHECK, (state + 1) % 3, 0);
    else if (type == BS_AUTORADIOBUTTON)
        check_in_group(hWnd);
    SendMessageA(GetParent(hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hWnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hWnd));
}

} // namespace

namespace bwcompat {

LRESULT CALLBACK ButtonWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case BM_CLICK:
        click(hWnd);
        return 0;
    case BM_GETCHECK:
    case BM_GETSTATE:
        return GetWindowLongPtrA(hWnd, 0);
    case BM_SETCHECK: {
        // A state the type does not have becomes its highest, as BST_INDETERMINATE does on a
        // two-state box.
        const LONG_PTR highest = highest_state(type_of(hWnd));
        const LONG_PTR state = static_cast<LONG_PTR>(wParam);
        SetWindowLongPtrA(hWnd, 0, state > highest ? highest : state);
        return 0;
    }
    case BM_SETSTYLE: {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
        SetWindowLongA(hWnd, GWL_STYLE,
                       static_cast<LONG>((style & ~static_cast<DWORD>(BS_TYPEMASK)) |
                                         (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
        return 0;
    }
    case WM_GETDLGCODE:
        switch (type_of(hWnd)) {
        case BS_PUSHBUTTON:
        case BS_USERBUTTON:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return is_radio(type_of(hWnd)) ? DLGC_BUTTON | DLGC_RADIOBUTTON : DLGC_BUTTON;
        }
    default:
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
}

} // namespace bwcompat
