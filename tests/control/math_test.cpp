// The rotation helpers, checked against independent formulations: elementary
// rotations composed by hand, the textbook quaternion-to-matrix formula, finite
// differences and brute-force searches.
#include <gtest/gtest.h>

#include <cmath>

#include "control/math.h"

namespace {

MATRIX3 Rx(double a) { return _M(1, 0, 0, 0, std::cos(a), std::sin(a), 0, -std::sin(a), std::cos(a)); }
MATRIX3 Ry(double b) { return _M(std::cos(b), 0, -std::sin(b), 0, 1, 0, std::sin(b), 0, std::cos(b)); }
MATRIX3 Rz(double g) { return _M(std::cos(g), std::sin(g), 0, -std::sin(g), std::cos(g), 0, 0, 0, 1); }

// Textbook (active, right-handed Hamilton) rotation matrix of a unit quaternion.
MATRIX3 HamiltonMatrix(const Quat &q) {
    const double w = q.w, x = q.x, y = q.y, z = q.z;
    return _M(1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y),  //
              2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x),  //
              2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y));
}

void ExpectMatrixNear(const MATRIX3 &A, const MATRIX3 &B, double tol) {
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(A.data[i], B.data[i], tol) << "element " << i;
}
void ExpectVectorNear(const VECTOR3 &a, const VECTOR3 &b, double tol) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(a.data[i], b.data[i], tol) << "component " << i;
}
VECTOR3 Column(const MATRIX3 &M, int j) { return _V(M.data[j], M.data[3 + j], M.data[6 + j]); }

// A spread of attitudes away from the singular middle angles.
const VECTOR3 kAttitudes[] = {
    {{0.3, -0.5, 1.1}}, {{-2.9, 1.2, -0.4}}, {{3.0, -1.4, 2.8}}, {{0.0, 0.0, 0.0}},
    {{1.0, 0.7, -3.1}}, {{-0.01, 0.02, 0.03}}, {{2.2, -0.9, 0.5}},
};

TEST(RotationMath, EulerMatrixIsTheHostsElementaryProductAndInvertsInConventionZero) {
    for (const VECTOR3 &e : kAttitudes) {
        const MATRIX3 M = EulerToMatrix(e);
        ExpectMatrixNear(M, MatMat(MatMat(Rx(e.x), Ry(e.y)), Rz(e.z)), 1e-12);
        ExpectVectorNear(MatrixToEuler(M, 0), e, 1e-12);
        // The matrix maps local to global: transposed it maps back.
        const VECTOR3 v = _V(0.2, -1.5, 3.0);
        ExpectVectorNear(MatTVec(M, MatVec(M, v)), v, 1e-12);
    }
    ExpectVectorNear(MatVec(RotY(0.7), _V(0, 0, 1)), _V(-std::sin(0.7), 0, std::cos(0.7)), 1e-15);
}

TEST(RotationMath, QuaternionPathAgreesWithMatrixPathInBothConventions) {
    for (const VECTOR3 &e : kAttitudes) {
        const Quat q = EulerToQuat(e);
        // The quaternion describes the transposed (passive) matrix of the triple.
        ExpectMatrixNear(HamiltonMatrix(q), MatTranspose(EulerToMatrix(e)), 1e-12);
        for (int conv : {0, 2})
            ExpectVectorNear(QuatToEuler(q, conv), MatrixToEuler(EulerToMatrix(e), conv), 1e-9);
    }
    // The attitude error: (rel * ref) * inverse(orientation) against
    // transpose(R) * Ref * Rel, for several combinations.
    for (const VECTOR3 &g : kAttitudes) {
        const VECTOR3 ref = _V(0.4, -0.2, 2.5), rel = _V(-0.1, 0.3, 0.05);
        const Quat gq = EulerToQuat(g);
        const Quat err = QuatMul(QuatMul(EulerToQuat(rel), EulerToQuat(ref)), Quat{gq.w, -gq.x, -gq.y, -gq.z});
        const MATRIX3 errM =
            MatMat(MatTranspose(EulerToMatrix(g)), MatMat(EulerToMatrix(ref), EulerToMatrix(rel)));
        for (int conv : {0, 2}) ExpectVectorNear(QuatToEuler(err, conv), MatrixToEuler(errM, conv), 1e-9);
    }
}

TEST(RotationMath, FrameBuildersPutTheAxesWhereAsked) {
    const VECTOR3 z = _V(0.3, -0.8, 0.5), xRaw = _V(1.0, 0.2, -0.1);
    // Make x perpendicular to z, as the callers' orbit normals are.
    const VECTOR3 zu = z / length(z);
    const VECTOR3 x = xRaw - zu * dotp(xRaw, zu);
    const MATRIX3 M = EulerToMatrix(AxesToEuler(z, x * 7.0, 0));
    ExpectVectorNear(Column(M, 2), zu, 1e-12);
    ExpectVectorNear(Column(M, 0), x / length(x), 1e-12);
    // Convention 2 shares the z-axis angles of the matrix extraction.
    EXPECT_NEAR(AxesToEuler(z, x, 2).x, MatrixToEuler(M, 2).x, 1e-12);
    EXPECT_NEAR(AxesToEuler(z, x, 2).y, MatrixToEuler(M, 2).y, 1e-12);

    ExpectVectorNear(Column(EulerToMatrix(DirToEuler(z * 3.0, 0)), 2), zu, 1e-12);
    EXPECT_EQ(DirToEuler(z, 0).z, 0.0);

    // LookAt: z along d, y along the part of u perpendicular to d.
    const VECTOR3 d = _V(-0.2, 0.1, -0.9), u = _V(0.3, 1.0, 0.4);
    const VECTOR3 du = d / length(d);
    const VECTOR3 up = u - du * dotp(u, du);
    const MATRIX3 L = LookAtMatrix(d, u);
    ExpectVectorNear(Column(L, 2), du, 1e-12);
    ExpectVectorNear(Column(L, 1), up / length(up), 1e-12);
}

