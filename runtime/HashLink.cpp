#include <bwcore/runtime/HashLink.h>

#include <stdlib.h>
#include <string.h>

namespace {

// The one enumeration under way in the process, and the bucket array it belongs to, so that a
// continuation never follows an entry of another table.
struct EnumPosition {
    HASHLINK** buckets;
    uint16_t index;
    HASHLINK* entry;
};

EnumPosition g_enum = {nullptr, 0, nullptr};

uint16_t bucketOf(const char* key, uint16_t bucketCount) {
    uint16_t sum = 0;
    for (const char* p = key; *p != '\0'; ++p)
        sum = static_cast<uint16_t>(sum + static_cast<signed char>(*p));
    return static_cast<uint16_t>(sum % bucketCount);
}

// The C runtime's caseless comparison in its default locale: only A-Z fold.
bool equalIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(*a);
        unsigned char cb = static_cast<unsigned char>(*b);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return false;
        if (ca == '\0')
            return true;
    }
}

HASHLINK* findExact(HASHLINK* chain, const char* key) {
    for (HASHLINK* e = chain; e != nullptr; e = e->next) {
        if (strcmp(e->key, key) == 0)
            return e;
    }
    return nullptr;
}

// Looks for the first non-empty bucket from `first` on and makes it the enumeration position.
HASHLINK* enumerateFrom(HASHLINK** buckets, uint16_t bucketCount, uint32_t first) {
    for (uint32_t i = first; i < bucketCount; ++i) {
        if (buckets[i] != nullptr) {
            g_enum.index = static_cast<uint16_t>(i);
            g_enum.entry = buckets[i];
            return g_enum.entry;
        }
    }
    return nullptr;
}

void forgetEnumeration(HASHLINK** buckets) {
    if (g_enum.buckets == buckets)
        g_enum = EnumPosition{nullptr, 0, nullptr};
}

template <typename T>
T* offsetPointer(T* pointer, uintptr_t delta, bool add) {
    const uintptr_t address = reinterpret_cast<uintptr_t>(pointer);
    return reinterpret_cast<T*>(add ? address + delta : address - delta);
}

} // namespace

int32_t HashLinkAdd(HASHLINK** buckets, uint16_t bucketCount, const char* key, uintptr_t value) {
    if (buckets == nullptr || bucketCount == 0 || key == nullptr)
        return HASHLINK_NOTFOUND;
    HASHLINK** head = &buckets[bucketOf(key, bucketCount)];
    if (findExact(*head, key) != nullptr)
        return HASHLINK_DUPLICATE;
    HASHLINK* entry = static_cast<HASHLINK*>(malloc(sizeof(HASHLINK)));
    if (entry == nullptr)
        return HASHLINK_NOMEMORY;
    const size_t length = strlen(key);
    entry->key = static_cast<char*>(malloc(length + 2));
    if (entry->key == nullptr) {
        free(entry);
        return HASHLINK_NOMEMORY;
    }
    memcpy(entry->key, key, length + 1);
    entry->key[length + 1] = '\0';
    entry->value = value;
    entry->next = *head;
    *head = entry;
    return 0;
}

uintptr_t HashLinkQuery(HASHLINK** buckets, uint16_t bucketCount, const char* key) {
    if (buckets == nullptr || bucketCount == 0 || key == nullptr)
        return 0;
    for (HASHLINK* e = buckets[bucketOf(key, bucketCount)]; e != nullptr; e = e->next) {
        if (equalIgnoringCase(e->key, key))
            return e->value;
    }
    return 0;
}

int32_t HashLinkUpdate(HASHLINK** buckets, uint16_t bucketCount, const char* key, uintptr_t value) {
    if (buckets == nullptr || bucketCount == 0 || key == nullptr)
        return HASHLINK_NOTFOUND;
    HASHLINK* entry = findExact(buckets[bucketOf(key, bucketCount)], key);
    if (entry == nullptr)
        return HASHLINK_NOTFOUND;
    entry->value = value;
    return 0;
}

uint16_t HashLinkGetCount(HASHLINK** buckets, uint16_t bucketCount) {
    if (buckets == nullptr)
        return 0;
    uint16_t count = 0;
    for (uint16_t i = 0; i < bucketCount; ++i) {
        for (const HASHLINK* e = buckets[i]; e != nullptr; e = e->next)
            ++count;
    }
    return count;
}

HASHLINK* HashLinkEnum(HASHLINK** buckets, uint16_t bucketCount, int32_t mode) {
    if (buckets == nullptr)
        return nullptr;
    if (mode == HASHLINK_ENUM_FIRST) {
        g_enum = EnumPosition{buckets, 0, nullptr};
        return enumerateFrom(buckets, bucketCount, 0);
    }
    if (mode != HASHLINK_ENUM_NEXT || g_enum.buckets != buckets || g_enum.entry == nullptr)
        return nullptr;
    if (g_enum.entry->next != nullptr) {
        g_enum.entry = g_enum.entry->next;
        return g_enum.entry;
    }
    // At the end the position stays on the last entry, so further calls keep returning null.
    return enumerateFrom(buckets, bucketCount, g_enum.index + 1u);
}

void HashLinkDestroy(HASHLINK** buckets, uint16_t bucketCount) {
    if (buckets == nullptr)
        return;
    forgetEnumeration(buckets);
    for (uint16_t i = 0; i < bucketCount; ++i) {
        HASHLINK* e = buckets[i];
        while (e != nullptr) {
            HASHLINK* next = e->next;
            free(e->key);
            free(e);
            e = next;
        }
    }
}

int32_t HashLinkAddTablePtr(HASHLINK** buckets, uint16_t bucketCount, uintptr_t delta) {
    if (buckets == nullptr)
        return 0;
    forgetEnumeration(buckets);
    for (uint16_t i = 0; i < bucketCount; ++i) {
        if (buckets[i] == nullptr)
            continue;
        // Each link is turned into an address before it is followed.
        buckets[i] = offsetPointer(buckets[i], delta, true);
        for (HASHLINK* e = buckets[i]; e != nullptr; e = e->next) {
            e->key = offsetPointer(e->key, delta, true);
            e->value += delta;
            if (e->next != nullptr)
                e->next = offsetPointer(e->next, delta, true);
        }
    }
    return 1;
}

int32_t HashLinkSubtractTablePtrFromNode(HASHLINK** buckets, uint16_t bucketCount,
                                         uintptr_t delta) {
    if (buckets == nullptr)
        return 0;
    forgetEnumeration(buckets);
    for (uint16_t i = 0; i < bucketCount; ++i) {
        HASHLINK* e = buckets[i];
        if (e == nullptr)
            continue;
        // Each link is followed while it is still an address, then turned into an offset.
        buckets[i] = offsetPointer(e, delta, false);
        while (e != nullptr) {
            HASHLINK* next = e->next;
            if (next != nullptr)
                e->next = offsetPointer(next, delta, false);
            e = next;
        }
    }
    return 1;
}
