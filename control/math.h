// Vector, matrix, Euler-angle and quaternion helpers in the host's conventions:
// left-handed frames, row-major matrices, Euler triples (about x, y, z) in one
// of two conventions (0: the host's x-y-z sequence; 2: middle angle about x).
// All functions are pure, take their inputs by reference and never allocate.
// Zero-length inputs give zero results rather than NaN.
#ifndef TESSARC_CONTROL_MATH_H
#define TESSARC_CONTROL_MATH_H

#include "Orbitersdk.h"

struct Quat {
    double w, x, y, z;
};

struct AxisAngle {
    double angle;  // rad, in (-pi, pi]
    double x, y, z;
};

VECTOR3 CrossProduct(const VECTOR3 &a, const VECTOR3 &b);
VECTOR3 MatVec(const MATRIX3 &M, const VECTOR3 &v);
VECTOR3 MatTVec(const MATRIX3 &M, const VECTOR3 &v);
MATRIX3 MatMat(const MATRIX3 &A, const MATRIX3 &B);
MATRIX3 MatTranspose(const MATRIX3 &M);
MATRIX3 RotY(double a);

// Direction-cosine matrix of a convention-0 triple (the host's global orientation).
MATRIX3 EulerToMatrix(const VECTOR3 &e);
VECTOR3 MatrixToEuler(const MATRIX3 &M, int conv);
// Triple of the frame whose z axis is along z and whose x axis is along x.
VECTOR3 AxesToEuler(const VECTOR3 &z, const VECTOR3 &x, int conv);
// First two angles that point the z axis along d; third angle 0.
VECTOR3 DirToEuler(const VECTOR3 &d, int conv);
// Convention-0 triple of the frame with z along d and the bank set by up vector u.
VECTOR3 LookAtEuler(const VECTOR3 &d, const VECTOR3 &u);
MATRIX3 LookAtMatrix(const VECTOR3 &d, const VECTOR3 &u);

Quat EulerToQuat(const VECTOR3 &e);
Quat QuatMul(const Quat &a, const Quat &b);
AxisAngle QuatToAxisAngle(const Quat &q);
VECTOR3 QuatToEuler(const Quat &q, int conv);
// Angular velocity from a quaternion and its time derivative: the vector part of
// 2 conj(q) qdot (body axes) or 2 qdot conj(q).
VECTOR3 QuatRateToOmega(const Quat &q, const Quat &qdot, bool body);
// Row-major 4x4 matrix times a four-vector.
Quat Mat4Vec4(const double M[16], const Quat &v);
// q turned about z so that its remaining rotation angle is as small as possible.
Quat QuatRemoveRoll(const Quat &q);

Quat QuatFromArray(const double a[4]);
void QuatToArray(const Quat &q, double a[4]);

#endif  // TESSARC_CONTROL_MATH_H
