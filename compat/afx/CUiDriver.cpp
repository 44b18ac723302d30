#include <bwcore/afx/CUiDriver.h>

#include <bwcore/afx/CWnd.h>

#include <atomic>

namespace {

std::atomic<CUiDriver*> installed_driver{nullptr};

} // namespace

// No owner and the system's own caption: the library has no application window or name of its
// own to give the box.
int CUiDriver::AnswerMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    return ::MessageBoxA(nullptr, lpszText, nullptr, nType);
}

void CUiDriver::DialogShown(CDialog&) {}

CUiDriver* CUiDriver::Install(CUiDriver* pDriver) {
    return installed_driver.exchange(pDriver);
}

CUiDriver* CUiDriver::Current() {
    return installed_driver.load();
}

BOOL CUiDriver::PressButton(CWnd& dialog, int nID) {
    HWND button = ::GetDlgItem(dialog.m_hWnd, nID);
    if (!button)
        return FALSE;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    return TRUE;
}

// The dialog manager's answer to Escape: IDCANCEL with no control handle.
void CUiDriver::PressEscape(CWnd& dialog) {
    ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
