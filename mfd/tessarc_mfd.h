// The "TessarcMFD" display mode: one object per open MFD, pointing at the
// autopilot state of its MFD position and vessel.
#ifndef TESSARC_MFD_TESSARC_MFD_H
#define TESSARC_MFD_TESSARC_MFD_H

#include "Orbitersdk.h"
#include "mfd/view.h"

struct MfdState;

// The position, state and summary selection it shows are its MfdView part.
class TessarcMFD : public MFD2, public MfdView {
public:
    // mfdId is the host's identifier of the display; it decides the MFD position.
    TessarcMFD(DWORD w, DWORD h, VESSEL *vessel, int mfdId);
    ~TessarcMFD();

    using MFD2::Update;
    bool ConsumeKeyBuffered(DWORD key) override;
    bool ConsumeButton(int bt, int event) override;
    char *ButtonLabel(int bt) override;
    int ButtonMenu(const MFDBUTTONMENU **menu) const override;
    void WriteStatus(FILEHANDLE scn) const override;
    void ReadStatus(FILEHANDLE scn) override;
    void StoreStatus() const override;
    void RecallStatus() override;
    bool Update(oapi::Sketchpad *skp) override;
    // Shows the given vessel slot's state at this MFD's position.
    virtual bool attachToSlot(int slot);
    // Shows the vessel's state at this MFD's position, registering the vessel if new.
    virtual bool attachToVessel(OBJHANDLE hVessel);

private:
    // The host font the pages' text is drawn in when the host's MFD font does not
    // fit the grid (null: the host's font), chosen at the first frame and released
    // with the object.
    oapi::Font *textFont = nullptr;
    bool textFontChosen = false;
};

// Whether an MFD object or an input box may still point at the state: the registry
// frees a forgotten state only when none may.
bool StateReachable(const MfdState *S);

// True for the vessel classes whose panels must not be asked to re-read the MFD
// labels every frame (the Arrow Freighter).
bool SkipsButtonRefresh(const char *focusClassName);

#endif  // TESSARC_MFD_TESSARC_MFD_H
