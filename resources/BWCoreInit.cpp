// Start and stop of the library: its DllMain, reached from the Windows loader, or on Linux from the
// module's start-up code (compat/win32/module_entry.cpp).
#include <bwcore/BWCoreInit.h>

#include <bwcore/afx/CDynLinkLibrary.h>

namespace {

// Constant-initialised, as DllMain may run before the module's dynamic initialisers.
AFX_EXTENSION_MODULE bwcore_module = {FALSE, nullptr, nullptr};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(bwcore_module, hInstance))
            return FALSE;
        // The chain owns the entry: AfxTermExtensionModule deletes it on detach.
        new CDynLinkLibrary(bwcore_module);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(bwcore_module);
    }
    return TRUE;
}

void BWCoreInit(void) {
    new CDynLinkLibrary(bwcore_module);
}
