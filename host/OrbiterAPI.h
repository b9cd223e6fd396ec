// Host API: general types, constants, records and the oapi functions the plug-in
// calls. Names, argument lists and return types follow the host SDK, so plug-in
// sources compile unchanged against the real headers on Windows.
#ifndef __ORBITERAPI_H
#define __ORBITERAPI_H

#include <cmath>
#include <cstdint>
#include <cstddef>

// ---------------------------------------------------------------------------
// Types the real SDK takes from <windows.h>
#ifdef _WIN32
#include <windows.h>
#else
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int BOOL;
typedef void *HINSTANCE;
typedef void *HWND;
typedef void *HDC;
typedef void *HPEN;
typedef void *HFONT;
typedef void *HBITMAP;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef wchar_t *LPWSTR;
typedef DWORD COLORREF;
typedef struct tagRECT { long left, top, right, bottom; } RECT;
#endif

// ---------------------------------------------------------------------------
// Export conventions
#ifdef _WIN32
#define DLLEXPORT __declspec(dllexport)
#define DLLIMPORT __declspec(dllimport)
#else
#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT __attribute__((visibility("default")))
#endif
#define DLLCLBK extern "C" DLLEXPORT
#ifdef OAPI_IMPLEMENTATION
#define OAPIFUNC DLLEXPORT
#else
#define OAPIFUNC DLLIMPORT
#endif

#ifdef _MSC_VER
#pragma warning(disable : 4201)
#endif

class VESSEL;
class CELBODY;
class ExternMFD;
namespace oapi {
class Module;
class Sketchpad;
class Font;
class Pen;
class Brush;
}

// ---------------------------------------------------------------------------
// Constants
const double PI = 3.14159265358979323846;
const double PI05 = 1.57079632679489661923;
const double PI2 = 6.28318530717958647693;
const double RAD = PI / 180.0;
const double DEG = 180.0 / PI;
const double C0 = 299792458.0;
const double TAUA = 499.004783806;
const double AU = C0 * TAUA;
const double GGRAV = 6.67259e-11;
const double G = 9.81;
const double ATMP = 101.4e3;
const double ATMD = 1.293;

// ---------------------------------------------------------------------------
// Handles
typedef void *OBJHANDLE;
typedef void *VISHANDLE;
typedef void *MESHHANDLE;
typedef void *SURFHANDLE;
typedef void *FILEHANDLE;
typedef void *THRUSTER_HANDLE;
typedef void *THGROUP_HANDLE;
typedef void *PROPELLANT_HANDLE;
typedef void *DOCKHANDLE;
typedef void *ATTACHMENTHANDLE;
typedef void *NAVHANDLE;

// ---------------------------------------------------------------------------
// Records
typedef union {
    double data[3];
    struct {
        double x, y, z;
    };
} VECTOR3;

typedef union {
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
} MATRIX3;

typedef struct {
    double a;       // semi-major axis [m]
    double e;       // eccentricity
    double i;       // inclination [rad]
    double theta;   // longitude of ascending node [rad]
    double omegab;  // longitude of periapsis [rad]
    double L;       // mean longitude at epoch [rad]
} ELEMENTS;

typedef struct {
    double SMi, PeD, ApD, MnA, TrA, MnL, TrL, EcA, Lec, T, PeT, ApT;
} ORBITPARAM;

#define VS_FUELRESET 0x00000001
#define VS_FUELLIST 0x00000002
#define VS_THRUSTRESET 0x00000004
#define VS_THRUSTLIST 0x00000008
#define VS_DOCKINFOLIST 0x00000010

typedef struct {
    DWORD version;
    DWORD flag;
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;
    VECTOR3 rpos;
    VECTOR3 rvel;
    VECTOR3 vrot;
    VECTOR3 arot;
    double surf_lng;
    double surf_lat;
    double surf_hdg;
    DWORD nfuel;
    struct FUELSPEC {
        DWORD idx;
        double level;
    } * fuel;
    DWORD nthruster;
    struct THRUSTSPEC {
        DWORD idx;
        double level;
    } * thruster;
    DWORD ndockinfo;
    struct DOCKINFOSPEC {
        DWORD idx;
        DWORD ridx;
        OBJHANDLE rvessel;
    } * dockinfo;
    DWORD xpdr;
} VESSELSTATUS2;

