#include "ReleaseLog.h"

#include <stdint.h>

std::vector<void*> g_released;
std::vector<void*> g_releasedOther;

long LogRelease(void* p) {
    g_released.push_back(p);
    return 0;
}

long LogReleaseOther(void* p) {
    g_releasedOther.push_back(p);
    return -1;
}

void* Item(int n) {
    return reinterpret_cast<void*>(static_cast<intptr_t>(n));
}

std::vector<void*> Items(std::initializer_list<int> numbers) {
    std::vector<void*> items;
    for (int n : numbers)
        items.push_back(Item(n));
    return items;
}
