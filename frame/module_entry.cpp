// The module's entry points: mode registration, the step callbacks, focus changes,
// vessel deletion and the end of a simulation run.
#include <cstdint>
#include <new>

#include "frame/entry.h"
#include "frame/registry.h"
#include "frame/scheduler.h"
#include "frame/state.h"
#include "mfd/dialogs.h"
#include "mfd/tessarc_mfd.h"

namespace {
char modeName[] = "TessarcMFD";
// Scan code of the U key, which selects the mode.
const DWORD kModeKey = 0x16;
MFDMODESPECEX modeSpec;
bool modeRegistered = false;
int modeId = 0;  // the host's identifier of the registered mode
// The callback's result carries the new MFD's address. Headers whose result type is
// narrower than an address (the 32-bit host's, built for 64 bits) cannot carry one:
// no MFD is created then.
constexpr bool kResultHoldsAddress = sizeof(ModeMessageResult) >= sizeof(void *);
}  // namespace

// The host asks with OPENEDEX (wparam: the display's size and the mode's
// registration) and, when that gives no MFD, with OPENED (wparam: the size, width in
// the low word). Any other message (CLOSED, UPDATE) is only heard.
ModeMessageResult ModeMessage(UINT msg, UINT mfdId, WPARAM wparam, LPARAM lparam) {
    if (!kResultHoldsAddress) return 0;
    DWORD w = 0, h = 0;
    if (msg == OAPI_MSG_MFD_OPENEDEX) {
        const MFDMODEOPENSPEC *spec = reinterpret_cast<const MFDMODEOPENSPEC *>(wparam);
        if (spec == nullptr || spec->w <= 0 || spec->h <= 0) return 0;
        w = static_cast<DWORD>(spec->w);
        h = static_cast<DWORD>(spec->h);
    } else if (msg == OAPI_MSG_MFD_OPENED) {
        w = static_cast<DWORD>(wparam & 0xFFFF);
        h = static_cast<DWORD>((wparam >> 16) & 0xFFFF);
    } else {
        return 0;
    }
    VESSEL *vessel = reinterpret_cast<VESSEL *>(lparam);
    TessarcMFD *mfd = new (std::nothrow) TessarcMFD(w, h, vessel, static_cast<int>(mfdId));
    return static_cast<ModeMessageResult>(reinterpret_cast<uintptr_t>(mfd));
}

DLLCLBK void InitModule(HINSTANCE hModule) {
    (void)hModule;
    ResetModule();
    modeSpec.name = modeName;
    modeSpec.key = kModeKey;
    modeSpec.context = nullptr;
    modeSpec.msgproc = ModeMessage;
    modeId = oapiRegisterMFDMode(modeSpec);
    modeRegistered = true;
}

DLLCLBK void ExitModule(HINSTANCE hModule) {
    (void)hModule;
    // The unload glue may call this a second time; the mode goes only once.
    if (!modeRegistered) return;
    oapiUnregisterMFDMode(modeId);
    modeRegistered = false;
}

DLLCLBK void opcPreStep(double simt, double simdt, double mjd) {
    (void)simt;
    (void)mjd;
    if (liveMfdCount > 0) moduleActive = true;
    SchedulerPreStep(simdt);
}

DLLCLBK void opcPostStep(double simt, double simdt, double mjd) {
    (void)mjd;
    SchedulerPostStep(simt, simdt);
}

DLLCLBK void opcFocusChanged(OBJHANDLE newFocus, OBJHANDLE oldFocus) {
    (void)newFocus;
    if (!oldFocus) ResetModule();
    if (moduleActive) {
        storedPositionMask = 0;
        pendingAttachMask = 0;
    }
}

DLLCLBK void opcDeleteVessel(OBJHANDLE hVessel) {
    if (!moduleActive) return;
    int slot = FindVesselSlot(hVessel);
    if (slot >= 0) ReleaseVesselSlot(slot, true);
}

// The session ends: its input boxes have closed with it, and what they could
// reach is freed with the rest.
DLLCLBK void opcCloseRenderViewport() {
    ForgetSessionBoxes();
    ResetModule();
}
