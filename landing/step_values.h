// What one landing step measures and hands between the autopilot, the planning
// and the guidance. Lives on the stack of LandingStep.
#ifndef TESSARC_LANDING_STEP_VALUES_H
#define TESSARC_LANDING_STEP_VALUES_H

#include "Orbitersdk.h"

struct LandingStepValues {
    double dt;             // s since the previous step
    double now;            // MJD
    // engine group and vessel
    int group;             // THGROUP_TYPE: 0 main, 2 hover
    double mass, thrust, amax, isp;
    // body
    OBJHANDLE body;
    double Rt, mu, gT, geff;
    VECTOR3 r, v;          // planet-centred, global axes
    ELEMENTS el;
    ORBITPARAM prm;
    // surface position and the approach plane
    double lon, lat;       // rad
    double dlon;           // lon - target longitude
    double dist;           // ground distance to the target, m
    double bearing;        // rad from north, [0, 2 pi)
    VECTOR3 P2, n, w;      // target point, plane normal, down-range direction
    // surface motion
    double ve, vn, vu, gs, course;
    double xe, xn;         // vessel east and north of the target, m
    // the six measurements
    double along, closing, height, vspeed, cross, crossRate;
    // m, the target's offset from the line of the present course; it fades out
    // below kCourseSpeed, where a course means nothing (a hover has none)
    double courseOffset;
    // m, the vessel's offset from the approach line (through the target along
    // approachHeading), and m/s, its rate
    double lineOffset, lineRate;
    // m, the touchdown points' height over the ground below as the host reports it
    double hostHeight;
    bool onGround;         // landed, or touching the ground
    // final law -> touchdown
    double ev;
    bool trimming;         // the efficient descent trims its orbit this step
};

struct MfdState;

// The six measurements into landingWork (LW_ALONG to LW_CROSS_RATE), where the
// Landing page and the next step read them.
void Publish(MfdState *S, const LandingStepValues &V);

#endif  // TESSARC_LANDING_STEP_VALUES_H
