// The Moon's place about the Earth from the principal terms of the lunar theory.
#include "ephemeris.h"

#include <cmath>

namespace sim {

namespace {

// Multiples of the mean elongation D, the Sun's anomaly M, the Moon's anomaly M'
// and its argument of latitude F; the longitude's coefficient (1e-6 deg) and the
// distance's (1e-3 km).
struct DistanceTerm {
    signed char d, m, mp, f;
    int lng, dist;
};
const DistanceTerm kLngDist[] = {
    {0, 0, 1, 0, 6288774, -20905355}, {2, 0, -1, 0, 1274027, -3699111}, {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925}, {0, 1, 0, 0, -185116, 48888}, {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158}, {2, -1, -1, 0, 57066, -152138}, {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586}, {0, 1, -1, 0, -40923, -129620}, {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755}, {2, 0, 0, -2, 15327, 10321}, {0, 0, 1, 2, -12528, 0}, {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782}, {0, 0, 3, 0, 10034, -23210}, {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208}, {2, 1, 0, 0, -6766, 30824}, {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675}, {2, -1, 1, 0, 4036, -12831}, {2, 0, 2, 0, 3994, -10445}, {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403}, {0, 1, -2, 0, -2689, -7003}, {2, 0, -1, 2, -2602, 0}, {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322}, {2, -2, 0, 0, 2236, -9884}, {0, 1, 2, 0, -2120, 5751}, {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950}, {2, 0, 1, -2, -1773, 4130}, {2, 0, 0, 2, -1595, 0}, {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0}, {3, 0, -1, 0, -892, 3258}, {2, 1, 1, 0, -810, 2616}, {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117}, {2, 2, -1, 0, -700, 2354}, {2, 1, -2, 0, 691, 0}, {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423}, {0, 0, 4, 0, 537, -1117}, {4, -1, 0, 0, 520, -1571}, {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0}, {0, 0, 2, -2, -381, -4421}, {1, 1, 1, 0, 351, 0}, {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0}, {2, -1, 2, 0, 327, 0}, {0, 2, 1, 0, -323, 1165}, {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0}, {2, 0, -1, -2, 0, 8752},
};

// The same multiples and the latitude's coefficient (1e-6 deg).
struct LatitudeTerm {
    signed char d, m, mp, f;
    int lat;
};
const LatitudeTerm kLat[] = {
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602}, {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237}, {2, 0, -1, 1, 55413},
    {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573}, {0, 0, 2, 1, 17198}, {2, 0, 1, -1, 9266}, {0, 0, 2, -1, 8822},
    {2, -1, 0, -1, 8216}, {2, 0, -2, -1, 4324}, {2, 0, 1, 1, 4200}, {2, 1, 0, -1, -3359}, {2, -1, -1, 1, 2463},
    {2, -1, 0, 1, 2211}, {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828}, {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749}, {0, 1, -1, 1, -1565}, {1, 0, 0, 1, -1491}, {0, 1, 1, 1, -1475}, {0, 1, 1, -1, -1410},
    {0, 1, 0, -1, -1344}, {1, 0, 0, -1, -1335}, {0, 0, 3, 1, 1107}, {4, 0, 0, -1, 1021}, {4, 0, -1, 1, 833},
};

const double kMjdJ2000 = 51544.5;
const double kDaysPerCentury = 36525.0;
const double kMeanDistanceKm = 385000.56;
const double kDeg = PI / 180.0;
const double kVelocityStepDays = 30.0 / 86400.0;  // half the span of the velocity's difference

// The factor of a term with m multiples of the Sun's anomaly: E^|m|.
inline double factor(int m, double E) { return m == 0 ? 1.0 : (m == 1 || m == -1) ? E : E * E; }

}  // namespace

VECTOR3 lunarPosition(double mjd) {
    const double T = (mjd - kMjdJ2000) / kDaysPerCentury, T2 = T * T;
    // Mean longitude, elongation, anomalies and argument of latitude (deg).
    const double Lp = 218.3164477 + 481267.88123421 * T - 0.0015786 * T2;
    const double D = (297.8501921 + 445267.1114034 * T - 0.0018819 * T2) * kDeg;
    const double M = (357.5291092 + 35999.0502909 * T - 0.0001536 * T2) * kDeg;
    const double Mp = (134.9633964 + 477198.8675055 * T + 0.0087414 * T2) * kDeg;
    const double F = (93.2720950 + 483202.0175233 * T - 0.0036539 * T2) * kDeg;
    const double A1 = (119.75 + 131.849 * T) * kDeg, A2 = (53.09 + 479264.290 * T) * kDeg;
    const double A3 = (313.45 + 481266.484 * T) * kDeg;
    const double E = 1.0 - 0.002516 * T - 0.0000074 * T2;  // the Earth's orbit's shrinking eccentricity
    double sl = 0, sr = 0, sb = 0;
    for (const DistanceTerm &t : kLngDist) {
        const double arg = t.d * D + t.m * M + t.mp * Mp + t.f * F, e = factor(t.m, E);
        sl += t.lng * e * std::sin(arg);
        sr += t.dist * e * std::cos(arg);
    }
    for (const LatitudeTerm &t : kLat) sb += t.lat * factor(t.m, E) * std::sin(t.d * D + t.m * M + t.mp * Mp + t.f * F);
    const double LpR = Lp * kDeg;
    sl += 3958 * std::sin(A1) + 1962 * std::sin(LpR - F) + 318 * std::sin(A2);
    sb += -2235 * std::sin(LpR) + 382 * std::sin(A3) + 175 * std::sin(A1 - F) + 175 * std::sin(A1 + F) +
          127 * std::sin(LpR - Mp) - 115 * std::sin(LpR + Mp);
    // From the equinox of date back to J2000: the general precession in longitude.
    const double precession = (5029.0966 * T + 1.11113 * T2) / 3600.0;
    const double lng = (Lp + sl * 1e-6 - precession) * kDeg, lat = sb * 1e-6 * kDeg;
    const double r = (kMeanDistanceKm + sr * 1e-3) * 1000.0;
    return _V(r * std::cos(lat) * std::cos(lng), r * std::sin(lat), r * std::cos(lat) * std::sin(lng));
}

void lunarState(double mjd, VECTOR3 &pos, VECTOR3 &vel) {
    pos = lunarPosition(mjd);
    const VECTOR3 a = lunarPosition(mjd - kVelocityStepDays), b = lunarPosition(mjd + kVelocityStepDays);
    vel = (b - a) / (2.0 * kVelocityStepDays * 86400.0);
}

}  // namespace sim
