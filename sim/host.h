// The simulated host: its modules, the frame loop, the cockpit's displays with
// the pilot's actions on them, focus switching and vessel deletion. One Host is
// current at a time; the host API functions of MFD modes, input boxes and
// scenario blocks act on it.
#ifndef TESSARC_SIM_HOST_H
#define TESSARC_SIM_HOST_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mfdhost.h"
#include "module.h"
#include "world.h"

namespace sim {

class Host {
public:
    // A host on the given world (null: whatever world is current). It becomes the
    // current host until it is destroyed or another takes its place.
    explicit Host(World *w = nullptr);
    ~Host();
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    World &world() const;

    // Modules: add one (dlopen'ed or linked) and call its InitModule.
    bool loadModule(const std::string &path, std::string &err);
    void addModule(const Module &m);
    const std::vector<Module> &loadedModules() const { return modules; }

    // The start of a run: every module is told the first focus (previous: none).
    void start();
    // One frame: pre-step, physics, post-step, then every open display is drawn.
    void frame();
    // Frames until simulation time has advanced by the given seconds.
    void run(double seconds);
    // End of a run: MFDs destroyed, opcCloseRenderViewport, ExitModule, unload.
    void shutdown();
    bool started() const { return isStarted; }

    // Registered MFD modes
    int registerMode(const MFDMODESPECEX &spec);
    bool unregisterMode(int id);
    const MfdMode *findMode(const std::string &name) const;
    const std::vector<MfdMode> &registeredModes() const { return modes; }

    // Displays 0..MAXMFD-1 and the pilot's actions on them. Each returns false
    // with a message in err (or in errors()) when it cannot be done.
    Display &display(int d) { return displays[d]; }
    const Display &display(int d) const { return displays[d]; }
    static bool validDisplay(int d) { return d >= 0 && d < MAXMFD; }
    void setDisplaySize(int d, int w, int h);
    // Select a mode on a display (of the focus vessel, or of the named vessel).
    // Lines, if given, are the display's scenario block, handed to ReadStatus.
    bool open(int d, const std::string &mode, ::Vessel *v, std::string &err,
              const std::vector<std::string> *scenarioLines = nullptr);
    bool close(int d);       // the pilot leaves the mode: StoreStatus, CLOSED, destroy
    bool recreate(int d);    // a panel switch: StoreStatus, CLOSED, destroy, create, RecallStatus
    bool key(int d, DWORD key);
    bool button(int d, int bt, int event = PANEL_MOUSE_LBDOWN);
    // Text typed into the display's input box. accepted tells what the callback said.
    bool type(int d, const std::string &text, bool *accepted = nullptr);
    bool cancel(int d);
    void draw(int d);
    std::vector<MenuEntry> buttonMenu(int d);
    // The display's WriteStatus lines ("key value", as written).
    std::vector<std::string> statusLines(int d);

    // The display whose MFD is handling a call now, or the last one that did.
    int currentDisplay() const { return activeDisplay >= 0 ? activeDisplay : lastDisplay; }
    InputBox *openInputBox(const std::string &title, bool (*cb)(void *, char *, void *), const char *initial,
                           int visLen, void *userData);

    bool setFocus(::Vessel *v);
    bool deleteVessel(::Vessel *v, std::string &err);

    // The MFD default font: made for the first display that opens a mode, from its
    // height, and kept for every later one (null until then).
    const HostFont *mfdFont() const { return defaultFont.get(); }

    // Problems the host found in what modules did (tools not released, ...).
    std::vector<std::string> &errors() { return errorList; }
    void error(const std::string &msg);

    double frameDt() const;
    int drawEvery = 1;       // draw the displays every n-th frame
    long frameCount = 0;
    std::function<void()> afterFrame;  // called after each frame (reports, progress)

private:
    World *w;
    std::vector<Module> modules;
    std::vector<MfdMode> modes;
    int nextModeId = MFD_USERTYPE;
    Display displays[MAXMFD];
    std::vector<std::string> errorList;
    std::unique_ptr<HostFont> defaultFont;
    int activeDisplay = -1, lastDisplay = -1;
    int nextBoxId = 1;
    bool isStarted = false, isShutDown = false;

    MFD *createMfd(int d, const MfdMode &mode, ::Vessel *v);
    void destroyMfd(int d);
    void readScenarioBlock(int d, const std::vector<std::string> &block);
    void queryLabels(int d);
    // Marks the display whose MFD is handling a call, for input boxes opened meanwhile.
    struct ActiveScope {
        Host &h;
        int saved;
        ActiveScope(Host &host, int d) : h(host), saved(host.activeDisplay) {
            h.activeDisplay = d;
            h.lastDisplay = d;
        }
        ~ActiveScope() { h.activeDisplay = saved; }
    };
};

Host *currentHost();  // never null: a default host when none was made
void setCurrentHost(Host *h);

}  // namespace sim

#endif  // TESSARC_SIM_HOST_H