// Result of an MFD mode's message callback. The callback returns the address of the
// MFD it creates, so the type must hold a pointer: int on the 32-bit host, a
// pointer-sized integer on 64-bit builds.
#if defined(_WIN32) && !defined(_WIN64)
typedef int OAPI_MSGTYPE;
#else
typedef intptr_t OAPI_MSGTYPE;
#endif

typedef struct {
    char *name;
    DWORD key;
    OAPI_MSGTYPE (*msgproc)(UINT, UINT, WPARAM, LPARAM);
} MFDMODESPEC;

typedef struct {
    char *name;
    DWORD key;
    void *context;
    OAPI_MSGTYPE (*msgproc)(UINT, UINT, WPARAM, LPARAM);
} MFDMODESPECEX;

typedef struct {
    int w, h;
    MFDMODESPECEX *spec;
} MFDMODEOPENSPEC;

#pragma pack(push, 1)
typedef struct {
    const char *line1;
    const char *line2;
    char selchar;
} MFDBUTTONMENU;
#pragma pack(pop)

typedef struct {
    double T;    // temperature [K]
    double p;    // pressure [Pa]
    double rho;  // density [kg/m^3]
} ATMPARAM;

typedef union {
    struct {
        OBJHANDLE hRef;
    } HUDorbit;
    struct {
        DWORD NavIdx;
    } HUDdocking;
} HUDPARAM;

#define HUD_NONE 0
#define HUD_ORBIT 1
#define HUD_SURFACE 2
#define HUD_DOCKING 3

// ---------------------------------------------------------------------------
// Enumerations
enum THGROUP_TYPE {
    THGROUP_MAIN,
    THGROUP_RETRO,
    THGROUP_HOVER,
    THGROUP_ATT_PITCHUP,
    THGROUP_ATT_PITCHDOWN,
    THGROUP_ATT_YAWLEFT,
    THGROUP_ATT_YAWRIGHT,
    THGROUP_ATT_BANKLEFT,
    THGROUP_ATT_BANKRIGHT,
    THGROUP_ATT_RIGHT,
    THGROUP_ATT_LEFT,
    THGROUP_ATT_UP,
    THGROUP_ATT_DOWN,
    THGROUP_ATT_FORWARD,
    THGROUP_ATT_BACK,
    THGROUP_USER = 0x40
};

typedef enum { FRAME_GLOBAL, FRAME_LOCAL, FRAME_REFLOCAL, FRAME_HORIZON } REFFRAME;
#define FRAME_ECL 0
#define FRAME_EQU 1
enum AltitudeMode { ALTMODE_MEANRAD, ALTMODE_GROUND };

#define OBJTP_INVALID 0
#define OBJTP_GENERIC 1
#define OBJTP_CBODY 2
#define OBJTP_STAR 3
#define OBJTP_PLANET 4
#define OBJTP_VESSEL 10
#define OBJTP_SURFBASE 20

#define OAPI_MSG_MFD_OPENED 1
#define OAPI_MSG_MFD_CLOSED 2
#define OAPI_MSG_MFD_UPDATE 3
#define OAPI_MSG_MFD_OPENEDEX 4

#define MFD_REFRESHBUTTONS -1
#define MFD_NONE 0
#define MFD_USERTYPE 64
#define MAXMFD 12
#define MFD_LEFT 0
#define MFD_RIGHT 1

#define PANEL_MOUSE_IGNORE 0x00
#define PANEL_MOUSE_LBDOWN 0x01
#define PANEL_MOUSE_RBDOWN 0x02
#define PANEL_MOUSE_LBUP 0x04
#define PANEL_MOUSE_RBUP 0x08
#define PANEL_MOUSE_LBPRESSED 0x10
#define PANEL_MOUSE_RBPRESSED 0x20
#define PANEL_MOUSE_DOWN 0x03
#define PANEL_MOUSE_UP 0x0C
#define PANEL_MOUSE_PRESSED 0x30

