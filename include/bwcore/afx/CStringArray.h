// CStringArray: a growable array of CString. Behaviour as CArray; elements added from a C string
// are copied.
#pragma once

#include <bwcore/afx/CArray.h>
#include <bwcore/afx/CString.h>

class BWAFX_API CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray() = default;
    ~CStringArray() override = default;
};
