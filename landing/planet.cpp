// Planet frames, spherical coordinates, Kepler's equation and the orbit predictor.
#include "landing/planet.h"

#include <cmath>

#include "control/math.h"

namespace {

// Rotation (planet frame -> global) of the planet at now + dt.
MATRIX3 PlanetMatrix(OBJHANDLE planet, bool nonRotating, double dt) {
    MATRIX3 M;
    if (nonRotating) {
        oapiGetPlanetObliquityMatrix(planet, &M);
        return M;
    }
    if (dt == 0.0) {
        oapiGetRotationMatrix(planet, &M);
        return M;
    }
    MATRIX3 obliquity;
    oapiGetPlanetObliquityMatrix(planet, &obliquity);
    const double period = oapiGetPlanetPeriod(planet);
    const double w = period != 0.0 ? PI2 / period : 0.0;
    return MatMat(obliquity, RotY(oapiGetPlanetCurrentRotation(planet) + w * dt));
}

// Speed of the turning surface at the planet-frame position, and its longitude.
double SurfaceSpeed(OBJHANDLE planet, const VECTOR3 &pos, double *lon) {
    const double period = oapiGetPlanetPeriod(planet);
    *lon = std::atan2(pos.z, pos.x);
    return period != 0.0 ? std::hypot(pos.x, pos.z) * PI2 / period : 0.0;
}

}  // namespace

bool IsPlanet(OBJHANDLE body) { return body && oapiGetObjectType(body) == OBJTP_PLANET; }

void GlobalToPlanet(OBJHANDLE planet, VECTOR3 &pos, VECTOR3 &vel, bool nonRotating, double dt) {
    if (!IsPlanet(planet)) return;
    const MATRIX3 M = PlanetMatrix(planet, nonRotating, dt);
    pos = MatTVec(M, pos);
    vel = MatTVec(M, vel);
    if (nonRotating) return;
    double lon = 0.0;
    const double u = SurfaceSpeed(planet, pos, &lon);
    vel.x += std::sin(lon) * u;
    vel.z -= std::cos(lon) * u;
}

void PlanetToGlobal(OBJHANDLE planet, VECTOR3 &pos, VECTOR3 &vel, bool nonRotating, double dt) {
    if (!IsPlanet(planet)) return;
    if (!nonRotating) {
        double lon = 0.0;
        const double u = SurfaceSpeed(planet, pos, &lon);
        vel.x -= std::sin(lon) * u;
        vel.z += std::cos(lon) * u;
    }
    const MATRIX3 M = PlanetMatrix(planet, nonRotating, dt);
    pos = MatVec(M, pos);
    vel = MatVec(M, vel);
}

void CartesianToSpherical(VECTOR3 &pos, VECTOR3 &vel) {
    const double x = pos.x, y = pos.y, z = pos.z;
    const double r = length(pos);
    if (r <= 0.0) {
        pos = _V(0, 0, 0);
        vel = _V(0, 0, 0);
        return;
    }
    const double rho2 = x * x + z * z;
    const double rho = std::sqrt(rho2);
    const double rd = dotp(pos, vel) / r;
    const double lonRate = rho2 > 0.0 ? (vel.z * x - vel.x * z) / rho2 : 0.0;
    const double latRate = rho > 0.0 ? (vel.y * r - rd * y) / (rho * r) : 0.0;
    double s = y / r;
    if (s > 1.0) s = 1.0;
    if (s < -1.0) s = -1.0;
    pos = _V(std::atan2(z, x), std::asin(s), r);
    vel = _V(lonRate, latRate, rd);
}

void SphericalToCartesian(VECTOR3 &pos, VECTOR3 &vel) {
    const double lon = pos.x, lat = pos.y, r = pos.z;
    const double lonRate = vel.x, latRate = vel.y, rd = vel.z;
    const double cl = std::cos(lon), sl = std::sin(lon), cb = std::cos(lat), sb = std::sin(lat);
    const double A = rd * cb, B = lonRate * r * cb, C = latRate * r * sb;
    pos = _V(r * cb * cl, r * sb, r * cb * sl);
    vel = _V(A * cl - B * sl - C * cl, latRate * r * cb + rd * sb, B * cl + A * sl - C * sl);
}

