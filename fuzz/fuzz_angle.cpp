// Angle and plain number boxes (decimal-space rule): an accepted value is finite,
// a refused text leaves the value alone.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    double v = 1234.0;
    if (ParseAngle(line.c_str(), &v)) Expect(std::isfinite(v));
    else Expect(v == 1234.0);
    double w = 1234.0;
    if (ParseDecimalSpace(line.c_str(), &w)) Expect(std::isfinite(w));
    else Expect(w == 1234.0);
    return 0;
}
