// Vector, matrix, Euler-angle and quaternion helpers.
#include "control/math.h"

#include <cmath>

namespace {

// asin that tolerates arguments a rounding error beyond +-1.
double SafeAsin(double s) { return std::asin(s > 1.0 ? 1.0 : (s < -1.0 ? -1.0 : s)); }

// Normalises in place; false (and v unchanged) for a zero or non-finite vector.
bool Normalise(VECTOR3 &v) {
    const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(len > 0.0) || !std::isfinite(len)) return false;
    v.x /= len;
    v.y /= len;
    v.z /= len;
    return true;
}

bool NormaliseQuat(Quat &q) {
    const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (!(n > 0.0) || !std::isfinite(n)) return false;
    q.w /= n;
    q.x /= n;
    q.y /= n;
    q.z /= n;
    return true;
}

const VECTOR3 kZero = {{0.0, 0.0, 0.0}};
const Quat kZeroQuat = {0.0, 0.0, 0.0, 0.0};

}  // namespace

VECTOR3 CrossProduct(const VECTOR3 &a, const VECTOR3 &b) {
    return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

VECTOR3 MatVec(const MATRIX3 &M, const VECTOR3 &v) {
    return _V(M.m11 * v.x + M.m12 * v.y + M.m13 * v.z, M.m21 * v.x + M.m22 * v.y + M.m23 * v.z,
              M.m31 * v.x + M.m32 * v.y + M.m33 * v.z);
}

VECTOR3 MatTVec(const MATRIX3 &M, const VECTOR3 &v) {
    return _V(M.m11 * v.x + M.m21 * v.y + M.m31 * v.z, M.m12 * v.x + M.m22 * v.y + M.m32 * v.z,
              M.m13 * v.x + M.m23 * v.y + M.m33 * v.z);
}

MATRIX3 MatMat(const MATRIX3 &A, const MATRIX3 &B) {
    MATRIX3 C;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            C.data[3 * i + j] = A.data[3 * i] * B.data[j] + A.data[3 * i + 1] * B.data[3 + j] +
                                A.data[3 * i + 2] * B.data[6 + j];
    return C;
}

MATRIX3 MatTranspose(const MATRIX3 &M) {
    return _M(M.m11, M.m21, M.m31, M.m12, M.m22, M.m32, M.m13, M.m23, M.m33);
}

MATRIX3 RotY(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return _M(c, 0, -s, 0, 1, 0, s, 0, c);
}

MATRIX3 EulerToMatrix(const VECTOR3 &e) {
    const double cp = std::cos(e.x), sp = std::sin(e.x);
    const double cq = std::cos(e.y), sq = std::sin(e.y);
    const double cr = std::cos(e.z), sr = std::sin(e.z);
    return _M(cq * cr, cq * sr, -sq,                                  //
              sp * sq * cr - cp * sr, sp * sq * sr + cp * cr, sp * cq,  //
              cp * sq * cr + sp * sr, cp * sq * sr - sp * cr, cp * cq);
}

VECTOR3 MatrixToEuler(const MATRIX3 &M, int conv) {
    if (conv == 0) return _V(std::atan2(M.m23, M.m33), -SafeAsin(M.m13), std::atan2(M.m12, M.m11));
    if (conv == 2) return _V(SafeAsin(M.m23), std::atan2(-M.m13, M.m33), std::atan2(-M.m21, M.m22));
    return kZero;
}

VECTOR3 AxesToEuler(const VECTOR3 &zIn, const VECTOR3 &xIn, int conv) {
    VECTOR3 z = zIn, x = xIn;
    if (!Normalise(z) || !Normalise(x)) return kZero;
    const double k = z.y * x.z - z.z * x.y;
    if (conv == 0) return _V(std::atan2(z.y, z.z), -SafeAsin(z.x), std::atan2(k, x.x));
    if (conv == 2) return _V(SafeAsin(z.y), std::atan2(-z.x, z.z), std::atan2(k, x.x));
    return kZero;
}

VECTOR3 DirToEuler(const VECTOR3 &dIn, int conv) {
    VECTOR3 d = dIn;
    if (!Normalise(d)) return kZero;
    if (conv == 0) return _V(std::atan2(d.y, d.z), -SafeAsin(d.x), 0.0);
    if (conv == 2) return _V(SafeAsin(d.y), std::atan2(-d.x, d.z), 0.0);
    return kZero;
}

VECTOR3 LookAtEuler(const VECTOR3 &dIn, const VECTOR3 &uIn) {
    VECTOR3 d = dIn, u = uIn;
    if (!Normalise(d) || !Normalise(u)) return kZero;
    VECTOR3 e = DirToEuler(d, 0);
    const MATRIX3 M = EulerToMatrix(e);
    const double a = M.m11 * u.x + M.m21 * u.y + M.m31 * u.z;
    const double b = M.m12 * u.x + M.m22 * u.y + M.m32 * u.z;
    e.z = std::atan2(a, b);
    return e;
}

MATRIX3 LookAtMatrix(const VECTOR3 &d, const VECTOR3 &u) { return EulerToMatrix(LookAtEuler(d, u)); }

Quat EulerToQuat(const VECTOR3 &e) {
    const double cp = std::cos(0.5 * e.x), sp = std::sin(0.5 * e.x);
    const double cq = std::cos(0.5 * e.y), sq = std::sin(0.5 * e.y);
    const double cr = std::cos(0.5 * e.z), sr = std::sin(0.5 * e.z);
    return Quat{cp * cq * cr + sp * sq * sr, sp * cq * cr - cp * sq * sr, cp * sq * cr + sp * cq * sr,
                cp * cq * sr - sp * sq * cr};
}

Quat QuatMul(const Quat &a, const Quat &b) {
    return Quat{a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.x * b.w + a.w * b.x - a.z * b.y + a.y * b.z,
                a.y * b.w + a.z * b.x + a.w * b.y - a.x * b.z, a.z * b.w - a.y * b.x + a.x * b.y + a.w * b.z};
}

AxisAngle QuatToAxisAngle(const Quat &qIn) {
    AxisAngle r = {0.0, 0.0, 0.0, 1.0};
    Quat q = qIn;
    if (!NormaliseQuat(q)) return r;
    const double w = q.w > 1.0 ? 1.0 : (q.w < -1.0 ? -1.0 : q.w);
    r.angle = 2.0 * std::acos(w);
    const double s2 = 1.0 - w * w;
    if (r.angle != 0.0 && s2 > 0.0) {
        const double s = std::sqrt(s2);
        r.x = q.x / s;
        r.y = q.y / s;
        r.z = q.z / s;
    }
    if (r.angle > PI) {
        r.angle -= PI2;
        r.x = -r.x;
        r.y = -r.y;
        r.z = -r.z;
    }
    return r;
}

VECTOR3 QuatToEuler(const Quat &qIn, int conv) {
    Quat q = qIn;
    if (!NormaliseQuat(q)) return kZero;
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    if (conv == 0)
        return _V(std::atan2(2.0 * (w * x + y * z), 1.0 - 2.0 * (x * x + y * y)),
                  -SafeAsin(2.0 * (x * z - w * y)),
                  std::atan2(2.0 * (x * y + w * z), 1.0 - 2.0 * (y * y + z * z)));
    if (conv == 2)
        return _V(SafeAsin(2.0 * (y * z + w * x)),
                  std::atan2(-2.0 * (x * z - w * y), 1.0 - 2.0 * (x * x + y * y)),
                  std::atan2(-2.0 * (x * y - w * z), 1.0 - 2.0 * (x * x + z * z)));
    return kZero;
}

Quat Mat4Vec4(const double M[16], const Quat &v) {
    const double in[4] = {v.w, v.x, v.y, v.z};
    double out[4];
    for (int i = 0; i < 4; ++i)
        out[i] = M[4 * i] * in[0] + M[4 * i + 1] * in[1] + M[4 * i + 2] * in[2] + M[4 * i + 3] * in[3];
    return Quat{out[0], out[1], out[2], out[3]};
}

VECTOR3 QuatRateToOmega(const Quat &qIn, const Quat &qdot, bool body) {
    Quat q = qIn;
    if (!NormaliseQuat(q)) return kZero;
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    double M[16];
    if (body) {
        const double rows[16] = {-x, w, z, -y, -y, -z, w, x, -z, y, -x, w, 0, 0, 0, 0};
        for (int i = 0; i < 16; ++i) M[i] = 2.0 * rows[i];
    } else {
        const double rows[16] = {-x, w, -z, y, -y, z, w, -x, -z, -y, x, w, 0, 0, 0, 0};
        for (int i = 0; i < 16; ++i) M[i] = 2.0 * rows[i];
    }
    const Quat r = Mat4Vec4(M, qdot);
    return _V(r.w, r.x, r.y);
}

Quat QuatRemoveRoll(const Quat &qIn) {
    Quat q = qIn;
    if (!NormaliseQuat(q)) return kZeroQuat;
    // Without a z component there is no rotation about z to take out.
    if (q.z == 0.0) return q;
    const double R = std::sqrt(q.w * q.w + q.z * q.z);
    const double a1 = 4.0 * std::atan((R + q.w) / q.z);
    const double a2 = 4.0 * std::atan((q.w - R) / q.z);
    auto residual = [&](double A) {
        double c = std::cos(0.5 * A) * q.w - std::sin(0.5 * A) * q.z;
        c = c > 1.0 ? 1.0 : (c < -1.0 ? -1.0 : c);
        return 2.0 * std::acos(c);
    };
    const double A = residual(a2) <= residual(a1) ? a2 : a1;
    const double t = 0.5 * A;
    Quat r = QuatMul(Quat{std::cos(t), 0.0, 0.0, std::sin(t)}, q);
    NormaliseQuat(r);
    return r;
}

Quat QuatFromArray(const double a[4]) { return Quat{a[0], a[1], a[2], a[3]}; }

void QuatToArray(const Quat &q, double a[4]) {
    a[0] = q.w;
    a[1] = q.x;
    a[2] = q.y;
    a[3] = q.z;
}
