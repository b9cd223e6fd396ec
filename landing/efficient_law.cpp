// The efficient descent's law and its cost, the braking run it is planned on,
// and the gates its braking and approach end at.
#include <cmath>

#include "control/math.h"
#include "frame/state.h"
#include "landing/efficient.h"
#include "landing/step_values.h"

namespace {

// Steps of the braking run (in speed).
const int kRunSteps = 40;
// The run stops where the engine group can no longer brake along the track:
// below this share of its thrust is left once the weight is carried.
const double kLeastBrakeShare = 0.05;
// The orbit trim brings a high pass down to where the law starts diving at no
// more than this share of the engine group's acceleration.
const double kDiveTarget = 0.3;

// Samples of a law's cost; its thrust is a quadratic, so few are enough.
const int kCostSamples = 48;

double Sq(double x) { return x * x; }

// A braking along the track on kPlanThrustShare of the thrust, the weight
// carried (less the centrifugal relief) and the rest braking, from closing speed
// v0 down to v1, the mass falling as it burns.
Run BrakingRun(double v0, double v1, double mass, double thrust, double isp, const LawBody &b) {
    Run r{0.0, 0.0, mass};
    if (!(v0 > v1) || !(mass > 0.0) || !(thrust > 0.0)) return r;
    const double step = (v0 - v1) / kRunSteps, F = kPlanThrustShare * thrust;
    for (int i = 0; i < kRunSteps; ++i) {
        const double v = v0 - (i + 0.5) * step;
        const double A = F / r.mass, ge = b.g - Sq(v + b.spin) / b.radius;
        const double brake = std::sqrt(std::fmax(A * A - ge * ge, Sq(kLeastBrakeShare * A))) + b.drag * v * v;
        const double dt = step / brake;
        r.distance += v * dt;
        r.duration += dt;
        if (isp > 0.0) r.mass = std::fmax(r.mass - F / isp * dt, 0.05 * mass);
    }
    return r;
}

// m/s^2 the approach starts decelerating at: the thrust share of the engine group
// at that mass, less what carries the weight and bends the path down its glide.
double ApproachDecel(double mass, double thrust, double g) {
    const double A = kApproachThrustShare * thrust / mass, t = kApproachGlide;
    const double disc = g * g * t * t - (1.0 + t * t) * (g * g - A * A);
    if (!(A > g) || !(disc >= 0.0)) return 0.0;
    return (-g * t + std::sqrt(disc)) / (1.0 + t * t);
}

// The approach gate for an approach decelerating from a to rest over
// kApproachTime, evenly less, coming down its glide.
PlaneEnd ApproachGate(double a, double g) {
    const double t = kApproachTime, sink = -LowGate(g).vz;
    const double v = a * t / 2.0, dist = a * t * t / 6.0;
    return PlaneEnd{-dist, kLowGateHeight + sink * t + kApproachGlide * dist, v, -(sink + kApproachGlide * v), -a,
                    kApproachGlide * a};
}



}  // namespace

double ForwardSpeed(const MfdState *S, const LandingStepValues &V) {
    return V.ve * std::sin(S->approachHeading) + V.vn * std::cos(S->approachHeading);
}

LawBody BodyAt(const LandingStepValues &V, const VECTOR3 &pos, const VECTOR3 &vel, double closing) {
    const double r = length(pos), inertial = r > 0.0 ? length(CrossProduct(pos, vel)) / r : 0.0;
    return LawBody{V.gT, r > 0.0 ? r : V.Rt, inertial - closing, 0.0};
}

bool EfficientDescent(const MfdState *S) {
    return S->landingDescent == DESCENT_EFFICIENT;
}

ThrustLaw DescentLaw(const PlaneState &s, const PlaneEnd &e, double T, const LawBody &b) {
    ThrustLaw L{};
    if (!(T > 0.0) || !std::isfinite(T)) return L;
    // Gravity less the centrifugal relief, over an inertial speed falling evenly
    // from now to the end: its integral (velocity) and its double integral
    // weighted by the time left (position), for a downward pull.
    const double v = s.v + b.spin, d = e.v - s.v, R = b.radius > 0.0 ? b.radius : 1.0;
    const double mean = v * v + v * d + d * d / 3.0;
    const double weighted = v * v / 2.0 + v * d / 3.0 + d * d / 12.0;
    const double gv = -T * (b.g - mean / R);
    const double gr = -T * T * (b.g / 2.0 - weighted / R);
    const double gEnd = b.g - Sq(v + d) / R;

    // The air's braking along, the drag per speed squared held: its integral and
    // double integral over the same evenly falling closing speed.
    const double c = s.v;
    const double av = -b.drag * T * (c * c + c * d + d * d / 3.0);
    const double ar = -b.drag * T * T * (c * c / 2.0 + c * d / 3.0 + d * d / 12.0);

    const double zev[2] = {e.v - s.v - av, e.vz - s.vz - gv};
    const double zem[2] = {e.x - s.x - s.v * T - ar, e.h - s.h - s.vz * T - gr};
    const double uT[2] = {e.ax + b.drag * e.v * e.v, e.az + gEnd};
    for (int i = 0; i < 2; ++i) {
        L.u0[i] = uT[i] + 12.0 * zem[i] / (T * T) - 6.0 * zev[i] / T;
        L.u2[i] = (3.0 * (uT[i] + L.u0[i]) * T - 6.0 * zev[i]) / (T * T * T);
        L.u1[i] = (uT[i] - L.u0[i]) / T - L.u2[i] * T;
    }
    // Across the end acceleration is free: the thrust falls linearly.
    const double zevC = -s.vy, zemC = -(s.y + s.vy * T);
    L.u0[2] = 6.0 * zemC / (T * T) - 2.0 * zevC / T;
    L.u1[2] = 2.0 * (zevC - L.u0[2] * T) / (T * T);
    L.u2[2] = 0.0;
    return L;
}

