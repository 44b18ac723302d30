#include <bwcore/afx/CPtrList.h>

#include <bwcore/afx/CException.h>

#include "CPlex.h"

IMPLEMENT_DYNAMIC(CPtrList, CObject)

CPtrList::CPtrList(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize) {
    if (nBlockSize < 1)
        AfxThrowInvalidArgException();
}

CPtrList::~CPtrList() {
    RemoveAll();
}

CPtrList::CNode* CPtrList::NodeAt(POSITION position) {
    if (position == nullptr)
        AfxThrowInvalidArgException();
    return reinterpret_cast<CNode*>(position);
}

CPtrList::CNode* CPtrList::NewNode(CNode* pPrev, CNode* pNext) {
    if (m_pNodeFree == nullptr) {
        CPlex* block = CPlex::Create(m_pBlocks, static_cast<size_t>(m_nBlockSize), sizeof(CNode));
        // Threaded from the end, so that the block's nodes are handed out in address order.
        CNode* nodes = static_cast<CNode*>(block->data());
        for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i)
            m_pNodeFree = new (&nodes[i]) CNode{m_pNodeFree, nullptr, nullptr};
    }
    CNode* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    node->pPrev = pPrev;
    node->pNext = pNext;
    node->data = nullptr;
    ++m_nCount;
    return node;
}

void CPtrList::FreeNode(CNode* pNode) {
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    --m_nCount;
    if (m_nCount == 0)
        RemoveAll();
}

void*& CPtrList::GetHead() {
    return NodeAt(GetHeadPosition())->data;
}
const void* CPtrList::GetHead() const {
    return NodeAt(GetHeadPosition())->data;
}
void*& CPtrList::GetTail() {
    return NodeAt(GetTailPosition())->data;
}
const void* CPtrList::GetTail() const {
    return NodeAt(GetTailPosition())->data;
}

void* CPtrList::RemoveHead() {
    const POSITION head = GetHeadPosition();
    void* data = GetAt(head);
    RemoveAt(head);
    return data;
}

void* CPtrList::RemoveTail() {
    const POSITION tail = GetTailPosition();
    void* data = GetAt(tail);
    RemoveAt(tail);
    return data;
}

POSITION CPtrList::AddHead(void* newElement) {
    return InsertBefore(GetHeadPosition(), newElement);
}

POSITION CPtrList::AddTail(void* newElement) {
    return InsertAfter(GetTailPosition(), newElement);
}

void CPtrList::AddHead(CPtrList* pNewList) {
    if (pNewList == nullptr)
        AfxThrowInvalidArgException();
    // Counted rather than walked to the end, so that adding a list to itself ends.
    POSITION pos = pNewList->GetTailPosition();
    for (INT_PTR n = pNewList->GetCount(); n > 0; --n)
        AddHead(pNewList->GetPrev(pos));
}

void CPtrList::AddTail(CPtrList* pNewList) {
    if (pNewList == nullptr)
        AfxThrowInvalidArgException();
    POSITION pos = pNewList->GetHeadPosition();
    for (INT_PTR n = pNewList->GetCount(); n > 0; --n)
        AddTail(pNewList->GetNext(pos));
}

void CPtrList::RemoveAll() {
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = nullptr;
    if (m_pBlocks != nullptr)
        m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
}

POSITION CPtrList::GetHeadPosition() const {
    return reinterpret_cast<POSITION>(m_pNodeHead);
}

POSITION CPtrList::GetTailPosition() const {
    return reinterpret_cast<POSITION>(m_pNodeTail);
}

void*& CPtrList::GetNext(POSITION& rPosition) {
    CNode* node = NodeAt(rPosition);
    rPosition = reinterpret_cast<POSITION>(node->pNext);
    return node->data;
}

const void* CPtrList::GetNext(POSITION& rPosition) const {
    return const_cast<CPtrList*>(this)->GetNext(rPosition);
}

void*& CPtrList::GetPrev(POSITION& rPosition) {
    CNode* node = NodeAt(rPosition);
    rPosition = reinterpret_cast<POSITION>(node->pPrev);
    return node->data;
}

const void* CPtrList::GetPrev(POSITION& rPosition) const {
    return const_cast<CPtrList*>(this)->GetPrev(rPosition);
}

void*& CPtrList::GetAt(POSITION position) {
    return NodeAt(position)->data;
}

const void* CPtrList::GetAt(POSITION position) const {
    return NodeAt(position)->data;
}

void CPtrList::SetAt(POSITION position, void* newElement) {
    NodeAt(position)->data = newElement;
}

void CPtrList::RemoveAt(POSITION position) {
    CNode* node = NodeAt(position);
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    FreeNode(node);
}

POSITION CPtrList::InsertBefore(POSITION position, void* newElement) {
    CNode* next = position ? NodeAt(position) : m_pNodeHead;
    CNode* node = NewNode(next ? next->pPrev : nullptr, next);
    node->data = newElement;
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node;
    (next ? next->pPrev : m_pNodeTail) = node;
    return reinterpret_cast<POSITION>(node);
}

POSITION CPtrList::InsertAfter(POSITION position, void* newElement) {
    CNode* prev = position ? NodeAt(position) : m_pNodeTail;
    CNode* node = NewNode(prev, prev ? prev->pNext : nullptr);
    node->data = newElement;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node;
    (prev ? prev->pNext : m_pNodeHead) = node;
    return reinterpret_cast<POSITION>(node);
}

POSITION CPtrList::Find(void* searchValue, POSITION startAfter) const {
    const CNode* node = startAfter ? NodeAt(startAfter)->pNext : m_pNodeHead;
    for (; node != nullptr; node = node->pNext) {
        if (node->data == searchValue)
            return reinterpret_cast<POSITION>(const_cast<CNode*>(node));
    }
    return nullptr;
}

POSITION CPtrList::FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount)
        return nullptr;
    const CNode* node = m_pNodeHead;
    while (nIndex-- > 0)
        node = node->pNext;
    return reinterpret_cast<POSITION>(const_cast<CNode*>(node));
}
