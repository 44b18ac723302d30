#include <bwcore/dircache/CPtrListEx.h>

#include <stdlib.h>

CPtrListEx::~CPtrListEx() {
    CPtrListEx::RemoveAllEx();
}

void CPtrListEx::RemoveAllEx() {
    for (POSITION pos = GetHeadPosition(); pos != nullptr;) {
        void* element = GetNext(pos);
        if (element == nullptr)
            continue;
        if (m_pfnRelease != nullptr)
            m_pfnRelease(element);
        else
            free(element);
    }
    RemoveAll();
}
