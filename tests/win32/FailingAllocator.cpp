#include "FailingAllocator.h"

#include <stdlib.h>

#include <new>

namespace {

thread_local int allowed = -1; // -1: no limit

void* Allocate(size_t size) {
    if (allowed == 0)
        return nullptr;
    if (allowed > 0)
        --allowed;
    return malloc(size != 0 ? size : 1);
}

void* AllocateOrThrow(size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}

} // namespace

void FailAllocationsAfter(int count) {
    allowed = count;
}

void AllowAllocations() {
    allowed = -1;
}

// Every form that allocates or frees, so that none mixes with the library's own (or, under the
// address sanitizer, with the sanitizer's).
// clang-format off
void* operator new(size_t size) { return AllocateOrThrow(size); }
void* operator new[](size_t size) { return AllocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, size_t) noexcept { free(p); }
void operator delete[](void* p, size_t) noexcept { free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }
// clang-format on
