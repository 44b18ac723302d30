#include <bwcore/afx/CMapStringToPtr.h>

#include <bwcore/afx/CException.h>

#include "CPlex.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)

CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize) {
    if (nBlockSize < 1)
        AfxThrowInvalidArgException();
}

CMapStringToPtr::~CMapStringToPtr() {
    RemoveAll();
}

UINT CMapStringToPtr::HashKey(LPCSTR key) const {
    UINT hash = 0;
    for (; *key != '\0'; ++key)
        hash = (hash << 5) + hash + static_cast<BYTE>(*key);
    return hash;
}

void CMapStringToPtr::InitHashTable(UINT hashSize, BOOL bAllocNow) {
    if (m_nCount != 0 || hashSize == 0)
        AfxThrowInvalidArgException();
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
    m_nHashTableSize = hashSize;
    if (bAllocNow)
        m_pHashTable = new CAssoc*[hashSize]();
}

void CMapStringToPtr::RemoveAll() {
    // The associations live as long as their blocks; the nodes in use and those on the free list
    // alike are destroyed here.
    for (CPlex* block = m_pBlocks; block != nullptr; block = block->pNext) {
        CAssoc* assocs = static_cast<CAssoc*>(block->data());
        for (INT_PTR i = 0; i < m_nBlockSize; ++i)
            assocs[i].~CAssoc();
    }
    if (m_pBlocks != nullptr)
        m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
    m_pFreeList = nullptr;
    m_nCount = 0;
    delete[] m_pHashTable;
    m_pHashTable = nullptr;
}

CMapStringToPtr::CAssoc* CMapStringToPtr::NewAssoc(LPCSTR key) {
    if (m_pFreeList == nullptr) {
        CPlex* block = CPlex::Create(m_pBlocks, static_cast<size_t>(m_nBlockSize), sizeof(CAssoc));
        CAssoc* assocs = static_cast<CAssoc*>(block->data());
        for (INT_PTR i = m_nBlockSize - 1; i >= 0; --i)
            m_pFreeList = new (&assocs[i]) CAssoc{m_pFreeList, 0, CString(), nullptr};
    }
    CAssoc* assoc = m_pFreeList;
    assoc->key = key; // may throw: the association stays on the free list until the copy is made
    m_pFreeList = assoc->pNext;
    assoc->value = nullptr;
    ++m_nCount;
    return assoc;
}

void CMapStringToPtr::FreeAssoc(CAssoc* pAssoc) {
    pAssoc->key.Empty();
    pAssoc->pNext = m_pFreeList;
    m_pFreeList = pAssoc;
    --m_nCount;
    if (m_nCount == 0)
        RemoveAll();
}

CMapStringToPtr::CAssoc* CMapStringToPtr::GetAssocAt(LPCSTR key, UINT& nHashValue) const {
    nHashValue = HashKey(key);
    if (m_pHashTable == nullptr)
        return nullptr;
    for (CAssoc* assoc = m_pHashTable[nHashValue % m_nHashTableSize]; assoc != nullptr;
         assoc = assoc->pNext) {
        if (assoc->nHashValue == nHashValue && strcmp(assoc->key, key) == 0)
            return assoc;
    }
    return nullptr;
}

BOOL CMapStringToPtr::Lookup(LPCSTR key, void*& rValue) const {
    UINT nHashValue;
    CAssoc* assoc = key ? GetAssocAt(key, nHashValue) : nullptr;
    if (assoc == nullptr)
        return FALSE;
    rValue = assoc->value;
    return TRUE;
}

BOOL CMapStringToPtr::LookupKey(LPCSTR key, LPCSTR& rKey) const {
    UINT nHashValue;
    CAssoc* assoc = key ? GetAssocAt(key, nHashValue) : nullptr;
    if (assoc == nullptr)
        return FALSE;
    rKey = assoc->key;
    return TRUE;
}

void*& CMapStringToPtr::operator[](LPCSTR key) {
    if (key == nullptr)
        AfxThrowInvalidArgException();
    UINT nHashValue;
    CAssoc* assoc = GetAssocAt(key, nHashValue);
    if (assoc == nullptr) {
        if (m_pHashTable == nullptr)
            InitHashTable(m_nHashTableSize);
        assoc = NewAssoc(key);
        CAssoc*& bucket = m_pHashTable[nHashValue % m_nHashTableSize];
        assoc->nHashValue = nHashValue;
        assoc->pNext = bucket;
        bucket = assoc;
    }
    return assoc->value;
}

BOOL CMapStringToPtr::RemoveKey(LPCSTR key) {
    if (key == nullptr || m_pHashTable == nullptr)
        return FALSE;
    const UINT nHashValue = HashKey(key);
    for (CAssoc** link = &m_pHashTable[nHashValue % m_nHashTableSize]; *link != nullptr;
         link = &(*link)->pNext) {
        CAssoc* assoc = *link;
        if (assoc->nHashValue == nHashValue && strcmp(assoc->key, key) == 0) {
            *link = assoc->pNext;
            FreeAssoc(assoc);
            return TRUE;
        }
    }
    return FALSE;
}

POSITION CMapStringToPtr::GetStartPosition() const {
    return m_nCount == 0 ? nullptr : BEFORE_START_POSITION;
}

void CMapStringToPtr::GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const {
    if (rNextPosition == nullptr || m_nCount == 0)
        AfxThrowInvalidArgException();
    CAssoc* assoc = reinterpret_cast<CAssoc*>(rNextPosition);
    if (rNextPosition == BEFORE_START_POSITION) {
        UINT bucket = 0;
        while (m_pHashTable[bucket] == nullptr)
            ++bucket;
        assoc = m_pHashTable[bucket];
    }
    // The successor is the next association in the bucket, else the head of the next non-empty
    // bucket.
    CAssoc* next = assoc->pNext;
    for (UINT bucket = assoc->nHashValue % m_nHashTableSize + 1;
         next == nullptr && bucket < m_nHashTableSize; ++bucket)
        next = m_pHashTable[bucket];
    rNextPosition = reinterpret_cast<POSITION>(next);
    rKey = assoc->key;
    rValue = assoc->value;
}
