// The landing campaign's dispersed starts: where a lander begins, how its pilot
// flies it, and what the landing came to.
#ifndef TESSARC_CAMPAIGN_DISPERSION_H
#define TESSARC_CAMPAIGN_DISPERSION_H

#include <string>
#include <vector>

namespace campaign {

// A lander class the campaign flies, as data: the class file's name, where it
// lands, the tank its landing engines draw from and the orbits it starts in.
struct LanderClass {
    std::string name;   // vessel class (config/Vessels/<name>.cfg)
    std::string body;   // body it lands on
    std::string base;   // surface base whose pads are the targets
    int tank;           // index of the landing engines' tank
    double periapsisMin, periapsisMax;  // m above the mean radius: clear of any air
};

// The bundled lander classes, each at its own body.
const std::vector<LanderClass> &landerClasses();

// Where a landing starts: from an orbit, or taken over near the pad where a pilot
// flies (the takeover starts).
enum StartKind {
    START_ORBIT = 0,        // an orbit whose track passes the pad
    START_HOVER = 1,        // hovering on the pilot's throttle near the pad
    START_LOW_SLOW = 2,     // low and slow uprange, sinking
    START_ARC = 3,          // a short arc towards the pad, too slow to reach it before the ground
    START_HOP = 4,          // standing on the ground within a hop of the pad
    START_STOP_RESUME = 5,  // hovering near the pad; the pilot stops the descent late and resumes it
    START_KINDS = 6
};

// The start's kind as the results table and the summary name it.
const char *StartKindName(int kind);

// One dispersed start.
struct Start {
    int index;            // number of the landing in the campaign
    int lander;           // index into landerClasses()
    int kind;             // StartKind
    // takeover starts: where the lander is, seen from the pad, and how it moves
    double bearing;       // rad from north, from the pad to the lander
    double dist;          // m over the ground from the pad
    double height;        // m above the ground; 0: landed
    double toward;        // m/s over the ground towards the pad
    double climb;         // m/s upwards
    double stopAfter;     // s the pilot's stop lasts before the resume (START_STOP_RESUME)
    int pad;              // target pad, 1..4
    double periapsisAlt;  // m above the mean radius
    double ecc;           // orbit eccentricity
    double anomalyAtPass; // rad, true anomaly where the orbit passes the target
    double heading;       // rad from north, ground track over the target
    double timeToPass;    // s from the pilot's HOLD to the pass over the target
    double crossRange;    // m, miss of the pass to the side of the target
    double crossLimit;    // m, estimated half stopping distance at the pass
    double fuel;          // fraction of the tank, 0..1
    double warp;          // time acceleration the pilot asks for at HOLD
    double fps;           // host frames per second
};

// The index-th start of the campaign with the given seed (the same numbers each time).
Start DrawStart(unsigned seed, int index, int classCount);
// The index-th takeover start: the kinds and lander classes in turn, so each
// class flies each kind.
Start DrawTakeoverStart(unsigned seed, int index, int classCount);

// How a landing ended.
enum Outcome {
    OUT_LANDED = 0,   // on the ground, not a hard contact
    OUT_HARD = 1,     // first contact above 3 m/s vertical or 2 m/s horizontal
    OUT_REFUSED = 2,  // the autopilot let go before the descent, vessel safe in orbit
    OUT_LOST = 3,     // none of these by the end of the time allowed, or engines lit after letting go
    OUT_ABORTED = 4   // the flight program itself failed
};

struct Result {
    Start start;
    Outcome outcome;
    std::string reason;     // refusal or loss: the Landing page's status line, or what was seen
    double missAlong;       // m, touchdown point from the pad along the final approach
    double missCross;       // m, across it
    double vs, hs;          // m/s at first contact (vs negative descending)
    double dvUsed, dvIdeal; // m/s
    double fuelUsed;        // kg of the landing engines
    double flightTime;      // s of simulation time from HOLD to contact or end
    double boxAlong, boxCross;  // m, the precision box the landing aimed for
    double fuelOnBoard;     // kg in the landing engines' tank at HOLD (the start's share of the tank)
    double fuelPredicted;   // kg the plan said the descent needs, as the brake started (0: never braked)
    double fuelAtHold;      // kg the plan said the descent needs at HOLD's first plan, trims included (0: none)
    double fuelFromBrake;   // kg of the landing engines used from the brake's start (where fuelPredicted was read)
    double passMiss;        // m, the pass's miss of the target as the brake started
    double passStop;        // m, the stopping distance at the pass then
    double brakeDecel;      // m/s^2, the braking's planned deceleration then
};

// Success: landed softly (at most 1 m/s down) inside the precision box.
bool Succeeded(const Result &r);

// One line of the results table, and back.
std::string ResultLine(const Result &r);
bool ParseResultLine(const std::string &line, Result *r);
std::string ResultHeader();

}  // namespace campaign

#endif  // TESSARC_CAMPAIGN_DISPERSION_H
