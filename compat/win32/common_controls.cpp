// Registration of the common controls' classes, and what the controls share.
#include "common_controls.h"

#include <bwcore/win32/commctrl.h>

#include <cstring>
#include <mutex>

namespace {

bool register_class(LPCSTR name, WNDPROC proc) {
    WNDCLASSA wc = {};
    // Global, as the real controls' classes are, so that windows of any instance find them.
    wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Registers both classes once; a registration that failed (short of memory) is tried again by
// the next call.
bool register_classes() {
    static std::mutex lock;
    static bool registered = false;
    std::lock_guard<std::mutex> guard(lock);
    if (!registered)
        registered = register_class(WC_LISTVIEWA, bwcompat::ListViewProc) &&
                     register_class(WC_TREEVIEWA, bwcompat::TreeViewProc);
    return registered;
}

} // namespace

namespace bwcompat {

int CopyControlText(const std::string& text, LPSTR buffer, int size) {
    if (buffer == nullptr || size <= 0)
        return 0;
    const size_t copied = text.size() < static_cast<size_t>(size) ? text.size() : size - 1;
    memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

} // namespace bwcompat

void WINAPI InitCommonControls(void) {
    register_classes();
}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    if (picce == nullptr || picce->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return FALSE;
    return register_classes() ? TRUE : FALSE;
}
