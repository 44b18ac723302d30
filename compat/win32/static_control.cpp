// The "Static" class for Linux: a label that keeps its text.
#include <bwcore/win32/user.h>

#include "windows_internal.h"

namespace bwcompat {

LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg == WM_GETDLGCODE)
        return DLGC_STATIC;
    return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

} // namespace bwcompat
