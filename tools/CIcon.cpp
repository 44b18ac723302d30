#include <bwcore/tools/CIcon.h>

#include <bwcore/afx/CDynLinkLibrary.h>

CIcon::CIcon(int nId, int cx, int cy) : m_hIcon(nullptr) {
    LPCSTR lpszName = MAKEINTRESOURCEA(nId);
    if (HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_GROUP_ICON)) {
        m_hIcon =
            static_cast<HICON>(LoadImageA(hInst, lpszName, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
    }
}

// The icon belongs to whoever took the handle.
CIcon::~CIcon() = default;
