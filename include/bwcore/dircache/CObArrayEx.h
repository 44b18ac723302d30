// CObArrayEx: a CObArray that can release its elements.
//
// Contract:
// - The release callback (SetFx or the constructor) is called once with each non-null element
//   that RemoveAtEx, RemoveAllEx or the destructor takes out; its result is ignored. Null
//   elements are skipped. Without a callback nothing is released: the objects stay alive.
// - The base's own removals (RemoveAt, RemoveAll, SetSize) never release.
// - RemoveAtEx(nIndex, nCount) releases positions nIndex .. nIndex + nCount - 1 in ascending
//   order, then removes them with RemoveAt. A range outside the array (negative index or count,
//   index + count beyond GetSize) raises AfxThrowInvalidArgException with nothing released.
// - RemoveAllEx calls RemoveAtEx(0, GetSize()) virtually, so an override is honoured, then
//   SetSize(0, -1), which also frees the storage. The destructor does the same with this class's
//   own RemoveAtEx.
// - Not locked; one thread at a time.
#pragma once

#include <bwcore/afx/CObArray.h>

class BWCORE_API CObArrayEx : public CObArray {
public:
    CObArrayEx() = default;
    explicit CObArrayEx(long (*pfnRelease)(void*)) : m_pfnRelease(pfnRelease) {}
    ~CObArrayEx() override;

    virtual void RemoveAllEx();
    virtual void RemoveAtEx(int nIndex, int nCount);

    // Replaces the callback (null allowed); the elements held are not touched.
    void SetFx(long (*pfnRelease)(void*)) { m_pfnRelease = pfnRelease; }

private:
    long (*m_pfnRelease)(void*) = nullptr;
};
