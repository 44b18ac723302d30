// The "Edit" class for Linux: keeps its text; EM_SETREADONLY sets or clears ES_READONLY as the
// control's own style bit, so that GWL_STYLE shows it as Win32 does.
#include <bwcore/win32/user.h>

#include "windows_internal.h"

namespace bwcompat {

LRESULT CALLBACK EditWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
    case EM_SETREADONLY: {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
        const DWORD readOnly = ES_READONLY;
        SetWindowLongA(hWnd, GWL_STYLE,
                       static_cast<LONG>(wParam ? style | readOnly : style & ~readOnly));
        return TRUE;
    }
    case WM_GETDLGCODE: {
        const LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        const bool multiline = (GetWindowLongA(hWnd, GWL_STYLE) & ES_MULTILINE) != 0;
        return multiline ? code | DLGC_WANTALLKEYS : code;
    }
    default:
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
}

} // namespace bwcompat
