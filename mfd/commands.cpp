// Navigation radio tuning and the docking approach switch.
#include "mfd/commands.h"

#include <cstring>

#include "control/attitude.h"
#include "control/thrusters.h"
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

void ToggleDockingApproach(MfdState *S) {
    if (!S || S->lockedOut) return;
    if (!S->targetRef || !oapiIsVessel(S->targetRef)) {
        S->dockApOn = false;
        return;
    }
    S->dockApOn = !S->dockApOn;
    if (S->dockApOn) {
        S->holdOn = true;
        ChooseEulerConvention(S);
        ToggleTranslationAxis(S, 3);
    } else {
        S->holdOn = false;
        ToggleTranslationAxis(S, 7);
        AttitudeGroupsOff(S->profile);
    }
}
