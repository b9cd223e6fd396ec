// The buffered-key operation. It takes the page-switching keys and the summary
// page's registry commands; the other commands come with the pilot's key set.
#include "mfd/keys.h"

#include "frame/state.h"
#include "mfd/buttons.h"
#include "mfd/tessarc_mfd.h"

namespace {

// M, / and the extra key beside left Shift.
bool PageKey(TessarcMFD *mfd) {
    MfdState *S = mfd->state;
    if (StateBusy(S) || !S) {
        mfd->summaryShown = !mfd->summaryShown;
    } else if (mfd->summaryShown) {
        mfd->summaryShown = false;
    } else {
        S->modePage = !S->modePage;
    }
    return true;
}

bool SummaryKey(TessarcMFD *mfd, DWORD key) {
    switch (key) {
        case KEY_LEFT:
            ReleaseSummaryVessel(mfd->summarySlot);
            return true;
        case KEY_RIGHT:
            mfd->attachToSlot(mfd->summarySlot);
            mfd->summaryShown = false;
            return true;
        case KEY_H:
        case KEY_SPACE:
            StopAllAutopilots(mfd->summarySlot);
            return true;
        default:
            return false;
    }
}

}  // namespace

bool HandleMfdKey(TessarcMFD *mfd, DWORD key) {
    if (!mfd || key < 2 || key > 211) return false;
    bool taken = false;
    switch (key) {
        case KEY_M:
        case KEY_SLASH:
        case KEY_OEM_102:
            taken = PageKey(mfd);
            break;
        case KEY_BACK:
            mfd->summaryShown = !mfd->summaryShown;
            taken = true;
            break;
        case KEY_UP:
        case KEY_DOWN:
            if (mfd->summaryShown) mfd->summaryLine += (key == KEY_UP) ? -1 : 1;
            mfd->summaryShown = true;
            taken = true;
            break;
        case KEY_ENTER:
            taken = true;
            break;
        default:
            taken = mfd->summaryShown && SummaryKey(mfd, key);
            break;
    }
    if (taken) mfd->InvalidateButtons();
    return taken;
}
