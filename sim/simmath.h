// Small matrix helpers of the simulated host (the host's rotation conventions).
#ifndef TESSARC_SIM_SIMMATH_H
#define TESSARC_SIM_SIMMATH_H

#include <cmath>

#include "OrbiterAPI.h"

namespace sim {

inline MATRIX3 transpose(const MATRIX3 &m) {
    return _M(m.m11, m.m21, m.m31, m.m12, m.m22, m.m32, m.m13, m.m23, m.m33);
}

// R = Rx(a) Ry(b) Rz(g), the host's orientation angles (local -> global).
inline MATRIX3 eulerToMatrix(const VECTOR3 &e) {
    double ca = std::cos(e.x), sa = std::sin(e.x), cb = std::cos(e.y), sb = std::sin(e.y);
    double cg = std::cos(e.z), sg = std::sin(e.z);
    MATRIX3 rx = _M(1, 0, 0, 0, ca, sa, 0, -sa, ca);
    MATRIX3 ry = _M(cb, 0, -sb, 0, 1, 0, sb, 0, cb);
    MATRIX3 rz = _M(cg, sg, 0, -sg, cg, 0, 0, 0, 1);
    return mul(mul(rx, ry), rz);
}

inline VECTOR3 matrixToEuler(const MATRIX3 &m) {
    double s = m.m13 > 1.0 ? 1.0 : m.m13 < -1.0 ? -1.0 : m.m13;
    return _V(std::atan2(m.m23, m.m33), -std::asin(s), std::atan2(m.m12, m.m11));
}

// RotY(a): rows (cos a, 0, -sin a), (0, 1, 0), (sin a, 0, cos a).
inline MATRIX3 rotY(double a) {
    double c = std::cos(a), s = std::sin(a);
    return _M(c, 0, -s, 0, 1, 0, s, 0, c);
}

inline MATRIX3 matFromColumns(const VECTOR3 &a, const VECTOR3 &b, const VECTOR3 &c) {
    return _M(a.x, b.x, c.x, a.y, b.y, c.y, a.z, b.z, c.z);
}

// Gram-Schmidt on the columns, keeping the z column's direction first.
inline MATRIX3 orthonormalise(const MATRIX3 &m) {
    VECTOR3 z = _V(m.m13, m.m23, m.m33), y = _V(m.m12, m.m22, m.m32);
    z = unit(z);
    y = unit(y - z * dotp(y, z));
    VECTOR3 x = crossp(y, z);  // x = y x z in the host's frames
    return matFromColumns(x, y, z);
}

// Inverse of a 3x3 matrix (identity when singular).
inline MATRIX3 inverse(const MATRIX3 &m) {
    double c11 = m.m22 * m.m33 - m.m23 * m.m32, c12 = m.m23 * m.m31 - m.m21 * m.m33, c13 = m.m21 * m.m32 - m.m22 * m.m31;
    double det = m.m11 * c11 + m.m12 * c12 + m.m13 * c13;
    if (det == 0) return identity();
    return _M(c11, m.m13 * m.m32 - m.m12 * m.m33, m.m12 * m.m23 - m.m13 * m.m22, c12, m.m11 * m.m33 - m.m13 * m.m31,
              m.m13 * m.m21 - m.m11 * m.m23, c13, m.m12 * m.m31 - m.m11 * m.m32, m.m11 * m.m22 - m.m12 * m.m21) /
           det;
}

// Great-circle angle between two surface points (rad), robust at all distances.
inline double greatCircle(double lng1, double lat1, double lng2, double lat2) {
    double dl = lng2 - lng1;
    double c1 = std::cos(lat1), s1 = std::sin(lat1), c2 = std::cos(lat2), s2 = std::sin(lat2);
    double x = c1 * c2 * std::cos(dl) + s1 * s2;
    double a = c2 * std::sin(dl), b = c1 * s2 - s1 * c2 * std::cos(dl);
    return std::atan2(std::sqrt(a * a + b * b), x);
}

// Unit position on a body's surface in its own frame.
inline VECTOR3 equToUnit(double lng, double lat) {
    return _V(std::cos(lat) * std::cos(lng), std::sin(lat), std::cos(lat) * std::sin(lng));
}

}  // namespace sim

#endif  // TESSARC_SIM_SIMMATH_H
