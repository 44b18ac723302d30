#include <bwcore/dircache/CPtrArrayEx.h>

#include <stdlib.h>

CPtrArrayEx::~CPtrArrayEx() {
    // Called directly: a derived class's override is already gone.
    CPtrArrayEx::RemoveAtEx(0, static_cast<int>(GetSize()));
    SetSize(0, -1);
}

void CPtrArrayEx::RemoveAllEx() {
    RemoveAtEx(0, static_cast<int>(GetSize()));
    SetSize(0, -1);
}

void CPtrArrayEx::RemoveAtEx(int nIndex, int nCount) {
    if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex)
        AfxThrowInvalidArgException();
    for (int i = nIndex; i < nIndex + nCount; ++i) {
        void* element = GetAt(i);
        if (element == nullptr)
            continue;
        if (m_pfnRelease != nullptr)
            m_pfnRelease(element);
        else
            free(element);
    }
    RemoveAt(nIndex, nCount);
}
