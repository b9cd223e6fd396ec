// The Landing page: the landing autopilot's phase, status and target, the
// navigation values, attitude and engine level, and the graph of the planned
// descent (height over distance to the target) with the vessel's point on it.
#ifndef TESSARC_DISPLAY_LANDING_PAGE_H
#define TESSARC_DISPLAY_LANDING_PAGE_H

#include "display/textgrid.h"

struct MfdState;

// Draws below "Att.Mode :" on the frame's grid and leaves its thirdRows at 0.
void DrawLandingPage(const MfdState *state, TextGrid &g);

// The profile part of the graph at its last rescale: grid, planned curve, vessel
// marker and target line inside the plot area.
void DrawLandingProfile(const MfdState *state, const TextGrid &g);

// The one write of the drawing, before a frame that shows the Landing page's
// profile: the graph's zoom (landingWork[12..15]) follows the descent to t seconds
// since brakeStartMjd (the page's time), and the FINAL phase turns graphStyle to 3.
void RescaleLandingGraph(MfdState *state, double t);

// Whether the page draws the profile: no condition that stops the autopilot shown.
bool LandingProfileShown(const MfdState *state);
// The page's time: seconds since brakeStartMjd at the host's current date.
double LandingPageTime(const MfdState *state);

#endif  // TESSARC_DISPLAY_LANDING_PAGE_H
