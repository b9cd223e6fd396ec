// VESSEL: thrusters and groups, reaction control levels, wheel brakes,
// propellant, docking ports and navigation radios. Handles are addresses inside
// the vessel (sim::Thruster, the class's group lists, tank masses, ports, radios)
// and are checked against the vessel before use.
#include <algorithm>
#include <cstdint>

#include "aero.h"
#include "api_util.h"
#include "docking.h"

using sim::world;

namespace {

Vessel *live(Vessel *v) { return world().vesselOf(v); }

// Index of p within an array of n elements of the given size starting at base, or -1.
template <class T>
int indexIn(const T *base, size_t n, const void *p) {
    if (!base || !p || n == 0) return -1;
    uintptr_t b = (uintptr_t)base, q = (uintptr_t)p;
    if (q < b) return -1;
    uintptr_t off = q - b;
    if (off % sizeof(T) != 0 || off / sizeof(T) >= n) return -1;
    return (int)(off / sizeof(T));
}

sim::Thruster *thrusterOf(Vessel *v, THRUSTER_HANDLE th) {
    if (!v) return nullptr;
    int i = indexIn(v->thrusters.data(), v->thrusters.size(), th);
    return i < 0 ? nullptr : &v->thrusters[i];
}

const sim::ThrusterSpec *specOf(Vessel *v, THRUSTER_HANDLE th) {
    sim::Thruster *t = thrusterOf(v, th);
    return t ? &v->cls->thrusters[t->index] : nullptr;
}

int groupOf(Vessel *v, THGROUP_HANDLE thg) {
    if (!v || !v->cls) return -1;
    return indexIn(&v->cls->groups[0], 15, thg);
}

const std::vector<int> *groupList(Vessel *v, int g) {
    if (!v || !v->cls || g < 0 || g > 14) return nullptr;
    return &v->cls->groups[g];
}

double clampLevel(double L) { return L == L ? std::clamp(L, 0.0, 1.0) : 0.0; }

void setGroup(Vessel *v, int g, double level) {
    const std::vector<int> *gl = groupList(v, g);
    if (!gl) return;
    for (int i : *gl) v->thrusters[i].level = clampLevel(level);
}

double groupLevel(Vessel *v, int g) {
    const std::vector<int> *gl = groupList(v, g);
    if (!gl || gl->empty()) return 0.0;
    double s = 0;
    for (int i : *gl) s += v->thrusters[i].level;
    return s / gl->size();
}

// Positive and negative group of each rotation axis and translation axis.
const int rotGroups[3][2] = {{THGROUP_ATT_PITCHUP, THGROUP_ATT_PITCHDOWN},
                             {THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT},
                             {THGROUP_ATT_BANKRIGHT, THGROUP_ATT_BANKLEFT}};
const int linGroups[3][2] = {{THGROUP_ATT_RIGHT, THGROUP_ATT_LEFT},
                             {THGROUP_ATT_UP, THGROUP_ATT_DOWN},
                             {THGROUP_ATT_FORWARD, THGROUP_ATT_BACK}};

void setAxis(Vessel *v, const int (&pair)[2], double th) {
    if (!(th == th)) th = 0;
    setGroup(v, pair[0], th > 0 ? th : 0.0);
    setGroup(v, pair[1], th < 0 ? -th : 0.0);
}

}  // namespace

// ---------------------------------------------------------------------------
// Thrusters and groups

DWORD VESSEL::GetThrusterCount() const {
    Vessel *v = live(vessel);
    return v ? (DWORD)v->thrusters.size() : 0;
}

THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD idx) const {
    Vessel *v = live(vessel);
    return v && idx < v->thrusters.size() ? &v->thrusters[idx] : nullptr;
}

THGROUP_HANDLE VESSEL::GetThrusterGroupHandle(THGROUP_TYPE thgt) const {
    const std::vector<int> *gl = groupList(live(vessel), (int)thgt);
    return gl && !gl->empty() ? const_cast<std::vector<int> *>(gl) : nullptr;
}

