// Dialogs for Linux: building a dialog from its template, the dialog class's window procedure
// (the dialog manager's default handling around the caller's dialog procedure), the headless
// modal loop, and the keyboard handling of IsDialogMessageA.
//
// Each dialog's own state (modal, ended and its result, the default id) is kept here by handle
// from its creation to its WM_NCDESTROY; the dialog procedure and the two values callers reach
// with DWLP_MSGRESULT and DWLP_USER are in the window's extra bytes, as Win32 keeps them.
#include <bwcore/win32/errors.h>
#include <bwcore/win32/resources.h>
#include <bwcore/win32/user.h>

#include "dialog_template.h"
#include "windows_internal.h"

#include <stdint.h>

#include <mutex>
#include <new>
#include <unordered_map>

namespace {

// The dialog base units (see MapDialogRect in user.h).
constexpr LONG base_x = 6;
constexpr LONG base_y = 13;

struct dialog_state {
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    WORD defId = IDOK; // the dialog manager's default id before any default push button
    HWND disabledOwner = nullptr;
};

struct dialog_table {
    std::mutex lock;
    std::unordered_map<uintptr_t, dialog_state> dialogs;
};

dialog_table& table() {
    static dialog_table* instance = new dialog_table;
    return *instance;
}

uintptr_t key_of(HWND hWnd) {
    return reinterpret_cast<uintptr_t>(hWnd);
}

// Calls change with the dialog's state; false when the window is not a dialog.
template <typename Change>
bool with_state(HWND hDlg, Change change) {
    dialog_table& dialogs = table();
    std::lock_guard<std::mutex> guard(dialogs.lock);
    auto found = dialogs.dialogs.find(key_of(hDlg));
    if (found == dialogs.dialogs.end())
        return false;
    change(found->second);
    return true;
}

dialog_state state_of(HWND hDlg) {
    dialog_state state;
    with_state(hDlg, [&state](dialog_state& s) { state = s; });
    return state;
}

// Dialog units to pixels, rounded as MulDiv rounds (halves away from zero).
LONG to_pixels(LONG units, LONG base, LONG divisor) {
    const LONG half = units >= 0 ? divisor / 2 : -(divisor / 2);
    return (units * base + half) / divisor;
}

RECT pixel_rect(short x, short y, short cx, short cy) {
    RECT rect = {x, y, x + cx, y + cy};
    rect.left = to_pixels(rect.left, base_x, 4);
    rect.right = to_pixels(rect.right, base_x, 4);
    rect.top = to_pixels(rect.top, base_y, 8);
    rect.bottom = to_pixels(rect.bottom, base_y, 8);
    return rect;
}

// Whether hWnd is a control of the dialog (a descendant through child windows).
bool is_inside(HWND hDlg, HWND hWnd) {
    while (hWnd != nullptr && (GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) {
        hWnd = GetParent(hWnd);
        if (hWnd == hDlg)
            return true;
    }
    return false;
}

// The first control that takes the focus by tabbing: visible, enabled, WS_TABSTOP.
HWND first_tab_stop(HWND hDlg) {
    for (HWND child = GetWindow(hDlg, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        if ((style & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP)) == (WS_VISIBLE | WS_TABSTOP))
            return child;
    }
    return nullptr;
}

void send_command(HWND hDlg, WPARAM wParam, HWND control) {
    SendMessageA(hDlg, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(control));
}

// What the Enter key does: a focused default push button is clicked; otherwise the default id
// is sent, unless its control is disabled.
void press_default(HWND hDlg) {
    HWND focus = GetFocus();
    if (is_inside(hDlg, focus) && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)) {
        send_command(hDlg, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), focus);
        return;
    }
    const LRESULT defId = SendMessageA(hDlg, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) != DC_HASDEFID) {
        send_command(hDlg, IDOK, GetDlgItem(hDlg, IDOK));
        return;
    }
    HWND button = GetDlgItem(hDlg, LOWORD(defId));
    if (button == nullptr || IsWindowEnabled(button))
        send_command(hDlg, MAKEWPARAM(LOWORD(defId), BN_CLICKED), button);
}

