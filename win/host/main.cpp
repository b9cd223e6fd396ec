// The test host's program: loads a TessarcMFD module as the host would, drives one
// MFD through a short flight and prints every step it saw. Exits 0 only when every
// step happened.
//   orbiter.exe MODULE.dll
#include <cstdio>
#include <cstring>

#include "surface.h"

namespace {

typedef void (*ModuleEntry)(HINSTANCE);
typedef void (*StepEntry)(double, double, double);
typedef void (*FocusEntry)(OBJHANDLE, OBJHANDLE);
typedef void (*WarpEntry)(double, double);
typedef void (*VesselEntry)(OBJHANDLE);
typedef void (*PlainEntry)();
typedef char *(*DateEntry)();
typedef int (*VersionEntry)();

struct Module {
    HMODULE handle;
    ModuleEntry InitModule, ExitModule;
    StepEntry opcPreStep, opcPostStep;
    FocusEntry opcFocusChanged;
    WarpEntry opcTimeAccChanged;
    VesselEntry opcDeleteVessel;
    PlainEntry opcCloseRenderViewport;
    DateEntry ModuleDate;
    VersionEntry GetModuleVersion;
};

const int kMfdId = 0;                 // the display the MFD opens on
const int kHoldFrames = 60;           // frames flown with HOLD engaged (3 s)
const int kStartFrames = 20;          // frames a new state takes to sample the vessel (1 s)
const int kModeFrames = 4;            // frames between choosing a mode and drawing its page (0.2 s)
const DWORD kExpectedModeKey = 0x16;  // the U key

int stepsSeen = 0;
int stepsFailed = 0;

// Prints one step and whether it happened.
void Step(bool ok, const char *what) {
    ++stepsSeen;
    if (!ok) ++stepsFailed;
    std::printf("%-4s %s\n", ok ? "ok" : "FAIL", what);
    std::fflush(stdout);  // seen even if a later step brings the program down
}

template <typename T>
bool Find(HMODULE h, const char *name, T &entry) {
    entry = reinterpret_cast<T>(reinterpret_cast<void *>(GetProcAddress(h, name)));
    return entry != nullptr;
}

bool FindAll(Module &m) {
    int found = Find(m.handle, "InitModule", m.InitModule) + Find(m.handle, "ExitModule", m.ExitModule) +
                Find(m.handle, "opcPreStep", m.opcPreStep) + Find(m.handle, "opcPostStep", m.opcPostStep) +
                Find(m.handle, "opcFocusChanged", m.opcFocusChanged) +
                Find(m.handle, "opcTimeAccChanged", m.opcTimeAccChanged) +
                Find(m.handle, "opcDeleteVessel", m.opcDeleteVessel) +
                Find(m.handle, "opcCloseRenderViewport", m.opcCloseRenderViewport) +
                Find(m.handle, "ModuleDate", m.ModuleDate) + Find(m.handle, "GetModuleVersion", m.GetModuleVersion);
    return found == 10;
}

// One simulation frame: pre-step, time advance, post-step.
void Frame(const Module &m) {
    m.opcPreStep(host::simTime, host::frameStep, oapiGetSimMJD());
    host::simTime += host::frameStep;
    m.opcPostStep(host::simTime, host::frameStep, oapiGetSimMJD());
}

// As the host does: OPENEDEX with the display's size, OPENED only when that gives no MFD.
MFD *OpenMfd() {
    MFDMODEOPENSPEC spec = {host::kDisplayWidth, host::kDisplayHeight, &host::record.mode};
    LPARAM vessel = reinterpret_cast<LPARAM>(oapiGetFocusInterface());
    auto r = host::record.mode.msgproc(OAPI_MSG_MFD_OPENEDEX, kMfdId, reinterpret_cast<WPARAM>(&spec), vessel);
    if (r == 0) {
        WPARAM size = static_cast<WPARAM>(host::kDisplayWidth | (host::kDisplayHeight << 16));
        r = host::record.mode.msgproc(OAPI_MSG_MFD_OPENED, kMfdId, size, vessel);
    }
    return reinterpret_cast<MFD *>(r);
}

bool LabelIs(MFD *mfd, int bt, const char *label) {
    const char *l = mfd->ButtonLabel(bt);
    return l && std::strcmp(l, label) == 0;
}

// The handle of the scenario file being written or read (lines stay in memory).
FILEHANDLE ScenarioFile() { return &host::record; }

// The scenario lines of the MFD, as the host would save them.
int SaveStatus(MFD *mfd) {
    host::record.scenarioLines = 0;
    mfd->WriteStatus(ScenarioFile());
    return host::record.scenarioLines;
}


// Prints a page's drawing calls between "=== page NAME" and "=== end".
void PrintPage(const char *name, const host::Frame &f) {
    std::printf("=== page %s\n%s=== end\n", name, f.calls);
    char line[96];
    std::snprintf(line, sizeof line, "%s page drawn: %d texts, %d shapes", name, f.texts, f.shapes);
    Step(f.texts > 0, line);
}

// The pages whose drawing does not depend on the flight, for comparison with
// what the simulated host records for them: the start-up page as the MFD opens,
// after its first frame, the mode selection once the vessel is sampled, the
// summary page, and the Velocity page a few frames after it is chosen (its
// frame, labels and boxes).
void DrawPages(const Module &m, MFD *mfd) {
    Frame(m);
    PrintPage("start-up", host::DrawFrame(mfd));
    for (int i = 1; i < kStartFrames; ++i) Frame(m);
    PrintPage("mode-selection", host::DrawFrame(mfd));
    mfd->ConsumeKeyBuffered(OAPI_KEY_BACK);
    PrintPage("summary", host::DrawFrame(mfd));
    mfd->ConsumeKeyBuffered(OAPI_KEY_BACK);
    mfd->ConsumeKeyBuffered(OAPI_KEY_1);
    for (int i = 0; i < kModeFrames; ++i) Frame(m);
    PrintPage("velocity", host::DrawFrame(mfd));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::printf("usage: orbiter.exe MODULE.dll\n");
        return 2;
    }
    char line[160];
    Module m = {};
    m.handle = LoadLibraryA(argv[1]);
    std::snprintf(line, sizeof line, "LoadLibrary %s (the module's entry point ran InitLib)", argv[1]);
    Step(m.handle && host::record.initLibCalls == 1 && host::record.initLibHandle == m.handle, line);
    if (!m.handle || !FindAll(m)) {
        Step(false, "the ten entry points are exported");
        return 1;
    }
    Step(true, "the ten entry points are exported");
    std::snprintf(line, sizeof line, "ModuleDate \"%s\", GetModuleVersion %d", m.ModuleDate(), m.GetModuleVersion());
    Step(m.GetModuleVersion() > 0, line);

