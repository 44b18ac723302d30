// libFuzzer target: arbitrary bytes as a registry export file, read by the Linux Win32 layer's
// reader (compat/win32) into a classes root, which is then looked up.
//
// The sanitizers catch reads past the text and leaks; the target aborts when anything but
// std::bad_alloc leaves the reader, or when a key the file made cannot be found again by the
// name in other case.
#include "reg_file.h"
#include "registry_tree.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <new>
#include <string>

namespace {

void Check(bool bHolds, const char* pszWhat) {
    if (!bHolds) {
        fprintf(stderr, "registry file reader property violated: %s\n", pszWhat);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    bwcompat::RegistryKey root;
    try {
        bwcompat::ReadRegFile(bytes, root);
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (...) {
        Check(false, "only std::bad_alloc leaves the reader");
    }
    for (const char* name : {".txt", "txtfile", "a", "A"}) {
        const bwcompat::RegistryKey* key = root.Find(name);
        if (key != nullptr) {
            key->FindValue("");
            key->FindValue("Content Type");
        }
    }
    const bwcompat::RegistryKey* lower = root.Find("a");
    Check(lower == root.Find("A"), "names are found without regard to case");
    return 0;
}
