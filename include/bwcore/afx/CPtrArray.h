// CPtrArray: a growable array of untyped pointers. The array does not own what they point to.
// Behaviour as CArray.
#pragma once

#include <bwcore/afx/CArray.h>

class BWAFX_API CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray() = default;
    ~CPtrArray() override = default;
};
