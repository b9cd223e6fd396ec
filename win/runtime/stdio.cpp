// C functions the modules call that ucrtbase.dll does not export: formatting and
// parsing, which Visual C++'s headers define inline over the Universal C Runtime's
// common entry points; and strnlen, which MinGW-w64's list of the DLL's exports
// does not carry.
#include <cstdarg>
#include <cstdio>
#include <cstring>

extern "C" {
int __cdecl vsnprintf(char *buf, size_t size, const char *format, va_list args) {
    // The standard's snprintf: counts the whole result, always terminates.
    return __stdio_common_vsprintf(_CRT_INTERNAL_PRINTF_STANDARD_SNPRINTF_BEHAVIOR, buf, size, format, nullptr,
                                   args);
}

int __cdecl snprintf(char *buf, size_t size, const char *format, ...) {
    va_list args;
    va_start(args, format);
    int n = vsnprintf(buf, size, format, args);
    va_end(args);
    return n;
}

int __cdecl sscanf(const char *text, const char *format, ...) {
    va_list args;
    va_start(args, format);
    int n = __stdio_common_vsscanf(0, text, static_cast<size_t>(-1), format, nullptr, args);
    va_end(args);
    return n;
}

int __cdecl printf(const char *format, ...) {
    va_list args;
    va_start(args, format);
    int n = __stdio_common_vfprintf(0, stdout, format, nullptr, args);
    va_end(args);
    return n;
}

size_t __cdecl strnlen(const char *text, size_t most) {
    size_t n = 0;
    while (n < most && text[n]) ++n;
    return n;
}
}
