// A landing on Mars from a 150 km orbit through the thin air, flown twice: with
// the aerodynamic relief, and with it switched off through the test hook. The
// figures of both, and what the relief is worth: with it the descent keeps to
// its plan while the air carries part of the braking; without it the tracking
// loop has to find the air's pull as an error first.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "control/math.h"
#include "frame/state.h"
#include "landing/autopilot.h"
#include "landing/guidance.h"
#include "landing/planning.h"
#include "landing/trajectory.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

struct MarsLanding {
    bool landed = false;
    double miss = 0;          // m from pad 1
    double vs = 0, hs = 0;    // touchdown vertical and horizontal speeds, m/s
    double propellant = 0;    // kg of the hover engines' tank
    double dvUsed = 0;        // m/s, from the propellant by the rocket equation
    double dvIdeal = 0;       // m/s
    double peakShare = 0;     // largest share of the command the air carried
    double peakShareAt = 0;   // m, height above the pad then
    double worstHeight = 0;   // m, largest height off the planned descent
};

// Restores the relief whatever the flight does.
struct ReliefSwitch {
    explicit ReliefSwitch(bool on) { landingAeroRelief = on; }
    ~ReliefSwitch() { landingAeroRelief = true; }
};

// The ideal: the speed relative to the ground at the start together with the
// height fallen, both taken out at the pad in one impulse.
double IdealDv(VESSEL *v, OBJHANDLE mars, double Rt) {
    VECTOR3 r;
    v->GetRelativePos(mars, r);
    const double mu = oapiGetMass(mars) * GGRAV, ground = v->GetAirspeed();
    return std::sqrt(ground * ground + 2.0 * mu * (1.0 / Rt - 1.0 / length(r)));
}

MarsLanding Fly(bool relief, int descent = DESCENT_SPECIFIED) {
    ReliefSwitch hook(relief);
    MarsLanding out;
    flight::Flight f;
    EXPECT_TRUE(f.load("scenarios/mars_landing.scn")) << f.error();
    flight::useLinkedPlugin(f);
    EXPECT_TRUE(f.open(0) && f.key(0, "5") && f.key(0, "B") && f.type(0, "Jezero") && f.key(0, "P") && f.type(0, "1"));
    MfdState *S = static_cast<TessarcMFD *>(f.mfd(0))->state;
    S->landingDescent = descent;
    f.run(1);
    ::Vessel *ares = f.vessel("Ares");
    VESSEL *v = f.iface("Ares");
    OBJHANDLE mars = oapiGetGbodyByName(const_cast<char *>("Mars"));
    const double Rt = oapiGetSize(mars) + S->elevation;
    out.dvIdeal = IdealDv(v, mars, Rt);
    const double isp = v->GetThrusterIsp0(v->GetGroupThruster(THGROUP_HOVER, 0));
    const double m0 = ares->mass(), fuel0 = ares->tankMass[0];
    f.key(0, "H");
    f.setWarp(100);
    while (f.simt() < 6000.0 && S->landingPhase != LANDING_LANDED) {
        f.run(S->landingPhase == LANDING_WAIT ? 20.0 : 1.0);
        const int phase = S->landingPhase;
        if (phase != LANDING_BRAKE && phase != LANDING_APPROACH) continue;
        // The air's share of the command, both in the landing frame (refAtt).
        VECTOR3 drag, lift;
        v->GetDragVector(drag);
        v->GetLiftVector(lift);
        MATRIX3 R;
        v->GetRotationMatrix(R);
        const VECTOR3 air = MatTVec(EulerToMatrix(S->refAtt), MatVec(R, drag + lift)) / ares->mass();
        const double *W = S->landingWork;
        const VECTOR3 command = _V(W[18], W[17], W[16]) + (relief ? air : _V(0, 0, 0));
        if (length(air) > out.peakShare * length(command)) {
            out.peakShare = length(air) / length(command);
            out.peakShareAt = W[2];
        }
        // Off the plan: from 30 s into each trajectory, past the start's transient.
        const double te = (oapiGetSimMJD() - S->brakeStartMjd) * 86400.0;
        double z[3];
        HeightReference(S, te, z);
        if (te > 30.0) out.worstHeight = std::fmax(out.worstHeight, std::fabs(W[2] - z[0]));
    }
    out.landed = ares->landed && S->landingPhase == LANDING_LANDED;
    OBJHANDLE base = oapiGetBaseByName(mars, const_cast<char *>("Jezero"));
    double plon = 0, plat = 0, lon = 0, lat = 0, rad = 0;
    oapiGetBasePadEquPos(base, 0, &plon, &plat);
    v->GetEquPos(lon, lat, rad);
    out.miss = oapiOrthodome(lon, lat, plon, plat) * oapiGetSize(mars);
    out.vs = ares->touchdownVs;
    out.hs = ares->touchdownHs;
    out.propellant = fuel0 - ares->tankMass[0];
    out.dvUsed = isp * std::log(m0 / (m0 - out.propellant));
    return out;
}

void Print(const char *name, const MarsLanding &m) {
    std::printf("[ figures  ] Mars, %s: %s %.2f m from pad 1, touchdown %.2f m/s down %.2f m/s across; "
                "propellant %.0f kg, delta-v %.0f m/s against the ideal %.0f (%.2f); the air carried %.0f%% of "
                "the command at its peak (%.1f km up); %.0f m at most off the planned height\n",
                name, m.landed ? "landed" : "NOT landed", m.miss, -m.vs, m.hs, m.propellant, m.dvUsed, m.dvIdeal,
                m.dvUsed / m.dvIdeal, 100.0 * m.peakShare, m.peakShareAt / 1000.0, m.worstHeight);
}

TEST(MarsLanding, TheReliefKeepsTheDescentOnItsPlanThroughTheAir) {
    const MarsLanding on = Fly(true);
    const MarsLanding off = Fly(false);
    Print("with the relief", on);
    Print("relief off", off);
    EXPECT_TRUE(on.landed);
    EXPECT_LT(on.miss, 10.0);
    // Soft under Mars's gravity too: a cut at the pilot's 0.2 m alone would fall to 1.22 m/s.
    EXPECT_GT(on.vs, -1.0);
    EXPECT_LT(on.hs, 0.5);
    EXPECT_GT(on.peakShare, 0.1);  // the air really carries part of the braking
    EXPECT_LT(on.dvUsed, 1.6 * on.dvIdeal);
    // Without the relief the lander strays more than twice as far from its plan.
    EXPECT_GT(off.worstHeight, 2.0 * on.worstHeight);
}

}  // namespace

// The efficient descent through the air flies the standard braking's plan but
// coasts out its tail above the air and ends it at the efficient approach's
// gate; it lands as near, on clearly less, and touches down clear of 1 m/s
// (arriving at the Moon's touchdown sink, the fall from the host's contact
// height under Mars's gravity ended at 1.00 m/s).
TEST(MarsLanding, TheEfficientDescentCoastsOutTheBrakingsTailOnClearlyLessPropellant) {
    const MarsLanding standard = Fly(true), efficient = Fly(true, DESCENT_EFFICIENT);
    Print("efficient descent", efficient);
    EXPECT_TRUE(standard.landed);
    EXPECT_TRUE(efficient.landed);
    EXPECT_LT(efficient.miss, 5.0);
    EXPECT_GT(efficient.vs, -0.95);
    EXPECT_LT(efficient.hs, 0.5);
    EXPECT_LT(efficient.propellant, standard.propellant - 500.0);
}
