// The MFD object: attachment to a vessel and position, drawing entry, buttons,
// menus, and the store and recall of its status around a re-creation.
#include "mfd/tessarc_mfd.h"

#include <cstring>

#include "display/pages.h"
#include "display/text_font.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "mfd/buttons.h"
#include "mfd/dialogs.h"
#include "mfd/frame_draw.h"
#include "mfd/keys.h"
#include "mfd/scenario.h"

namespace {

// The MFD objects alive now, so that a forgotten state is freed only when none
// shows it. An object not in this table (more at once than it holds, which no
// host's displays reach) counts as reaching every state.
const int kMaxLiveMfds = 64;
TessarcMFD *liveMfds[kMaxLiveMfds] = {};
int trackedMfds = 0;

void TrackMfd(TessarcMFD *mfd, bool alive) {
    for (TessarcMFD *&slot : liveMfds)
        if (slot == (alive ? nullptr : mfd)) {
            slot = alive ? mfd : nullptr;
            trackedMfds += alive ? 1 : -1;
            return;
        }
}

}  // namespace

bool StateReachable(const MfdState *S) {
    if (trackedMfds != mfdObjectCount) return true;
    for (const TessarcMFD *mfd : liveMfds)
        if (mfd && mfd->state == S) return true;
    return DialogMayReach(S);
}

bool SkipsButtonRefresh(const char *focusClassName) {
    static const char kArrowFreighter[] = "UCGO\\Vessels\\UCGOArrowFreighter";
    return focusClassName && std::strncmp(focusClassName, kArrowFreighter, sizeof kArrowFreighter - 1) == 0;
}

TessarcMFD::TessarcMFD(DWORD w, DWORD h, VESSEL *vessel, int mfdId)
    : MFD2(w, h, vessel), MfdView{false, nullptr, 0, -1, 1} {
    position = PositionForId(mfdId);
    ++liveMfdCount;
    ++mfdObjectCount;
    ++positionMfdObjects[position];
    TrackMfd(this, true);
    const uint32_t bit = PositionBit(position);
    // A remote vessel survives only a close and re-open that stored the status.
    bool attached = false;
    if (storedPositionMask & bit) attached = attachToVessel(positionVessel[position]);
    if (!attached && vessel) attachToVessel(vessel->GetHandle());
    pendingAttachMask &= ~bit;
}

TessarcMFD::~TessarcMFD() {
    --mfdObjectCount;
    --positionMfdObjects[position];
    TrackMfd(this, false);
    ForgetDialogOwner(this);  // its open input boxes must not reach it any more
    if (textFont) oapiReleaseFont(textFont);
}

bool TessarcMFD::attachToVessel(OBJHANDLE hVessel) { return AttachViewToVessel(this, hVessel); }

bool TessarcMFD::attachToSlot(int slot) { return AttachViewToSlot(this, slot); }

void TessarcMFD::StoreStatus() const {
    const uint32_t bit = PositionBit(position);
    if (!(pendingAttachMask & bit)) storedPositionMask |= bit;
    --liveMfdCount;
}

void TessarcMFD::RecallStatus() { storedPositionMask &= ~PositionBit(position); }

bool TessarcMFD::Update(oapi::Sketchpad *skp) {
    if (!moduleActive) return true;
    const uint32_t bit = PositionBit(position);
    if (pendingAttachMask & bit) {
        attachToVessel(oapiGetFocusObject());
        pendingAttachMask &= ~bit;
    } else if (!state && vesselSlotMask != kAllSlots) {
        attachToVessel(positionVessel[position]);  // a slot came free for the vessel shown without one
    }
    const int w = static_cast<int>(GetWidth()), h = static_cast<int>(GetHeight());
    if (!textFontChosen && skp) {
        textFont = FitTextFont(skp, w, h);  // the host's MFD font is selected at the first frame
        textFontChosen = true;
    }
    if (!state) {
        DrawNoSlotPage(skp, w, h, positionVessel[position], position, textFont);
    } else if (oapiIsVessel(state->vesselHandle)) {
        DrawMfdFrame(skp, w, h, state, summaryShown, position, &summaryLine, &summarySlot, textFont);
    } else {
        return true;
    }
    VESSEL *focus = oapiGetFocusInterface();
    if (!SkipsButtonRefresh(focus ? focus->GetClassName() : nullptr)) InvalidateButtons();
    return true;
}

bool TessarcMFD::ConsumeKeyBuffered(DWORD key) {
    const bool taken = HandleMfdKey(this, key);
    if (taken) InvalidateButtons();  // the labels follow the new state
    return taken;
}

bool TessarcMFD::ConsumeButton(int bt, int event) {
    if (!(event & PANEL_MOUSE_LBDOWN) || bt < 0 || bt >= kButtonCount) return false;
    DWORD key = ButtonKeyCode(summaryShown, state, bt);
    if (key == 0) return false;
    return ConsumeKeyBuffered(key);
}

char *TessarcMFD::ButtonLabel(int bt) {
    if (!state) return nullptr;  // the page of a vessel without a slot has no commands
    return const_cast<char *>(ButtonLabelText(summaryShown, state, bt));
}

int TessarcMFD::ButtonMenu(const MFDBUTTONMENU **menu) const {
    if (menu) *menu = state ? ButtonMenuTable(summaryShown, state) : nullptr;
    return kButtonCount;
}

void TessarcMFD::WriteStatus(FILEHANDLE scn) const { WriteMfdStatus(this, scn); }

void TessarcMFD::ReadStatus(FILEHANDLE scn) { ReadMfdStatus(this, scn); }
