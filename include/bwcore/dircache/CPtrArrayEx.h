// CPtrArrayEx: a CPtrArray that owns its elements.
//
// Contract:
// - Releasing an element: nothing for null, else the release callback (SetFx or the
//   constructor) when one is set, its result ignored, else the C runtime's free. Elements are
//   therefore malloc'ed blocks unless a callback says otherwise.
// - The base's own removals (RemoveAt, RemoveAll, SetSize) never release.
// - RemoveAtEx(nIndex, nCount) releases positions nIndex .. nIndex + nCount - 1 in ascending
//   order, then removes them with RemoveAt. A range outside the array (negative index or count,
//   index + count beyond GetSize) raises AfxThrowInvalidArgException with nothing released.
// - RemoveAllEx calls RemoveAtEx(0, GetSize()) virtually, so an override is honoured, then
//   SetSize(0, -1), which also frees the storage. The destructor does the same with this class's
//   own RemoveAtEx.
// - Not locked; one thread at a time.
#pragma once

#include <bwcore/afx/CPtrArray.h>

class BWCORE_API CPtrArrayEx : public CPtrArray {
public:
    CPtrArrayEx() = default;
    explicit CPtrArrayEx(long (*pfnRelease)(void*)) : m_pfnRelease(pfnRelease) {}
    ~CPtrArrayEx() override;

    virtual void RemoveAllEx();
    virtual void RemoveAtEx(int nIndex, int nCount);

    // Replaces the callback (null: free); the elements held are not touched.
    void SetFx(long (*pfnRelease)(void*)) { m_pfnRelease = pfnRelease; }

private:
    long (*m_pfnRelease)(void*) = nullptr;
};
