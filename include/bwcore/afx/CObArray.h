// CObArray: a growable array of CObject pointers. The array does not own the objects: removing
// an element or destroying the array leaves the object alive. Behaviour as CArray.
#pragma once

#include <bwcore/afx/CArray.h>

class BWAFX_API CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    CObArray() = default;
    ~CObArray() override = default;
};
