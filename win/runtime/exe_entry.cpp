// The program entry point: static initialisation, main with the command line's
// arguments, static destruction, exit with main's status.
#include <cstdlib>

#include "runtime.h"

int main(int argc, char **argv);

extern "C" {
// The Universal C Runtime's argument parsing (mode 1: arguments as typed).
int __cdecl _configure_narrow_argv(int mode);
int *__cdecl __p___argc();
char ***__cdecl __p___argv();

void __cdecl mainCRTStartup() {
    RunStaticInitialisers();
    _configure_narrow_argv(1);
    int status = main(*__p___argc(), *__p___argv());
    RunExitFunctions();
    std::exit(status);
}
}
