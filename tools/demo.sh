#!/bin/bash
# Builds the project and flies the demo: a DeltaGlider in low Earth orbit whose
# pilot selects TessarcMFD and engages attitude HOLD. Results land in out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/setup.sh
tessarc_setup
cmake --preset default
cmake --build --preset default --target tessarc-sim
mkdir -p out
cd out
../build/default/tessarc-sim run ../scenarios/demo.scn --script ../scenarios/demo.script \
    --report demo_report.json --telemetry demo_telemetry.csv --save demo_end.scn
echo
echo "Report:    $root/out/demo_report.json"
echo "Telemetry: $root/out/demo_telemetry.csv"
echo "Pictures:  $root/out/demo_hold.png, $root/out/demo_hold.txt (left display at 150 s)"
