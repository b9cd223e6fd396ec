// What a run leaves behind: the JSON report of the final state and the telemetry
// table of every vessel's state over time.
#ifndef TESSARC_APP_REPORT_H
#define TESSARC_APP_REPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "sim/host.h"

namespace app {

// A vessel's state as the host API reports it.
struct VesselSample {
    std::string name, className, body;
    bool landed = false;
    double lon = 0, lat = 0, alt = 0;  // deg, deg, m above mean radius
    VECTOR3 rpos{}, rvel{};            // relative to the gravity body, m and m/s
    VECTOR3 arot{};                    // global orientation, deg
    VECTOR3 avel{};                    // angular velocity, deg/s
    double mass = 0, propellant = 0;   // kg
    std::vector<std::pair<int, std::string>> docked;  // own port, other vessel
    bool touchedDown = false;
    double touchdownVs = 0, touchdownHs = 0;  // m/s at the last touchdown
};

VesselSample sampleVessel(::Vessel *v);

// JSON string literal of a text (quotes included). Bytes above 127 are taken as
// Latin-1 characters (the displays' degree sign is 0xB0).
std::string jsonString(const std::string &s);

struct RunInfo {
    std::string scenario, module, moduleDate;
    bool moduleLibraryInitialised = false;  // its load glue called InitLib with its handle
    int hostGeneration = 2016;
    std::vector<std::string> warnings;
};

std::string reportJson(sim::Host &h, const RunInfo &info);
bool writeReport(sim::Host &h, const RunInfo &info, const std::string &path, std::string &err);

// Telemetry: a header, then one row per live vessel for each sample.
class Telemetry {
public:
    bool open(const std::string &path, std::string &err);
    void sample(sim::World &w);  // rows for every vessel now
    void close();
    ~Telemetry() { close(); }

private:
    FILE *f = nullptr;
};

}  // namespace app

#endif  // TESSARC_APP_REPORT_H
