// Two-body orbits: elements to state and back, in the pole-on-y convention.
#include "orbit.h"

#include <algorithm>

namespace sim {

double solveKepler(double e, double M) {
    if (e < 1.0) {
        M = normangle(M);
        double E = e > 0.8 ? (M < 0 ? -PI : PI) : M;
        for (int k = 0; k < 60; k++) {
            double d = (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
            E -= d;
            if (std::fabs(d) < 1e-15) break;
        }
        return E;
    }
    double H = std::asinh(M / e);
    for (int k = 0; k < 100; k++) {
        double d = (e * std::sinh(H) - H - M) / (e * std::cosh(H) - 1.0);
        H -= d;
        if (std::fabs(d) < 1e-15 * std::max(1.0, std::fabs(H))) break;
    }
    return H;
}

double meanMotion(const ELEMENTS &el, double mu) {
    double a = std::fabs(el.a);
    return a > 0 ? std::sqrt(mu / (a * a * a)) : 0.0;
}

void elementsToState(const ELEMENTS &el, double mu, double dt, VECTOR3 &pos, VECTOR3 &vel) {
    double a = el.a, e = el.e, inc = el.i, W = el.theta;
    double w = el.omegab - el.theta;
    double M = el.L - el.omegab + meanMotion(el, mu) * dt;
    double nu, r;
    if (e < 1.0) {
        double E = solveKepler(e, M);
        nu = 2.0 * std::atan2(std::sqrt(1.0 + e) * std::sin(0.5 * E), std::sqrt(1.0 - e) * std::cos(0.5 * E));
        r = a * (1.0 - e * std::cos(E));
    } else {
        double H = solveKepler(e, M);
        nu = 2.0 * std::atan(std::sqrt((e + 1.0) / (e - 1.0)) * std::tanh(0.5 * H));
        r = a * (1.0 - e * std::cosh(H));
    }
    double p = a * (1.0 - e * e);
    double h = std::sqrt(mu * p);
    double u = w + nu;
    double cu = std::cos(u), su = std::sin(u), cW = std::cos(W), sW = std::sin(W);
    double ci = std::cos(inc), si = std::sin(inc);
    pos = _V(r * (cu * cW - su * sW * ci), r * su * si, r * (cu * sW + su * cW * ci));
    double k = mu / h;
    double A = su + e * std::sin(w), B = cu + e * std::cos(w);
    vel = _V(k * (-A * cW - B * sW * ci), k * B * si, k * (-A * sW + B * cW * ci));
}

bool stateToElements(const VECTOR3 &pos, const VECTOR3 &vel, double mu, ELEMENTS &el, ORBITPARAM *prm) {
    double r = length(pos);
    if (!(r > 0) || !(mu > 0)) {
        el = ELEMENTS{};
        if (prm) *prm = ORBITPARAM{};
        return false;
    }
    double v2 = length2(vel), rv = dotp(pos, vel);
    VECTOR3 hv = crossp(vel, pos);  // +y for an orbit of inclination 0
    double h = length(hv);
    double inc = h > 0 ? std::acos(std::clamp(hv.y / h, -1.0, 1.0)) : 0.0;
    double W = 0.0;
    if (h > 0 && std::hypot(hv.x, hv.z) > 1e-12 * h) W = std::atan2(hv.x, -hv.z);
    double ci = std::cos(inc), si = std::sin(inc), cW = std::cos(W), sW = std::sin(W);
    VECTOR3 A = _V(cW, 0, sW);                 // towards the ascending node
    VECTOR3 B = _V(-sW * ci, si, cW * ci);     // 90 degrees further along the motion
    VECTOR3 ev = (pos * (v2 - mu / r) - vel * rv) / mu;
    double e = length(ev);
    double u = std::atan2(dotp(pos, B), dotp(pos, A));
    double w = e > 1e-12 ? std::atan2(dotp(ev, B), dotp(ev, A)) : 0.0;
    double nu = u - w;
    double a = 1.0 / (2.0 / r - v2 / mu);
    bool closed = e < 1.0;
    double M, EA;
    if (closed) {
        EA = std::atan2(std::sqrt(1.0 - e * e) * std::sin(nu), e + std::cos(nu));
        M = EA - e * std::sin(EA);
    } else {
        double t = std::sqrt((e - 1.0) / (e + 1.0)) * std::tan(0.5 * normangle(nu));
        EA = 2.0 * std::atanh(std::clamp(t, -1.0 + 1e-16, 1.0 - 1e-16));
        M = e * std::sinh(EA) - EA;
    }
    double lpe = W + w;
    el.a = a;
    el.e = e;
    el.i = inc;
    el.theta = posangle(W);
    el.omegab = posangle(lpe);
    el.L = closed ? posangle(lpe + M) : lpe + M;
    if (prm) {
        double n = meanMotion(el, mu);
        prm->SMi = closed ? a * std::sqrt(1.0 - e * e) : -a * std::sqrt(e * e - 1.0);
        prm->PeD = a * (1.0 - e);
        prm->ApD = closed ? a * (1.0 + e) : 0.0;
        prm->MnA = closed ? posangle(M) : M;
        prm->TrA = closed ? posangle(nu) : normangle(nu);
        prm->MnL = closed ? posangle(lpe + M) : lpe + M;
        prm->TrL = posangle(lpe + nu);
        prm->EcA = closed ? posangle(EA) : EA;
        prm->Lec = std::fabs(a) * e;
        prm->T = closed ? PI2 / n : 0.0;
        prm->PeT = closed ? (PI2 - posangle(M)) / n : -M / n;
        prm->ApT = closed ? posangle(PI - M) / n : 0.0;
    }
    return true;
}

}  // namespace sim
