// The Landing page: the landing autopilot's phase, status and target, the
// navigation values, attitude and engine level, and the graph of the planned
// descent (height over distance to the target) with the vessel's point on it.
#ifndef TESSARC_DISPLAY_LANDING_PAGE_H
#define TESSARC_DISPLAY_LANDING_PAGE_H

struct MfdState;

// Draws below "Att.Mode :" with the state's grid and leaves its thirdRows at 0.
// Writes only the graph's zoom state (landingWork[12..15]) and, in the FINAL
// phase, graphStyle 3.
void DrawLandingPage(MfdState *state);

// The profile part of the graph for t seconds since brakeStartMjd: rescaling,
// grid, planned curve, vessel marker and target line inside the plot area.
void DrawLandingProfile(MfdState *state, double t);

#endif  // TESSARC_DISPLAY_LANDING_PAGE_H