    m.InitModule(m.handle);
    std::snprintf(line, sizeof line, "InitModule registered mode \"%s\" with key 0x%02lX",
                  host::record.mode.name ? host::record.mode.name : "", static_cast<unsigned long>(host::record.mode.key));
    Step(host::record.modesRegistered == 1 && host::record.mode.name &&
             std::strcmp(host::record.mode.name, "TessarcMFD") == 0 && host::record.mode.key == kExpectedModeKey &&
             host::record.mode.msgproc,
         line);
    m.opcFocusChanged(&host::probe, nullptr);

    MFD *mfd = host::record.mode.msgproc ? OpenMfd() : nullptr;
    Step(mfd != nullptr, "the mode's message callback opened an MFD");
    if (!mfd) return 1;
    DrawPages(m, mfd);
    delete mfd;
    // A new run: the first focus resets the module, and the flight starts afresh.
    m.opcFocusChanged(&host::probe, nullptr);
    mfd = OpenMfd();
    Frame(m);
    const host::Frame *f = &host::DrawFrame(mfd);
    std::snprintf(line, sizeof line, "first frame drawn: %d texts, %d shapes", f->texts, f->shapes);
    Step(f->texts > 0, line);

    bool taken = mfd->ConsumeButton(1, PANEL_MOUSE_LBDOWN);
    Step(taken && LabelIs(mfd, 5, "HLD") && host::record.buttonRefreshes > 0,
         "button 2 (VEL) took the MFD to the Velocity page; button 6 reads HLD");
    taken = mfd->ConsumeKeyBuffered(OAPI_KEY_H);
    Step(taken, "key H engaged attitude HOLD");

    for (int i = 0; i < kHoldFrames; ++i) Frame(m);
    std::snprintf(line, sizeof line, "%d frames flown: %d thruster commands, highest level %.3f", kHoldFrames,
                  host::record.thrusterSets, host::HighestThrusterLevel());
    Step(host::record.thrusterSets > 0 && host::HighestThrusterLevel() > 0.0, line);
    f = &host::DrawFrame(mfd);
    std::snprintf(line, sizeof line, "Velocity page drawn: %d texts, %d shapes, \"HOLD\" shown", f->texts, f->shapes);
    Step(host::FrameShows(*f, "HOLD"), line);

    int saved = SaveStatus(mfd);
    static char firstSave[host::kScenarioLineMax][host::kScenarioLineLength];
    std::memcpy(firstSave, host::record.scenario, sizeof firstSave);
    std::snprintf(line, sizeof line, "WriteStatus wrote %d scenario lines:", saved);
    Step(saved > 0, line);
    for (int i = 0; i < saved; ++i) std::printf("       %s\n", firstSave[i]);

    delete mfd;
    Step(host::record.pensAlive == 0 && host::record.brushesAlive == 0 && host::record.fontsAlive == 0,
         "MFD closed; every pen, brush and font created was released");

    // A new simulation run: reset by the first focus, then the saved block read back.
    m.opcFocusChanged(&host::probe, nullptr);
    mfd = OpenMfd();
    host::record.scenarioRead = 0;
    host::record.scenarioReadLimit = saved;
    if (mfd) mfd->ReadStatus(ScenarioFile());
    // The state samples the vessel for a few passes before its page shows.
    for (int i = 0; i < kStartFrames; ++i) Frame(m);
    bool same = mfd && SaveStatus(mfd) == saved && std::memcmp(firstSave, host::record.scenario, sizeof firstSave) == 0;
    Step(same && host::record.scenarioRead == saved, "a new MFD read the lines back and writes them out the same");
    f = &host::DrawFrame(mfd);
    Step(host::FrameShows(*f, "HOLD"), "the restored MFD shows HOLD");
    delete mfd;

    m.opcCloseRenderViewport();
    m.ExitModule(m.handle);
    Step(host::record.modesUnregistered == 1, "ExitModule unregistered the mode");
    BOOL freed = FreeLibrary(m.handle);
    Step(freed && host::record.modesUnregistered == 1, "FreeLibrary unloaded the module (its exit ran once only)");

    std::printf("%d steps, %d failed\n", stepsSeen, stepsFailed);
    std::fflush(stdout);
    return stepsFailed == 0 ? 0 : 1;
}