DWORD VESSEL::GetGroupThrusterCount(THGROUP_HANDLE thg) const {
    Vessel *v = live(vessel);
    const std::vector<int> *gl = groupList(v, groupOf(v, thg));
    return gl ? (DWORD)gl->size() : 0;
}

DWORD VESSEL::GetGroupThrusterCount(THGROUP_TYPE thgt) const {
    const std::vector<int> *gl = groupList(live(vessel), (int)thgt);
    return gl ? (DWORD)gl->size() : 0;
}

THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_HANDLE thg, DWORD idx) const {
    Vessel *v = live(vessel);
    const std::vector<int> *gl = groupList(v, groupOf(v, thg));
    return gl && idx < gl->size() ? &v->thrusters[(*gl)[idx]] : nullptr;
}

THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const {
    Vessel *v = live(vessel);
    const std::vector<int> *gl = groupList(v, (int)thgt);
    return gl && idx < gl->size() ? &v->thrusters[(*gl)[idx]] : nullptr;
}

double VESSEL::GetThrusterMax0(THRUSTER_HANDLE th) const {
    const sim::ThrusterSpec *s = specOf(live(vessel), th);
    return s ? s->maxThrust : 0.0;
}

// Thrust and Isp fall with the ambient pressure for engines whose class gives a
// reference Isp; the others give their vacuum values in any air.
double VESSEL::GetThrusterMax(THRUSTER_HANDLE th) const {
    Vessel *v = live(vessel);
    return v ? GetThrusterMax(th, sim::ambientPressure(*v)) : 0.0;
}

double VESSEL::GetThrusterMax(THRUSTER_HANDLE th, double p_ref) const {
    const sim::ThrusterSpec *s = specOf(live(vessel), th);
    return s ? s->maxThrust * sim::pressureFactor(*s, p_ref) : 0.0;
}

void VESSEL::GetThrusterRef(THRUSTER_HANDLE th, VECTOR3 &pos) const {
    const sim::ThrusterSpec *s = specOf(live(vessel), th);
    pos = s ? s->pos : _V(0, 0, 0);
}

void VESSEL::GetThrusterDir(THRUSTER_HANDLE th, VECTOR3 &dir) const {
    const sim::ThrusterSpec *s = specOf(live(vessel), th);
    dir = s ? s->dir : _V(0, 0, 0);
}

double VESSEL::GetThrusterIsp0(THRUSTER_HANDLE th) const {
    const sim::ThrusterSpec *s = specOf(live(vessel), th);
    return s ? s->isp : 0.0;
}

double VESSEL::GetThrusterIsp(THRUSTER_HANDLE th) const {
    Vessel *v = live(vessel);
    return v ? GetThrusterIsp(th, sim::ambientPressure(*v)) : 0.0;
}

double VESSEL::GetThrusterIsp(THRUSTER_HANDLE th, double p_ref) const {
    const sim::ThrusterSpec *s = specOf(live(vessel), th);
    return s ? s->isp * sim::pressureFactor(*s, p_ref) : 0.0;
}

double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
    sim::Thruster *t = thrusterOf(live(vessel), th);
    return t ? t->level : 0.0;
}

void VESSEL::SetThrusterLevel(THRUSTER_HANDLE th, double level) const {
    sim::Thruster *t = thrusterOf(live(vessel), th);
    if (t) t->level = clampLevel(level);
}

void VESSEL::SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const {
    Vessel *v = live(vessel);
    setGroup(v, groupOf(v, thg), level);
}

void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const {
    setGroup(live(vessel), (int)thgt, level);
}

double VESSEL::GetThrusterGroupLevel(THGROUP_HANDLE thg) const {
    Vessel *v = live(vessel);
    return groupLevel(v, groupOf(v, thg));
}

double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const { return groupLevel(live(vessel), (int)thgt); }

PROPELLANT_HANDLE VESSEL::GetThrusterResource(THRUSTER_HANDLE th) const {
    Vessel *v = live(vessel);
    const sim::ThrusterSpec *s = specOf(v, th);
    return s && s->tank >= 0 && s->tank < (int)v->tankMass.size() ? &v->tankMass[s->tank] : nullptr;
}