#define RCS_NONE 0
#define RCS_ROT 1
#define RCS_LIN 2

#define TRANSMITTER_NONE 0
#define TRANSMITTER_VOR 1
#define TRANSMITTER_VTOL 2
#define TRANSMITTER_ILS 3
#define TRANSMITTER_IDS 4
#define TRANSMITTER_XPDR 5

const UINT ALLDOCKS = (UINT)-1;

// Keyboard scan codes
#define OAPI_KEY_ESCAPE 0x01
#define OAPI_KEY_1 0x02
#define OAPI_KEY_2 0x03
#define OAPI_KEY_3 0x04
#define OAPI_KEY_4 0x05
#define OAPI_KEY_5 0x06
#define OAPI_KEY_6 0x07
#define OAPI_KEY_7 0x08
#define OAPI_KEY_8 0x09
#define OAPI_KEY_9 0x0A
#define OAPI_KEY_0 0x0B
#define OAPI_KEY_MINUS 0x0C
#define OAPI_KEY_EQUALS 0x0D
#define OAPI_KEY_BACK 0x0E
#define OAPI_KEY_TAB 0x0F
#define OAPI_KEY_Q 0x10
#define OAPI_KEY_W 0x11
#define OAPI_KEY_E 0x12
#define OAPI_KEY_R 0x13
#define OAPI_KEY_T 0x14
#define OAPI_KEY_Y 0x15
#define OAPI_KEY_U 0x16
#define OAPI_KEY_I 0x17
#define OAPI_KEY_O 0x18
#define OAPI_KEY_P 0x19
#define OAPI_KEY_LBRACKET 0x1A
#define OAPI_KEY_RBRACKET 0x1B
#define OAPI_KEY_RETURN 0x1C
#define OAPI_KEY_LCONTROL 0x1D
#define OAPI_KEY_A 0x1E
#define OAPI_KEY_S 0x1F
#define OAPI_KEY_D 0x20
#define OAPI_KEY_F 0x21
#define OAPI_KEY_G 0x22
#define OAPI_KEY_H 0x23
#define OAPI_KEY_J 0x24
#define OAPI_KEY_K 0x25
#define OAPI_KEY_L 0x26
#define OAPI_KEY_SEMICOLON 0x27
#define OAPI_KEY_APOSTROPHE 0x28
#define OAPI_KEY_GRAVE 0x29
#define OAPI_KEY_LSHIFT 0x2A
#define OAPI_KEY_BACKSLASH 0x2B
#define OAPI_KEY_Z 0x2C
#define OAPI_KEY_X 0x2D
#define OAPI_KEY_C 0x2E
#define OAPI_KEY_V 0x2F
#define OAPI_KEY_B 0x30
#define OAPI_KEY_N 0x31
#define OAPI_KEY_M 0x32
#define OAPI_KEY_COMMA 0x33
#define OAPI_KEY_PERIOD 0x34
#define OAPI_KEY_SLASH 0x35
#define OAPI_KEY_RSHIFT 0x36
#define OAPI_KEY_MULTIPLY 0x37
#define OAPI_KEY_LALT 0x38
#define OAPI_KEY_SPACE 0x39
#define OAPI_KEY_CAPITAL 0x3A
#define OAPI_KEY_F1 0x3B
#define OAPI_KEY_F2 0x3C
#define OAPI_KEY_F3 0x3D
#define OAPI_KEY_F4 0x3E
#define OAPI_KEY_F5 0x3F
#define OAPI_KEY_F6 0x40
#define OAPI_KEY_F7 0x41
#define OAPI_KEY_F8 0x42
#define OAPI_KEY_F9 0x43
#define OAPI_KEY_F10 0x44
#define OAPI_KEY_NUMLOCK 0x45
#define OAPI_KEY_SCROLL 0x46
#define OAPI_KEY_NUMPAD7 0x47
#define OAPI_KEY_NUMPAD8 0x48
#define OAPI_KEY_NUMPAD9 0x49
#define OAPI_KEY_SUBTRACT 0x4A
#define OAPI_KEY_NUMPAD4 0x4B
#define OAPI_KEY_NUMPAD5 0x4C
#define OAPI_KEY_NUMPAD6 0x4D
#define OAPI_KEY_ADD 0x4E
#define OAPI_KEY_NUMPAD1 0x4F
#define OAPI_KEY_NUMPAD2 0x50
#define OAPI_KEY_NUMPAD3 0x51
#define OAPI_KEY_NUMPAD0 0x52
#define OAPI_KEY_DECIMAL 0x53
#define OAPI_KEY_OEM_102 0x56
#define OAPI_KEY_F11 0x57
#define OAPI_KEY_F12 0x58
#define OAPI_KEY_NUMPADENTER 0x9C
#define OAPI_KEY_RCONTROL 0x9D
#define OAPI_KEY_DIVIDE 0xB5
#define OAPI_KEY_RALT 0xB8
#define OAPI_KEY_HOME 0xC7
#define OAPI_KEY_UP 0xC8
#define OAPI_KEY_PRIOR 0xC9
#define OAPI_KEY_LEFT 0xCB
#define OAPI_KEY_RIGHT 0xCD
#define OAPI_KEY_END 0xCF
#define OAPI_KEY_DOWN 0xD0
#define OAPI_KEY_NEXT 0xD1
#define OAPI_KEY_INSERT 0xD2
#define OAPI_KEY_DELETE 0xD3

