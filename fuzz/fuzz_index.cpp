// Pad, docking-port and swap numbers: a refused text leaves the number alone;
// a line without any digit is always refused.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    static const char letters[] = {'P', 'U', 'D', 'S', '\0'};
    bool digit = false;
    for (size_t i = 0; i < line.length && line.text[i]; ++i)
        if (line.text[i] >= '0' && line.text[i] <= '9') digit = true;
    for (char letter : letters) {
        int n = 1234;
        if (!ParseIndex(line.c_str(), letter, &n)) Expect(n == 1234);
        else Expect(digit);
    }
    return 0;
}
