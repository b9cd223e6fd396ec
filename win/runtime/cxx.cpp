// Operator new and delete, static initialisation and destruction, the pure-call
// trap and the floating-point marker, for one image (a module or a program).
#include <cstdlib>
#include <new>

#include "runtime.h"

namespace {
typedef void(__cdecl *InitFunction)();
typedef void(__cdecl *ExitFunction)();

// Static destructors an image can register; the plug-in registers a handful.
const int kMaxExitFunctions = 64;
ExitFunction exitFunctions[kMaxExitFunctions];
int exitFunctionCount = 0;
}  // namespace

// The compiler puts a pointer to each translation unit's initialiser in the
// section .CRT$XCU; the linker orders .CRT$XC* by name, so these two bracket them.
#pragma section(".CRT$XCA", read)
#pragma section(".CRT$XCZ", read)
__declspec(allocate(".CRT$XCA")) const InitFunction firstInitialiser = nullptr;
__declspec(allocate(".CRT$XCZ")) const InitFunction lastInitialiser = nullptr;

void RunStaticInitialisers() {
    for (const InitFunction *f = &firstInitialiser + 1; f < &lastInitialiser; ++f) {
        if (*f) (*f)();
    }
}

void RunExitFunctions() {
    while (exitFunctionCount > 0) exitFunctions[--exitFunctionCount]();
}

extern "C" {
// The compiler references this in every object that uses floating point.
int _fltused = 0x9875;

// Registers a static destructor, run when the image is unloaded (not at process
// exit, as the C runtime's own atexit would for a module). 0 on success.
int __cdecl atexit(ExitFunction f) {
    if (exitFunctionCount >= kMaxExitFunctions) return -1;
    exitFunctions[exitFunctionCount++] = f;
    return 0;
}

// Called through a vtable slot of an abstract class: a program fault; stop.
int __cdecl _purecall() { std::abort(); }
}

namespace std {
const nothrow_t nothrow{};
}

void *operator new(size_t size) {
    void *p = std::malloc(size ? size : 1);
    if (!p) std::abort();  // no exceptions here: an allocation that must succeed
    return p;
}
void *operator new[](size_t size) { return operator new(size); }
void *operator new(size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void *operator new[](size_t size, const std::nothrow_t &) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, size_t) noexcept { std::free(p); }
void operator delete[](void *p, size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
