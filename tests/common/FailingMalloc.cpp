#include "FailingMalloc.h"

#if defined(_WIN32)

bool MallocFailuresInjectable() {
    return false;
}
void FailMallocsAfter(const void*, int) {}
void AllowMallocs() {}

#else

#include <dlfcn.h>

#include <atomic>

// The sanitizers' malloc, when the program runs under one; else the C library's.
extern "C" void* __interceptor_malloc(size_t size) __attribute__((weak));
extern "C" void* __libc_malloc(size_t size);

namespace {
std::atomic<int> allowed{-1}; // -1: no failures
std::atomic<const void*> library{nullptr};
} // namespace

// Not instrumented: the sanitizers' own start-up allocates before their shadow memory exists.
extern "C" __attribute__((no_sanitize("address", "thread", "undefined"))) void*
malloc(size_t size) {
    int left = allowed.load();
    Dl_info caller;
    if (left >= 0 && dladdr(__builtin_return_address(0), &caller) &&
        caller.dli_fbase == library.load()) {
        while (left > 0 && !allowed.compare_exchange_weak(left, left - 1)) {
        }
        if (left == 0)
            return nullptr;
    }
    return __interceptor_malloc ? __interceptor_malloc(size) : __libc_malloc(size);
}

bool MallocFailuresInjectable() {
    return true;
}

void FailMallocsAfter(const void* anyFunction, int count) {
    Dl_info info;
    library = dladdr(anyFunction, &info) ? info.dli_fbase : nullptr;
    allowed = count;
}

void AllowMallocs() {
    allowed = -1;
}

#endif
