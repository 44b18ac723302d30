// The framework's exceptions.
//
// Framework exceptions are thrown as pointers and released by the catcher with Delete(), which
// deletes the object only when it was allocated for the throw (m_bAutoDelete). The AfxThrow...
// functions throw pre-made static objects whose auto-delete is off, so throwing never allocates
// and a catcher that calls Delete() on them does no harm:
//
//     try { a.RemoveAt(7); } catch (CInvalidArgException* e) { e->Delete(); }
//
// Memory exhaustion inside the library stays std::bad_alloc; CMemoryException is thrown only
// where a caller asks for it with AfxThrowMemoryException.
#pragma once

#include <bwcore/afx/CObject.h>

class BWAFX_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    CException() = default;
    explicit CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}
    ~CException() override = default;

    // Deletes the exception if it was allocated for the throw; leaves static ones alone.
    void Delete();

    BOOL m_bAutoDelete = TRUE;
};

// The base of the exceptions that carry no information beyond their class.
class BWAFX_API CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException() = default;
    explicit CSimpleException(BOOL bAutoDelete) : CException(bAutoDelete) {}
    ~CSimpleException() override = default;
};

class BWAFX_API CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException() = default;
    explicit CInvalidArgException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}
    ~CInvalidArgException() override = default;
};

class BWAFX_API CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException() = default;
    explicit CMemoryException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}
    ~CMemoryException() override = default;
};

class BWAFX_API CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException() = default;
    explicit CNotSupportedException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}
    ~CNotSupportedException() override = default;
};

// A system object (a semaphore, say) could not be created.
class BWAFX_API CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    CResourceException() = default;
    explicit CResourceException(BOOL bAutoDelete) : CSimpleException(bAutoDelete) {}
    ~CResourceException() override = default;
};

// Each throws a pointer to its class's one static exception object (auto-delete off).
[[noreturn]] BWAFX_API void AfxThrowInvalidArgException();
[[noreturn]] BWAFX_API void AfxThrowMemoryException();
[[noreturn]] BWAFX_API void AfxThrowNotSupportedException();
[[noreturn]] BWAFX_API void AfxThrowResourceException();
