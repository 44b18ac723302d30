// CPtrList: a doubly linked list of untyped pointers. The list does not own what they point to.
//
// A POSITION names one node; it stays valid until that node is removed, whatever else changes.
// Nodes come from blocks of nBlockSize nodes: a removed node goes onto a free list and is the
// next one reused, and the blocks are given back when the list becomes empty.
//
// Operations on an element of an empty list (GetHead, RemoveTail, ...) and on a null POSITION
// raise AfxThrowInvalidArgException, as do a block size below 1 and a null list to add.
#pragma once

#include <bwcore/afx/CObject.h>
#include <bwcore/afx/POSITION.h>

struct CPlex;

class BWAFX_API CPtrList : public CObject {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10);
    ~CPtrList() override;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    void*& GetHead();
    const void* GetHead() const;
    void*& GetTail();
    const void* GetTail() const;

    // Each removes the element and returns it.
    void* RemoveHead();
    void* RemoveTail();

    POSITION AddHead(void* newElement);
    POSITION AddTail(void* newElement);
    // Add all elements of pNewList (which may be this list), keeping their order.
    void AddHead(CPtrList* pNewList);
    void AddTail(CPtrList* pNewList);

    void RemoveAll();

    // Null for an empty list.
    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    // Each returns the element at rPosition and moves rPosition to the next (previous) node,
    // null past the end.
    void*& GetNext(POSITION& rPosition);
    const void* GetNext(POSITION& rPosition) const;
    void*& GetPrev(POSITION& rPosition);
    const void* GetPrev(POSITION& rPosition) const;

    void*& GetAt(POSITION position);
    const void* GetAt(POSITION position) const;
    void SetAt(POSITION position, void* newElement);
    void RemoveAt(POSITION position);

    // A null position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, void* newElement);
    POSITION InsertAfter(POSITION position, void* newElement);

    // The first node holding searchValue after startAfter (from the head when null); null when
    // there is none.
    POSITION Find(void* searchValue, POSITION startAfter = nullptr) const;
    // The node at zero-based index nIndex; null when the index is outside the list.
    POSITION FindIndex(INT_PTR nIndex) const;

private:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        void* data;
    };

    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode);
    static CNode* NodeAt(POSITION position);

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CNode* m_pNodeFree = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};