void GlobalToSurfaceSpherical(OBJHANDLE planet, VECTOR3 &pos, VECTOR3 &vel, double dt) {
    if (!IsPlanet(planet)) return;
    GlobalToPlanet(planet, pos, vel, false, dt);
    CartesianToSpherical(pos, vel);
}

VECTOR3 SurfaceVelocityEnu(OBJHANDLE planet, VECTOR3 pos, VECTOR3 vel, double dt) {
    if (!IsPlanet(planet)) return _V(0, 0, 0);
    GlobalToSurfaceSpherical(planet, pos, vel, dt);
    const double lat = pos.y, r = pos.z;
    return _V(vel.x * r * std::cos(lat), vel.y * r, vel.z);
}

double SolveKepler(double e, double M, int maxIter) {
    double E = e > 1.0 ? PI : M;
    for (int n = 0; n < maxIter; ++n) {
        const double d = (E - (e * std::sin(E) + M)) / (1.0 - e * std::cos(E));
        if (!std::isfinite(d)) break;
        E -= d;
        if (std::fabs(d) < 1e-15) break;
    }
    return E;
}

double ElementsToState(const ElementState &el, double mu, double h, VECTOR3 &pos, VECTOR3 &vel) {
    pos = _V(0, 0, 0);
    vel = _V(0, 0, 0);
    const double e = el.e, v = el.trueAnom;
    const double denom = mu * (1.0 + e * std::cos(v));
    if (!(mu > 0.0) || !(h > 0.0) || !(denom > 0.0)) return 0.0;
    const double r = h * h / denom;
    const double u = el.argPe + v;
    const double cu = std::cos(u), su = std::sin(u);
    const double cW = std::cos(el.node), sW = std::sin(el.node);
    const double ci = std::cos(el.i), si = std::sin(el.i);
    const double cw = std::cos(el.argPe), sw = std::sin(el.argPe);
    pos = _V(cu * cW - su * sW * ci, su * si, cu * sW + su * cW * ci) * r;
    const double A = su + e * sw, B = cu + e * cw;
    vel = _V(-A * cW - B * sW * ci, B * si, -A * sW + B * cW * ci) * (mu / h);
    return r;
}

bool PropagateOrbit(OBJHANDLE planet, const ELEMENTS &el, const ORBITPARAM &prm, double dt,
                    VECTOR3 &pos, VECTOR3 &vel, int j2) {
    if (!IsPlanet(planet)) return false;
    const double mu = oapiGetMass(planet) * kGravConst;
    const double J2 = oapiGetPlanetJCoeffCount(planet) > 0 ? oapiGetPlanetJCoeff(planet, 0) : 0.0;
    const double R = oapiGetSize(planet);
    const double a = el.a, e = el.e;
    // Only closed orbits: the mean motion and the anomaly conversion below need them.
    if (!(a > 0.0) || !(e >= 0.0) || !(e < 1.0) || !(mu > 0.0) || !(prm.PeD > 0.0)) return false;

    const double n = std::sqrt(mu / (a * a * a));
    const double p = (1.0 - e * e) * a;
    const double k = J2 * (R / p) * (R / p);
    const double ci = std::cos(el.i);
    const double nJ = n * (1.0 + 0.75 * k * std::sqrt(1.0 - e * e) * (3.0 * ci * ci - 1.0));
    const double h = std::sqrt(mu * prm.PeD * (1.0 + e));
    const double f = j2 ? 1.0 : 0.0;

    ElementState s{};
    s.a = a;
    s.e = e;
    s.i = el.i;
    s.node = el.theta - 1.5 * n * k * ci * dt * f;
    s.argPe = (el.omegab - el.theta) + 0.75 * n * k * (5.0 * ci * ci - 1.0) * dt * f;
    const double rate = j2 ? nJ : (prm.T > 0.0 ? PI2 / prm.T : n);
    s.meanAnom = prm.MnA + dt * rate;
    s.eccAnom = SolveKepler(e, s.meanAnom, 10);
    s.trueAnom = 2.0 * std::atan(std::sqrt((1.0 + e) / (1.0 - e)) * std::tan(s.eccAnom / 2.0));
    if (ElementsToState(s, mu, h, pos, vel) <= 0.0) return false;
    MATRIX3 obliquity;
    oapiGetPlanetObliquityMatrix(planet, &obliquity);
    pos = MatVec(obliquity, pos);
    vel = MatVec(obliquity, vel);
    return true;
}
