// The step's measurements in the state.
#include "landing/step_values.h"

#include "frame/state.h"

void Publish(MfdState *S, const LandingStepValues &V) {
    double *W = S->landingWork;
    W[LW_ALONG] = V.along;
    W[LW_CLOSING] = V.closing;
    W[LW_HEIGHT] = V.height;
    W[LW_VSPEED] = V.vspeed;
    W[LW_CROSS] = V.cross;
    W[LW_CROSS_RATE] = V.crossRate;
}
