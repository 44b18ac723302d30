// Makes operator new fail on demand in this test program, so that the Linux layer's answer to
// running out of memory can be seen. The Win32 functions of the Windows build never allocate
// through it, so there the calls simply succeed.
#pragma once

#include <bwcore/platform.h>

// Lets the calling thread's next `count` allocations succeed and makes the ones after them fail,
// until AllowAllocations.
void FailAllocationsAfter(int count);
void AllowAllocations();

// Calls `call` with 0, 1, 2, ... allocations allowed until it succeeds (`succeeded` of its
// result), and gives the last error of each failed call to `check`.
template <typename Call, typename Succeeded, typename Check>
void UntilAllocationsSuffice(Call call, Succeeded succeeded, Check check) {
    for (int allowed = 0;; ++allowed) {
        FailAllocationsAfter(allowed);
        struct Allow {
            ~Allow() { AllowAllocations(); } // also when an exception gets out
        } allow;
        const auto result = call();
        const DWORD error = GetLastError();
        AllowAllocations();
        if (succeeded(result))
            return;
        check(error);
    }
}
