// A minimal module for the module-loading tests: it records, in order, which of
// its entry points the host called and with what, and hands the record out
// through an exported getter (so it needs nothing from the host).
#include <cstdio>
#include <string>

#include "OrbiterAPI.h"

namespace {
std::string calls;
char date[] = "Jan 02 2003";

void note(const char *fmt, const void *a = nullptr, const void *b = nullptr) {
    char buf[96];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    calls += buf;
    calls += ';';
}
}  // namespace

DLLCLBK void InitModule(HINSTANCE h) { note("InitModule(%p)", h); }
DLLCLBK void ExitModule(HINSTANCE h) { note("ExitModule(%p)", h); }
DLLCLBK void opcPreStep(double, double, double) { note("PreStep"); }
DLLCLBK void opcPostStep(double, double, double) { note("PostStep"); }
DLLCLBK void opcFocusChanged(OBJHANDLE n, OBJHANDLE o) { note("FocusChanged(%p,%p)", n, o); }
DLLCLBK void opcCloseRenderViewport() { note("CloseRenderViewport"); }
DLLCLBK char *ModuleDate() { return date; }

// Not an entry point of the host: the tests read the record through it.
DLLCLBK const char *TestModuleCalls() { return calls.c_str(); }
DLLCLBK void TestModuleReset() { calls.clear(); }