TEST(RotationMath, AxisAngleReturnsTheShortRotationAxis) {
    AxisAngle id = QuatToAxisAngle(Quat{1, 0, 0, 0});
    EXPECT_EQ(id.angle, 0.0);
    EXPECT_EQ(id.z, 1.0);
    // 270 degrees about +x is -90 degrees about -x.
    const double h = 0.5 * 270.0 * RAD;
    AxisAngle big = QuatToAxisAngle(Quat{std::cos(h), std::sin(h), 0, 0});
    EXPECT_NEAR(big.angle, -90.0 * RAD, 1e-12);
    EXPECT_NEAR(big.x, -1.0, 1e-12);
    // Unnormalised input and the degenerate -1 quaternion stay finite.
    AxisAngle scaled = QuatToAxisAngle(Quat{0.0, 0.0, 4.0, 0.0});
    EXPECT_NEAR(scaled.angle, PI, 1e-12);
    EXPECT_NEAR(scaled.y, 1.0, 1e-12);
    AxisAngle full = QuatToAxisAngle(Quat{-1, 0, 0, 0});
    EXPECT_TRUE(std::isfinite(full.angle) && std::isfinite(full.x) && std::isfinite(full.z));
}

TEST(RotationMath, QuaternionRateGivesTheAngularVelocityOfAFixedAxisSpin) {
    const VECTOR3 n = _V(0.48, -0.6, 0.64);  // unit axis
    const double omega = 0.37, t = 1.3, dt = 1e-6;
    const Quat q0 = EulerToQuat(_V(0.4, -1.0, 2.0));
    auto spin = [&](double tt) {
        const double h = 0.5 * omega * tt;
        return Quat{std::cos(h), n.x * std::sin(h), n.y * std::sin(h), n.z * std::sin(h)};
    };
    auto rate = [&](const Quat &a, const Quat &b) {
        return Quat{(b.w - a.w) / (2 * dt), (b.x - a.x) / (2 * dt), (b.y - a.y) / (2 * dt), (b.z - a.z) / (2 * dt)};
    };
    // q = q0 r(t): the spin is about n in the body's own axes.
    const Quat qa = QuatMul(q0, spin(t - dt)), qb = QuatMul(q0, spin(t + dt));
    ExpectVectorNear(QuatRateToOmega(QuatMul(q0, spin(t)), rate(qa, qb), true), n * omega, 1e-8);
    // q = r(t) q0: the spin is about n in the outer frame.
    const Quat qc = QuatMul(spin(t - dt), q0), qd = QuatMul(spin(t + dt), q0);
    ExpectVectorNear(QuatRateToOmega(QuatMul(spin(t), q0), rate(qc, qd), false), n * omega, 1e-8);
}

TEST(RotationMath, RemoveRollLeavesTheSmallestRotationAngle) {
    const Quat cases[] = {EulerToQuat(_V(0.3, -0.2, 1.4)), EulerToQuat(_V(-1.0, 0.5, -2.8)),
                          EulerToQuat(_V(0.05, 0.0, 3.0)), Quat{0.2, 0.1, -0.3, 0.9}};
    for (const Quat &q : cases) {
        const Quat r = QuatRemoveRoll(q);
        EXPECT_NEAR(r.w * r.w + r.x * r.x + r.y * r.y + r.z * r.z, 1.0, 1e-12);
        double best = 10.0;
        for (int k = 0; k < 72000; ++k) {
            const double h = 0.5 * (k * PI2 / 72000.0);
            best = std::fmin(best, std::fabs(QuatToAxisAngle(QuatMul(Quat{std::cos(h), 0, 0, std::sin(h)}, q)).angle));
        }
        EXPECT_NEAR(std::fabs(QuatToAxisAngle(r).angle), best, 1e-4);
    }
    // No z component: nothing to take out, the input comes back normalised.
    const Quat flat = QuatRemoveRoll(Quat{2.0, 0.0, 2.0, 0.0});
    EXPECT_NEAR(flat.w, std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(flat.y, std::sqrt(0.5), 1e-15);
}

TEST(RotationMath, DegenerateInputsGiveZerosNotNaN) {
    const VECTOR3 zero = _V(0, 0, 0), some = _V(1, 2, 3);
    const VECTOR3 results[] = {AxesToEuler(zero, some, 0), AxesToEuler(some, zero, 2), DirToEuler(zero, 0),
                               LookAtEuler(zero, some), LookAtEuler(some, zero),
                               QuatToEuler(Quat{0, 0, 0, 0}, 0), QuatRateToOmega(Quat{0, 0, 0, 0}, Quat{1, 1, 1, 1}, true),
                               // conventions other than 0 and 2
                               MatrixToEuler(EulerToMatrix(some), 1), AxesToEuler(some, _V(1, 0, 0), 3),
                               DirToEuler(some, -1), QuatToEuler(EulerToQuat(some), 5)};
    for (const VECTOR3 &r : results) ExpectVectorNear(r, zero, 0.0);
    const Quat rr = QuatRemoveRoll(Quat{0, 0, 0, 0});
    EXPECT_TRUE(std::isfinite(rr.w) && std::isfinite(rr.z));
    // Rounding just beyond +-1 in the middle angle does not produce NaN.
    const MATRIX3 M = _M(0, 0, -1.0000000000000002, 0, 1, 0, 1, 0, 0);
    EXPECT_NEAR(MatrixToEuler(M, 0).y, PI / 2, 1e-12);
}

}  // namespace