LawCost CostOfLaw(const ThrustLaw &L, const PlaneState &s, const PlaneEnd &e, double T, const LawBody &b,
                  double mass, double thrust, double isp) {
    LawCost c{0.0, 0.0, s.h};
    if (!(T > 0.0) || !std::isfinite(T) || !(mass > 0.0) || !(thrust > 0.0)) return c;
    const double dt = T / kCostSamples, v = s.v + b.spin, d = e.v - s.v, R = b.radius > 0.0 ? b.radius : 1.0;
    double h = s.h, vz = s.vz, m = mass;
    for (int i = 0; i < kCostSamples; ++i) {
        const double t = (i + 0.5) * dt;
        const double ge = b.g - Sq(v + d * t / T) / R;
        double uk[3];
        for (int k = 0; k < 3; ++k) uk[k] = L.u0[k] + L.u1[k] * t + L.u2[k] * t * t;
        const double u2 = Sq(uk[0]) + Sq(uk[1]) + Sq(uk[2]);
        const double u = std::sqrt(u2);
        c.share = std::fmax(c.share, u * m / thrust);
        c.dv += u * dt;
        if (isp > 0.0) m = mass * std::exp(-c.dv / isp);
        // The height on the way, under the same gravity model as the law.
        vz += (uk[1] - ge) * dt;
        h += vz * dt;
        c.lowest = std::fmin(c.lowest, h);
    }
    return c;
}

GatePlan PlanGate(double v, const LandingStepValues &V, const LawBody &b) {
    GatePlan p;
    const Run full = BrakingRun(v, 0.0, V.mass, V.thrust, V.isp, b);
    p.gate = ApproachGate(ApproachDecel(full.mass, V.thrust, V.gT), V.gT);
    p.run = BrakingRun(v, p.gate.v, V.mass, V.thrust, V.isp, b);
    return p;
}

PlaneEnd LowGate(double g) {
    const double k = kDescentDecelShare * g;
    const double fast = std::sqrt(Sq(kTouchdownSink) + 2.0 * k * kLowGateHeight);
    return PlaneEnd{-kLowGateShort, kLowGateHeight, 0.0, -std::fmin(fast, kMostSink), 0.0, fast < kMostSink ? k : 0.0};
}

double FinalDescentDv(double g) {
    const double sink = -LowGate(g).vz;
    // Down at no less than the mean of the two sinks, and the box's settling.
    const double t = kLowGateHeight / ((sink + kTouchdownSink) / 2.0) + kBoxSettle;
    return g * t + sink;
}

double ApproachDv(const PlaneEnd &gate, const LawBody &b, double mass, double thrust, double isp) {
    const PlaneState s{gate.x, gate.h, gate.v, gate.vz, 0.0, 0.0};
    const PlaneEnd e = LowGate(b.g);
    const ThrustLaw L = DescentLaw(s, e, kApproachTime, b);
    return CostOfLaw(L, s, e, kApproachTime, b, mass, thrust, isp).dv + FinalDescentDv(b.g);
}

double LevelBrakeHeight(MfdState *S, LandingStepValues &V) {
    (void)S;
    const LawBody b = BodyAt(V, V.r, V.v, V.gs);
    const GatePlan p = PlanGate(V.gs, V, b);
    const double T = p.run.duration;
    const PlaneState s{p.gate.x - p.run.distance, V.height, V.gs, 0.0, 0.0, 0.0};
    const double up = DescentLaw(s, p.gate, T, b).u0[1], least = -kDiveTarget * V.amax;
    // The law's first vertical thrust rises by 12 / T^2 for each metre lower.
    return up >= least || !(T > 0.0) ? V.height : V.height - (least - up) * T * T / 12.0;
}