double VESSEL::GetISP() const {
    Vessel *v = live(vessel);
    return v ? v->isp : 0.0;
}

void VESSEL::SetISP(double isp) const {
    Vessel *v = live(vessel);
    if (v && isp > 0) v->isp = isp;
}

// ---------------------------------------------------------------------------
// Reaction control

int VESSEL::GetAttitudeMode() const {
    Vessel *v = live(vessel);
    return v ? v->attitudeMode : RCS_NONE;
}

bool VESSEL::SetAttitudeMode(int mode) const {
    Vessel *v = live(vessel);
    if (!v || mode < RCS_NONE || mode > RCS_LIN) return false;
    v->attitudeMode = mode;
    return true;
}

void VESSEL::GetAttitudeRotLevel(VECTOR3 &th) const {
    Vessel *v = live(vessel);
    for (int a = 0; a < 3; a++) th.data[a] = groupLevel(v, rotGroups[a][0]) - groupLevel(v, rotGroups[a][1]);
}

void VESSEL::SetAttitudeRotLevel(const VECTOR3 &th) const {
    Vessel *v = live(vessel);
    for (int a = 0; a < 3; a++) setAxis(v, rotGroups[a], th.data[a]);
}

void VESSEL::SetAttitudeRotLevel(int axis, double th) const {
    if (axis >= 0 && axis < 3) setAxis(live(vessel), rotGroups[axis], th);
}

void VESSEL::GetAttitudeLinLevel(VECTOR3 &th) const {
    Vessel *v = live(vessel);
    for (int a = 0; a < 3; a++) th.data[a] = groupLevel(v, linGroups[a][0]) - groupLevel(v, linGroups[a][1]);
}

void VESSEL::SetAttitudeLinLevel(const VECTOR3 &th) const {
    Vessel *v = live(vessel);
    for (int a = 0; a < 3; a++) setAxis(v, linGroups[a], th.data[a]);
}

void VESSEL::SetAttitudeLinLevel(int axis, double th) const {
    if (axis >= 0 && axis < 3) setAxis(live(vessel), linGroups[axis], th);
}

// ---------------------------------------------------------------------------
// Wheel brakes and propellant

void VESSEL::SetWheelbrakeLevel(double level, int which, bool) const {
    Vessel *v = live(vessel);
    if (!v || which < 0 || which > 2) return;
    level = clampLevel(level);
    if (which == 0) v->wheelbrake[1] = v->wheelbrake[2] = level;
    else v->wheelbrake[which] = level;
    v->wheelbrake[0] = 0.5 * (v->wheelbrake[1] + v->wheelbrake[2]);
}

double VESSEL::GetWheelbrakeLevel(int which) const {
    Vessel *v = live(vessel);
    return v && which >= 0 && which <= 2 ? v->wheelbrake[which] : 0.0;
}

double VESSEL::GetFuelMass() const {
    Vessel *v = live(vessel);
    return v && !v->tankMass.empty() ? v->tankMass[0] : 0.0;
}

double VESSEL::GetMaxFuelMass() const {
    Vessel *v = live(vessel);
    return v && !v->cls->tankMax.empty() ? v->cls->tankMax[0] : 0.0;
}

double VESSEL::GetTotalPropellantMass() const {
    Vessel *v = live(vessel);
    return v ? v->propellantMass() : 0.0;
}

DWORD VESSEL::GetPropellantCount() const {
    Vessel *v = live(vessel);
    return v ? (DWORD)v->tankMass.size() : 0;
}

PROPELLANT_HANDLE VESSEL::GetPropellantHandleByIndex(DWORD idx) const {
    Vessel *v = live(vessel);
    return v && idx < v->tankMass.size() ? &v->tankMass[idx] : nullptr;
}

double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const {
    Vessel *v = live(vessel);
    int i = v ? indexIn(v->tankMass.data(), v->tankMass.size(), ph) : -1;
    return i < 0 ? 0.0 : v->tankMass[i];
}

