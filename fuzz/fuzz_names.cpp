// Names typed into the target, reference and remote-vessel boxes: copied into the
// state's fields (99 characters and a NUL) and written back into the box no longer
// than typed, always terminated and never beyond either buffer.
#include "fuzz_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzLine line(data, size);
    const size_t typed = std::strlen(line.c_str());
    // A blank line asks for the focus vessel; any other character names a vessel.
    bool blank = true;
    for (size_t i = 0; i < typed; ++i)
        if (line.text[i] != ' ' && line.text[i] != '\t') blank = false;
    Expect(BlankLine(line.c_str()) == blank);

    char field[100];
    const size_t n = CopyBounded(field, sizeof field, line.c_str());
    Expect(n == (typed < sizeof field - 1 ? typed : sizeof field - 1));
    Expect(std::strlen(field) == n && std::memcmp(field, line.c_str(), n) == 0);

    // Write-back of a longer host name into the typed line.
    char host[kInputLineMax];
    std::memset(host, 'N', sizeof host - 1);
    host[sizeof host - 1] = '\0';
    CopyBounded(line.text.get(), typed + 1, host);
    Expect(std::strlen(line.c_str()) == typed);
    return 0;
}
