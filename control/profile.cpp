// Propulsion profile: thruster scan, stack inertia, class table and rate limits.
#include "control/profile.h"

#include <cmath>
#include <cstring>

namespace {

struct ClassRow {
    const char *prefix;
    double rateDeg[3];
    bool setIsp;
};

// Rate limits in degrees per second; the first row whose prefix matches wins.
const ClassRow kClassTable[] = {
    {"UCGO\\Vessels\\UCGOArrowFreighter", {2.0, 2.0, 2.0}, false},
    {"XR5Vanguard", {0.75, 0.75, 1.0}, false},
    {"Shuttle", {0.75, 0.75, 0.75}, false},
    {"ProjectAlpha_ISS", {0.25, 0.25, 0.5}, false},   // a large station turns slowly
    {"IonTug", {1.0, 1.0, 2.0}, true},                // ion drive: very high exhaust speed
    {"DeltaGlider", {1.0, 1.0, 2.0}, false},
    {"AMSO\\Apollo", {0.75, 0.75, 0.75}, false},
    {"Daedalus", {0.15, 0.15, 0.5}, false},
    {"Voyager\\Voyager", {0.5, 0.5, 0.5}, false},
};
const double kDefaultRateDeg[3] = {2.5, 2.5, 5.0};
const double kApproachSpeed = 0.5;  // m/s on every axis, every class
const double kIonTugIsp = 150000.0;

// Inertia of one body about the reference vessel's axes through its origin:
// six points on the body's axes whose second moments are the body's principal
// moments, turned into the reference vessel's axes, plus the body's offset from
// the reference origin once (parallel axes). Returns mass times the diagonal.
VECTOR3 BodyInertia(VESSEL *body, VESSEL *ref, double *massOut) {
    VECTOR3 pmi = _V(0, 0, 0);
    body->GetPMI(pmi);
    const double hx = 0.5 * std::sqrt(std::fabs(pmi.y - pmi.x + pmi.z));
    const double hy = 0.5 * std::sqrt(std::fabs(pmi.x - pmi.y + pmi.z));
    const double hz = 0.5 * std::sqrt(std::fabs(pmi.x + pmi.y - pmi.z));
    const VECTOR3 pts[6] = {_V(hx, 0, 0), _V(-hx, 0, 0), _V(0, hy, 0),
                            _V(0, -hy, 0), _V(0, 0, hz), _V(0, 0, -hz)};
    VECTOR3 g, centre;
    body->Local2Global(_V(0, 0, 0), g);
    ref->Global2Local(g, centre);
    VECTOR3 sum = _V(centre.y * centre.y + centre.z * centre.z, centre.z * centre.z + centre.x * centre.x,
                     centre.x * centre.x + centre.y * centre.y);
    for (const VECTOR3 &p : pts) {
        VECTOR3 l;
        body->Local2Global(p, g);
        ref->Global2Local(g, l);
        l -= centre;
        sum.x += l.y * l.y + l.z * l.z;
        sum.y += l.z * l.z + l.x * l.x;
        sum.z += l.x * l.x + l.y * l.y;
    }
    const double m = body->GetMass();
    *massOut = m;
    return sum * m;
}

}  // namespace

VECTOR3 VesselClassLimits(VESSEL *vessel, ClassLimitKind kind) {
    if (kind == kClassApproachSpeeds) return _V(kApproachSpeed, kApproachSpeed, kApproachSpeed);
    const double *deg = kDefaultRateDeg;
    const char *name = vessel ? vessel->GetClassNameA() : nullptr;
    if (name) {
        for (const ClassRow &row : kClassTable) {
            if (std::strncmp(name, row.prefix, std::strlen(row.prefix)) == 0) {
                deg = row.rateDeg;
                if (row.setIsp) vessel->SetISP(kIonTugIsp);
                break;
            }
        }
    }
    return _V(deg[0] * RAD, deg[1] * RAD, deg[2] * RAD);
}

int AttitudeAxisGroup(int axis) {
    switch (axis) {
    case 0: return 3;
    case 1: return 4;
    case 2: return 5;
    default: return 9;
    }
}