HWND create_dialog(HINSTANCE hInstance, const bwcompat::dialog_template& form, HWND hWndParent,
                   DLGPROC lpDialogFunc, LPARAM dwInitParam, bool modal) {
    const bwcompat::template_name& cls = form.className;
    const char* className = !cls.present  ? bwcompat::dialog_class_name
                            : cls.ordinal ? MAKEINTATOM(cls.id)
                                          : cls.text.c_str();
    const RECT rect = pixel_rect(form.x, form.y, form.cx, form.cy);
    const DWORD exStyle = form.exStyle | (form.style & DS_MODALFRAME ? WS_EX_DLGMODALFRAME : 0);
    // The dialog shows itself once its controls are there and WM_INITDIALOG is handled.
    HWND hDlg = CreateWindowExA(exStyle, className, form.title.c_str(),
                                form.style & ~static_cast<DWORD>(WS_VISIBLE), rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, hWndParent, nullptr,
                                hInstance, nullptr);
    if (hDlg == nullptr)
        return nullptr;
    {
        dialog_table& dialogs = table();
        std::lock_guard<std::mutex> guard(dialogs.lock);
        dialogs.dialogs[key_of(hDlg)].modal = modal;
    }
    SetWindowLongPtrA(hDlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(lpDialogFunc));

    HWND defButton = nullptr;
    for (const bwcompat::dialog_item& item : form.items) {
        const RECT at = pixel_rect(item.x, item.y, item.cx, item.cy);
        const char* title = item.title.ordinal ? "" : item.title.text.c_str();
        HWND control = CreateWindowExA(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(),
                                       title, item.style | WS_CHILD, at.left, at.top,
                                       at.right - at.left, at.bottom - at.top, hDlg,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)),
                                       hInstance, const_cast<void*>(item.creationData));
        if (control == nullptr) {
            if (form.style & DS_NOFAILCREATE)
                continue;
            DestroyWindow(hDlg);
            return nullptr;
        }
        // The last default push button is the default; earlier ones become plain push buttons.
        if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
            if (defButton != nullptr)
                SendMessageA(defButton, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
            defButton = control;
            with_state(hDlg, [&item](dialog_state& s) { s.defId = static_cast<WORD>(item.id); });
        }
    }

    HWND focus = first_tab_stop(hDlg);
    const LRESULT setFocus =
        SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), dwInitParam);
    if (!IsWindow(hDlg))
        return nullptr;
    if (setFocus && (focus = first_tab_stop(hDlg)) != nullptr)
        SetFocus(focus);
    if (!modal && (form.style & WS_VISIBLE) && !state_of(hDlg).ended)
        ShowWindow(hDlg, SW_SHOWNORMAL);
    return hDlg;
}

