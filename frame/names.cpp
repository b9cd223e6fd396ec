// Objects by name.
#include "frame/names.h"

#include <cstring>

void ObjectNameInto(OBJHANDLE obj, char *out, size_t size) {
    if (!out || size == 0) return;
    char full[256];
    full[0] = '\0';
    if (obj) oapiGetObjectName(obj, full, static_cast<int>(sizeof full));
    full[sizeof full - 1] = '\0';
    // Cut to the field exactly as snprintf would, without its formatting cost
    // (every pass compares the remembered references' names).
    const size_t whole = std::strlen(full);
    const size_t n = whole < size - 1 ? whole : size - 1;
    std::memcpy(out, full, n);
    out[n] = '\0';
}

bool VesselNamed(OBJHANDLE h, const char *name) {
    if (!h || !name || !oapiIsVessel(h)) return false;
    char buf[kVesselNameSize];
    ObjectNameInto(h, buf, sizeof buf);
    return std::strcmp(buf, name) == 0;
}

OBJHANDLE VesselByExactName(const char *name) {
    if (!name) return nullptr;
    char buf[kVesselNameSize];
    const int count = static_cast<int>(oapiGetVesselCount());
    for (int i = 0; i < count; ++i) {
        OBJHANDLE h = oapiGetVesselByIndex(i);
        if (!h) continue;
        buf[0] = '\0';
        oapiGetObjectName(h, buf, static_cast<int>(sizeof buf));
        buf[sizeof buf - 1] = '\0';
        if (std::strcmp(buf, name) == 0) return h;
    }
    OBJHANDLE h = oapiGetObjectByName(const_cast<char *>(name));
    return (h && oapiIsVessel(h)) ? h : nullptr;
}
