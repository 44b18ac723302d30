// CArray: the framework's growable array, on which CObArray, CPtrArray and CStringArray are built.
//
// Elements are stored contiguously (GetData) and value-initialised when the array grows, so new
// pointer elements are null. The storage grows by a step: SetSize's nGrowBy when it was given,
// otherwise an eighth of the size, at least 4 and at most 1024 elements; the first allocation
// takes max(size, nGrowBy). Shrinking keeps the storage, except that a size of 0 frees it, and
// FreeExtra trims it to the size.
//
// An index or range outside the array (a negative index or count, or index + count beyond the
// size for access and removal) raises AfxThrowInvalidArgException before anything changes;
// SetAtGrow and InsertAt may name an index past the end, which grows the array. Memory
// exhaustion raises std::bad_alloc.
#pragma once

#include <bwcore/afx/CException.h>
#include <bwcore/afx/CObject.h>

#include <algorithm>
#include <new>
#include <stdint.h>
#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // Sets the size; nGrowBy >= 0 also sets the grow step (0: the computed step).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[CheckedIndex(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[CheckedIndex(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[CheckedIndex(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    // The elements in order; null while the array has no storage.
    const TYPE* GetData() const { return m_data.data(); }
    TYPE* GetData() { return m_data.data(); }

    // Sets element nIndex, growing the array to nIndex + 1 elements when needed.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    // Appends one element; its index.
    INT_PTR Add(ARG_TYPE newElement);
    // Appends the elements of src (which may be this array); the index of the first of them.
    INT_PTR Append(const CArray& src);
    // Makes this array a copy of src.
    void Copy(const CArray& src);
    // Inserts nCount copies of newElement at nIndex, moving later elements up; an index past the
    // end grows the array first.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    // Inserts all elements of pNewArray (which may be this array) at nStartIndex.
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);
    // Removes nCount elements from nIndex on, moving later elements down.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

private:
    INT_PTR CheckedIndex(INT_PTR nIndex) const;
    void Reserve(INT_PTR nNewSize);

    std::vector<TYPE> m_data;
    INT_PTR m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::CheckedIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize())
        AfxThrowInvalidArgException();
    return nIndex;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reserve(INT_PTR nNewSize) {
    const INT_PTR capacity = static_cast<INT_PTR>(m_data.capacity());
    if (nNewSize <= capacity)
        return;
    INT_PTR newCapacity = std::max(nNewSize, m_nGrowBy);
    if (capacity > 0) {
        // Growing by a step keeps repeated Add calls from copying the array each time.
        const INT_PTR step = m_nGrowBy > 0
                                 ? m_nGrowBy
                                 : std::min<INT_PTR>(1024, std::max<INT_PTR>(4, GetSize() / 8));
        newCapacity = std::max(nNewSize, capacity + std::min(step, INTPTR_MAX - capacity));
    }
    if (static_cast<size_t>(newCapacity) > m_data.max_size())
        throw std::bad_alloc();
    m_data.reserve(static_cast<size_t>(newCapacity));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    if (nNewSize < 0)
        AfxThrowInvalidArgException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        std::vector<TYPE>().swap(m_data);
        return;
    }
    Reserve(nNewSize);
    m_data.resize(static_cast<size_t>(nNewSize));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0 || nIndex == INTPTR_MAX)
        AfxThrowInvalidArgException();
    // Taken before growing, since newElement may refer to an element that growing moves.
    TYPE value(newElement);
    if (nIndex >= GetSize())
        SetSize(nIndex + 1);
    m_data[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
    const INT_PTR nIndex = GetSize();
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    const INT_PTR nOldSize = GetSize();
    const INT_PTR nSrcSize = src.GetSize();
    SetSize(nOldSize + nSrcSize);
    // When src is this array, its first nSrcSize elements are the ones to copy and stay in place.
    for (INT_PTR i = 0; i < nSrcSize; ++i)
        m_data[nOldSize + i] = src.m_data[i];
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (&src == this)
        return;
    SetSize(src.GetSize());
    std::copy(src.m_data.begin(), src.m_data.end(), m_data.begin());
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nCount > INTPTR_MAX - std::max(nIndex, GetSize()))
        AfxThrowInvalidArgException();
    if (nCount == 0)
        return;
    TYPE value(newElement);
    const INT_PTR nOldSize = GetSize();
    if (nIndex >= nOldSize) {
        SetSize(nIndex + nCount);
    } else {
        SetSize(nOldSize + nCount);
        std::move_backward(m_data.begin() + nIndex, m_data.begin() + nOldSize, m_data.end());
    }
    std::fill(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount, value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    if (pNewArray == nullptr || nStartIndex < 0)
        AfxThrowInvalidArgException();
    if (pNewArray->IsEmpty())
        return;
    // Copied first, since pNewArray may be this array.
    const std::vector<TYPE> items(pNewArray->m_data);
    InsertAt(nStartIndex, items[0], static_cast<INT_PTR>(items.size()));
    std::copy(items.begin(), items.end(), m_data.begin() + nStartIndex);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nCount > GetSize() - nIndex)
        AfxThrowInvalidArgException();
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
}
