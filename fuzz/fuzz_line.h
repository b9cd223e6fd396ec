// libFuzzer targets of the input-box parsers: the fuzzer's bytes become one typed
// line, cut to what the host's box holds and ended by a NUL, in a heap block of
// exactly that size so that any read beyond the line is caught.
#ifndef TESSARC_FUZZ_LINE_H
#define TESSARC_FUZZ_LINE_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "mfd/parsers.h"

struct FuzzLine {
    std::unique_ptr<char[]> text;
    size_t length;
    FuzzLine(const uint8_t *data, size_t size) {
        length = size < kInputLineMax - 1 ? size : kInputLineMax - 1;
        text.reset(new char[length + 1]);
        if (length) std::memcpy(text.get(), data, length);
        text[length] = '\0';
    }
    const char *c_str() const { return text.get(); }
};

// A broken promise of a parser: stop the fuzzer with a crash.
inline void Expect(bool condition) {
    if (!condition) __builtin_trap();
}

#endif  // TESSARC_FUZZ_LINE_H
