// CPlex: the blocks of memory from which lists and maps take their nodes. A container allocates
// one block of nBlockSize nodes at a time, threads the nodes onto its free list, and gives all
// blocks back at once when it is emptied, so adding and removing elements rarely allocates.
#pragma once

#include <cstddef>
#include <stdint.h>

#include <new>

struct alignas(alignof(std::max_align_t)) CPlex {
    CPlex* pNext;

    // The block's storage for nodes, just after its header.
    void* data() { return this + 1; }

    // A new block of nMax elements of cbElement bytes, linked at the head of the chain.
    static CPlex* Create(CPlex*& pHead, size_t nMax, size_t cbElement) {
        if (nMax > (SIZE_MAX - sizeof(CPlex)) / cbElement)
            throw std::bad_alloc();
        CPlex* p = new (::operator new(sizeof(CPlex) + nMax * cbElement)) CPlex{pHead};
        pHead = p;
        return p;
    }

    // Frees this block and every block after it on the chain.
    void FreeDataChain() {
        for (CPlex* p = this; p != nullptr;) {
            CPlex* next = p->pNext;
            ::operator delete(p);
            p = next;
        }
    }
};
