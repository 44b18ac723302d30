#include <bwcore/ui/CutilLoadIcon.h>

#include <bwcore/tools/CIcon.h>

// CIcon leaves the icon to whoever takes the handle.
HICON CutilLoadIcon16(int nId) {
    return CIcon(nId, 16, 16).m_hIcon;
}

HICON CutilLoadIcon32(int nId) {
    return CIcon(nId, 32, 32).m_hIcon;
}
