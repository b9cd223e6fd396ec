// Module loading with dlopen, and modules linked into the program.
#include "module.h"

#include <dlfcn.h>

namespace sim {

static std::string baseName(const std::string &path) {
    size_t slash = path.find_last_of('/');
    std::string n = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = n.find_last_of('.');
    if (dot != std::string::npos && dot > 0) n.erase(dot);
    return n;
}

template <typename F>
static void findExport(void *lib, const char *name, F &fn) {
    fn = reinterpret_cast<F>(dlsym(lib, name));
}

bool loadModule(const std::string &path, Module &m, std::string &err) {
    m = Module();
    m.name = baseName(path);
    m.path = path;
    dlerror();
    void *lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char *e = dlerror();
        err = "module " + m.name + ": cannot load " + path + ": " + (e ? e : "unknown error");
        return false;
    }
    ModuleApi &a = m.api;
    findExport(lib, "InitModule", a.InitModule);
    if (!a.InitModule) {
        err = "module " + m.name + " (" + path + "): missing export InitModule";
        dlclose(lib);
        return false;
    }
    findExport(lib, "ExitModule", a.ExitModule);
    findExport(lib, "opcPreStep", a.opcPreStep);
    findExport(lib, "opcPostStep", a.opcPostStep);
    findExport(lib, "opcFocusChanged", a.opcFocusChanged);
    findExport(lib, "opcTimeAccChanged", a.opcTimeAccChanged);
    findExport(lib, "opcDeleteVessel", a.opcDeleteVessel);
    findExport(lib, "opcCloseRenderViewport", a.opcCloseRenderViewport);
    findExport(lib, "ModuleDate", a.ModuleDate);
    findExport(lib, "GetModuleVersion", a.GetModuleVersion);
    m.library = lib;
    m.instance = lib;
    // The module's load glue runs inside dlopen and hands the host its handle.
    m.libraryInitialised = lastInitLibHandle() == static_cast<HINSTANCE>(lib);
    return true;
}

Module linkedModule(const std::string &name, const ModuleApi &api) {
    Module m;
    m.name = name;
    m.api = api;
    // Any non-null token will do as the instance handle of a linked module.
    static int linkedInstance;
    m.instance = &linkedInstance;
    return m;
}

void unloadModule(Module &m) {
    if (m.initialised && m.api.ExitModule) m.api.ExitModule(m.instance);
    m.initialised = false;
    if (m.library) dlclose(m.library);
    m.library = nullptr;
    m.api = ModuleApi();
}

std::string moduleDate(const Module &m) {
    if (!m.api.ModuleDate) return "";
    const char *d = m.api.ModuleDate();
    return d ? d : "";
}

}  // namespace sim