#define KEYDOWN(buf, key) (buf[key] & 0x80)
#define RESETKEY(buf, key) (buf[key] = 0)
#define KEYMOD_LSHIFT(buf) (KEYDOWN(buf, OAPI_KEY_LSHIFT))
#define KEYMOD_RSHIFT(buf) (KEYDOWN(buf, OAPI_KEY_RSHIFT))
#define KEYMOD_SHIFT(buf) (KEYMOD_LSHIFT(buf) || KEYMOD_RSHIFT(buf))
#define KEYMOD_LCONTROL(buf) (KEYDOWN(buf, OAPI_KEY_LCONTROL))
#define KEYMOD_RCONTROL(buf) (KEYDOWN(buf, OAPI_KEY_RCONTROL))
#define KEYMOD_CONTROL(buf) (KEYMOD_LCONTROL(buf) || KEYMOD_RCONTROL(buf))
#define KEYMOD_LALT(buf) (KEYDOWN(buf, OAPI_KEY_LALT))
#define KEYMOD_RALT(buf) (KEYDOWN(buf, OAPI_KEY_RALT))
#define KEYMOD_ALT(buf) (KEYMOD_LALT(buf) || KEYMOD_RALT(buf))

// ---------------------------------------------------------------------------
// Inline vector and matrix helpers
inline double normangle(double angle) {
    double a = std::fmod(angle, PI2);
    return (a >= PI ? a - PI2 : a < -PI ? a + PI2 : a);
}
inline double posangle(double angle) {
    double a = std::fmod(angle, PI2);
    return (a >= 0.0 ? a : a + PI2);
}

inline VECTOR3 _V(double x, double y, double z) {
    VECTOR3 v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}
