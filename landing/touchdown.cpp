// Touchdown limits and the judgement of a first contact.
#include "landing/touchdown.h"

#include <cmath>

#include "frame/state.h"
#include "landing/planet.h"
#include "landing/step_values.h"

namespace {

const double kStandardGravity = 9.80665;  // m/s^2

// s of simulation time by which two landing steps may lie apart beyond one step's
// interval and still count as one after the other.
const double kStepSlack = 1e-6;

}  // namespace

double CutoffAltitudeLimit(const MfdState *S) {
    double g = kStandardGravity;
    OBJHANDLE body = S && S->vessel ? S->vessel->GetGravityRef() : nullptr;
    const double radius = body ? oapiGetSize(body) : 0.0;
    if (radius > 0.0) {
        const double surface = oapiGetMass(body) * kGravConst / (radius * radius);
        if (surface > 0.0 && std::isfinite(surface)) g = surface;
    }
    return kHardContactVertical * kHardContactVertical / (2.0 * g);
}

bool HardContact(MfdState *S, const LandingStepValues &V) {
    const double simt = oapiGetSimTime();
    const bool contact = S->vessel->GroundContact();
    const double sink = std::fmax(-V.vu, 0.0);
    // Only a landing step just before this one tells how the vessel came down.
    const bool followed = S->contactState != CONTACT_UNKNOWN && V.dt > 0.0 &&
                          simt - S->contactTime <= V.dt + kStepSlack;
    bool hard = false;
    if (contact && followed && S->contactState == CONTACT_AIRBORNE) {
        const double down = std::fmax(sink, S->contactSink);
        const double slide = std::fmax(V.gs, S->contactSlide);
        hard = down > kHardContactVertical || slide > kHardContactHorizontal;
    }
    S->contactState = contact ? CONTACT_GROUND : CONTACT_AIRBORNE;
    S->contactTime = simt;
    S->contactSink = sink;
    S->contactSlide = V.gs;
    return hard;
}
