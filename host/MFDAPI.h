// Host API: the MFD base classes a display mode derives from.
#ifndef __MFDAPI_H
#define __MFDAPI_H

#include "DrawAPI.h"
#include "OrbiterAPI.h"

// The host's own instrument object behind an MFD.
class Instrument_User;

class OAPIFUNC MFD {
    friend class MFD2;

public:
    MFD(DWORD w, DWORD h, VESSEL *vessel);
    virtual ~MFD();
    virtual void Update(HDC hDC) = 0;
    void InvalidateDisplay();
    void InvalidateButtons();
    virtual bool ConsumeKeyBuffered(DWORD key) { (void)key; return false; }
    virtual bool ConsumeKeyImmediate(char *kstate) { (void)kstate; return false; }
    virtual bool ConsumeButton(int bt, int event) { (void)bt; (void)event; return false; }
    virtual char *ButtonLabel(int bt) { (void)bt; return 0; }
    virtual int ButtonMenu(const MFDBUTTONMENU **menu) const { (void)menu; return 0; }
    virtual void WriteStatus(FILEHANDLE scn) const { (void)scn; }
    virtual void ReadStatus(FILEHANDLE scn) { (void)scn; }
    virtual void StoreStatus() const {}
    virtual void RecallStatus() {}

protected:
    DWORD W, H;
    DWORD cw, ch;
    VESSEL *pV;

private:
    friend class Instrument_User;
    Instrument_User *instr;
};

class OAPIFUNC MFD2 : public MFD {
public:
    MFD2(DWORD w, DWORD h, VESSEL *vessel) : MFD(w, h, vessel) {}
    ~MFD2() {}
    DWORD GetWidth() const { return W; }
    DWORD GetHeight() const { return H; }
    void Update(HDC hDC) { (void)hDC; }
    virtual bool Update(oapi::Sketchpad *skp) { (void)skp; return false; }
    DWORD GetDefaultColour(DWORD colidx, DWORD intens = 0) const;
};

#endif  // __MFDAPI_H
