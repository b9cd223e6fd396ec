// Navigation radio tuning.
#include "mfd/commands.h"

#include <cstring>

#include "frame/state.h"

void TuneNavRadio(MfdState *S) {
    if (!S || !S->vessel || S->vesselHandle != oapiGetFocusObject()) return;
    if (S->vessel->GetNavCount() < 1) return;
    if (!S->targetRef || !oapiIsVessel(S->targetRef)) return;
    VESSEL *target = oapiGetVesselInterface(S->targetRef);
    if (!target) return;
    NAVHANDLE nav = nullptr;
    if (S->ownPort > 0 && S->targetPort > 0 && static_cast<UINT>(S->targetPort) <= target->DockCount()) {
        DOCKHANDLE port = target->GetDockHandle(static_cast<UINT>(S->targetPort - 1));
        if (port) nav = target->GetIDS(port);
    }
    if (!nav) nav = target->GetTransponder();
    if (!nav) return;
    S->vessel->SetNavChannel(0, oapiGetNavChannel(nav));
    HUDPARAM prm;
    std::memset(&prm, 0, sizeof prm);
    oapiSetHUDMode(HUD_DOCKING, &prm);
}
