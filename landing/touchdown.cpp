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
    const bool landed = (S->vessel->GetFlightStatus() & 1) != 0;
    const double sink = std::fmax(-V.vu, 0.0);
    // Only a landing step just before this one tells how the vessel came down.
    const bool followed = S->contactState != CONTACT_UNKNOWN && V.dt > 0.0 &&
                          simt - S->contactTime <= V.dt + kStepSlack;
    bool hard = false;
    int32_t next = contact ? CONTACT_GROUND : CONTACT_AIRBORNE;
    if (contact && followed && S->contactState == CONTACT_AIRBORNE) {
        const bool fast = std::fmax(sink, S->contactSink) > kHardContactVertical ||
                          std::fmax(V.gs, S->contactSlide) > kHardContactHorizontal;
        // Legs that brush a crest in passing are no touchdown: the vessel must
        // come to rest on the ground or still be on it at the next step.
        hard = fast && landed;
        if (fast && !landed) next = CONTACT_HARD_PENDING;
    } else if (contact && followed && S->contactState == CONTACT_HARD_PENDING) {
        hard = true;
    }
    S->contactState = next;
    S->contactTime = simt;
    if (next != CONTACT_HARD_PENDING) {  // the speeds from before the contact are kept
        S->contactSink = sink;
        S->contactSlide = V.gs;
    }
    return hard;
}