bool ScanThrusters(ThrusterProfile *P) {
    VESSEL *v = P->vessel;
    for (int i = 0; i < kMaxAttitudeThrusters; ++i) {
        P->thrusters[i] = nullptr;
        P->thrusterGroups[i] = 0;
    }
    uint64_t member[15] = {0};
    double groupThrust[15] = {0};
    double groupTorque[15] = {0};
    int count = 0;
    bool room = true;
    VECTOR3 cg = _V(0, 0, 0);
    v->GetSuperstructureCG(cg);

    for (int g = 0; g < 15; ++g) {
        const THGROUP_TYPE type = static_cast<THGROUP_TYPE>(g);
        const DWORD n = v->GetGroupThrusterCount(type);
        for (DWORD k = 0; k < n; ++k) {
            THRUSTER_HANDLE th = v->GetGroupThruster(type, k);
            if (!th) continue;
            const double fmax = v->GetThrusterMax(th);
            groupThrust[g] += fmax;
            if (g < 3) continue;
            VECTOR3 pos;
            v->GetThrusterRef(th, pos);
            groupTorque[g] += length(pos - cg) * fmax;
            int idx = 0;
            while (idx < count && P->thrusters[idx] != th) ++idx;
            if (idx == count) {
                if (count >= kMaxAttitudeThrusters) {
                    room = false;  // table full: the thruster is summed but not driven
                    continue;
                }
                P->thrusters[count++] = th;
            }
            P->thrusterGroups[idx] = static_cast<uint16_t>(P->thrusterGroups[idx] | (1u << (g - 3)));
            member[g] |= uint64_t(1) << idx;
        }
    }
    for (int g = 0; g < 3; ++g) {
        P->thrust[g] = groupThrust[g];
        P->torque[g] = 0.0;
    }
    for (int k = 3; k <= 8; ++k) {
        const int a = 3 + 2 * (k - 3), b = a + 1;
        P->thrust[k] = 0.5 * (groupThrust[a] + groupThrust[b]);
        P->torque[k] = 0.5 * (groupTorque[a] + groupTorque[b]);
    }
    // The autopilot step's share of the previous pass also scales what the laws see.
    for (int k = 3; k <= 7; ++k) {
        P->thrust[k] *= P->cmdScale;
        P->torque[k] *= P->cmdScale;
    }
    P->pitchBankShared = (member[3] & member[7]) != 0;
    if (P->pitchBankShared) {
        // The split needs the inertia of the previous refresh; until it is known
        // the current share stands.
        if (P->pmi[0] > 0.0 && P->pmi[2] > 0.0) {
            const double pitchAcc = P->torque[3] / P->pmi[0];
            const double bankAcc = P->torque[5] / P->pmi[2];
            double share = 0.5;
            if (bankAcc > 0.0) share = 1.0 / (pitchAcc / bankAcc + 1.0);
            if (share > 0.99) share = 0.9;
            if (share < 0.5) share = 0.5;
            P->pitchShare = share;
        }
        P->thrust[3] *= P->pitchShare;
        P->torque[3] *= P->pitchShare;
        P->thrust[5] *= 1.0 - P->pitchShare;
        P->torque[5] *= 1.0 - P->pitchShare;
    }
    return room;
}

int ComputeStackInertia(ThrusterProfile *P) {
    VESSEL *v = P->vessel;
    double m = 0.0;
    VECTOR3 inertia = BodyInertia(v, v, &m);
    double mass = m;
    int count = 0;
    const UINT ports = v->DockCount();
    for (UINT i = 0; i < ports; ++i) {
        if (!v->DockingStatus(i)) continue;
        OBJHANDLE h = v->GetDockStatus(v->GetDockHandle(i));
        VESSEL *other = h ? oapiGetVesselInterface(h) : nullptr;
        ++count;
        if (!other) continue;
        inertia += BodyInertia(other, v, &m);
        mass += m;
    }
    P->mass = mass;
    for (int a = 0; a < 3; ++a) P->pmi[a] = mass > 0.0 ? inertia.data[a] / mass : 0.0;
    if (count < P->prevDockedCount) {
        for (int a = 0; a < 3; ++a) P->rateLimit[a] = P->undockedRate[a];
    } else if (count > P->prevDockedCount) {
        for (int a = 0; a < 3; ++a) P->rateLimit[a] = P->dockedRate[a];
    }
    P->prevDockedCount = count;
    return count;
}

VECTOR3 GroupThrustDirection(const ThrusterProfile *P, int group) {
    VESSEL *v = P->vessel;
    VECTOR3 sum = _V(0, 0, 0);
    if (group < 0 || group > 14) return sum;
    const THGROUP_TYPE type = static_cast<THGROUP_TYPE>(group);
    const DWORD n = v->GetGroupThrusterCount(type);
    for (DWORD k = 0; k < n; ++k) {
        THRUSTER_HANDLE th = v->GetGroupThruster(type, k);
        if (!th) continue;
        VECTOR3 dir;
        v->GetThrusterDir(th, dir);
        sum += dir * v->GetThrusterMax(th, 0.0);
    }
    const double len = length(sum);
    return len > 0.0 ? sum / len : _V(0, 0, 0);
}

void RefreshThrusterProfile(ThrusterProfile *P) {
    ScanThrusters(P);
    P->dockedCount = ComputeStackInertia(P);
    const VECTOR3 base = VesselClassLimits(P->vessel, kClassRates);
    for (int a = 0; a < 3; ++a) {
        P->baseRate[a] = base.data[a];
        // Eight seconds of full angular acceleration.
        const double inertia = P->pmi[a] * P->mass;
        const double torque = P->torque[3 + a];
        double achievable = 0.0;
        if (torque > 0.0) achievable = inertia > 0.0 ? 8.0 * torque / inertia : P->baseRate[a];
        double r = P->rateLimit[a];
        if (achievable < r) r = achievable;
        if (P->baseRate[a] < r) r = P->baseRate[a];
        P->rateLimit[a] = r;
    }
    double *saved = P->dockedCount == 0 ? P->undockedRate : P->dockedRate;
    for (int a = 0; a < 3; ++a) saved[a] = P->rateLimit[a];
}

void CreateThrusterProfile(ThrusterProfile *P, VESSEL *vessel) {
    std::memset(static_cast<void *>(P), 0, sizeof(*P));
    P->vessel = vessel;
    const VECTOR3 base = VesselClassLimits(vessel, kClassRates);
    const VECTOR3 approach = VesselClassLimits(vessel, kClassApproachSpeeds);
    for (int a = 0; a < 3; ++a) {
        P->baseRate[a] = base.data[a];
        P->rateLimit[a] = P->dockedRate[a] = P->undockedRate[a] = base.data[a];
        P->approachSpeed[a] = approach.data[a];
    }
    P->cmdScale = 1.0;
    P->pitchShare = 0.9;
    P->prevDockedCount = 0;
    RefreshThrusterProfile(P);
}
