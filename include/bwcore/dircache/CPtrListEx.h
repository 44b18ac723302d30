// CPtrListEx: a CPtrList (nodes in blocks of 10) that owns its elements.
//
// Contract:
// - Releasing an element: nothing for null, else the release callback (SetFx or the
//   constructor) when one is set, its result ignored, else the C runtime's free.
// - RemoveAllEx releases every element from head to tail, then calls RemoveAll; the destructor
//   does the same. The base's own removals (RemoveAt, RemoveHead, RemoveAll, ...) never release.
// - Not locked; one thread at a time.
#pragma once

#include <bwcore/afx/CPtrList.h>

class BWCORE_API CPtrListEx : public CPtrList {
public:
    CPtrListEx() : CPtrList(10) {}
    explicit CPtrListEx(long (*pfnRelease)(void*)) : CPtrList(10), m_pfnRelease(pfnRelease) {}
    ~CPtrListEx() override;

    virtual void RemoveAllEx();

    // Replaces the callback (null: free); the elements held are not touched.
    void SetFx(long (*pfnRelease)(void*)) { m_pfnRelease = pfnRelease; }

private:
    long (*m_pfnRelease)(void*) = nullptr;
};
