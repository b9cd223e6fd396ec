// The stock vessel classes (DeltaGlider, ShuttlePB, ProjectAlpha_ISS) as a
// vessel of each reports itself through the host's interface, against what the
// real host's vessels reported (tests/data/realhost/vessels.json).
#include <cmath>

#include "sim_fixture.h"
#include "support/json.h"

namespace {

using support::Json;

VECTOR3 Vec(const Json &a) { return _V(a[0].number, a[1].number, a[2].number); }

// Places typed to the millimetre; directions, masses, thrusts and Isp as the host
// gave them (the hover engines' 36263.736... N to a thousandth of a newton).
const double kPlace = 1e-3, kDir = 1e-9, kForce = 1e-3, kMass = 1e-9;  // m, -, N, kg
const double kSeaLevel = 101400.0;  // Pa, the pressure the host's sea-level figures are for

int IndexOf(const VESSEL &v, THRUSTER_HANDLE th) {
    for (DWORD i = 0; i < v.GetThrusterCount(); i++)
        if (v.GetThrusterHandleByIndex(i) == th) return (int)i;
    return -1;
}

void ExpectThrusters(const VESSEL &v, const Json &f, const std::string &cls) {
    ASSERT_EQ(v.GetThrusterCount(), (DWORD)f["thruster_count"].number) << cls;
    for (const Json &t : f["thrusters"].items) {
        const int i = (int)t["index"].number;
        const std::string at = cls + " thruster " + std::to_string(i);
        THRUSTER_HANDLE th = v.GetThrusterHandleByIndex(i);
        VECTOR3 pos, dir;
        v.GetThrusterRef(th, pos);
        v.GetThrusterDir(th, dir);
        EXPECT_LT(dist(pos, Vec(t["pos"])), kPlace) << at;
        EXPECT_LT(dist(dir, Vec(t["dir"])), kDir) << at;
        EXPECT_NEAR(v.GetThrusterMax0(th), t["max0_N"].number, kForce) << at;
        EXPECT_NEAR(v.GetThrusterIsp0(th), t["isp0_mps"].number, kForce) << at;
        EXPECT_NEAR(v.GetThrusterMax(th, kSeaLevel), t["max_N_at_101400Pa"].number, kForce) << at;
        EXPECT_NEAR(v.GetThrusterIsp(th, kSeaLevel), t["isp_mps_at_101400Pa"].number, kForce) << at;
        // The host leaves the glider's retro engines without a tank while their
        // doors are shut; here they draw on the main tank, as with the doors open.
        const int tank = t["tank"].number < 0 ? 0 : (int)t["tank"].number;
        EXPECT_EQ(v.GetThrusterResource(th), v.GetPropellantHandleByIndex(tank)) << at;
    }
    for (const auto &g : f["groups"].members) {
        static const char *const kGroups[] = {"MAIN", "RETRO", "HOVER", "ATT_PITCHUP", "ATT_PITCHDOWN",
                                              "ATT_YAWLEFT", "ATT_YAWRIGHT", "ATT_BANKLEFT", "ATT_BANKRIGHT",
                                              "ATT_RIGHT", "ATT_LEFT", "ATT_UP", "ATT_DOWN", "ATT_FORWARD", "ATT_BACK"};
        int type = -1;
        for (int k = 0; k < 15; k++)
            if (g.first == kGroups[k]) type = k;
        ASSERT_GE(type, 0) << g.first;
        const THGROUP_TYPE gt = (THGROUP_TYPE)type;
        ASSERT_EQ(v.GetGroupThrusterCount(gt), (DWORD)g.second.size()) << cls << " " << g.first;
        for (size_t k = 0; k < g.second.size(); k++)
            EXPECT_EQ(IndexOf(v, v.GetGroupThruster(gt, (DWORD)k)), (int)g.second[k].number) << cls << " " << g.first;
    }
}

void ExpectPortsAndTouchdown(const Vessel &ves, const Json &f, const std::string &cls) {
    const VESSEL &v = *ves.iface;
    ASSERT_EQ(v.DockCount(), (UINT)f["dock_count"].number) << cls;
    for (const Json &d : f["docks"].items) {
        VECTOR3 pos, dir, rot;
        v.GetDockParams(v.GetDockHandle((UINT)d["index"].number), pos, dir, rot);
        const std::string at = cls + " port " + std::to_string((int)d["index"].number);
        EXPECT_LT(dist(pos, Vec(d["pos"])), kPlace) << at;
        EXPECT_LT(dist(dir, Vec(d["dir"])), kDir) << at;
        EXPECT_LT(dist(rot, Vec(d["rot"])), kDir) << at;
    }
    // The glider's first three points are its gear: measured raised, here lowered,
    // as it lands (this host has no gear to raise). The hull points follow.
    const bool gear = cls == "DeltaGlider";
    const auto &td = ves.cls->touchdown;
    ASSERT_EQ(td.size(), f["touchdown"].size()) << cls;
    for (size_t k = gear ? 3 : 0; k < td.size(); k++)
        EXPECT_LT(dist(td[k], Vec(f["touchdown"][k]["pos"])), kPlace) << cls << " touchdown " << k;
    if (!gear) {
        EXPECT_NEAR(v.GetCOG_elev(), f["cog_elev"].number, kPlace) << cls;
    }
}

TEST(RealHost, StockClassesAreTheHostsWithTheirMassesEnginesPortsAndTouchdownPoints) {
    Json facts;
    std::string err;
    ASSERT_TRUE(support::ReadJsonFile(support::RealHostDataDir() + "/vessels.json", facts, err)) << err;
    simtest::WorldGuard w;
    simtest::loadClasses(*w);
    ASSERT_EQ(facts["vessels"].size(), 3u);
    for (const Json &f : facts["vessels"].items) {
        const std::string cls = f["class"].text;
        Vessel *ves = sim::addVessel(*w, f["name"].text, w->findClass(cls));
        ASSERT_NE(ves, nullptr) << cls;
        const VESSEL &v = *ves->iface;
        EXPECT_NEAR(v.GetEmptyMass(), f["empty_mass"].number, kMass) << cls;
        EXPECT_NEAR(v.GetMass(), f["mass"].number, kMass) << cls;  // tanks full
        EXPECT_NEAR(v.GetMaxFuelMass(), f["max_fuel_mass"].number, kMass) << cls;
        EXPECT_EQ(v.GetSize(), f["size"].number) << cls;
        VECTOR3 pmi;
        v.GetPMI(pmi);
        EXPECT_LT(dist(pmi, Vec(f["pmi"])), 1e-9) << cls;
        ASSERT_EQ(v.GetPropellantCount(), (DWORD)f["propellant_count"].number) << cls;
        for (const Json &t : f["tanks"].items)
            EXPECT_NEAR(v.GetPropellantMaxMass(v.GetPropellantHandleByIndex((DWORD)t["index"].number)),
                        t["max_mass"].number, kMass)
                << cls;
        ExpectThrusters(v, f, cls);
        ExpectPortsAndTouchdown(*ves, f, cls);
    }
}

}  // namespace
