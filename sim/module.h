// Plug-in modules: the entry points the host calls by name, loaded from a shared
// library with dlopen, or taken from a plug-in linked into the program itself.
#ifndef TESSARC_SIM_MODULE_H
#define TESSARC_SIM_MODULE_H

#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace sim {

// A module's entry points. Only InitModule is required.
struct ModuleApi {
    void (*InitModule)(HINSTANCE) = nullptr;
    void (*ExitModule)(HINSTANCE) = nullptr;
    void (*opcPreStep)(double simt, double simdt, double mjd) = nullptr;
    void (*opcPostStep)(double simt, double simdt, double mjd) = nullptr;
    void (*opcFocusChanged)(OBJHANDLE newFocus, OBJHANDLE oldFocus) = nullptr;
    void (*opcTimeAccChanged)(double newWarp, double oldWarp) = nullptr;
    void (*opcDeleteVessel)(OBJHANDLE hVessel) = nullptr;
    void (*opcCloseRenderViewport)() = nullptr;
    char *(*ModuleDate)() = nullptr;
    int (*GetModuleVersion)() = nullptr;
};

struct Module {
    std::string name;      // file name without folder and extension
    std::string path;      // empty for a linked module
    void *library = nullptr;   // dlopen handle (null for a linked module)
    HINSTANCE instance = nullptr;  // what InitModule and ExitModule receive
    ModuleApi api;
    bool initialised = false;  // InitModule was called and ExitModule not yet
    bool libraryInitialised = false;  // its load glue gave this library's handle to InitLib
};

// Opens the library (RTLD_NOW | RTLD_LOCAL; its load glue runs now) and finds its
// entry points. On failure returns false with a message naming the module and the
// missing export or the loader's text; nothing stays loaded.
bool loadModule(const std::string &path, Module &m, std::string &err);

// A module whose entry points are functions linked into this program.
Module linkedModule(const std::string &name, const ModuleApi &api);

// ExitModule (if initialised) and dlclose. Safe to call twice.
void unloadModule(Module &m);

// The module's date text, or "" when it has no ModuleDate.
std::string moduleDate(const Module &m);

// The last handle a module's load glue gave to InitLib (null before any).
HINSTANCE lastInitLibHandle();

// Lines modules wrote with oapiWriteLog, oldest first (kept to the last 1000).
std::vector<std::string> &hostLog();

}  // namespace sim

#endif  // TESSARC_SIM_MODULE_H
