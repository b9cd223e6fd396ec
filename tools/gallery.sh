#!/bin/bash
# Renders every page of every bundled scenario into a folder (default out/gallery):
# <scenario>_<page>.png and a text dump <scenario>_<page>.txt for each of the
# start-up, welcome, Velocity (with HOLD), Relative, Attitude, Docking, Direct Burn,
# Ascent and summary pages, drawn in flight by the plug-in in the simulated host,
# and the Landing page over Mars at each phase of a descent (mars_landing_<phase>).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=$(realpath -m "${1:-out/gallery}")
. tools/setup.sh
tessarc_setup
cmake --preset default
cmake --build --preset default --target test_display
mkdir -p "$out"
TESSARC_GALLERY="$out" build/default/tests/test_display --gtest_filter='Scenarios/Gallery.*:LandingGallery.*:PanelGallery.*' --gtest_brief=1
echo "Gallery: $out ($(ls "$out"/*.png | wc -l) pages)"
