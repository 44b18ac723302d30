// CMapStringToPtr: a hash table from strings to untyped pointers. The map owns copies of its
// keys, not what the values point to.
//
// Keys are compared as zero-terminated texts, byte for byte (case matters). The table has 17
// buckets unless InitHashTable chose another size, and is allocated with the first association.
// Associations come from blocks of nBlockSize; removed ones are reused, and the blocks and the
// table are given back when the map becomes empty. Enumeration (GetStartPosition, GetNextAssoc)
// visits every association once, in no particular order.
//
// Adding with a null key, a block size below 1, and InitHashTable on a non-empty map or with a
// size of 0 raise AfxThrowInvalidArgException.
#pragma once

#include <bwcore/afx/CObject.h>
#include <bwcore/afx/CString.h>
#include <bwcore/afx/POSITION.h>

struct CPlex;

class BWAFX_API CMapStringToPtr : public CObject {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR nBlockSize = 10);
    ~CMapStringToPtr() override;

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // TRUE and the value when the key is present; a null key is never present.
    BOOL Lookup(LPCSTR key, void*& rValue) const;
    // TRUE and the map's own copy of the key, valid while the association lasts.
    BOOL LookupKey(LPCSTR key, LPCSTR& rKey) const;

    // The value for the key, added as null when the key was not present.
    void*& operator[](LPCSTR key);
    void SetAt(LPCSTR key, void* newValue) { (*this)[key] = newValue; }

    // FALSE when the key was not present.
    BOOL RemoveKey(LPCSTR key);
    void RemoveAll();

    // Null for an empty map; GetNextAssoc returns an association and moves to the next, null
    // after the last.
    POSITION GetStartPosition() const;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets (best a prime a little above the expected count); the table is
    // allocated now or with the first association.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);
    UINT HashKey(LPCSTR key) const;

private:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;
        CString key;
        void* value;
    };

    CAssoc* GetAssocAt(LPCSTR key, UINT& nHashValue) const;
    CAssoc* NewAssoc(LPCSTR key);
    void FreeAssoc(CAssoc* pAssoc);

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    CAssoc* m_pFreeList = nullptr;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};
