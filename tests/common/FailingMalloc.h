// Makes malloc fail on demand for the calls that one library's own code makes, so that a test
// sees what the library does when a record cannot be allocated; every other allocation (operator
// new, the framework's strings and arrays, the test's own) goes through.
//
// The test program defines malloc, which on Linux replaces the C library's for every module, and
// hands each call on to the C library's, or to the sanitizer's in a sanitizer build, so that
// AddressSanitizer and LeakSanitizer still see every block. A DLL's
// malloc cannot be replaced so on Windows: there MallocFailuresInjectable is false.
#pragma once

bool MallocFailuresInjectable();

// The next `count` mallocs made by the library holding `anyFunction` succeed, the ones after them
// fail, until AllowMallocs.
void FailMallocsAfter(const void* anyFunction, int count);
void AllowMallocs();

// Calls `call` with 0, 1, 2, ... of the library's mallocs allowed until `succeeded` holds for its
// result, giving each earlier result and the number allowed to `check`.
template <typename Call, typename Succeeded, typename Check>
void UntilMallocsSuffice(const void* anyFunction, Call call, Succeeded succeeded, Check check) {
    for (int allowed = 0;; ++allowed) {
        FailMallocsAfter(anyFunction, allowed);
        auto result = call();
        AllowMallocs();
        if (succeeded(result))
            return;
        check(result, allowed);
    }
}
