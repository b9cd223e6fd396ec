// The setters behind the input dialogs, also called with values read from a
// scenario.
#include "mfd/setters.h"

#include <cmath>
#include <cstring>

#include "control/attitude.h"
#include "control/profile.h"
#include "frame/names.h"
#include "frame/registry.h"
#include "frame/state.h"
#include "landing/target.h"
#include "landing/touchdown.h"
#include "mfd/commands.h"
#include "mfd/view.h"

namespace {

// A new target, pad or place: the filter starts afresh, and a refusal shown so
// far is answered.
void Restart(MfdState *S) {
    ResetRateFilter(S, 0);
    S->landingRefusal = 0;
}

bool IsVessel(OBJHANDLE h) { return h && oapiIsVessel(h); }

// A finite value no further from zero than the limit.
bool Within(double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

// The host's name of an object into a field, cut to the field the way the
// step reads it back.
void StoreHostName(OBJHANDLE obj, char *field, size_t size) { ObjectNameInto(obj, field, size); }

// An object by name. A vessel carrying exactly the typed name comes first: the
// host's lookup ignores letter case and could give "Alpha" for "ALPHA".
OBJHANDLE ObjectByName(const char *name) {
    char buf[kInputLineMax];
    CopyBounded(buf, sizeof buf, name);
    if (!buf[0]) return nullptr;
    OBJHANDLE exact = VesselByExactName(buf);
    return exact ? exact : oapiGetObjectByName(buf);
}

}  // namespace

int VesselPortCount(OBJHANDLE vessel) {
    if (!IsVessel(vessel)) return 0;
    VESSEL *v = oapiGetVesselInterface(vessel);
    return v ? static_cast<int>(v->DockCount()) : 0;
}

bool BurnValuesOpen(const MfdState *S) { return oapiGetSimMJD() <= S->burnMjd; }

bool SetRemoteVessel(MfdView *mfd, const char *name) {
    if (!mfd) return false;
    char buf[kInputLineMax];
    if (BlankLine(name)) {
        VESSEL *focus = oapiGetFocusInterface();
        if (!focus) return false;
        CopyBounded(buf, sizeof buf, focus->GetName());
    } else {
        CopyBounded(buf, sizeof buf, name);
    }
    OBJHANDLE h = ObjectByName(buf);
    // A vessel that finds every slot taken is refused here, leaving the MFD on the
    // vessel it shows (an attachment that fails for want of a slot would leave it
    // on none).
    return h && LookupVesselSlot(h) >= 0 && AttachViewToVessel(mfd, h);
}

bool SetReferenceBody(MfdState *S, const char *name, char *hostName, size_t hostNameSize) {
    if (!S) return false;
    char buf[kInputLineMax];
    CopyBounded(buf, sizeof buf, name);
    OBJHANDLE body = buf[0] ? oapiGetGbodyByName(buf) : nullptr;
    if (!body) return false;
    const int type = oapiGetObjectType(body);
    if (type != OBJTP_STAR && type != OBJTP_PLANET) return false;
    S->bodyRef = body;
    StoreHostName(body, S->bodyRefName, sizeof S->bodyRefName);
    if (hostName && hostNameSize) StoreHostName(body, hostName, hostNameSize);
    Restart(S);
    return true;
}

bool SetTarget(MfdState *S, const char *name) {
    if (!S) return false;
    OBJHANDLE obj = ObjectByName(name);
    if (!obj || obj == S->vesselHandle) return false;
    if (IsVessel(obj) && S->refMode == AP_VELOCITY) S->targetSet = true;
    S->targetRef = obj;
    StoreHostName(obj, S->targetRefName, sizeof S->targetRefName);
    S->targetPort = 0;
    if (S->refMode == AP_DOCKING && IsVessel(obj)) TuneNavRadio(S);
    Restart(S);
    return true;
}

bool SetLandingBase(MfdState *S, const char *text) {
    if (!S) return false;
    char buf[kInputLineMax];
    CopyBounded(buf, sizeof buf, text);
    int n = 0;
    OBJHANDLE obj = nullptr;
    if (ParseIndex(buf, '\0', &n) && n != 0) {
        obj = n > 0 ? LandingBaseByIndex(S, n) : nullptr;
    } else if (buf[0]) {
        obj = LandingTargetByName(S, buf);
    }
    return SetLandingTarget(S, obj);
}

bool SetCutoffAltitude(MfdState *S, double metres) {
    // Higher, the fall after the cut alone would end in a hard contact.
    if (!S || !Within(metres, CutoffAltitudeLimit(S))) return false;
    S->cutoffAlt = metres;
    Restart(S);
    return true;
}

bool SetRelativeAttitude(MfdState *S, int axis, double degrees) {
    if (!S || axis < 0 || axis > 2 || !Within(degrees, kMaxAttitudeOffset)) return false;
    S->showSetAttitude = true;
    S->relAtt.data[axis] = degrees * RAD;
    Restart(S);
    return true;
}

bool SetBurnDv(MfdState *S, int component, double mps) {
    if (!S || component < 0 || component > 2 || !Within(mps, kMaxBurnDv)) return false;
    if (!BurnValuesOpen(S)) return false;
    S->burnDv.data[component] = mps;
    Restart(S);
    return true;
}

bool SetBurnTime(MfdState *S, bool mjdForm, double value) {
    if (!S || !(mjdForm ? value >= 0.0 && value <= kMaxBurnMjd : Within(value, kMaxBurnLead))) return false;
    S->burnMjd = mjdForm ? value : oapiGetSimMJD() + value / 86400.0;
    Restart(S);
    return true;
}

bool SetAscentInclination(MfdState *S, double degrees) {
    if (!S || !Within(degrees, kMaxInclination)) return false;
    S->ascentAngle = degrees * RAD;
    Restart(S);
    return true;
}

namespace {

bool SetPort(MfdState *S, int n, bool own) {
    if (!S || !IsVessel(S->targetRef)) return false;
    const int count = VesselPortCount(own ? S->vesselHandle : S->targetRef);
    if (count <= 0) return false;
    if (n < 0) n = 0;
    if (n > count) n = count;
    (own ? S->ownPort : S->targetPort) = n;
    TuneNavRadio(S);
    Restart(S);
    return true;
}

}  // namespace

bool SetOwnPort(MfdState *S, int n) { return SetPort(S, n, true); }
bool SetTargetPort(MfdState *S, int n) { return SetPort(S, n, false); }

bool SetDockDistance(MfdState *S, const DistanceInput &in) {
    if (!S) return false;
    for (int k = 0; k < 3; ++k) {
        if (!in.select[k]) continue;
        // A typed value is bounded; the current position is taken as it is.
        const double v = in.fromCurrent[k] ? S->targetRelPos.data[k] : in.value[k];
        if (!std::isfinite(v) || (!in.fromCurrent[k] && !Within(v, kMaxDockDistance))) return false;
    }
    for (int k = 0; k < 3; ++k)
        if (in.select[k]) S->dockXyz.data[k] = in.fromCurrent[k] ? S->targetRelPos.data[k] : in.value[k];
    Restart(S);
    return true;
}

bool SetAlignVelocity(MfdState *S) {
    if (!S) return false;
    S->alignVelocityRequest = true;
    return true;
}

bool SetSwapPosition(MfdView *mfd, int n) {
    if (!mfd || n < 1 || n > kMaxPositions) return false;
    return SwapMfdPositions(mfd->summarySlot, n - 1, mfd->position);
}

bool SetProfileRates(ThrusterProfile *P, const RatesInput &in) {
    if (!P) return false;
    const double most = in.linear ? kMaxApproachSpeed : kMaxRateLimit;
    for (int k = 0; k < 3; ++k)
        if (!Within(in.value[k], most)) return false;
    double *limit = in.linear ? P->approachSpeed : P->rateLimit;
    const double unit = in.linear ? 1.0 : RAD;
    if (in.reset) {
        VECTOR3 d = VesselClassLimits(P->vessel, in.linear ? kClassApproachSpeeds : kClassRates);
        for (int k = 0; k < 3; ++k) limit[k] = d.data[k];
    } else if (in.direct) {
        for (int k = 0; k < 3; ++k) limit[k] = std::fabs(in.value[k]) * unit;
    } else {
        for (int k = 0; k < 3; ++k) {
            const double v = std::fabs(in.value[k]) * unit;
            if (in.select[k] && v < limit[k]) limit[k] = v;
        }
    }
    return true;
}

bool SetMaxRates(MfdView *mfd, const RatesInput &in) {
    if (!mfd) return false;
    VesselRecord *record = RecordForSlot(mfd->summarySlot);
    if (!record) return false;
    ThrusterProfile *P = nullptr;
    for (int p = 0; p < kMaxPositions && !P; ++p)
        if (record->states[p]) P = record->states[p]->profile;
    if (!P) return true;
    return SetProfileRates(P, in);
}