inline void veccpy(VECTOR3 &a, const VECTOR3 &b) { a = b; }
inline VECTOR3 operator+(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x + b.x, a.y + b.y, a.z + b.z); }
inline VECTOR3 operator-(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
inline VECTOR3 operator*(const VECTOR3 &a, const double f) { return _V(a.x * f, a.y * f, a.z * f); }
inline VECTOR3 operator/(const VECTOR3 &a, const double f) { return _V(a.x / f, a.y / f, a.z / f); }
inline VECTOR3 &operator+=(VECTOR3 &a, const VECTOR3 &b) { a.x += b.x; a.y += b.y; a.z += b.z; return a; }
inline VECTOR3 &operator-=(VECTOR3 &a, const VECTOR3 &b) { a.x -= b.x; a.y -= b.y; a.z -= b.z; return a; }
inline VECTOR3 &operator*=(VECTOR3 &a, const double f) { a.x *= f; a.y *= f; a.z *= f; return a; }
inline VECTOR3 &operator/=(VECTOR3 &a, const double f) { a.x /= f; a.y /= f; a.z /= f; return a; }
inline VECTOR3 operator-(const VECTOR3 &a) { return _V(-a.x, -a.y, -a.z); }
inline double dotp(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline VECTOR3 crossp(const VECTOR3 &a, const VECTOR3 &b) {
    return _V(a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - b.x * a.y);
}
inline double length(const VECTOR3 &a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
inline double length2(const VECTOR3 &a) { return a.x * a.x + a.y * a.y + a.z * a.z; }
inline double dist(const VECTOR3 &a, const VECTOR3 &b) { return length(a - b); }
inline void normalise(VECTOR3 &a) { a /= length(a); }
inline VECTOR3 unit(const VECTOR3 &a) { return a / length(a); }

inline MATRIX3 _M(double m11, double m12, double m13, double m21, double m22, double m23, double m31, double m32,
                  double m33) {
    MATRIX3 m;
    m.m11 = m11; m.m12 = m12; m.m13 = m13;
    m.m21 = m21; m.m22 = m22; m.m23 = m23;
    m.m31 = m31; m.m32 = m32; m.m33 = m33;
    return m;
}
inline MATRIX3 identity() { return _M(1, 0, 0, 0, 1, 0, 0, 0, 1); }
inline MATRIX3 outerp(const VECTOR3 &a, const VECTOR3 &b) {
    return _M(a.x * b.x, a.x * b.y, a.x * b.z, a.y * b.x, a.y * b.y, a.y * b.z, a.z * b.x, a.z * b.y, a.z * b.z);
}
inline MATRIX3 operator+(const MATRIX3 &A, double s) {
    MATRIX3 m;
    for (int i = 0; i < 9; i++) m.data[i] = A.data[i] + s;
    return m;
}
inline MATRIX3 operator-(const MATRIX3 &A, double s) {
    MATRIX3 m;
    for (int i = 0; i < 9; i++) m.data[i] = A.data[i] - s;
    return m;
}
inline MATRIX3 operator*(const MATRIX3 &A, double s) {
    MATRIX3 m;
    for (int i = 0; i < 9; i++) m.data[i] = A.data[i] * s;
    return m;
}
inline MATRIX3 operator/(const MATRIX3 &A, double s) {
    MATRIX3 m;
    for (int i = 0; i < 9; i++) m.data[i] = A.data[i] / s;
    return m;
}
inline MATRIX3 &operator*=(MATRIX3 &A, double s) {
    for (int i = 0; i < 9; i++) A.data[i] *= s;
    return A;
}
inline MATRIX3 &operator/=(MATRIX3 &A, double s) {
    for (int i = 0; i < 9; i++) A.data[i] /= s;
    return A;
}
inline VECTOR3 mul(const MATRIX3 &A, const VECTOR3 &b) {
    return _V(A.m11 * b.x + A.m12 * b.y + A.m13 * b.z, A.m21 * b.x + A.m22 * b.y + A.m23 * b.z,
              A.m31 * b.x + A.m32 * b.y + A.m33 * b.z);
}
inline VECTOR3 tmul(const MATRIX3 &A, const VECTOR3 &b) {
    return _V(A.m11 * b.x + A.m21 * b.y + A.m31 * b.z, A.m12 * b.x + A.m22 * b.y + A.m32 * b.z,
              A.m13 * b.x + A.m23 * b.y + A.m33 * b.z);
}
inline MATRIX3 mul(const MATRIX3 &A, const MATRIX3 &B) {
    return _M(A.m11 * B.m11 + A.m12 * B.m21 + A.m13 * B.m31, A.m11 * B.m12 + A.m12 * B.m22 + A.m13 * B.m32,
              A.m11 * B.m13 + A.m12 * B.m23 + A.m13 * B.m33, A.m21 * B.m11 + A.m22 * B.m21 + A.m23 * B.m31,
              A.m21 * B.m12 + A.m22 * B.m22 + A.m23 * B.m32, A.m21 * B.m13 + A.m22 * B.m23 + A.m23 * B.m33,
              A.m31 * B.m11 + A.m32 * B.m21 + A.m33 * B.m31, A.m31 * B.m12 + A.m32 * B.m22 + A.m33 * B.m32,
              A.m31 * B.m13 + A.m32 * B.m23 + A.m33 * B.m33);
}
// Rotation matrix about a unit axis by an angle
inline MATRIX3 rotm(const VECTOR3 &axis, double angle) {
    double c = std::cos(angle), s = std::sin(angle), t = 1 - c, x = axis.x, y = axis.y, z = axis.z;
    return _M(t * x * x + c, t * x * y - z * s, t * x * z + y * s, t * x * y + z * s, t * y * y + c,
              t * y * z - x * s, t * x * z - y * s, t * y * z + x * s, t * z * z + c);
}

// ---------------------------------------------------------------------------
// oapi functions
OAPIFUNC int oapiGetOrbiterVersion();
OAPIFUNC int oapiRegisterMFDMode(MFDMODESPECEX &spec);
OAPIFUNC bool oapiUnregisterMFDMode(int mode);

OAPIFUNC OBJHANDLE oapiGetObjectByName(char *name);
OAPIFUNC OBJHANDLE oapiGetObjectByIndex(int index);
OAPIFUNC DWORD oapiGetObjectCount();
OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char *name, int n);
OAPIFUNC int oapiGetObjectType(OBJHANDLE hObj);
OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiGetVesselByName(char *name);
OAPIFUNC OBJHANDLE oapiGetVesselByIndex(int index);
OAPIFUNC DWORD oapiGetVesselCount();
OAPIFUNC VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiGetFocusObject();
OAPIFUNC OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel);
OAPIFUNC VESSEL *oapiGetFocusInterface();
OAPIFUNC OBJHANDLE oapiGetGbodyByName(char *name);
OAPIFUNC OBJHANDLE oapiGetGbodyByIndex(int index);
OAPIFUNC DWORD oapiGetGbodyCount();
OAPIFUNC double oapiGetSize(OBJHANDLE hObj);
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);
OAPIFUNC void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos);
OAPIFUNC void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3 *vel);
OAPIFUNC void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *pos);
OAPIFUNC void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel);
OAPIFUNC void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat);
OAPIFUNC void oapiGlobalToLocal(OBJHANDLE hObj, const VECTOR3 *glob, VECTOR3 *loc);
OAPIFUNC void oapiLocalToGlobal(OBJHANDLE hObj, const VECTOR3 *loc, VECTOR3 *glob);
OAPIFUNC void oapiEquToLocal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3 *loc);
OAPIFUNC void oapiLocalToEqu(OBJHANDLE hObj, const VECTOR3 &loc, double *lng, double *lat, double *rad);
OAPIFUNC void oapiEquToGlobal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3 *glob);
OAPIFUNC void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3 &glob, double *lng, double *lat, double *rad);
OAPIFUNC double oapiOrthodome(double lng1, double lat1, double lng2, double lat2);
OAPIFUNC BOOL oapiGetHeading(OBJHANDLE hVessel, double *heading);
OAPIFUNC BOOL oapiGetEquPos(OBJHANDLE hVessel, double *longitude, double *latitude, double *radius);
OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, double *alt);
OAPIFUNC void oapiGetAtm(OBJHANDLE hVessel, ATMPARAM *prm, OBJHANDLE *hAtmRef = 0);

