// Attaching an MFD's view to a vessel or a vessel slot at its position.
#include "mfd/view.h"

#include <cstdio>

#include "frame/names.h"
#include "frame/registry.h"

void SayNoFreeSlot(OBJHANDLE hVessel) {
    char name[kVesselNameSize];
    ObjectNameInto(hVessel, name, sizeof name);
    std::snprintf(oapiDebugString(), kDebugLineSize, "TessarcMFD: no free vessel slot for %.*s",
                  kDebugNameShown, name);
}

bool AttachViewToVessel(MfdView *view, OBJHANDLE hVessel) {
    MfdState *S = nullptr;
    switch (AttachPosition(view->position, hVessel, &S)) {
    case ATTACH_DONE:
        view->state = S;
        return true;
    case ATTACH_NO_SLOT:
        // Every slot is taken: the MFD shows this vessel without a state rather
        // than go on showing, and driving, the vessel it showed before.
        view->state = nullptr;
        SayNoFreeSlot(hVessel);
        return false;
    default:
        return false;
    }
}

bool AttachViewToSlot(MfdView *view, int slot) {
    MfdState *S = AttachPositionToSlot(view->position, slot);
    if (!S) return false;
    view->state = S;
    return true;
}