// Handles the posted messages until the queue is empty or the dialog ends. False when WM_QUIT
// came, which stays queued for the caller's own loop.
bool handle_posted(HWND hDlg) {
    MSG msg;
    while (IsWindow(hDlg) && !state_of(hDlg).ended &&
           PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!IsDialogMessageA(hDlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

INT_PTR run_modal(HINSTANCE hInstance, const void* data, size_t size, HWND hWndParent,
                  DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    bwcompat::dialog_template form;
    if (!bwcompat::ReadDialogTemplate(data, size, form)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hWndParent != nullptr && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    // The owner (the parent's top-level window) is disabled while the dialog runs.
    HWND owner = hWndParent;
    while (owner != nullptr && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = GetParent(owner);
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    HWND hDlg =
        create_dialog(hInstance, form, hWndParent, lpDialogFunc, dwInitParam, /*modal=*/true);
    if (hDlg == nullptr) {
        if (disableOwner)
            EnableWindow(owner, TRUE);
        return -1;
    }
    if (disableOwner)
        with_state(hDlg, [owner](dialog_state& s) { s.disabledOwner = owner; });

    // Headless, nobody presses a button: the dialog answers with its default push button, and
    // with IDCANCEL when even that does not end it.
    if (handle_posted(hDlg) && IsWindow(hDlg) && !state_of(hDlg).ended) {
        ShowWindow(hDlg, SW_SHOWNORMAL);
        press_default(hDlg);
        handle_posted(hDlg);
    }
    if (!IsWindow(hDlg)) {
        // Destroyed without EndDialog.
        if (disableOwner)
            EnableWindow(owner, TRUE);
        return 0;
    }
    if (!state_of(hDlg).ended)
        EndDialog(hDlg, IDCANCEL);
    const INT_PTR result = state_of(hDlg).result;
    DestroyWindow(hDlg);
    return result;
}

// The dialog manager's handling of what the dialog procedure left alone.
LRESULT dialog_default(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case DM_GETDEFID: {
        const dialog_state state = state_of(hDlg);
        return state.ended || state.defId == 0 ? 0 : MAKELONG(state.defId, DC_HASDEFID);
    }
    case DM_SETDEFID: {
        const dialog_state state = state_of(hDlg);
        if (state.ended)
            return FALSE;
        HWND previous = GetDlgItem(hDlg, state.defId);
        if (previous != nullptr &&
            (SendMessageA(previous, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            SendMessageA(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        HWND next = GetDlgItem(hDlg, static_cast<int>(wParam));
        if (next != nullptr && (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
            SendMessageA(next, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        with_state(hDlg, [wParam](dialog_state& s) { s.defId = static_cast<WORD>(wParam); });
        return TRUE;
    }
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(hDlg, IDCANCEL);
        if (cancel == nullptr || IsWindowEnabled(cancel))
            PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_NCDESTROY: {
        dialog_table& dialogs = table();
        std::lock_guard<std::mutex> guard(dialogs.lock);
        dialogs.dialogs.erase(key_of(hDlg));
        break;
    }
    default:
        break;
    }
    return DefWindowProcA(hDlg, Msg, wParam, lParam);
}

} // namespace

namespace bwcompat {

// The dialog procedure answers TRUE for a message it handled, and then the result is the one
// it left in DWLP_MSGRESULT, except for WM_INITDIALOG, whose result is the answer itself.
LRESULT CALLBACK DialogWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) try {
    const auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hWnd, DWLP_DLGPROC));
    SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, 0);
    const INT_PTR handled = proc != nullptr ? proc(hWnd, Msg, wParam, lParam) : FALSE;
    if (!IsWindow(hWnd))
        return Msg == WM_INITDIALOG ? handled : 0;
    if (!handled)
        return Msg == WM_INITDIALOG ? 0 : dialog_default(hWnd, Msg, wParam, lParam);
    if (Msg == WM_INITDIALOG)
        return handled;
    if (Msg == WM_NCDESTROY)
        dialog_default(hWnd, Msg, wParam, lParam);
    return GetWindowLongPtrA(hWnd, DWLP_MSGRESULT);
} catch (const std::bad_alloc&) {
    return 0;
}

} // namespace bwcompat

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
    if (!with_state(hDlg, [](dialog_state&) {})) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    lpRect->left = to_pixels(lpRect->left, base_x, 4);
    lpRect->right = to_pixels(lpRect->right, base_x, 4);
    lpRect->top = to_pixels(lpRect->top, base_y, 8);
    lpRect->bottom = to_pixels(lpRect->bottom, base_y, 8);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) {
    return MAKELONG(8, 16);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) try {
    HRSRC found = FindResourceA(hInstance, lpTemplateName, RT_DIALOG);
    HGLOBAL loaded = found != nullptr ? LoadResource(hInstance, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return -1;
    return run_modal(hInstance, data, SizeofResource(hInstance, found), hWndParent, lpDialogFunc,
                     dwInitParam);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA hDialogTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc,
                                       LPARAM dwInitParam) try {
    return run_modal(hInstance, hDialogTemplate, SIZE_MAX, hWndParent, lpDialogFunc, dwInitParam);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc,
                                       LPARAM dwInitParamA) try {
    bwcompat::dialog_template form;
    if (!bwcompat::ReadDialogTemplate(lpTemplate, SIZE_MAX, form)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (hWndParent != nullptr && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return create_dialog(hInstance, form, hWndParent, lpDialogFunc, dwInitParamA,
                         /*modal=*/false);
} catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    HWND owner = nullptr;
    const bool dialog = with_state(hDlg, [&](dialog_state& s) {
        s.ended = true;
        s.result = nResult;
        owner = s.disabledOwner;
        s.disabledOwner = nullptr;
    });
    if (!dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (owner != nullptr)
        EnableWindow(owner, TRUE);
    // Hidden without WM_SHOWWINDOW, as Win32 hides an ended dialog.
    SetWindowLongA(hDlg, GWL_STYLE,
                   static_cast<LONG>(static_cast<DWORD>(GetWindowLongA(hDlg, GWL_STYLE)) &
                                     ~static_cast<DWORD>(WS_VISIBLE)));
    return TRUE;
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    if (lpMsg == nullptr || hDlg == nullptr ||
        (lpMsg->hwnd != hDlg && !is_inside(hDlg, lpMsg->hwnd)))
        return FALSE;
    const WPARAM key = lpMsg->wParam;
    if (lpMsg->message == WM_KEYDOWN && (key == VK_ESCAPE || key == VK_RETURN)) {
        const LRESULT code =
            SendMessageA(lpMsg->hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(lpMsg));
        if (!(code & DLGC_WANTALLKEYS)) {
            if (key == VK_ESCAPE)
                send_command(hDlg, IDCANCEL, GetDlgItem(hDlg, IDCANCEL));
            else
                press_default(hDlg);
            return TRUE;
        }
    }
    TranslateMessage(lpMsg);
    DispatchMessageA(lpMsg);
    return TRUE;
}