OAPIFUNC double oapiGetPlanetPeriod(OBJHANDLE hPlanet);
OAPIFUNC double oapiGetPlanetObliquity(OBJHANDLE hPlanet);
OAPIFUNC double oapiGetPlanetTheta(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetPlanetObliquityMatrix(OBJHANDLE hPlanet, MATRIX3 *mat);
OAPIFUNC double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet);
OAPIFUNC DWORD oapiGetPlanetJCoeffCount(OBJHANDLE hPlanet);
OAPIFUNC double oapiGetPlanetJCoeff(OBJHANDLE hPlanet, DWORD n);
OAPIFUNC double oapiSurfaceElevation(OBJHANDLE hPlanet, double lng, double lat);
OAPIFUNC bool oapiPlanetHasAtmosphere(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad, ATMPARAM *prm);
OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double alt, double lng, double lat, ATMPARAM *prm);
OAPIFUNC OBJHANDLE oapiGetBaseByName(OBJHANDLE hPlanet, char *name);
OAPIFUNC OBJHANDLE oapiGetBaseByIndex(OBJHANDLE hPlanet, int index);
OAPIFUNC DWORD oapiGetBaseCount(OBJHANDLE hPlanet);
OAPIFUNC OBJHANDLE oapiGetBasePlanet(OBJHANDLE hBase);
OAPIFUNC void oapiGetBaseEquPos(OBJHANDLE hBase, double *lng, double *lat, double *rad = 0);
OAPIFUNC DWORD oapiGetBasePadCount(OBJHANDLE hBase);
OAPIFUNC bool oapiGetBasePadEquPos(OBJHANDLE hBase, DWORD pad, double *lng, double *lat, double *rad = 0);

