// The registry for Linux: the classes root read once from a registry export file or from the
// desktop's MIME database (see registry.h), then served read-only through handles.
#include <bwcore/win32/registry.h>

#include <bwcore/win32/errors.h>
#include <bwcore/win32/strings.h>

#include "mime_database.h"
#include "reg_file.h"
#include "registry_tree.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <mutex>
#include <new>
#include <string>
#include <unordered_map>

using bwcompat::RegistryKey;
using bwcompat::RegistryValue;

namespace {

struct Registry {
    RegistryKey classesRoot;
    RegistryKey currentUser;  // Software\Classes only
    RegistryKey localMachine; // SOFTWARE\Classes only
    RegistryKey empty;        // the other predefined keys
};

// The whole file, or false when it cannot be read.
bool read_whole_file(const char* path, std::string& bytes) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return false;
    char block[65536];
    size_t count;
    try {
        while ((count = fread(block, 1, sizeof block, file)) > 0)
            bytes.append(block, count);
    } catch (...) {
        fclose(file);
        throw;
    }
    const bool ok = ferror(file) == 0;
    fclose(file);
    return ok;
}

void load_classes_root(RegistryKey& root) {
    const char* path = getenv("BWCORE_CLASSES_ROOT");
    if (path != nullptr && *path != '\0') {
        std::string bytes;
        if (read_whole_file(path, bytes))
            bwcompat::ReadRegFile(bytes, root);
    } else {
        bwcompat::ReadMimeDatabase(root);
    }
}

Registry* load_registry() {
    Registry* registry = new Registry;
    try {
        load_classes_root(registry->classesRoot);
        registry->currentUser.Open("Software").Open("Classes").LinkTo(&registry->classesRoot);
        registry->localMachine.Open("SOFTWARE").Open("Classes").LinkTo(&registry->classesRoot);
    } catch (...) {
        delete registry;
        throw;
    }
    return registry;
}

// The registry, read on the first call from any thread. A read that runs out of memory throws
// and is tried again on the next call. It is never freed: handles may be used until the
// process ends.
const Registry& the_registry() {
    static const Registry* const registry = load_registry();
    return *registry;
}

// Open keys by handle. Handle values are multiples of 4 from 0x1000 on, never reused, so a
// closed handle stays invalid.
std::mutex handles_mutex;
std::unordered_map<ULONG_PTR, const RegistryKey*> open_keys;
ULONG_PTR next_handle = 0x1000;

// The key that a handle stands for, or null. Reads the registry first, so may throw.
const RegistryKey* key_of(HKEY handle) {
    const Registry& registry = the_registry();
    if (handle == HKEY_CLASSES_ROOT)
        return &registry.classesRoot;
    if (handle == HKEY_CURRENT_USER)
        return &registry.currentUser;
    if (handle == HKEY_LOCAL_MACHINE)
        return &registry.localMachine;
    if (handle == HKEY_USERS || handle == HKEY_CURRENT_CONFIG)
        return &registry.empty;
    std::lock_guard<std::mutex> lock(handles_mutex);
    const auto found = open_keys.find(reinterpret_cast<ULONG_PTR>(handle));
    return found == open_keys.end() ? nullptr : found->second;
}

LSTATUS open_key(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
    const RegistryKey* key = key_of(hKey);
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    if (lpSubKey != nullptr && *lpSubKey == '\\')
        return ERROR_BAD_PATHNAME;
    const char* name = lpSubKey != nullptr ? lpSubKey : "";
    while (*name != '\0') {
        // Split on whole characters: in 932 a backslash can be the second byte of one.
        const char* end = name;
        while (*end != '\0' && *end != '\\')
            end = CharNextA(end);
        if (end > name) {
            key = key->Find(std::string(name, end));
            if (key == nullptr)
                return ERROR_FILE_NOT_FOUND;
        }
        name = *end == '\\' ? end + 1 : end;
    }
    std::lock_guard<std::mutex> lock(handles_mutex);
    const ULONG_PTR handle = next_handle;
    open_keys.emplace(handle, key);
    next_handle += 4;
    *phkResult = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

LSTATUS query_value(HKEY hKey, LPCSTR lpValueName, LPDWORD lpType, LPBYTE lpData,
                    LPDWORD lpcbData) {
    const RegistryKey* key = key_of(hKey);
    if (key == nullptr)
        return ERROR_INVALID_HANDLE;
    const RegistryValue* value = key->FindValue(lpValueName != nullptr ? lpValueName : "");
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (lpType != nullptr)
        *lpType = value->type;
    const DWORD size = static_cast<DWORD>(value->data.size());
    if (lpcbData == nullptr)
        return ERROR_SUCCESS;
    if (lpData != nullptr && *lpcbData < size) {
        *lpcbData = size;
        return ERROR_MORE_DATA;
    }
    if (lpData != nullptr)
        memcpy(lpData, value->data.data(), size);
    *lpcbData = size;
    return ERROR_SUCCESS;
}

} // namespace

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                             PHKEY phkResult) {
    (void)ulOptions;
    (void)samDesired;
    if (phkResult == nullptr)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    try {
        return open_key(hKey, lpSubKey, phkResult);
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY; // all that can throw here allocates
    }
}

LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr))
        return ERROR_INVALID_PARAMETER;
    try {
        return query_value(hKey, lpValueName, lpType, lpData, lpcbData);
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY; // all that can throw here allocates
    }
}

LSTATUS WINAPI RegCloseKey(HKEY hKey) {
    if (hKey == HKEY_CLASSES_ROOT || hKey == HKEY_CURRENT_USER || hKey == HKEY_LOCAL_MACHINE ||
        hKey == HKEY_USERS || hKey == HKEY_CURRENT_CONFIG)
        return ERROR_SUCCESS;
    try {
        std::lock_guard<std::mutex> lock(handles_mutex);
        return open_keys.erase(reinterpret_cast<ULONG_PTR>(hKey)) == 1 ? ERROR_SUCCESS
                                                                       : ERROR_INVALID_HANDLE;
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY; // the lock could not be had
    }
}
