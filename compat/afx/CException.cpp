#include <bwcore/afx/CException.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

void CException::Delete() {
    if (m_bAutoDelete)
        delete this;
}

void AfxThrowInvalidArgException() {
    static CInvalidArgException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowMemoryException() {
    static CMemoryException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowNotSupportedException() {
    static CNotSupportedException s_exception(FALSE);
    throw &s_exception;
}

void AfxThrowResourceException() {
    static CResourceException s_exception(FALSE);
    throw &s_exception;
}
