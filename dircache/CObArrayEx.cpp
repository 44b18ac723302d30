#include <bwcore/dircache/CObArrayEx.h>

CObArrayEx::~CObArrayEx() {
    // Called directly: a derived class's override is already gone.
    CObArrayEx::RemoveAtEx(0, static_cast<int>(GetSize()));
    SetSize(0, -1);
}

void CObArrayEx::RemoveAllEx() {
    RemoveAtEx(0, static_cast<int>(GetSize()));
    SetSize(0, -1);
}

void CObArrayEx::RemoveAtEx(int nIndex, int nCount) {
    if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex)
        AfxThrowInvalidArgException();
    // Without a callback the objects are only taken out of the array.
    if (m_pfnRelease != nullptr) {
        for (int i = nIndex; i < nIndex + nCount; ++i) {
            if (CObject* element = GetAt(i))
                m_pfnRelease(element);
        }
    }
    RemoveAt(nIndex, nCount);
}
