// The efficient descent flown in the simulated host against the standard one,
// from the same lunar orbit to pad 1 of Brighton Beach: both soft in the box, the
// efficient one on clearly less propellant; a tank the standard descent refuses
// as too small flown down by the efficient one; and a pass more than half an
// orbit ahead, which the orbit trim once turned the wrong way. The propellant is read
// from the host's tank, not from the autopilot's own estimates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "frame/state.h"
#include "landing/autopilot.h"
#include "mfd/tessarc_mfd.h"
#include "support/flight.h"
#include "support/linked_plugin.h"

namespace {

struct Descent {
    bool landed = false;
    bool refusedForFuel = false;
    double miss = 0;        // m from pad 1
    double vs = 0, hs = 0;  // touchdown speeds, m/s
    double propellant = 0;  // kg taken from the hover engines' tank
    double dvIdeal = 0;     // m/s: the ground speed and the fall, taken out at the pad at once
    double dvUsed = 0;      // m/s, from the propellant by the rocket equation
};

// The bundled lunar orbit, or (later) the same orbit 160 degrees further back:
// its pass over the pad then lies more than half an orbit ahead.
const char *const kLaterPass =
    "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 60000.25\nEND_ENVIRONMENT\nBEGIN_FOCUS\n  Ship Eagle\n"
    "END_FOCUS\nBEGIN_SHIPS\nEagle:LunarLander\n  STATUS Orbiting Moon\n"
    "  ELEMENTS 1758.0 0.0 46.5 83.4912 83.4912 215.8775 EQU\n  AROT 0 0 0\nEND\nEND_SHIPS\n";

// Flies scenarios/lunar_landing.scn with the descent chosen and, when fuel is
// above 0, that much propellant (kg) in the tank.
Descent Fly(int32_t descent, double fuel, bool later = false) {
    Descent out;
    flight::Flight f;
    EXPECT_TRUE(later ? f.loadText(kLaterPass) : f.load("scenarios/lunar_landing.scn")) << f.error();
    flight::useLinkedPlugin(f);
    EXPECT_TRUE(f.open(0) && f.key(0, "5") && f.key(0, "B") && f.type(0, "Brighton Beach") && f.key(0, "P") &&
                f.type(0, "1"));
    MfdState *S = static_cast<TessarcMFD *>(f.mfd(0))->state;
    ::Vessel *eagle = f.vessel("Eagle");
    if (fuel > 0.0) eagle->tankMass[0] = fuel;
    f.run(1);
    S->landingDescent = descent;
    VESSEL *v = f.iface("Eagle");
    OBJHANDLE moon = oapiGetGbodyByName(const_cast<char *>("Moon"));
    VECTOR3 r;
    v->GetRelativePos(moon, r);
    const double mu = oapiGetMass(moon) * GGRAV, ground = v->GetGroundspeed();
    const double Rt = oapiGetSize(moon) + S->elevation;
    out.dvIdeal = std::sqrt(ground * ground + 2.0 * mu * (1.0 / Rt - 1.0 / std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z)));
    const double isp = v->GetThrusterIsp0(v->GetGroupThruster(THGROUP_HOVER, 0));
    const double m0 = eagle->mass(), fuel0 = eagle->tankMass[0];
    f.key(0, "H");
    f.setWarp(100);
    while (f.simt() < 12000.0 && S->landingPhase != LANDING_LANDED && (S->holdOn || S->landingPhase != LANDING_WAIT))
        f.run(S->landingPhase == LANDING_WAIT ? 20.0 : 1.0);
    out.refusedForFuel = !S->holdOn && (S->landingRefusal & kLandNoFuel) != 0;
    out.landed = eagle->landed && S->landingPhase == LANDING_LANDED;
    OBJHANDLE base = oapiGetBaseByName(moon, const_cast<char *>("Brighton Beach"));
    double plon = 0, plat = 0, lon = 0, lat = 0, rad = 0;
    oapiGetBasePadEquPos(base, 0, &plon, &plat);
    v->GetEquPos(lon, lat, rad);
    out.miss = oapiOrthodome(lon, lat, plon, plat) * oapiGetSize(moon);
    out.vs = eagle->touchdownVs;
    out.hs = eagle->touchdownHs;
    out.propellant = fuel0 - eagle->tankMass[0];
    out.dvUsed = isp * std::log(m0 / (m0 - out.propellant));
    return out;
}

void Print(const char *name, const Descent &d) {
    std::printf("[ figures  ] lunar landing, %s: %s %.2f m from pad 1, %.2f m/s down %.2f m/s across; "
                "propellant %.0f kg, delta-v %.0f m/s against the ideal %.0f (%.3f)\n",
                name, d.landed ? "landed" : (d.refusedForFuel ? "refused for fuel" : "NOT landed"), d.miss, -d.vs,
                d.hs, d.propellant, d.dvUsed, d.dvIdeal, d.dvUsed / d.dvIdeal);
}

void ExpectSoftInTheBox(const Descent &d) {
    EXPECT_TRUE(d.landed);
    EXPECT_LT(d.miss, 5.0);  // the default precision box
    EXPECT_GT(d.vs, -1.0);
    EXPECT_LT(d.hs, 0.5);
}

TEST(EfficientDescent, LandsSoftInTheBoxOnClearlyLessPropellant) {
    const Descent standard = Fly(DESCENT_SPECIFIED, 0.0);
    const Descent efficient = Fly(DESCENT_EFFICIENT, 0.0);
    Print("standard descent", standard);
    Print("efficient descent", efficient);
    ExpectSoftInTheBox(standard);
    ExpectSoftInTheBox(efficient);
    EXPECT_LT(efficient.propellant, 0.9 * standard.propellant);
    EXPECT_LT(efficient.dvUsed, 1.15 * efficient.dvIdeal);
}

// 4.3 t: short of what the standard descent asks with its reserve (it burns
// about 4.6 t), more than the efficient one burns with its own.
TEST(EfficientDescent, FliesDownATankTheStandardDescentRefuses) {
    const double fuel = 4300.0;
    const Descent standard = Fly(DESCENT_SPECIFIED, fuel);
    const Descent efficient = Fly(DESCENT_EFFICIENT, fuel);
    Print("standard descent, 4.3 t", standard);
    Print("efficient descent, 4.3 t", efficient);
    EXPECT_TRUE(standard.refusedForFuel);
    EXPECT_FALSE(efficient.refusedForFuel);
    ExpectSoftInTheBox(efficient);
    EXPECT_LT(efficient.propellant, fuel);
}

TEST(EfficientDescent, TrimsAPassMoreThanHalfAnOrbitAheadTheRightWay) {
    const Descent later = Fly(DESCENT_EFFICIENT, 0.0, true);
    Print("efficient descent, pass 0.7 orbit ahead", later);
    ExpectSoftInTheBox(later);
    EXPECT_LT(later.dvUsed, 1.2 * later.dvIdeal);
}

}  // namespace
