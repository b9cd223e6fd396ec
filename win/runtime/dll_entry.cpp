// The library entry point: static initialisation, then the module's DllMain on
// load; DllMain, then static destruction on unload.
#include <windows.h>

#include "runtime.h"

BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID reserved);

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE hModule, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) RunStaticInitialisers();
    BOOL ok = DllMain(hModule, reason, reserved);
    if (reason == DLL_PROCESS_DETACH || (reason == DLL_PROCESS_ATTACH && !ok)) RunExitFunctions();
    return ok;
}
