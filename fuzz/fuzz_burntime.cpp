// Burn time: seconds from now or an MJD; accepted values are finite.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    double v = 1234.0;
    bool mjd = false;
    if (ParseBurnTime(line.c_str(), &mjd, &v)) {
        Expect(std::isfinite(v));
        // The MJD form is only ever chosen by an M in the line.
        if (mjd) Expect(std::strchr(line.c_str(), 'M') != nullptr);
    } else {
        Expect(v == 1234.0 && !mjd);
    }
    return 0;
}
