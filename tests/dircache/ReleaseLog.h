// Release callbacks for the owning containers' tests: each logs the elements it is given, in
// order, so a test can check what was released, how often and in which order.
#pragma once

#include <initializer_list>
#include <vector>

extern std::vector<void*> g_released;
extern std::vector<void*> g_releasedOther;

// Log into g_released and g_releasedOther; the second returns a non-zero result, which the
// containers must ignore.
long LogRelease(void* p);
long LogReleaseOther(void* p);

// Distinct non-null pointer values numbered n, never dereferenced.
void* Item(int n);
std::vector<void*> Items(std::initializer_list<int> numbers);