OAPIFUNC double oapiGetSimTime();
OAPIFUNC double oapiGetSimStep();
OAPIFUNC double oapiGetSysTime();
OAPIFUNC double oapiGetSysStep();
OAPIFUNC double oapiGetSimMJD();
OAPIFUNC double oapiGetTimeAcceleration();
OAPIFUNC void oapiSetTimeAcceleration(double warp);

OAPIFUNC DWORD oapiGetNavChannel(NAVHANDLE hNav);
OAPIFUNC void oapiGetNavPos(NAVHANDLE hNav, VECTOR3 *gpos);
OAPIFUNC DWORD oapiGetNavType(NAVHANDLE hNav);

OAPIFUNC bool oapiSetHUDMode(int mode);
OAPIFUNC bool oapiSetHUDMode(int mode, const HUDPARAM *prm);
OAPIFUNC int oapiGetHUDMode();
OAPIFUNC int oapiGetHUDMode(HUDPARAM *prm);
OAPIFUNC char *oapiDebugString();
OAPIFUNC oapi::Pen *oapiCreatePen(int style, int width, DWORD col);
OAPIFUNC void oapiReleasePen(oapi::Pen *pen);
OAPIFUNC oapi::Brush *oapiCreateBrush(DWORD col);
OAPIFUNC void oapiReleaseBrush(oapi::Brush *brush);

enum FontStyle { FONT_NORMAL = 0, FONT_BOLD = 1, FONT_ITALIC = 2, FONT_UNDERLINE = 4 };
// A font for drawing text: height in pixels (negative: the character height, as the
// host's MFD fonts are made), fixed or proportional pitch, a generic face name
// ("Fixed", "Sans", "Serif"). Released with oapiReleaseFont.
OAPIFUNC oapi::Font *oapiCreateFont(int height, bool prop, char *face, FontStyle style = FONT_NORMAL);
OAPIFUNC oapi::Font *oapiCreateFont(int height, bool prop, const char *face, FontStyle style, int orientation);
OAPIFUNC void oapiReleaseFont(oapi::Font *font);

OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string);
OAPIFUNC void oapiWriteScenario_int(FILEHANDLE scn, char *item, int i);
OAPIFUNC void oapiWriteScenario_float(FILEHANDLE scn, char *item, double d);
OAPIFUNC void oapiWriteScenario_vec(FILEHANDLE scn, char *item, const VECTOR3 &vec);
OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line);
OAPIFUNC void oapiWriteLog(char *line);

OAPIFUNC void oapiOpenInputBox(char *title, bool (*Clbk)(void *, char *, void *), char *buf = 0, int vislen = 20,
                               void *usrdata = 0);

// Module glue: the host's library initialisation and its date-to-number encoding
// ("Aug 28 2016" gives 160828).
OAPIFUNC void InitLib(HINSTANCE hModule);
OAPIFUNC int Date2Int(char *date);

#endif  // __ORBITERAPI_H
