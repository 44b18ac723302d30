// The Linux stand-in for the Windows loader's work on one module, compiled into every module that
// has resources or a DllMain (CMake: bwcore_win32_module).
//
// When the module is loaded, it registers the module's resources under the module's handle and
// then calls the module's DllMain with DLL_PROCESS_ATTACH; when the module is unloaded (or the
// process ends), it calls DllMain with DLL_PROCESS_DETACH and then unregisters the resources.
// Both are optional: the resource directory comes from the module's compiled resource script and
// DllMain from the module's own code, and a module without either simply skips that step.
//
// Rule for DllMain: here it runs among the module's load-time initialisers, in no defined order
// relative to the module's dynamically initialised statics. It may use the module's constant
// (zero- or constant-initialised) data and the modules it links to, which are initialised before
// it, but not statics of its own module that need a constructor to run. (On Windows the C runtime
// constructs them before calling DllMain; code shared by both builds keeps to the stricter rule.)
#include <bwcore/platform.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

// Both are this module's own (hidden) symbols; weak, so that they are null when the module does
// not define them.
extern "C" __attribute__((weak, visibility("hidden")))
const BW_RESOURCE_DIRECTORY bw_module_resources;
extern "C" __attribute__((weak, visibility("hidden"))) BOOL WINAPI DllMain(HINSTANCE hInstance,
                                                                           DWORD dwReason,
                                                                           LPVOID lpReserved);

namespace {

// Any object of this module serves to ask the dynamic loader where the module was loaded.
const char module_anchor = 0;

HMODULE module_handle = nullptr;

__attribute__((constructor)) void attach_module() {
    Dl_info info;
    if (!dladdr(&module_anchor, &info)) {
        std::fputs("module_entry: cannot find the module's load address\n", stderr);
        std::abort();
    }
    module_handle = static_cast<HMODULE>(info.dli_fbase);
    if (&bw_module_resources)
        BwRegisterModuleResources(module_handle, &bw_module_resources);
    // A module whose DllMain refuses to attach cannot be used; on Windows the process would fail
    // to start.
    if (DllMain && !DllMain(module_handle, DLL_PROCESS_ATTACH, nullptr)) {
        std::fprintf(stderr, "module_entry: DllMain of the module at %p failed to attach\n",
                     static_cast<void*>(module_handle));
        std::abort();
    }
}

__attribute__((destructor)) void detach_module() {
    if (DllMain)
        DllMain(module_handle, DLL_PROCESS_DETACH, nullptr);
    if (&bw_module_resources)
        BwUnregisterModuleResources(module_handle);
}

} // namespace
