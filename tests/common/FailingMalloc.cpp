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

namespace {
std::atomic<int> allowed{-1}; // -1: no failures
std::atomic<const void*> library{nullptr};
} // namespace

extern "C" void* malloc(size_t size) {
    static void* (*next)(size_t) = reinterpret_cast<void* (*)(size_t)>(dlsym(RTLD_NEXT, "malloc"));
    int left = allowed.load();
    Dl_info caller;
    if (left >= 0 && dladdr(__builtin_return_address(0), &caller) &&
        caller.dli_fbase == library.load()) {
        while (left > 0 && !allowed.compare_exchange_weak(left, left - 1)) {
        }
        if (left == 0)
            return nullptr;
    }
    return next(size);
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