double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE ph) const {
    Vessel *v = live(vessel);
    int i = v ? indexIn(v->tankMass.data(), v->tankMass.size(), ph) : -1;
    return i < 0 ? 0.0 : v->cls->tankMax[i];
}

// ---------------------------------------------------------------------------
// Docking ports

UINT VESSEL::DockCount() const {
    Vessel *v = live(vessel);
    return v ? (UINT)v->ports.size() : 0;
}

UINT VESSEL::DockingStatus(UINT port) const {
    Vessel *v = live(vessel);
    return v && port < v->ports.size() && v->ports[port].docked ? 1 : 0;
}

DOCKHANDLE VESSEL::GetDockHandle(UINT n) const {
    Vessel *v = live(vessel);
    return v && n < v->ports.size() ? &v->ports[n] : nullptr;
}

OBJHANDLE VESSEL::GetDockStatus(DOCKHANDLE hDock) const {
    Vessel *v = live(vessel);
    int i = v ? indexIn(v->ports.data(), v->ports.size(), hDock) : -1;
    return i < 0 ? nullptr : world().vesselOf(v->ports[i].docked);
}

void VESSEL::GetDockParams(DOCKHANDLE hDock, VECTOR3 &pos, VECTOR3 &dir, VECTOR3 &rot) const {
    Vessel *v = live(vessel);
    int i = v ? indexIn(v->ports.data(), v->ports.size(), hDock) : -1;
    if (i < 0) {
        pos = dir = rot = _V(0, 0, 0);
        return;
    }
    const sim::DockSpec &d = v->cls->docks[i];
    pos = d.pos;
    dir = d.dir;
    rot = d.rot;
}

bool VESSEL::Undock(UINT n, const OBJHANDLE exclude) const {
    Vessel *v = live(vessel);
    if (!v) return false;
    if (n != ALLDOCKS) return sim::undock(*v, (int)n);
    bool any = false;
    for (size_t i = 0; i < v->ports.size(); i++)
        if (v->ports[i].docked && v->ports[i].docked != exclude) any = sim::undock(*v, (int)i) || any;
    return any;
}

// ---------------------------------------------------------------------------
// Navigation radios

NAVHANDLE VESSEL::GetIDS(DOCKHANDLE hDock) const {
    Vessel *v = live(vessel);
    int i = v ? indexIn(v->ports.data(), v->ports.size(), hDock) : -1;
    return i < 0 || i >= (int)v->ids.size() ? nullptr : &v->ids[i];
}

NAVHANDLE VESSEL::GetTransponder() const {
    Vessel *v = live(vessel);
    return v && v->cls->hasTransponder ? &v->transponder : nullptr;
}

DWORD VESSEL::GetNavCount() const {
    Vessel *v = live(vessel);
    return v ? (DWORD)v->navChannel.size() : 0;
}

bool VESSEL::SetNavChannel(DWORD n, DWORD ch) const {
    Vessel *v = live(vessel);
    if (!v || n >= v->navChannel.size() || ch > 639) return false;
    v->navChannel[n] = ch;
    return true;
}

DWORD VESSEL::GetNavChannel(DWORD n) const {
    Vessel *v = live(vessel);
    return v && n < v->navChannel.size() ? v->navChannel[n] : 0;
}

// The nearest transmitter of another vessel tuned to the receiver's channel.
NAVHANDLE VESSEL::GetNavSource(DWORD n) const {
    Vessel *v = live(vessel);
    if (!v || n >= v->navChannel.size()) return nullptr;
    DWORD ch = v->navChannel[n];
    sim::NavRadio *best = nullptr;
    double bestD = 0;
    for (auto &o : world().vessels) {
        if (!o->alive || o.get() == v) continue;
        double d = dist(o->pos, v->pos);
        if (best && d >= bestD) continue;
        if (o->cls->hasTransponder && o->transponder.channel == ch) {
            best = &o->transponder;
            bestD = d;
        }
        for (auto &r : o->ids)
            if (r.channel == ch && (!best || d < bestD || best->vessel == o.get())) {
                best = &r;
                bestD = d;
                break;
            }
    }
    return best;
}
