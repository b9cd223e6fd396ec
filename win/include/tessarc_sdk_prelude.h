// Included ahead of every source that is built against the host's own SDK headers
// with clang in Microsoft mode: fills the gaps between what those headers expect
// from Visual C++ and what this toolchain (libc++ over the MinGW-w64 C headers)
// provides. Nothing here changes the plug-in's code.
#ifndef TESSARC_SDK_PRELUDE_H
#define TESSARC_SDK_PRELUDE_H

// The standard headers the SDK headers pull in, first: libc++ removes the min and
// max macros when they are defined, and the SDK's inline code relies on the ones
// <windows.h> defines.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include <stdlib.h>

// libc++'s number parsing names these UCRT functions; the MinGW-w64 headers do not
// declare them. Declared only: nothing the plug-in builds calls them.
extern "C" float __cdecl _strtof_l(const char *, char **, _locale_t);
extern "C" long double __cdecl _strtold_l(const char *, char **, _locale_t);

#include <fstream>
#include <windows.h>

// Visual C++'s <windows.h> defines these for C++ too; the MinGW-w64 one does so
// for C only.
#ifndef NOMINMAX
#ifndef max
#define max(a, b) (((a) > (b)) ? (a) : (b))
#endif
#ifndef min
#define min(a, b) (((a) < (b)) ? (a) : (b))
#endif
#endif

// Names the SDK headers introduce only through friend declarations, which Visual
// C++ accepts as declarations of their own.
class Instrument_User;
class ATMOSPHERE;

#endif  // TESSARC_SDK_PRELUDE_H
