#include <bwcore/afx/CImageList.h>

CImageList::~CImageList() {
    DeleteImageList();
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
    if (m_hImageList)
        return FALSE;
    m_hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList)
        return FALSE;
    const BOOL bDestroyed = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return bDestroyed;
}

int CImageList::GetImageCount() const {
    return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0;
}

int CImageList::Add(HICON hIcon) {
    return m_hImageList ? ImageList_ReplaceIcon(m_hImageList, -1, hIcon) : -1;
}

HICON CImageList::ExtractIcon(int nImage) {
    return m_hImageList ? ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL) : nullptr;
}
