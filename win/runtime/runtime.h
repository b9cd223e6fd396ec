// The small C++ runtime that Windows builds link instead of Visual C++'s: what the
// compiler's code expects from a runtime (operator new and delete, static
// initialisation and destruction, the pure-call trap, the floating-point marker)
// over the C functions of the Universal C Runtime (ucrtbase.dll).
#ifndef TESSARC_WIN_RUNTIME_H
#define TESSARC_WIN_RUNTIME_H

// Runs this image's static initialisers, in link order.
void RunStaticInitialisers();

// Runs the functions registered with atexit (static destructors), last first, once.
void RunExitFunctions();

#endif  // TESSARC_WIN_RUNTIME_H
