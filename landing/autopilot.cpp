// The landing step: validation, measurements, the phase machine, the
// time-acceleration limits and touchdown.
#include "landing/autopilot.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "control/holds.h"
#include "control/math.h"
#include "control/thrusters.h"
#include "frame/names.h"
#include "frame/state.h"
#include "frame/terrain.h"
#include "landing/efficient.h"
#include "landing/guidance.h"
#include "landing/orbit_keeping.h"
#include "landing/planet.h"
#include "landing/planning.h"
#include "landing/refusal.h"
#include "landing/resume.h"
#include "landing/step_values.h"
#include "landing/takeover.h"
#include "landing/target.h"
#include "landing/touchdown.h"
#include "landing/trajectory.h"

namespace {

void SetFlag(MfdState *S, uint32_t bit, bool on) {
    S->landingFlags = on ? (S->landingFlags | bit) : (S->landingFlags & ~bit);
}

void NoSolution(MfdState *S, uint32_t bit) {
    S->landingFlags |= bit;
    S->targetRef = S->bodyRef;
    S->landingPhase = LANDING_NO_SOLUTION;
}

// Step 2: the landing target is still usable.
void ValidateTarget(MfdState *S) {
    SetFlag(S, kLandNoTarget, S->targetRef == nullptr);
    if (!S->targetRef) {
        S->targetRef = S->bodyRef;
        S->landingPhase = LANDING_NO_SOLUTION;
    }
    if (S->manualTarget) {
        S->targetRef = S->bodyRef;
        S->landingFlags &= ~(kLandNoBase | kLandTargetNotLanded | kLandTargetInvalid);
        if (S->landingPhase == LANDING_NO_SOLUTION) S->landingPhase = LANDING_WAIT;
        return;
    }
    const int type = oapiGetObjectType(S->targetRef);
    if (type == OBJTP_VESSEL) {
        VESSEL *target = oapiGetVesselInterface(S->targetRef);
        if (target && (target->GetFlightStatus() & 1)) {
            S->landingFlags &= ~kLandTargetNotLanded;
        } else if (oapiGetOrbiterVersion() > 150000) {
            NoSolution(S, kLandTargetNotLanded);
        } else {
            S->landingFlags &= ~kLandTargetNotLanded;
        }
        if (!target || target->GetGravityRef() != S->bodyRef)
            NoSolution(S, kLandTargetInvalid);
        else
            S->landingFlags &= ~kLandTargetInvalid;
    } else if (type != OBJTP_SURFBASE && S->brakeStartMjd == 0.0) {
        // The reference body's first base.
        std::snprintf(S->targetRefName, sizeof S->targetRefName, "%s", "1");
        if (SetLandingTarget(S, LandingBaseByIndex(S, 1)))
            S->landingFlags &= ~kLandNoBase;
        else
            NoSolution(S, kLandNoBase);
    }
    ObjectNameInto(S->targetRef, S->targetRefName, 99);
}

// Step 4: the engine group, mass, acceleration and Isp; false without thrust.
bool ChooseEngines(MfdState *S, LandingStepValues &V) {
    const ThrusterProfile *P = S->profile;
    const bool drive = S->holdOn && !S->lockedOut;
    V.group = THGROUP_MAIN;
    if (drive && P->thrust[2] > 0.0) S->vessel->SetThrusterGroupLevel(THGROUP_HOVER, 0.0);
    if (S->useHover || P->thrust[0] <= 0.0) {
        V.group = THGROUP_HOVER;
        S->useHover = true;
        if (drive && P->thrust[0] > 0.0) S->vessel->SetThrusterGroupLevel(THGROUP_MAIN, 0.0);
    }
    V.mass = P->mass;
    V.thrust = P->thrust[V.group];
    V.amax = V.mass > 0.0 ? V.thrust / V.mass : 0.0;
    THRUSTER_HANDLE th = S->vessel->GetGroupThruster(static_cast<THGROUP_TYPE>(V.group), 0);
    V.isp = th ? S->vessel->GetThrusterIsp(th) : 1.0;
    if (!(V.thrust > 0.0) || !(V.amax > 0.0) || !std::isfinite(V.amax)) {
        RefuseLanding(S, kLandNoThrust);
        return false;
    }
    S->landingFlags &= ~kLandNoThrust;
    return true;
}

// Steps 5 to 10: body, orbit, surface position, approach plane and measurements.
// False when the vessel's state is degenerate (at the body's centre).
bool Measure(MfdState *S, LandingStepValues &V) {
    V.body = S->bodyRef;
    V.Rt = oapiGetSize(V.body) + S->elevation;
    V.mu = oapiGetMass(V.body) * kGravConst;
    V.r = S->relPos;
    V.v = S->relVel;
    const double rl = length(V.r), vl = length(V.v);
    if (!(rl > 0.0) || !(V.Rt > 0.0)) return false;
    const double vh = vl > 0.0 ? length(CrossProduct(V.r, V.v)) / rl : 0.0;  // |v| sin(angle to r)
    V.geff = V.mu / (rl * rl) - vh * vh / rl;
    V.gT = V.mu / (V.Rt * V.Rt);

    S->vessel->GetElements(V.body, V.el, &V.prm, 0, FRAME_EQU);
    SetFlag(S, kLandEccentricity, !(V.el.e < 1.0));
    if (!(V.el.e < 1.0)) S->landingPhase = LANDING_NO_SOLUTION;

    double radius = 0.0;
    S->vessel->GetEquPos(V.lon, V.lat, radius);
    const double tlat = S->targetLat;
    V.dlon = V.lon - S->targetLon;
    V.dist = oapiOrthodome(V.lon, V.lat, S->targetLon, tlat) * V.Rt;
    V.bearing = std::atan2(-std::sin(V.dlon) * std::cos(tlat),
                           std::cos(V.lat) * std::sin(tlat) - std::sin(V.lat) * std::cos(tlat) * std::cos(V.dlon));
    if (V.bearing < 0.0) V.bearing += PI2;
    const int phase = S->landingPhase;
    if (phase == LANDING_WAIT || phase == LANDING_REPLAN || phase == LANDING_FINAL_START ||
        phase == LANDING_BRAKE_NOW) {
        S->approachHeading = V.bearing;
        S->refPointLon = V.lon;
        S->refPointLat = V.lat;
    }

    MATRIX3 M;
    oapiGetRotationMatrix(V.body, &M);
    VECTOR3 P1;
    oapiEquToLocal(V.body, S->refPointLon, S->refPointLat, V.Rt, &P1);
    oapiEquToLocal(V.body, S->targetLon, tlat, V.Rt, &V.P2);
    P1 = MatVec(M, P1);
    V.P2 = MatVec(M, V.P2);
    V.n = CrossProduct(P1, V.P2);
    // Over the target the plane is undefined: any vertical plane through the
    // vessel and its velocity serves.
    if (length(V.n) <= 1e-9 * V.Rt * V.Rt) V.n = CrossProduct(V.v, V.r);
    if (length(V.n) > 0.0) V.n = unit(V.n);
    V.w = CrossProduct(V.n, V.r / rl);
    if (length(V.w) > 0.0) V.w = unit(V.w);

    const VECTOR3 enu = SurfaceVelocityEnu(V.body, V.r, V.v, 0.0);
    V.ve = enu.x;
    V.vn = enu.y;
    V.vu = enu.z;
    V.gs = std::hypot(V.ve, V.vn);
    V.course = std::atan2(V.ve, V.vn);
    if (V.ve < 0.0) V.course += PI2;

    V.xe = -V.dist * std::sin(V.bearing);
    V.xn = -V.dist * std::cos(V.bearing);
    const double h = S->approachHeading;
    V.along = V.xn * std::cos(h) + V.xe * std::sin(h);
    V.height = rl - V.Rt - S->vessel->GetCOG_elev();
    V.hostHeight = S->vessel->GetAltitude() - TargetElevation(V.body, V.lon, V.lat) - S->vessel->GetCOG_elev();
    V.onGround = S->vessel->GroundContact() || (S->vessel->GetFlightStatus() & 1) != 0;
    V.courseOffset = (V.xe * std::cos(V.course) - V.xn * std::sin(V.course)) * std::fmin(V.gs / kCourseSpeed, 1.0);
    V.lineOffset = V.xe * std::cos(h) - V.xn * std::sin(h);
    V.lineRate = V.ve * std::cos(h) - V.vn * std::sin(h);
    const bool final = phase >= LANDING_FINAL_START && phase <= LANDING_LANDED;
    V.cross = final ? V.lineOffset : V.courseOffset;
    V.closing = V.gs * std::cos(V.course - V.bearing);
    V.vspeed = V.vu;
    V.crossRate = V.dt > 0.0 ? (V.cross - S->landingWork[LW_CROSS]) / V.dt : 0.0;
    return true;
}

// Some attitude thruster still has propellant to turn the vessel with.
bool AttitudePropellant(const MfdState *S) {
    const ThrusterProfile *P = S->profile;
    for (int i = 0; i < 64 && P->thrusters[i]; ++i) {
        PROPELLANT_HANDLE tank = S->vessel->GetThrusterResource(P->thrusters[i]);
        if (tank && S->vessel->GetPropellantMass(tank) > 0.0) return true;
    }
    return false;
}

// Phase 0: refusals before the descent starts.
void ReadyToWait(MfdState *S, const LandingStepValues &V) {
    const bool engaged = S->holdOn && !S->lockedOut;
    // The pass lies more than one orbit ahead: nothing to wait for in this orbit.
    const bool beyond = V.prm.T < S->landingWork[LW_PASS_TIME];
    SetFlag(S, kLandBeyondOrbit, beyond);
    if (beyond && engaged) {
        S->landingRefusal |= kLandBeyondOrbit;
        S->holdOn = false;
    }
    const bool turns = AttitudePropellant(S);
    SetFlag(S, kLandNoAttitudeFuel, !turns);
    if (!turns && engaged) RefuseLanding(S, kLandNoAttitudeFuel);
}

void LimitTimeAcceleration(MfdState *S, bool trimming = false) {  // an orbit trim: the active limit
    double limit = 0.0;
    const char *text = nullptr;
    // Engaged where it will be taken over, the landing is active from the press on.
    const bool takeover = S->landingPhase == LANDING_WAIT && S->engaging && EngagingTakeover(S);
    switch (takeover || trimming ? LANDING_APPROACH : S->landingPhase) {
    case LANDING_WAIT:
        limit = kWarpWaiting;
        text = "TessarcMFD: %s is waiting for landing brake --> limiting time acceleration";
        break;
    case LANDING_BRAKE: case LANDING_REPLAN: case LANDING_APPROACH: case LANDING_BRAKE_NOW:
        limit = kWarpActive;
        text = "TessarcMFD: %s is in active landing phase --> limiting time acceleration";
        break;
    case LANDING_FINAL_START: case LANDING_FINAL:
        limit = kWarpFinal;
        text = "TessarcMFD: %s is in final landing phase --> switching off time acceleration";
        break;
    default:
        return;
    }
    limit *= kWarpBase;
    if (oapiGetTimeAcceleration() <= limit) return;
    oapiSetTimeAcceleration(limit);
    // The host's debug line holds 256 characters.
    std::snprintf(oapiDebugString(), 256, text, S->vesselName ? S->vesselName : "");
    S->debugLineSet = true;
    S->debugLineUntil = oapiGetSysTime() + 3.0;
}

// The vessel put down on the surface where it stands.
void SetLanded(MfdState *S, const LandingStepValues &V) {
    VESSELSTATUS2 vs;
    std::memset(&vs, 0, sizeof vs);
    vs.version = 2;
    S->vessel->GetStatusEx(&vs);
    vs.rbody = S->bodyRef;
    vs.status = 1;
    vs.vrot.x = S->vessel->GetCOG_elev();
    MATRIX3 planet, own;
    oapiGetRotationMatrix(S->bodyRef, &planet);
    S->vessel->GetRotationMatrix(own);
    const MATRIX3 R = MatMat(MatTranspose(planet), own);
    vs.arot = _V(std::atan2(R.m23, R.m33), -std::asin(R.m13 > 1.0 ? 1.0 : (R.m13 < -1.0 ? -1.0 : R.m13)),
                 std::atan2(R.m12, R.m11));
    vs.surf_lng = V.lon;
    vs.surf_lat = V.lat;
    double heading = 0.0;
    oapiGetHeading(S->vesselHandle, &heading);
    vs.surf_hdg = heading;
    vs.flag = 0;
    vs.nfuel = vs.nthruster = vs.ndockinfo = 0;
    S->vessel->DefSetStateEx(&vs);
}

void EnginesOff(MfdState *S, const LandingStepValues &V) {
    if (!S->lockedOut) S->vessel->SetThrusterGroupLevel(static_cast<THGROUP_TYPE>(V.group), 0.0);
}

// Touchdown wait: wheel brakes until the host reports the vessel landed.
void TouchdownWait(MfdState *S, const LandingStepValues &V) {
    AllAutopilotsOff(S);
    EnginesOff(S, V);
    Publish(S, V);
    if (!S->landBrake) {
        S->landingPhase = LANDING_LANDED;
        return;
    }
    S->vessel->SetWheelbrakeLevel(1.0, 0, true);
    S->debugLineSet = true;
    S->debugLineUntil = oapiGetSysTime() + 1.0;
    if (S->vessel->GetFlightStatus() & 1) S->landingPhase = LANDING_LANDED;
}

// m/s: the fall from the engine cut to the ground ends at most this fast.
const double kCutFallSpeed = 0.9;

// m: where the engines cut in the final phase: the cut-off height, or lower where
// the free fall from it would end faster than kCutFallSpeed. The fall adds
// 2 g h to the square of the sink rate: from 0.2 m that is 0.65 m/s on the Moon
// but 1.22 m/s on Mars, however gently the descent arrives. Zero or less: the
// engines carry the vessel down to contact.
double CutHeight(const MfdState *S, const LandingStepValues &V) {
    if (!(V.geff > 0.0)) return S->cutoffAlt;
    const double sink = std::fmax(-V.vspeed, 0.0);
    return std::fmin(S->cutoffAlt, (kCutFallSpeed * kCutFallSpeed - sink * sink) / (2.0 * V.geff));
}

// Phase 5: the final law, then either the thrust command or touchdown.
void FinalPhase(MfdState *S, LandingStepValues &V) {
    LandingCommand a = FinalGuidance(S, V);
    if (EfficientDescent(S)) EfficientFinalVertical(S, V, &a);
    const bool contact = S->vessel->GroundContact();
    // Whatever the target's level says, the host's ground below is the one met.
    const bool high = V.hostHeight > S->cutoffAlt + kGroundAgree;
    if ((V.height > CutHeight(S, V) || high) && !contact) {
        CommandOutput(S, V, a);
        return;
    }
    S->hoverLevel = 0.0;  // touchdown: the engines cut
    AllAutopilotsOff(S);
    EnginesOff(S, V);
    const bool landed = (S->vessel->GetFlightStatus() & 1) != 0;
    const bool settled = contact && !landed && V.ev < 1.0;
    if (S->forceLand && settled) SetLanded(S, V);
    if (!S->landBrake) {
        S->landingPhase = LANDING_LANDED;
    } else if (settled) {
        S->landingPhase = LANDING_TOUCHDOWN;
    }
    TouchdownWait(S, V);
}

// The final law only slows a vessel that closes on the target: it cannot bring
// back one well past the target, nor carry one that hovers far short of it or far
// to its side. True for such a vessel, engaged, not stopping and not descending.
bool OutsideFinalLaw(const MfdState *S, const LandingStepValues &V) {
    if (!S->holdOn || S->lockedOut || S->finalDescent || (S->landingFlags & kLandStopping)) return false;
    const double end = std::fabs(S->landingParams[LP_END_ALONG]);
    const bool past = V.along > end;
    const bool stalled = V.along < -2.0 * end && V.closing < kSlowClosing;
    return past || stalled || std::fabs(V.cross) > 2.0 * end;
}

// The trajectory in flight no longer fits (a date moved under it): the braking or
// the approach is planned afresh from the present state, its plane through where
// the vessel is now. False when the vessel is out of reach (refused).
bool ResumeFromHere(MfdState *S, LandingStepValues &V) {
    const bool braking = S->landingPhase == LANDING_BRAKE;
    S->landingPhase = braking ? LANDING_BRAKE_NOW : LANDING_REPLAN;
    Measure(S, V);
    if (braking) return ReplanBraking(S, V);
    S->landingParams[LP_END_HEIGHT] = kApproachEndHeight;
    return ReplanApproach(S, V);
}

void Dispatch(MfdState *S, LandingStepValues &V, bool passValid, double lonP, double latP) {
    if (EndStopBeforeTheTankRunsDry(S, V)) Measure(S, V);
    switch (S->landingPhase) {
    case LANDING_WAIT:
        ReadyToWait(S, V);
        if (!PlanBraking(S, V, passValid, lonP, latP)) return KeepOrbit(S, V);
        // The brake time has come with the hold on.
        [[fallthrough]];
    case LANDING_BRAKE_NOW:
        S->brakeStartMjd = V.now;
        S->landingPhase = LANDING_BRAKE;
        if (EfficientDescent(S)) Measure(S, V);  // the waiting step measured the pass instead
        [[fallthrough]];
    case LANDING_BRAKE:
    case LANDING_APPROACH:
        if (S->holdOn && !S->lockedOut && !PlanFits(S, V) && !ResumeFromHere(S, V)) return;
        if (CoastDue(S, V) && Measure(S, V) && CoastThrough(S, V)) return;
        CommandOutput(S, V, DescentTracking(S, V));
        return;
    case LANDING_REPLAN:
        if (ReplanApproach(S, V)) CommandOutput(S, V, DescentTracking(S, V));
        return;
    case LANDING_FINAL_START: {
        S->landingPhase = LANDING_FINAL;
        double *W = S->landingWork;
        W[LW_GRAPH_T0] = 0.0;
        W[LW_GRAPH_KY] = S->landingConsts[LC_HEIGHT] != 0.0 ? V.height / S->landingConsts[LC_HEIGHT] : 1.0;
        W[LW_GRAPH_KX] = S->landingConsts[LC_ALONG] != 0.0 ? V.along / S->landingConsts[LC_ALONG] : 1.0;
        W[LW_GRAPH_LEFT] = V.along;
        W[LW_FIX_ALONG] = W[LW_FIX_HEIGHT] = 0.0;
        S->landingConsts[LC_CLOSING] = V.closing;
        S->landingParams[LP_END_HEIGHT] = V.height;
        FinalPhase(S, V);
        return;
    }
    case LANDING_FINAL:
        if (OutsideFinalLaw(S, V)) {
            // A new pad, or a vessel let go and engaged again elsewhere: the
            // approach is flown afresh from where the vessel is.
            S->landingPhase = LANDING_REPLAN;
            S->landingParams[LP_END_HEIGHT] = kApproachEndHeight;  // it held the final phase's entry height
            Measure(S, V);
            if (ReplanApproach(S, V)) CommandOutput(S, V, DescentTracking(S, V));
            return;
        }
        FinalPhase(S, V);
        return;
    case LANDING_LANDED:
        S->vessel->SetWheelbrakeLevel(0.0, 0, true);
        Publish(S, V);
        return;
    case LANDING_NO_SOLUTION:
        if (!S->lockedOut) AllAutopilotsOff(S);
        return;
    case LANDING_TOUCHDOWN:
        TouchdownWait(S, V);
        return;
    default:
        return;
    }
}

}  // namespace

