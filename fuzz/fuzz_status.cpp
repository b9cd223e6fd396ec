// Lines of an MFD's scenario block as a file may hand them back: any bytes, any
// length. The decoder must stay inside the line, keep names inside their field,
// and hand out only finite numbers, whole integers and settings that exist; a
// numeric line written back with full precision must decode to the same values.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "mfd/scenario.h"

namespace {

inline void Expect(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Positions of a key's values that are integers.
bool IntegerAt(StatusKey key, int i) {
    switch (key) {
        case STATUS_MFDINDEX: case STATUS_GRAPHSTYLE: case STATUS_FORCELAND: case STATUS_LANDBRAKE:
        case STATUS_ACTIVEAP: case STATUS_REFMODE: case STATUS_LANDING: case STATUS_DESCENT:
        case STATUS_DOCKINGREF:
            return true;
        case STATUS_PORIG: return i >= 4;
        case STATUS_BURNDATA: return i == 7;
        case STATUS_BURNDATA1: return i >= 4;
        case STATUS_ASCDATA: case STATUS_PADBASE: return i == 0;
        default: return false;
    }
}

bool NumericOnly(StatusKey key) {
    return key != STATUS_NONE && key != STATUS_REMOTE && key != STATUS_BODYREF && key != STATUS_TARGETREF &&
           key != STATUS_DOCKINGREF && key != STATUS_PADBASE && key != STATUS_REFMODE && key != STATUS_LANDING &&
           key != STATUS_DESCENT;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::unique_ptr<char[]> line(new char[size + 1]);
    if (size) std::memcpy(line.get(), data, size);
    line[size] = '\0';
    const size_t length = std::strlen(line.get());

    StatusLine L;
    const StatusKey key = DecodeStatusLine(line.get(), &L);
    Expect(key == L.key && key >= STATUS_NONE && key < STATUS_KEY_COUNT);
    Expect(L.count >= 0 && L.count <= kStatusValueMax);
    const size_t nameLength = strnlen(L.name, sizeof L.name);
    Expect(nameLength < sizeof L.name);
    if (key == STATUS_NONE) {
        Expect(L.count == 0 && nameLength == 0);
        return 0;
    }
    Expect(length <= kStatusLineMax);
    // The key stands at the start of the line, followed by a blank and more.
    const char *word = StatusKeyText(key);
    while (*word == ' ') ++word;
    const size_t keyLength = std::strlen(word);
    Expect(length > keyLength + 1 && std::strncmp(line.get(), word, keyLength) == 0 && line[keyLength] == ' ');

    for (int i = 0; i < L.count; ++i) {
        Expect(std::isfinite(L.value[i]));
        if (IntegerAt(key, i))
            Expect(L.value[i] == std::floor(L.value[i]) && L.value[i] >= INT32_MIN && L.value[i] <= INT32_MAX);
    }
    if (key == STATUS_REFMODE) Expect(L.count == 1 && L.value[0] >= 0 && L.value[0] <= 6);
    if (key == STATUS_LANDING) Expect(L.count == 1 && L.value[0] >= 0 && L.value[0] <= 2);
    // A descent profile is one that has its word.
    if (key == STATUS_DESCENT) Expect(L.count == 1 && *DescentWord(static_cast<int>(L.value[0])) != '\0');
    if (nameLength) Expect(!IsBlank(L.name[0]) && !IsBlank(L.name[nameLength - 1]));
    // Only a vessel group's REMOTE line may come without a readable name.
    if (key == STATUS_BODYREF || key == STATUS_TARGETREF || key == STATUS_DOCKINGREF) Expect(nameLength > 0);

    // Written back with full precision, a numeric line reads the same.
    if (NumericOnly(key)) {
        char again[kStatusLineMax + 200];
        int n = std::snprintf(again, sizeof again, "%s", word);
        for (int i = 0; i < L.count && n > 0 && static_cast<size_t>(n) < sizeof again; ++i)
            n += std::snprintf(again + n, sizeof again - static_cast<size_t>(n), " %.17g", L.value[i]);
        if (n > 0 && static_cast<size_t>(n) <= kStatusLineMax) {
            StatusLine R;
            Expect(DecodeStatusLine(again, &R) == key && R.count == L.count);
            for (int i = 0; i < L.count; ++i) Expect(R.value[i] == L.value[i]);
        }
    }
    return 0;
}
