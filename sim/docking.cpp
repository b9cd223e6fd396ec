// Docking ports.
#include "docking.h"

namespace sim {

bool dockedCG(const Vessel &v, VECTOR3 &cg) {
    (void)v;
    cg = _V(0, 0, 0);
    return false;
}

bool dockFollower(const Vessel &v) {
    (void)v;
    return false;
}

void updateDocking(World &w) { (void)w; }

bool undock(Vessel &v, int n) {
    if (n < 0 || n >= (int)v.ports.size() || !v.ports[n].docked) return false;
    DockPort &p = v.ports[n];
    if (p.otherPort >= 0 && p.otherPort < (int)p.docked->ports.size()) {
        p.docked->ports[p.otherPort].docked = nullptr;
        p.docked->ports[p.otherPort].otherPort = -1;
    }
    p.docked = nullptr;
    p.otherPort = -1;
    return true;
}

}  // namespace sim
