// The landing dialogs flown on the Moon, where the terrain around Brighton Beach
// stands hundreds of metres off the mean radius. Shared by the two host
// generations: with terrain, the target's elevation follows it; without, the
// pads and manual locations lie on the mean radius.
#ifndef TESSARC_TESTS_MFD_DIALOGS_LANDING_H
#define TESSARC_TESTS_MFD_DIALOGS_LANDING_H

#include <cmath>
#include <string>

#include "mfd/keys_fixture.h"

namespace pilot {

class LandingDialogs : public Cockpit {
protected:
    const std::string baseTitle = "TessarcMFD: Target Base (Name or Index) or landed Vessel (Name)";
    const std::string locationTitle = "TessarcMFD: Target manual location in degrees (lon,lat)";
    const std::string elevationTitle = "TessarcMFD: Set elevation above target (in meters)";

    OBJHANDLE Moon() const { return oapiGetGbodyByName(const_cast<char *>("Moon")); }
    double Terrain(bool terrain) const {
        return terrain ? oapiSurfaceElevation(Moon(), S()->targetLon, S()->targetLat) : 0.0;
    }

    void FlyLanding(bool terrain) {
        Fly(kMoonTerrainScenario);
        Mode("5");
        ASSERT_EQ(S()->bodyRef, Moon());
        ASSERT_TRUE(Dialog("B", baseTitle, "Brighton Beach"));
        OBJHANDLE base = S()->targetRef;
        ASSERT_EQ(oapiGetObjectType(base), OBJTP_SURFBASE);
        EXPECT_STREQ(S()->targetRefName, "Brighton Beach");
        double lon = 0, lat = 0;
        oapiGetBaseEquPos(base, &lon, &lat);
        EXPECT_EQ(S()->targetLon, lon);
        EXPECT_NEAR(S()->elevation, Terrain(terrain), 1e-9);

        const std::string pads = "Target Pad (01 - 06), 0 to remove";
        ASSERT_TRUE(Dialog("P", pads, "P3"));
        EXPECT_EQ(S()->padIndex, 3);
        oapiGetBasePadEquPos(base, 2, &lon, &lat);
        EXPECT_EQ(S()->targetLon, lon);
        EXPECT_EQ(S()->targetLat, lat);
        // The terrain there is far from the mean radius: the generations differ.
        ASSERT_GT(std::fabs(oapiSurfaceElevation(Moon(), lon, lat)), 50.0);
        EXPECT_NEAR(S()->elevation, Terrain(terrain), 1e-9);
        ASSERT_TRUE(Dialog("P", pads, "9"));
        EXPECT_EQ(S()->padIndex, 6);
        EXPECT_FALSE(Dialog("P", pads, "pad"));
        EXPECT_EQ(S()->padIndex, 6);
        // 0 returns to the base itself.
        ASSERT_TRUE(Dialog("P", pads, "0"));
        EXPECT_EQ(S()->padIndex, 0);
        oapiGetBaseEquPos(base, &lon, &lat);
        EXPECT_EQ(S()->targetLat, lat);

        ASSERT_TRUE(Dialog("L", elevationTitle, "12 5"));
        EXPECT_NEAR(S()->elevation, Terrain(terrain) + 12.5, 1e-9);

        ASSERT_TRUE(Dialog("T", locationTitle, "W33.5 N41.2"));
        EXPECT_EQ(S()->padIndex, -1);
        EXPECT_EQ(S()->manualTarget, 1);
        EXPECT_NEAR(S()->targetLon, -33.5 * RAD, 1e-12);
        EXPECT_NEAR(S()->targetLat, 41.2 * RAD, 1e-12);
        EXPECT_NEAR(S()->elevation, Terrain(terrain), 1e-9);
        EXPECT_FALSE(Dialog("T", locationTitle, "10E"));
        EXPECT_NEAR(S()->targetLon, -33.5 * RAD, 1e-12);

        // By index, and a landed vessel, which is the same in both generations.
        ASSERT_TRUE(Dialog("B", baseTitle, "1"));
        EXPECT_EQ(S()->targetRef, base);
        EXPECT_EQ(S()->manualTarget, 0);
        ASSERT_TRUE(Dialog("B", baseTitle, "Base-1"));
        VESSEL *outpost = f.iface("Base-1");
        double r = 0;
        outpost->GetEquPos(lon, lat, r);
        EXPECT_NEAR(S()->elevation, r - (oapiGetSize(Moon()) + outpost->GetCOG_elev()), 1e-6);
        EXPECT_FALSE(Key("P"));  // no pads on a vessel
        EXPECT_FALSE(Dialog("B", baseTitle, "Nowhere"));
        EXPECT_FALSE(Dialog("B", baseTitle, "7"));
        EXPECT_EQ(S()->targetRef, f.handle("Base-1"));
    }
};

}  // namespace pilot

#endif  // TESSARC_TESTS_MFD_DIALOGS_LANDING_H