void LandingStep(MfdState *S, double dt) {
    if (!S || !S->vessel || !S->profile) return;
    S->rollMode = 0;
    S->bodyRef = S->vessel->GetGravityRef();
    ValidateTarget(S);
    SetFlag(S, kLandLockedOut, S->lockedOut);

    LandingStepValues V;
    std::memset(&V, 0, sizeof V);
    V.dt = std::isfinite(dt) ? dt : 0.0;
    V.now = oapiGetSimMJD();
    if (!ChooseEngines(S, V)) return;
    if (!Measure(S, V)) return;
    TrustHostGround(S, V);
    UpdateHandOver(S, V);
    const bool hard = HardContact(S, V);
    SetFlag(S, kLandHardContact, hard);
    if (hard) {
        // Whatever the phase, the landing ended on the ground but not landed.
        if (!S->lockedOut) {
            AllAutopilotsOff(S);
            EnginesOff(S, V);
        }
        S->landingRefusal |= kLandHardContact;
        S->landingPhase = LANDING_WAIT;
        Publish(S, V);
        return;
    }

    ResumeAttitudeFrame(S);
    SetFlag(S, kLandFromHere, !S->holdOn && S->landingPhase == LANDING_WAIT && (V.onGround || V.prm.PeD < V.Rt));
    if (TakeoverStart(S, V)) TakeOverFromHere(S, V);
    bool passValid = false;
    double lonP = 0.0, latP = 0.0;
    if (S->landingPhase == LANDING_WAIT) passValid = PassageSearch(S, V, &lonP, &latP);
    Publish(S, V);
    SetFlag(S, kLandCritical, std::fabs(V.along) < 1000.0);
    // After phase 0 a pass time is history: only the braking phases see it here.
    if (S->landingPhase != LANDING_WAIT && S->holdOn && V.prm.T < S->landingWork[LW_PASS_TIME]) S->holdOn = false;

    Dispatch(S, V, passValid, lonP, latP);
    LimitTimeAcceleration(S, V.trimming);
    S->engaging = false;
}

void ApplyLandingWarpLimit(MfdState *S) { LimitTimeAcceleration(S); }
