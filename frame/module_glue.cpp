// Library load and unload glue: hands the module's handle to the host's library
// initialisation when the module is loaded, and calls the module's exit entry
// when it is unloaded. On Windows this is what the SDK's static library would
// bring; a build that links that library (TESSARC_ORBITERSDK_LIB) leaves it out.
#include "frame/glue.h"

#if !TESSARC_ORBITERSDK_LIB

namespace {
typedef void (*ExitEntry)(HINSTANCE);
HINSTANCE moduleHandle = nullptr;
ExitEntry exitEntry = nullptr;
}  // namespace

#if defined(_WIN32)
#include <windows.h>

// The entry point the runtime calls when the library is mapped and unmapped.
BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        moduleHandle = hModule;
        InitLib(hModule);
        exitEntry = reinterpret_cast<ExitEntry>(GetProcAddress(hModule, "ExitModule"));
        if (!exitEntry) exitEntry = reinterpret_cast<ExitEntry>(GetProcAddress(hModule, "opcDLLExit"));
    } else if (reason == DLL_PROCESS_DETACH) {
        if (exitEntry) exitEntry(moduleHandle);
    }
    return TRUE;
}

#else
#include <dlfcn.h>

// The handle of this module as the dynamic loader knows it: the same value the
// host received from dlopen and passes to InitModule.
static void *OwnHandle() {
    Dl_info info;
    if (!dladdr(reinterpret_cast<void *>(&OwnHandle), &info) || !info.dli_fname) return nullptr;
    void *h = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    // Drop the reference RTLD_NOLOAD added; the host's own reference keeps it valid.
    if (h) dlclose(h);
    return h;
}

__attribute__((constructor)) static void ModuleAttach() {
    // Linked into a program rather than loaded as a module: no glue to run.
    void *h = OwnHandle();
    if (!h || h == dlopen(nullptr, RTLD_NOW | RTLD_NOLOAD)) return;
    moduleHandle = static_cast<HINSTANCE>(h);
    InitLib(moduleHandle);
    exitEntry = reinterpret_cast<ExitEntry>(dlsym(h, "ExitModule"));
    if (!exitEntry) exitEntry = reinterpret_cast<ExitEntry>(dlsym(h, "opcDLLExit"));
}

__attribute__((destructor)) static void ModuleDetach() {
    if (exitEntry) exitEntry(moduleHandle);
}
#endif
#endif  // !TESSARC_ORBITERSDK_LIB
