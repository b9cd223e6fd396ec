// Docking mode: port alignment, the hold point and its speed schedule, the
// velocity-nulling "ZERO" approach, and the approach switch.
#include "control/docking.h"

#include <cmath>
#include <cstdio>

#include "control/attitude.h"
#include "control/holds.h"
#include "control/keepout.h"
#include "control/math.h"
#include "control/modes.h"
#include "control/thrusters.h"
#include "frame/state.h"

namespace {

const VECTOR3 kZero = {{0.0, 0.0, 0.0}};

bool IsVessel(OBJHANDLE h) { return h && oapiIsVessel(h); }

bool Finite(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// The handle of a 1-based port index of a vessel; null for 0 or an index beyond
// the vessel's ports.
DOCKHANDLE PortHandle(const VESSEL *v, int32_t port) {
    if (!v || port < 1 || static_cast<UINT>(port) > v->DockCount()) return nullptr;
    return v->GetDockHandle(static_cast<UINT>(port - 1));
}

VESSEL *TargetVessel(const MfdState *S) {
    return IsVessel(S->targetRef) ? oapiGetVesselInterface(S->targetRef) : nullptr;
}

// Cross-product matrix of w: S x Q = w x Q.
MATRIX3 CrossMatrix(const VECTOR3 &w) { return _M(0.0, -w.z, w.y, w.z, 0.0, -w.x, -w.y, w.x, 0.0); }

// The target seen from the vessel, in vessel axes: position and velocity.
void TrackTarget(MfdState *S, const MATRIX3 &R, VECTOR3 *globalVel) {
    VECTOR3 p = kZero, v = kZero;
    oapiGetRelativePos(S->targetRef, S->vesselHandle, &p);
    oapiGetRelativeVel(S->targetRef, S->vesselHandle, &v);
    S->targetRelPos = MatTVec(R, p);
    S->targetRelVel = MatTVec(R, v);
    S->targetRelSpeed = length(S->targetRelVel);
    *globalVel = v;
}

// A port's position, approach direction and up vector in its vessel's axes.
struct PortGeometry {
    VECTOR3 pos, dir, up;
};

// False for a port whose direction and up vector give no frame (zero length,
// parallel, not finite).
bool ReadPort(const VESSEL *v, DOCKHANDLE port, PortGeometry *g) {
    v->GetDockParams(port, g->pos, g->dir, g->up);
    const VECTOR3 side = CrossProduct(g->dir, g->up);
    return Finite(g->pos) && Finite(side) && length(side) > 1e-9 * length(g->dir) * length(g->up);
}

// Both ports of the pair, when both are set, exist and give frames.
bool ReadPortPair(const MfdState *S, const VESSEL *T, PortGeometry *own, PortGeometry *target) {
    if (!S->vessel || !T) return false;
    DOCKHANDLE o = PortHandle(S->vessel, S->ownPort);
    DOCKHANDLE t = PortHandle(T, S->targetPort);
    return o && t && ReadPort(S->vessel, o, own) && ReadPort(T, t, target);
}

// The point the vessel's centre flies to now (target axes) on its way to `hold`,
// its place at contact being `contact` and the target port looking along `axis`;
// sets the leg.
VECTOR3 KeepOutPoint(MfdState *S, const VESSEL *T, const VECTOR3 &contact, const VECTOR3 &axis, const VECTOR3 &hold) {
    KeepOutZone z;
    z.radius = KeepOutRadius(oapiGetSize(S->targetRef), oapiGetSize(S->vesselHandle));
    z.contact = contact;
    z.axis = axis;
    VECTOR3 g, c;
    S->vessel->GetGlobalPos(g);
    T->Global2Local(g, c);
    if (!S->dockApOn) S->dockLeg = DOCK_LEG_NONE;
    const VECTOR3 aim = KeepOutAim(z, c, hold, &S->dockLeg);
    return Finite(aim) ? aim : hold;
}

// Both ports set and present: face the target port, aim at the hold point.
void UpdatePortPair(MfdState *S, VESSEL *T, const PortGeometry &own, const PortGeometry &target, double stepDt) {
    VESSEL *V = S->vessel;
    const VECTOR3 &P1 = own.pos, &D1 = own.dir, &U1 = own.up;
    const VECTOR3 &P2 = target.pos, &D2 = target.dir, &U2 = target.up;

    // Port frames: the target port's in target axes, the own port's (axis
    // reversed) in own axes. Facing each other means Ro Mo = Rt Mt, so the
    // wanted attitude is Rt Mt Mo^T.
    const MATRIX3 Mt = LookAtMatrix(D2, U2);
    const MATRIX3 Mo = LookAtMatrix(-D1, U1);
    const MATRIX3 MoT = MatTranspose(Mo);
    MATRIX3 Rt, Ro;
    T->GetRotationMatrix(Rt);
    V->GetRotationMatrix(Ro);
    const MATRIX3 RtMt = MatMat(Rt, Mt);
    S->errorMatrix = MatMat(MatTranspose(Ro), MatMat(RtMt, MoT));
    S->attitudeAngles = MatrixToEuler(S->errorMatrix, 0);
    S->refAtt = MatrixToEuler(RtMt, 0);
    S->relAtt = MatrixToEuler(MoT, 0);

    // Hold point: where the own origin is when the own port sits at dockXyz in
    // the target port's frame (target axes), then in own axes.
    const VECTOR3 at = length(S->dockXyz) > 0.0 ? S->dockXyz : _V(0.0, 0.0, -kDockContactOvershoot);
    const VECTOR3 hold = MatVec(Mt, MatTVec(Mo, -P1) + at) + P2;
    // On the way there the vessel keeps out of the target's zone but for the
    // port's corridor: the point flown to now (target axes).
    const VECTOR3 Q = KeepOutPoint(S, T, MatVec(Mt, MatTVec(Mo, -P1) + _V(S->dockXyz.x, S->dockXyz.y, 0.0)) + P2,
                                   MatVec(Mt, _V(0.0, 0.0, 1.0)), hold);
    VECTOR3 Qg;
    T->Local2Global(Q, Qg);
    V->Global2Local(Qg, S->dockPosErr);

    // Its velocity relative to the vessel: the target's, plus Q x w of the
    // target's rotation (= -w x Q), in own axes.
    VECTOR3 w, vrel;
    T->GetAngularVel(w);
    V->GetRelativeVel(S->targetRef, vrel);
    S->dockRelVel = MatTVec(Ro, -(vrel + MatVec(Rt, MatVec(CrossMatrix(w), Q))));

    // Own port relative to the target port, in the target port's frame.
    VECTOR3 p1g, p1t;
    V->Local2Global(P1, p1g);
    T->Global2Local(p1g, p1t);
    S->targetRelPos = MatTVec(Mt, p1t - P2);
    S->targetRelVel = stepDt > 0.0 ? (S->targetRelPos - S->prevPortPos) / stepDt : kZero;
    if (!Finite(S->targetRelVel)) S->targetRelVel = kZero;
    S->prevPortPos = S->targetRelPos;
    S->targetRelSpeed = length(S->targetRelVel);
}

// The z axis the velocity-nulling approach turns to: the direction of the
// relative velocity v, reached from the last one at no more than the slower of
// the pitch and yaw rate limits. As the speed falls to nothing that direction
// turns ever faster (the hold nulls the axes unevenly), and the attitude hold,
// following it, would spin the vessel up to tens of degrees a second.
VECTOR3 ZeroAim(const MfdState *S, const VECTOR3 &v, double stepDt) {
    const VECTOR3 to = v / length(v);
    const VECTOR3 from = S->zeroAim;
    if (!S->dockApOn || !S->profile || !(length(from) > 0.5) || !(stepDt > 0.0)) return to;
    const double limit = std::fmin(S->profile->rateLimit[0], S->profile->rateLimit[1]) * stepDt;
    const double c = std::fmax(-1.0, std::fmin(1.0, dotp(from, to)));
    if (!(std::acos(c) > limit)) return to;
    VECTOR3 side = to - from * c;
    if (length(side) < 1e-9) side = CrossProduct(from, std::fabs(from.x) < 0.9 ? _V(1, 0, 0) : _V(0, 1, 0));
    return from * std::cos(limit) + side * (std::sin(limit) / length(side));
}

// No port pair: the relative velocity is the reference.
void UpdateNoPortPair(MfdState *S, double stepDt) {
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    VECTOR3 v;
    TrackTarget(S, R, &v);
    S->dockPosErr = S->targetRelPos - S->dockXyz;
    // The target itself is the point whose position is held at dockXyz, so its
    // velocity is what the approach must match.
    S->dockRelVel = S->targetRelVel;
    if (S->targetRelSpeed > kDockNullSpeed) {
        S->zeroAim = ZeroAim(S, v, stepDt);
        S->refAtt = AxesToEuler(S->zeroAim, _V(0, 0, 1), 0);
        S->relAtt = kZero;
        S->attitudeAngles = ErrorAnglesFromMatrix(S);
        S->rollMode = 1;
    } else {
        S->attitudeAngles = kZero;
    }
}

// Ports set that the vessels do not have (or that give no frame): hold the
// present attitude, fly nothing.
void UpdateMissingPorts(MfdState *S) {
    MATRIX3 R;
    S->vessel->GetRotationMatrix(R);
    VECTOR3 v;
    TrackTarget(S, R, &v);
    S->dockPosErr = kZero;
    S->dockRelVel = kZero;
    S->vessel->GetGlobalOrientation(S->refAtt);
    S->relAtt = kZero;
    S->errorMatrix = _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
    S->attitudeAngles = kZero;
}

// Without a port pair: inside the target's zone, the velocity away from the
// target the vessel is to gain (vessel axes), and the leg "backing out"; zero and
// no leg outside it.
VECTOR3 ZeroBackOut(MfdState *S) {
    const double d = length(S->targetRelPos);
    S->dockLeg = DOCK_LEG_NONE;
    if (!(d > 1e-6) || d >= KeepOutRadius(oapiGetSize(S->targetRef), oapiGetSize(S->vesselHandle))) return kZero;
    S->dockLeg = DOCK_LEG_BACK_OUT;
    return S->targetRelPos * (-kBackOutSpeed / d);
}

// One of the vessel's ports holds the target.
bool DockedToTarget(const MfdState *S) {
    if (!S->vessel) return false;
    for (UINT i = 0; i < S->vessel->DockCount(); ++i)
        if (S->vessel->GetDockStatus(S->vessel->GetDockHandle(i)) == S->targetRef) return true;
    return false;
}

// An engaged approach (DOCK or ZERO) holds the time acceleration at
// kDockWarpLimit, where the rotation laws still act, and says so on the debug
// line: beyond it the port could not be turned to the target and the
// translation alone would carry the ship past the station.
void LimitDockingTimeAcceleration(MfdState *S) {
    if (!S->dockApOn || !S->holdOn || oapiGetTimeAcceleration() <= kDockWarpLimit) return;
    oapiSetTimeAcceleration(kDockWarpLimit);
    std::snprintf(oapiDebugString(), kDockDebugLineSize, "TessarcMFD: %s is docking --> limiting time acceleration",
                  S->vesselName ? S->vesselName : "");
    S->debugLineSet = true;
    S->debugLineUntil = oapiGetSysTime() + kDockDebugLineSeconds;
}

}  // namespace

bool DockingPortPairValid(const MfdState *S) {
    PortGeometry own, target;
    return S && ReadPortPair(S, TargetVessel(S), &own, &target);
}

void UpdateDockingMode(MfdState *S, double stepDt) {
    if (!S || !S->vessel) return;
    const VECTOR3 aim = S->zeroAim;
    S->zeroAim = kZero;
    VESSEL *T = TargetVessel(S);
    if (!T) {
        S->relAtt = S->refSlot[ModeSlot(AP_DOCKING)].relAtt;
        UpdateRelativeMode(S);
        return;
    }
    if (S->ownPort == 0 || S->targetPort == 0) {
        S->zeroAim = aim;
        UpdateNoPortPair(S, stepDt);
        return;
    }
    PortGeometry own, target;
    if (!ReadPortPair(S, T, &own, &target)) {
        UpdateMissingPorts(S);
        return;
    }
    UpdatePortPair(S, T, own, target, stepDt);
}

double DockingClosingSpeed(double d, double vmax) {
    if (!(vmax > 0.0) || !std::isfinite(vmax) || !std::isfinite(d)) return 0.0;
    const double a = std::fabs(d);
    if (a <= 10.0 * vmax) return d / 10.0;
    const double n = std::fmax(1.0, std::floor(std::sqrt(a / (20.0 * vmax))));
    return std::copysign(vmax * n, d);
}

void ApplyDockingWarpLimit(MfdState *S) { LimitDockingTimeAcceleration(S); }

VECTOR3 DockingApproach(MfdState *S) {
    if (!S || !S->profile) return kZero;
    LimitDockingTimeAcceleration(S);
    if (S->dockApOn && (S->ownPort == 0 || S->targetPort == 0)) {
        // Found inside the target's zone, it leaves it before it stops.
        const VECTOR3 wanted = S->targetRelVel + ZeroBackOut(S);
        if (S->holdOn && (length(wanted) >= kDockNullSpeed || S->dockLeg == DOCK_LEG_BACK_OUT)) {
            ApplyTranslationHold(S, wanted);
            return wanted;
        }
        S->holdOn = false;
        ToggleTranslationAxis(S, kTransAxesNone);
        AttitudeGroupsOff(S->profile);
        S->dockApOn = false;
        S->dockLeg = DOCK_LEG_NONE;
        return S->targetRelVel;
    }
    ThrusterProfile *P = S->profile;
    VECTOR3 demand = kZero;
    for (int k = 0; k < 3; ++k) {
        // The attitude pair thrust stands in for the axis's acceleration; the
        // stored limit only ever falls here.
        const double limit = 10.0 * P->thrust[3 + k] / P->mass;
        if (std::isfinite(limit) && (limit < P->approachSpeed[k] || !std::isfinite(P->approachSpeed[k])))
            P->approachSpeed[k] = limit;
        demand.data[k] = DockingClosingSpeed(S->dockPosErr.data[k], P->approachSpeed[k]) + S->dockRelVel.data[k];
    }
    if (!Finite(demand)) demand = kZero;
    ApplyTranslationHold(S, demand);
    return demand;
}

void ToggleDockingApproach(MfdState *S) {
    if (!S || S->lockedOut) return;
    if (!IsVessel(S->targetRef)) {
        S->dockApOn = false;
        return;
    }
    // Docked to the target, the two fly as one: an approach would only push and
    // turn the stack for as long as the propellant lasts.
    if (!S->dockApOn && DockedToTarget(S)) return;
    S->dockApOn = !S->dockApOn;
    if (S->dockApOn) {
        S->holdOn = true;
        ChooseEulerConvention(S);
        ToggleTranslationAxis(S, kTransAxesAll);
    } else {
        S->holdOn = false;
        ToggleTranslationAxis(S, kTransAxesNone);
        AttitudeGroupsOff(S->profile);
    }
}
